#include "platform/AtomicFile.h"

#include "platform/WriteError.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(WriteFileAtomically, CreatesAndReplacesLeavingNoTemporaryFile) {
    TempFolder temp;
    const QString path = temp.File(QStringLiteral("Brisko.ini"));
    WriteFileAtomically(path, "first");
    EXPECT_EQ(Content(path), "first");

    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    WriteFileAtomically(path, "second");
    EXPECT_EQ(Content(path), "second");
    // The mode bits are kept (the "User" flags only say what this user may do).
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(QDir(temp.Path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Brisko.ini")});
}

TEST(WriteFileAtomically, FailsWithPathAndCauseAndKeepsTheOldFile) {
    TempFolder temp;
    const QString readOnly = temp.Write(QStringLiteral("ro.ini"), "keep");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const QString folder = temp.MakeFolder(QStringLiteral("folder.ini"));
    const QString noParent = temp.File(QStringLiteral("missing/x.ini"));

    for (const QString& path : {readOnly, folder, noParent}) {
        try {
            WriteFileAtomically(path, "new");
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const EWriteError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("Unable to write to " + path.toStdString() + ": ", 0), 0u)
                << message;
            EXPECT_GT(message.size(), path.toStdString().size() + 21) << "no cause: " << message;
        }
    }
    EXPECT_EQ(Content(readOnly), "keep");
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

} // namespace

namespace {

// A settings file kept elsewhere through a link is written where the link leads; the link
// stays a link, and nothing else beside either name remains.
TEST(WriteFileAtomically, WritesWhereALinkLeadsAndKeepsTheLink) {
    const struct {
        const char* name;
        bool targetExists;
        bool relative;
    } cases[] = {
        {"absolute link to a file", true, false},
        {"relative link to a file", true, true},
        {"link to a file not made yet", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const QString real = temp.File(QStringLiteral("dotfiles/Brisko.ini"));
        temp.MakeFolder(QStringLiteral("dotfiles"));
        temp.MakeFolder(QStringLiteral("program"));
        if (c.targetExists)
            temp.Write(QStringLiteral("dotfiles/Brisko.ini"), "old");
        const QString link = temp.File(QStringLiteral("program/Brisko.ini"));
        ASSERT_TRUE(
            QFile::link(c.relative ? QStringLiteral("../dotfiles/Brisko.ini") : real, link));

        WriteFileAtomically(link, "new");
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(Content(real), "new");
        EXPECT_EQ(QDir(temp.File(QStringLiteral("dotfiles"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("Brisko.ini")});
        EXPECT_EQ(QDir(temp.File(QStringLiteral("program")))
                      .entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("Brisko.ini")});
    }
}

} // namespace
