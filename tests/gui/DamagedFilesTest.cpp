// The window with a settings file and a creator catalogue that are damaged, read-only or
// folders: it starts, says which file failed and why, and on closing each file on disk
// holds its old or its new content, never a mix and never less than it held.
#include "WindowFixture.h"
#include "common/IniFile.h"
#include "creators/CreatorCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <ostream>
#include <random>
#include <string>

namespace {

enum class Damage { Garbage, LongLine, InvalidUtf8, Folder, ReadOnly };

struct Case {
    Damage damage;
    const char* id; // the test's name
};

const std::vector<Case> Cases = {
    {Damage::Garbage, "BinaryGarbage"},   {Damage::LongLine, "TenMegabyteLine"},
    {Damage::InvalidUtf8, "InvalidUtf8"}, {Damage::Folder, "Folder"},
    {Damage::ReadOnly, "ReadOnly"},
};

// Names the case in test output instead of its bytes.
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.id;
}

const QByteArray LongValue(10 * 1024 * 1024, 'v');

QByteArray Garbage() {
    QByteArray bytes;
    std::mt19937 random(3);
    for (int i = 0; i < 100000; ++i)
        bytes += char(random() % 5 == 0 ? "[]=\n;"[random() % 5] : random() % 256);
    return bytes;
}

// The file's content for a damage; for ReadOnly a healthy file.
QByteArray Content(Damage damage, bool catalogue) {
    switch (damage) {
    case Damage::Garbage:
        return Garbage();
    case Damage::LongLine:
        return QByteArray(catalogue ? "[long]\r\nProgram=" : "[Brisko]\r\nStartPath=") + LongValue +
               QByteArray("\r\n");
    case Damage::InvalidUtf8:
        return catalogue ? "[\xC3\x28]\r\nProgram=\xF0\x28\x8C\xBC\r\n"
                         : "[Brisko]\r\nLanguage=\xF0\x28\x8C\xBC\r\n[\xC3\x28]\r\nx=\xFF\r\n";
    case Damage::Folder:
    case Damage::ReadOnly:
        break;
    }
    return catalogue ? "[wxyz]\r\nProgram=Kept\r\n" : "[Other]\r\nMine=kept\r\n";
}

class DamagedFiles : public WindowFixture, public ::testing::WithParamInterface<Case> {
protected:
    // Puts the damaged file in place; returns its path.
    QString Prepare(const QString& name, Damage damage, bool catalogue) {
        const QString path = program.File(name);
        if (damage == Damage::Folder) {
            program.Write(name + QStringLiteral("/inside"), "x");
            return path;
        }
        program.Write(name, Content(damage, catalogue));
        if (damage == Damage::ReadOnly)
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        return path;
    }
    void StartAndClose() {
        files.Write(QStringLiteral("a.pdb"), PalmBytes("keep"));
        Start(files.Path());
        started = prompts.Messages;
        prompts.Messages.clear();
        w->close();
        w.reset();
        closed = prompts.Messages;
    }
    static bool Names(const QStringList& messages, const QString& path) {
        return messages.size() == 1 && messages[0].contains(path);
    }
    QStringList started, closed;
};

} // namespace

TEST_P(DamagedFiles, TheSettingsFile) {
    const Case& c = GetParam();
    {
        const QString path = Prepare(QStringLiteral("Brisko.ini"), c.damage, false);
        const QByteArray before = c.damage == Damage::Folder ? QByteArray() : Read(path);
        StartAndClose();
        switch (c.damage) {
        case Damage::Folder:
            EXPECT_TRUE(Names(started, path)) << started.join(u'|').toStdString();
            EXPECT_TRUE(Names(closed, path)) << closed.join(u'|').toStdString();
            EXPECT_EQ(Read(path + QStringLiteral("/inside")), QByteArray("x"));
            break;
        case Damage::ReadOnly:
            EXPECT_TRUE(started.isEmpty()) << started.join(u'|').toStdString();
            EXPECT_TRUE(Names(closed, path)) << closed.join(u'|').toStdString();
            EXPECT_EQ(Read(path), before);
            break;
        default: {
            EXPECT_TRUE(started.isEmpty()) << started.join(u'|').toStdString();
            EXPECT_TRUE(closed.isEmpty()) << closed.join(u'|').toStdString();
            // The new content: the settings written, and what the file held beside them.
            IniFile ini(path);
            ASSERT_TRUE(ini.Load());
            EXPECT_TRUE(ini.ValueExists(QStringLiteral("Brisko"), QStringLiteral("ShowPDB")));
            if (c.damage == Damage::InvalidUtf8) {
                EXPECT_EQ(ini.ReadString(QStringLiteral("\u00c3("), QStringLiteral("x"), {}),
                          QString::fromUtf8("ÿ"));
            }
            if (c.damage == Damage::Garbage) {
                EXPECT_GE(Read(path).size(), before.size() * 9 / 10) << "the unknown lines stay";
            }
            EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".tmp")));
            break;
        }
        }
    }
}

TEST_P(DamagedFiles, TheCreatorCatalogue) {
    const Case& c = GetParam();
    {
        const QString path = Prepare(QStringLiteral("CreatorIDs.ini"), c.damage, true);
        const QByteArray before = c.damage == Damage::Folder ? QByteArray() : Read(path);
        ListeDerLinks old;
        const bool readable = c.damage != Damage::Folder && old.LoadCreatorIDs(path);
        StartAndClose();
        switch (c.damage) {
        case Damage::Folder:
            EXPECT_TRUE(Names(started, path)) << started.join(u'|').toStdString();
            EXPECT_TRUE(Names(closed, path)) << closed.join(u'|').toStdString();
            EXPECT_EQ(Read(path + QStringLiteral("/inside")), QByteArray("x"));
            break;
        case Damage::ReadOnly:
            EXPECT_TRUE(started.isEmpty()) << started.join(u'|').toStdString();
            EXPECT_TRUE(Names(closed, path)) << closed.join(u'|').toStdString();
            EXPECT_EQ(Read(path), before);
            break;
        default: {
            ASSERT_TRUE(readable);
            EXPECT_TRUE(started.isEmpty()) << started.join(u'|').toStdString();
            EXPECT_TRUE(closed.isEmpty()) << closed.join(u'|').toStdString();
            // Every entry the file held is still there, with its texts, and the new one.
            ListeDerLinks now;
            ASSERT_TRUE(now.LoadCreatorIDs(path));
            ASSERT_EQ(now.LinkCount(), old.LinkCount() + 1);
            for (int i = 0; i < old.LinkCount(); ++i) {
                EXPECT_EQ(now.LinkAt(i)->CreatorID, old.LinkAt(i)->CreatorID) << i;
                if (c.damage != Damage::Garbage) { // where NUL bytes in values become blanks
                    EXPECT_EQ(now.LinkAt(i)->Program, old.LinkAt(i)->Program) << i;
                }
            }
            EXPECT_EQ(now.LinkAt(now.LinkCount() - 1)->CreatorID, "keep");
            break;
        }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedFiles, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<Case>& param) {
                             return std::string(param.param.id);
                         });

namespace {

class ChangedAfterListing : public WindowFixture {};

} // namespace

// Files change between the listing and a click on their row: the click names the file
// and the cause, and listing again shows what is there now.
TEST_F(ChangedAfterListing, AShrunkOrVanishedFileOrFolderIsReportedByName) {
    const QString folder = files.MakeFolder(QStringLiteral("backup"));
    files.Write(QStringLiteral("backup/shrinks.pdb"), PalmBytes("aaaa", 200));
    files.Write(QStringLiteral("backup/vanishes.pdb"), PalmBytes("bbbb"));
    Start(folder);
    ASSERT_EQ(Names().size(), 2);

    ASSERT_TRUE(QFile::resize(folder + QStringLiteral("/shrinks.pdb"), 30));
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("/vanishes.pdb")));
    for (const QString& name : {QStringLiteral("shrinks.pdb"), QStringLiteral("vanishes.pdb")}) {
        prompts.Messages.clear();
        ClickRow(name);
        EXPECT_EQ(prompts.Messages, QStringList{name + QStringLiteral(": Error reading file")});
    }
    w->Refresh();
    EXPECT_EQ(Names(), QStringList{QStringLiteral("shrinks.pdb")});

    // The whole folder goes while it is shown.
    ASSERT_TRUE(QDir(folder).removeRecursively());
    prompts.Messages.clear();
    ClickRow(QStringLiteral("shrinks.pdb"));
    EXPECT_EQ(prompts.Messages, QStringList{QStringLiteral("shrinks.pdb: Error reading file")});
    w->Refresh();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_TRUE(w->StatusText().endsWith(QStringLiteral("The folder ") + folder +
                                         QDir::separator() + QStringLiteral(" does not exist.")))
        << w->StatusText().toStdString();
}
