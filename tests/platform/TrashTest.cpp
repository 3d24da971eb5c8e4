// The trash, checked against another implementation: Debian's trash-cli must list every
// file we trash and restore it to the same path with the same bytes. trash-cli decodes
// the escaped path as UTF-8 (it cannot even trash a name that is not UTF-8), so names of
// other bytes are restored by Python's own decoding of the escapes instead.
#include "platform/Trash.h"

#include "support/TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Local time east of UTC by a time that no real zone of the machine is likely to have, so
// that a date written in UTC (or in the machine's zone) shows.
constexpr char TestZone[] = "XYZ-5:30";
constexpr qint64 TestZoneSeconds = 5 * 3600 + 30 * 60;

struct ScopedEnvironment {
    const char* Name;
    QByteArray Old = qgetenv(Name);
    bool Had = qEnvironmentVariableIsSet(Name);
    ScopedEnvironment(const char* name, const QByteArray* value) : Name(name) {
        value ? void(qputenv(Name, *value)) : void(qunsetenv(Name));
        ::tzset();
    }
    ~ScopedEnvironment() {
        Had ? void(qputenv(Name, Old)) : void(qunsetenv(Name));
        ::tzset();
    }
};

QByteArray Bytes(const QString& path) {
    return QFile::encodeName(path);
}

bool Exists(const QByteArray& path) {
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0;
}

// Read by the bytes of the name: Qt's file names would not keep bytes that are not UTF-8.
QByteArray Content(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return "<unreadable>";
    QByteArray content(4096, '\0');
    const ssize_t got = ::read(fd, content.data(), size_t(content.size()));
    ::close(fd);
    content.resize(got < 0 ? 0 : got);
    return content;
}

void WriteFile(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    ASSERT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

struct ToolRun {
    int Exit = -1;
    QByteArray Output;
};

// Runs a trash-cli command in folder with the test's home, data home and zone.
ToolRun RunTool(const QString& program, const QString& folder, const QByteArray& input = {},
                const QStringList& arguments = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), process.readAllStandardOutput()};
}

bool HaveTrashCli() {
    return !QStandardPaths::findExecutable(QStringLiteral("trash-list")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("trash-restore")).isEmpty();
}

// The local deletion time that trash-list shows in front of path, or an invalid time.
QDateTime ListedDate(const QByteArray& listing, const QByteArray& path) {
    const qsizetype at = listing.indexOf(QByteArray(' ' + path + '\n'));
    if (at < 19)
        return {};
    return QDateTime::fromString(QString::fromLatin1(listing.mid(at - 19, 19)),
                                 QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The time now in the test's zone, as a wall-clock time.
QDateTime NowInTestZone() {
    const QDateTime utc = QDateTime::currentDateTimeUtc().addSecs(TestZoneSeconds);
    return QDateTime(utc.date(), utc.time());
}

// A file system of the test's own (a tmpfs), for files on another mount; needs root.
class ScopedMount {
public:
    explicit ScopedMount(const QString& folder) : FFolder(Bytes(folder)) {
        FMounted = ::mount("tmpfs", FFolder.constData(), "tmpfs", 0, "size=4m,mode=0755") == 0;
    }
    ~ScopedMount() {
        if (FMounted)
            ::umount2(FFolder.constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    bool MakeReadOnly() {
        return ::mount("tmpfs", FFolder.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray FFolder;
    bool FMounted = false;
};

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDataHome = FRoot.File(QStringLiteral("data/share"));
        const QByteArray dataHome = Bytes(FDataHome);
        FDataHomeVariable.emplace("XDG_DATA_HOME", &dataHome);
        const QByteArray zone(TestZone);
        FZone.emplace("TZ", &zone);
        FFolder = FRoot.MakeFolder(QStringLiteral("my files"));
    }

    QString HomeTrash() const { return FDataHome + QStringLiteral("/Trash"); }

    // trash-restore offers the files trashed from the folder it runs in: the only one
    // there is restored.
    void RestoreWithTrashCli(const QByteArray& path) {
        const QString folder = QFile::decodeName(path.left(path.lastIndexOf('/')));
        const ToolRun restore = RunTool(QStringLiteral("trash-restore"), folder, "0\n");
        EXPECT_EQ(restore.Exit, 0) << restore.Output.toStdString();
    }

    TempFolder FRoot;
    QString FDataHome;
    QString FFolder;
    std::optional<ScopedEnvironment> FDataHomeVariable;
    std::optional<ScopedEnvironment> FZone;
};

} // namespace

TEST_F(TrashTest, TrashCliListsAndRestoresEveryName) {
    if (!HaveTrashCli())
        GTEST_SKIP() << "trash-cli (trash-list, trash-restore) is not installed";
    const std::vector<QByteArray> names = {
        "plain.pdb",
        "a%20b.pdb",
        "100% sure.pdb",
        "line\nbreak.pdb",
        " two  blanks .pdb",
        "Adre\xc3\x9f"
        "buch.pdb",
        "#what?&x=1;y.pdb",
        "back\\slash 'quote\".pdb",
        "tab\there.prc",
        QByteArray(247, 'L') + ".pdb", // too long for its information file's name
    };
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray path = Bytes(FFolder) + '/' + name;
        const QByteArray content = "content of " + name;
        WriteFile(path, content);
        QString error;
        ASSERT_TRUE(MoveToTrash(path, &error)) << error.toStdString();
        EXPECT_FALSE(Exists(path));

        const ToolRun list = RunTool(QStringLiteral("trash-list"), FRoot.Path());
        ASSERT_EQ(list.Exit, 0);
        const QDateTime listed = ListedDate(list.Output, path);
        ASSERT_TRUE(listed.isValid()) << list.Output.toStdString();
        EXPECT_LE(std::abs(listed.secsTo(NowInTestZone())), 120) << listed.toString().toStdString();

        RestoreWithTrashCli(path);
        EXPECT_EQ(Content(path), content);
        EXPECT_EQ(Entries(HomeTrash() + QStringLiteral("/files")), QStringList());
        EXPECT_EQ(Entries(HomeTrash() + QStringLiteral("/info")), QStringList());
    }
}

// Bytes that are not UTF-8 come back as they were; trash-cli still lists the file, with
// the bytes it cannot decode replaced.
TEST_F(TrashTest, NamesThatAreNotUtf8RoundTrip) {
    if (!HaveTrashCli())
        GTEST_SKIP() << "trash-cli (trash-list, trash-restore) is not installed";
    const std::vector<std::pair<QByteArray, QByteArray>> names = {
        {"Adre\xdf"
         "buch.pdb",
         "Adre\xef\xbf\xbd"
         "buch.pdb"},
        {"\xff\xfe %41.prc", "\xef\xbf\xbd\xef\xbf\xbd %41.prc"},
    };
    // What the escapes of the information file say, decoded by Python's standard library;
    // then the file is put back there.
    const QString restorer = QStringLiteral(
        "import os, sys, urllib.parse\n"
        "trash = sys.argv[1]\n"
        "for entry in os.listdir(os.path.join(trash, 'info')):\n"
        "    info = os.path.join(os.fsencode(trash), b'info', os.fsencode(entry))\n"
        "    for line in open(info, 'rb').read().split(b'\\n'):\n"
        "        if line.startswith(b'Path='):\n"
        "            target = urllib.parse.unquote_to_bytes(line[5:])\n"
        "    os.rename(os.path.join(os.fsencode(trash), b'files', os.fsencode(entry)[:-10]),"
        " target)\n"
        "    os.remove(info)\n");
    for (const auto& [name, shownName] : names) {
        SCOPED_TRACE(name.toHex().toStdString());
        const QByteArray path = Bytes(FFolder) + '/' + name;
        WriteFile(path, name);
        QString error;
        ASSERT_TRUE(MoveToTrash(path, &error)) << error.toStdString();
        EXPECT_FALSE(Exists(path));

        const ToolRun list = RunTool(QStringLiteral("trash-list"), FRoot.Path());
        EXPECT_TRUE(list.Output.contains(QByteArray(' ' + Bytes(FFolder) + '/' + shownName + '\n')))
            << list.Output.toStdString();

        const ToolRun restore = RunTool(QStringLiteral("python3"), FRoot.Path(), {},
                                        {QStringLiteral("-c"), restorer, HomeTrash()});
        EXPECT_EQ(restore.Exit, 0);
        EXPECT_EQ(Content(path), name);
        ::unlink(path.constData()); // Qt could not remove it with the folder
    }
}

// Without ~/.local/share the home trash is made there, private to the user, and nothing
// lands in the working folder.
TEST_F(TrashTest, HomeWithoutLocalShareGetsItsTrash) {
    const QString home = FRoot.MakeFolder(QStringLiteral("home"));
    const QString working = FRoot.MakeFolder(QStringLiteral("working"));
    const QByteArray homeBytes = Bytes(home);
    const ScopedEnvironment homeVariable("HOME", &homeBytes);
    const ScopedEnvironment noDataHome("XDG_DATA_HOME", nullptr);
    const QString oldWorking = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working));

    const QByteArray path = Bytes(FFolder) + "/a%20b.pdb";
    WriteFile(path, "abc");
    QString error;
    const bool trashed = MoveToTrash(path, &error);
    QDir::setCurrent(oldWorking);
    ASSERT_TRUE(trashed) << error.toStdString();

    EXPECT_EQ(Entries(working), QStringList());
    for (const char* made : {"/.local", "/.local/share", "/.local/share/Trash"}) {
        SCOPED_TRACE(made);
        struct stat info {};
        ASSERT_EQ(::stat(QByteArray(homeBytes + made).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
    }
    const QString trash = home + QStringLiteral("/.local/share/Trash");
    EXPECT_EQ(Entries(trash + QStringLiteral("/files")), QStringList{QStringLiteral("a%20b.pdb")});
    if (HaveTrashCli()) {
        RestoreWithTrashCli(path);
        EXPECT_EQ(Content(path), "abc");
    }
}

// Files on another mount go to that mount's trash, never across into the home trash.
TEST_F(TrashTest, FileOnAnotherMountGoesToItsTopFolderTrash) {
    const QString uid = QString::number(::getuid());
    struct Case {
        const char* What;
        std::function<void(const QString& top)> Prepare;
        QString Trash; // relative to the top folder
    };
    const std::vector<Case> cases = {
        {"no shared trash", [](const QString&) {}, QStringLiteral(".Trash-") + uid},
        {"shared trash with the sticky bit",
         [](const QString& top) { ::mkdir(Bytes(top + u"/.Trash").constData(), 01777); },
         QStringLiteral(".Trash/") + uid},
        {"shared trash without the sticky bit",
         [](const QString& top) { ::mkdir(Bytes(top + u"/.Trash").constData(), 0777); },
         QStringLiteral(".Trash-") + uid},
        {"shared trash that is a link",
         [](const QString& top) {
             ::mkdir(Bytes(top + u"/elsewhere").constData(), 01777);
             ::symlink("elsewhere", Bytes(top + u"/.Trash").constData());
         },
         QStringLiteral(".Trash-") + uid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const QString top = FRoot.MakeFolder(QStringLiteral("mount"));
        ScopedMount mount(top);
        if (!mount.Mounted())
            GTEST_SKIP() << "a tmpfs of the test's own needs root: " << std::strerror(errno);
        ::chmod(Bytes(top).constData(), 0777);
        c.Prepare(top);
        const QString folder = top + QStringLiteral("/sub folder");
        ASSERT_TRUE(QDir().mkpath(folder));
        const QByteArray path = Bytes(folder) + "/x 100%.pdb";
        WriteFile(path, "on the mount");

        QString error;
        ASSERT_TRUE(MoveToTrash(path, &error)) << error.toStdString();
        const QString trash = top + QLatin1Char('/') + c.Trash;
        EXPECT_EQ(Entries(trash + QStringLiteral("/files")),
                  QStringList{QStringLiteral("x 100%.pdb")});
        EXPECT_FALSE(QFileInfo::exists(HomeTrash()));
        struct stat info {};
        ASSERT_EQ(::stat(Bytes(trash).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
        QFile infoFile(trash + QStringLiteral("/info/x 100%.pdb.trashinfo"));
        ASSERT_TRUE(infoFile.open(QIODevice::ReadOnly));
        // Recorded from the top folder, so that the mount may be mounted elsewhere later.
        EXPECT_TRUE(infoFile.readAll().contains("\nPath=sub%20folder/x%20100%25.pdb\n"));

        if (HaveTrashCli()) {
            const ToolRun list = RunTool(QStringLiteral("trash-list"), FRoot.Path());
            EXPECT_TRUE(ListedDate(list.Output, path).isValid()) << list.Output.toStdString();
            RestoreWithTrashCli(path);
            EXPECT_EQ(Content(path), "on the mount");
        }
    }
}

// A file that cannot go to the trash stays, with the first cause, and leaves no
// information file behind.
TEST_F(TrashTest, FailureReportsTheCauseAndLeavesNoInformation) {
    const bool root = ::getuid() == 0;
    struct Case {
        const char* What;
        bool OnReadOnlyMount; // the file lies on a file system of its own, made read-only
        // Prepares the failure for the file at path; gives the errno expected, 0 to skip.
        std::function<int(const QByteArray& path)> Prepare;
    };
    const std::vector<Case> cases = {
        {"read-only file system", true,
         [](const QByteArray&) {
             return EROFS;
         }},
        // The move fails after the information file is written.
        {"file that is a mount point", false,
         [root](const QByteArray& path) {
             return root && ::mount(path.constData(), path.constData(), nullptr, MS_BIND,
                                    nullptr) == 0
                        ? EBUSY
                        : 0;
         }},
        {"folder without write permission", false,
         [root, this](const QByteArray&) {
             // Root may write anyway: the mount point above stands in for it there.
             return !root && ::chmod(Bytes(FFolder).constData(), 0555) == 0 ? EACCES : 0;
         }},
        {"data home below a file", false,
         [this](const QByteArray&) {
             const QByteArray blocked =
                 Bytes(FRoot.Write(QStringLiteral("blocker"), "x")) + "/share";
             qputenv("XDG_DATA_HOME", blocked);
             return ENOTDIR;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const QString top = FRoot.MakeFolder(QStringLiteral("mount"));
        ScopedMount mount(top);
        if (c.OnReadOnlyMount && !mount.Mounted()) {
            std::cout << "skipped \"" << c.What << "\": a tmpfs of the test's own needs root\n";
            continue;
        }
        const QByteArray path = Bytes(c.OnReadOnlyMount ? top : FFolder) + "/stays.pdb";
        WriteFile(path, "stays");
        const int expected = c.Prepare(path);
        if (expected == 0) {
            ::unlink(path.constData());
            continue;
        }
        if (c.OnReadOnlyMount) {
            ASSERT_TRUE(mount.MakeReadOnly());
        }

        QString error;
        EXPECT_FALSE(MoveToTrash(path, &error));
        EXPECT_TRUE(error.endsWith(QString::fromLocal8Bit(std::strerror(expected))))
            << error.toStdString();
        if (c.OnReadOnlyMount) {
            EXPECT_TRUE(error.contains(top + QStringLiteral("/.Trash-"))) << error.toStdString();
        }
        EXPECT_EQ(Content(path), "stays");
        EXPECT_EQ(Entries(HomeTrash() + QStringLiteral("/info")), QStringList());
        EXPECT_EQ(Entries(HomeTrash() + QStringLiteral("/files")), QStringList());

        ::umount2(path.constData(), MNT_DETACH);
        ::chmod(Bytes(FFolder).constData(), 0755);
        ::unlink(path.constData());
        const QByteArray dataHome = Bytes(FDataHome);
        qputenv("XDG_DATA_HOME", dataHome);
    }
}

// Two files of one name: the second gets a name of its own in the trash, and each comes
// back to its own folder.
TEST_F(TrashTest, SameNameTwiceKeepsBoth) {
    const QByteArray first = Bytes(FFolder) + "/same.pdb";
    const QByteArray second = Bytes(FRoot.MakeFolder(QStringLiteral("other"))) + "/same.pdb";
    WriteFile(first, "first");
    WriteFile(second, "second");
    QString error;
    ASSERT_TRUE(MoveToTrash(first, &error)) << error.toStdString();
    ASSERT_TRUE(MoveToTrash(second, &error)) << error.toStdString();
    EXPECT_EQ(Entries(HomeTrash() + QStringLiteral("/files")),
              (QStringList{QStringLiteral("same 2.pdb"), QStringLiteral("same.pdb")}));
    if (!HaveTrashCli())
        GTEST_SKIP() << "trash-cli (trash-list, trash-restore) is not installed";
    RestoreWithTrashCli(first);
    RestoreWithTrashCli(second);
    EXPECT_EQ(Content(first), "first");
    EXPECT_EQ(Content(second), "second");
}
