// The window with a settings file or a creator catalogue that is damaged, read-only or a
// folder: it starts, says which file failed and why, and on closing each file on disk
// holds its old or its new content, never a mix and never less than it held. (How a
// damaged catalogue itself is read and saved again is CreatorCatalogueTest's part.)
#include "WindowFixture.h"
#include "common/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <ostream>
#include <random>
#include <string>

namespace {

enum class Damage { Garbage, LongLine, InvalidUtf8, Folder, ReadOnly };

struct Case {
    bool catalogue;
    Damage damage;
    const char* id;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.id;
}

class DamagedFiles : public WindowFixture, public ::testing::WithParamInterface<Case> {};

// The settings file's content for a damage; for ReadOnly a healthy file.
QByteArray Content(Damage damage) {
    QByteArray bytes;
    std::mt19937 random(3);
    switch (damage) {
    case Damage::Garbage:
        for (int i = 0; i < 100000; ++i)
            bytes += char(random() % 5 == 0 ? "[]=\n;"[random() % 5] : random() % 256);
        return bytes;
    case Damage::LongLine:
        return "[Brisko]\r\nStartPath=" + QByteArray(10 * 1024 * 1024, 'v') + "\r\n";
    case Damage::InvalidUtf8:
        return "[Brisko]\r\nLanguage=\xF0\x28\x8C\xBC\r\n[\xC3\x28]\r\nx=\xFF\r\n";
    default:
        return "[Other]\r\nMine=kept\r\n";
    }
}

} // namespace

TEST_P(DamagedFiles, StartAndCloseTellWhichFileFailedAndKeepItsContent) {
    const Case c = GetParam();
    const QString name =
        c.catalogue ? QStringLiteral("CreatorIDs.ini") : QStringLiteral("Brisko.ini");
    const QString other =
        c.catalogue ? QStringLiteral("Brisko.ini") : QStringLiteral("CreatorIDs.ini");
    const QString path = program.File(name);
    const bool folder = c.damage == Damage::Folder;
    program.Write(folder ? name + QStringLiteral("/inside") : name,
                  folder ? "x" : Content(c.damage));
    if (c.damage == Damage::ReadOnly)
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray before = Read(path);
    IniFile old(path);
    old.Load();

    files.Write(QStringLiteral("a.pdb"), PalmBytes("keep"));
    Start(files.Path());
    const QStringList started = prompts.Messages;
    prompts.Messages.clear();
    Close();
    const QStringList closed = prompts.Messages;
    auto namesThePath = [&](const QStringList& messages) {
        return messages.size() == 1 && messages[0].contains(path);
    };
    const bool unwritable = folder || c.damage == Damage::ReadOnly;
    EXPECT_TRUE(folder ? namesThePath(started) : started.isEmpty())
        << started.join(u'|').toStdString();
    EXPECT_TRUE(unwritable ? namesThePath(closed) : closed.isEmpty())
        << closed.join(u'|').toStdString();
    if (unwritable) {
        EXPECT_EQ(Read(folder ? path + QStringLiteral("/inside") : path), folder ? "x" : before);
        EXPECT_TRUE(QFileInfo::exists(program.File(other))) << "the other file is saved";
        return;
    }
    // The settings written, and every section and unknown line the file held beside them.
    IniFile now(path);
    ASSERT_TRUE(now.Load());
    EXPECT_TRUE(now.ValueExists(QStringLiteral("Brisko"), QStringLiteral("ShowPDB")));
    const QStringList sections = now.SectionNames();
    for (const QString& section : old.SectionNames())
        EXPECT_TRUE(sections.contains(section)) << section.toUtf8().toHex().toStdString();
    if (c.damage == Damage::InvalidUtf8) {
        EXPECT_EQ(now.ReadString(QStringLiteral("\u00c3("), QStringLiteral("x"), {}),
                  QString::fromUtf8("ÿ"));
    }
    if (c.damage == Damage::Garbage) {
        EXPECT_GE(Read(path).size(), before.size() * 9 / 10);
    }
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".tmp")));
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedFiles,
                         ::testing::Values(Case{false, Damage::Garbage, "SettingsGarbage"},
                                           Case{false, Damage::LongLine, "SettingsLongLine"},
                                           Case{false, Damage::InvalidUtf8, "SettingsInvalidUtf8"},
                                           Case{false, Damage::Folder, "SettingsFolder"},
                                           Case{false, Damage::ReadOnly, "SettingsReadOnly"},
                                           Case{true, Damage::Folder, "CatalogueFolder"},
                                           Case{true, Damage::ReadOnly, "CatalogueReadOnly"}),
                         [](const auto& param) { return std::string(param.param.id); });

// Files change between the listing and a click on their row: the click names the file
// and the cause, and listing again shows what is there now.
using ChangedAfterListing = WindowFixture;

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
    EXPECT_EQ(Names(), Words("shrinks.pdb"));

    ASSERT_TRUE(QDir(folder).removeRecursively()); // the whole folder, while it is shown
    prompts.Messages.clear();
    ClickRow(QStringLiteral("shrinks.pdb"));
    EXPECT_EQ(prompts.Messages, QStringList{QStringLiteral("shrinks.pdb: Error reading file")});
    w->Refresh();
    EXPECT_TRUE(Names().isEmpty());
    EXPECT_TRUE(w->StatusText().endsWith(QStringLiteral("The folder ") + folder +
                                         QDir::separator() + QStringLiteral(" does not exist.")))
        << w->StatusText().toStdString();
}
