// Delete in the real window, for a user whose home has no ~/.local/share yet: the files
// land in the trash that the desktop shows (not in the working folder), under names that
// Debian's trash-cli lists and restores to the same place.
#include "WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

struct ScopedVariable {
    const char* Name;
    QByteArray Old = qgetenv(Name);
    bool Had = qEnvironmentVariableIsSet(Name);
    ScopedVariable(const char* name, const QByteArray* value) : Name(name) {
        value ? void(qputenv(Name, *value)) : void(qunsetenv(Name));
    }
    ~ScopedVariable() { Had ? void(qputenv(Name, Old)) : void(qunsetenv(Name)); }
};

QByteArray RunTool(const QString& program, const QString& folder, const QByteArray& input) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, {});
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        process.kill();
    process.waitForFinished();
    return process.readAllStandardOutput();
}

// trash-restore numbers the files trashed from the folder it runs in; the number of path
// is looked up in that list, then given.
void RestoreWithTrashCli(const QString& path) {
    const QString folder = QFileInfo(path).path();
    const QString listing =
        QString::fromUtf8(RunTool(QStringLiteral("trash-restore"), folder, "\n"));
    const QRegularExpression line(QStringLiteral("^ *(\\d+) \\S+ \\S+ ") +
                                      QRegularExpression::escape(path) + u'$',
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(listing);
    ASSERT_TRUE(match.hasMatch()) << listing.toStdString();
    RunTool(QStringLiteral("trash-restore"), folder, match.captured(1).toUtf8() + '\n');
}

} // namespace

TEST_F(WindowFixture, DeleteWithoutLocalShareUsesTheHomeTrash) {
    const QString home = files.MakeFolder(QStringLiteral("home"));
    const QString working = files.MakeFolder(QStringLiteral("working"));
    const QString folder = files.MakeFolder(QStringLiteral("palm files"));
    const QByteArray homeBytes = QFile::encodeName(home);
    const ScopedVariable homeVariable("HOME", &homeBytes);
    const ScopedVariable noDataHome("XDG_DATA_HOME", nullptr);
    const QString oldWorking = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working));
    const QStringList names = Words("50%.prc a%20b.pdb");
    for (const QString& name : names)
        files.Write(QStringLiteral("palm files/") + name, name.toUtf8());

    Start(folder);
    w->SelectAll();
    prompts.ConfirmAnswers = {true};
    w->MIDelete->trigger();
    QDir::setCurrent(oldWorking);

    EXPECT_EQ(Names(), QStringList());
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
    EXPECT_EQ(QDir(working).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
    EXPECT_EQ(QDir(home + QStringLiteral("/.local/share/Trash/files")).entryList(QDir::Files),
              names);
    if (QStandardPaths::findExecutable(QStringLiteral("trash-restore")).isEmpty())
        GTEST_SKIP() << "trash-cli (trash-restore) is not installed";
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = folder + u'/' + name;
        RestoreWithTrashCli(path);
        EXPECT_EQ(Read(path), name.toUtf8());
    }
}
