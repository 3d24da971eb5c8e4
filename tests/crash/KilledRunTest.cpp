// A run killed at the worst moment: each operation is run in a forked child that is
// killed before its 1st, 2nd, ... file-changing call until it completes. After each kill
// the user's files must be as before or as after (a move across file systems may also
// have its copy in place and the source still there), whole; at most one temporary file
// of the program may remain, and the next start (or the next run into that folder)
// removes it. A traced run checks the order that makes a power cut as harmless: a file is
// on the disk before it takes a name, and a name is on the disk before a source goes.
#include "KillSwitch.h"
#include "common/IniFile.h"
#include "core/BrowserSettings.h"
#include "core/CopyMove.h"
#include "core/LeftoverCleanup.h"
#include "core/ProgramPaths.h"
#include "creators/CreatorCatalogue.h"
#include "platform/Trash.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"
#include "zip/ExtractionFolder.h"
#include "zip/ZipArchive.h"
#include "zip/ZipPacking.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using FileState = std::map<QString, QByteArray>; // relative path -> content

bool IsProgramTemporary(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^\\.brisko-[0-9a-z]{1,13}\\.part$"));
    return pattern.match(name).hasMatch();
}

// Large enough to be written in several calls.
QByteArray Pattern(char seed, int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(seed + i % 53);
    return bytes;
}

struct Fixture {
    TempFolder home;                      // the user's folders, Brisko.ini, Temp
    std::unique_ptr<QTemporaryDir> other; // on another file system when there is one

    QString Home(const QString& name) const { return home.File(name); }
    QString Other(const QString& name) const { return other->filePath(name); }
    ProgramPaths Paths() const {
        ProgramPaths paths;
        paths.DataFolder = Home(QStringLiteral("program/"));
        paths.TempFolder = Home(QStringLiteral("program/Temp/"));
        return paths;
    }
};

// The files under the fixture's folders, keyed "home/..." and "other/...". Temporary
// files of the program are counted apart; paths for which ignore says true are left out.
struct Snapshot {
    FileState files;
    QStringList temporaries;
};

Snapshot Take(const Fixture& f, const std::function<bool(const QString&)>& ignore) {
    Snapshot shot;
    const std::pair<QString, QString> roots[] = {{QStringLiteral("home/"), f.home.Path()},
                                                 {QStringLiteral("other/"), f.other->path()}};
    for (const auto& [key, root] : roots) {
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = key + QDir(root).relativeFilePath(path);
            if (ignore && ignore(relative))
                continue;
            if (IsProgramTemporary(it.fileName())) {
                shot.temporaries << relative;
                continue;
            }
            QFile file(path);
            QByteArray content = file.open(QIODevice::ReadOnly) ? file.readAll() : "<unreadable>";
            // A trash's information file says where from and when: the same entry for
            // another fixture's folder at another second. (Cut short, it stays a prefix.)
            if (relative.endsWith(QLatin1String(".trashinfo")))
                content =
                    QString::fromUtf8(content)
                        .replace(QRegularExpression(QStringLiteral("(Path|DeletionDate)=[^\n]*")),
                                 QStringLiteral("\\1="))
                        .toUtf8();
            shot.files[relative] = content;
        }
    }
    return shot;
}

std::string Describe(const FileState& state) {
    std::string text;
    for (const auto& [path, content] : state)
        text += path.toStdString() + " (" + std::to_string(content.size()) + " bytes, " +
                std::to_string(qHash(content)) + ") ";
    return text.empty() ? "(nothing)" : text;
}

// Runs operation in a child; killAt as for KillSwitchArm. Returns true when the child
// completed, false when it was killed; anything else fails the test.
bool RunChild(const std::function<void()>& operation, long killAt, int traceFd = -1) {
    const pid_t child = fork();
    if (child == 0) {
        KillSwitchTrace(traceFd);
        KillSwitchArm(killAt);
        try {
            operation();
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        return false;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the operation failed on its own, status " << status;
    return true;
}

struct Operation {
    const char* name;
    std::function<void(Fixture&)> setUp;
    std::function<void(Fixture&)> run;       // in the child
    std::function<void(Fixture&)> nextStart; // what removes the leftovers
    // States between before and after that are whole too (a copy in place, its source
    // still there); given before and after.
    std::function<std::vector<FileState>(const FileState&, const FileState&)> alsoWhole;
    bool durable = true; // the trace must show the order that survives a power cut
    std::function<bool(const QString&)> ignore;
};

// Contents of the copy and move cases.
const QByteArray NewContent = Pattern('a', 1536 * 1024);
const QByteArray OldContent = Pattern('A', 300 * 1024);

void WriteSourceAndOldTarget(Fixture& f, const QString& source, bool oldTarget) {
    f.home.Write(QStringLiteral("target/keep.pdb"), "a file the run does not touch");
    QFile file(source);
    QDir().mkpath(QFileInfo(source).absolutePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(NewContent);
    file.close();
    if (oldTarget)
        f.home.Write(QStringLiteral("target/book.pdb"), OldContent);
}

// The next run into the target folder, with nothing of its own to copy.
void NextRunIntoTarget(Fixture& f) {
    CopyMoveRun(true).Run(f.Home(QStringLiteral("target")), {});
}

std::vector<FileState> CopyInPlaceSourceStill(const FileState& before, const FileState& after) {
    FileState between = after;
    for (const auto& [path, content] : before)
        if (!after.count(path))
            between[path] = content;
    return {between};
}

// A file system whose renames all cross file systems.
const FileSystemCalls& CrossingCalls() {
    static const FileSystemCalls calls{FileSystemCalls::Real().Write,
                                       [](const QString&, const QString&, bool) {
                                           return EXDEV;
                                       }};
    return calls;
}

void CopyMoveOne(Fixture& f, const QString& source, bool copy, bool replace,
                 const FileSystemCalls& calls = FileSystemCalls::Real()) {
    const CopyMoveFileResult result =
        CopyMoveFile(source, f.Home(QStringLiteral("target/book.pdb")), copy, replace, calls);
    if (result.Status != CopyMoveStatus::Done)
        throw std::runtime_error(result.Error.toStdString());
}

void WriteSettingsFile(const Fixture& f, const QString& start) {
    IniFile ini(f.Paths().SettingsPath());
    if (!ini.Load())
        throw std::runtime_error("unreadable");
    BrowserSettings settings;
    settings.StartPath = start;
    for (int i = 0; i < 300; ++i)
        settings.Favorites << start + QStringLiteral("/favourite-%1").arg(i);
    WriteSettings(ini, settings);
    ini.Save();
}

void WriteCatalogue(const Fixture& f, const std::string& description) {
    ListeDerLinks catalogue;
    if (!catalogue.LoadCreatorIDs(f.Paths().CataloguePath()))
        throw std::runtime_error("unreadable");
    for (int i = 0; i < 200; ++i)
        catalogue.AddLink({"C" + std::to_string(1000 + i), "program " + std::to_string(i),
                           description, "https://example.org/" + std::to_string(i)});
    catalogue.SaveCreatorIDs(f.Paths().CataloguePath());
}

// The trash's information file is written before the file moves: a kill in between leaves
// it, written in part or whole, beside the file still in place.
std::vector<FileState> InformationWrittenFileInPlace(const FileState& before,
                                                     const FileState& after) {
    std::vector<FileState> states;
    for (const auto& [path, content] : after) {
        if (!path.endsWith(QLatin1String(".trashinfo")))
            continue;
        for (qsizetype size = 0; size <= content.size(); ++size) {
            FileState between = before;
            between[path] = content.left(size);
            states.push_back(between);
        }
    }
    return states;
}

void TrashOne(Fixture& f) {
    QString error;
    if (!MoveToTrash(QFile::encodeName(f.Home(QStringLiteral("files/book.pdb"))), &error))
        throw std::runtime_error(error.toStdString());
}

bool UnderTemp(const QString& relative) {
    return relative.startsWith(QStringLiteral("home/program/Temp/")) &&
           !relative.startsWith(QStringLiteral("home/program/Temp/foreign/"));
}

std::vector<Operation> Operations() {
    const QString source = QStringLiteral("source/book.pdb");
    return {
        {"copy to a new name",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Home(source), false); },
         [=](Fixture& f) { CopyMoveOne(f, f.Home(source), true, false); }, NextRunIntoTarget,
         nullptr, true, nullptr},
        {"copy replacing a file",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Home(source), true); },
         [=](Fixture& f) { CopyMoveOne(f, f.Home(source), true, true); }, NextRunIntoTarget,
         nullptr, true, nullptr},
        {"move replacing a file on the same file system",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Home(source), true); },
         [=](Fixture& f) { CopyMoveOne(f, f.Home(source), false, true); }, NextRunIntoTarget,
         nullptr, true, nullptr},
        {"move replacing a file on another file system",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Other(source), true); },
         [=](Fixture& f) { CopyMoveOne(f, f.Other(source), false, true); }, NextRunIntoTarget,
         CopyInPlaceSourceStill, true, nullptr},
        {"move to a new name on another file system",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Other(source), false); },
         [=](Fixture& f) { CopyMoveOne(f, f.Other(source), false, false); }, NextRunIntoTarget,
         CopyInPlaceSourceStill, true, nullptr},
        {"move replacing a file where rename reports another file system",
         [=](Fixture& f) { WriteSourceAndOldTarget(f, f.Home(source), true); },
         [=](Fixture& f) { CopyMoveOne(f, f.Home(source), false, true, CrossingCalls()); },
         NextRunIntoTarget, CopyInPlaceSourceStill, true, nullptr},
        {"Brisko.ini written over an older one",
         [](Fixture& f) {
             f.home.MakeFolder(QStringLiteral("program"));
             WriteSettingsFile(f, QStringLiteral("/old"));
         },
         [](Fixture& f) { WriteSettingsFile(f, QStringLiteral("/new/start/folder")); },
         [](Fixture& f) { RemoveLeftoversOfKilledRuns(f.Paths()); }, nullptr, true, nullptr},
        {"CreatorIDs.ini written over an older one",
         [](Fixture& f) {
             f.home.Write(QStringLiteral("program/CreatorIDs.ini"),
                          "; the user's own notes\n[memo]\nDescription=Memo Pad\n");
         },
         [](Fixture& f) { WriteCatalogue(f, "a longer description of the program"); },
         [](Fixture& f) { RemoveLeftoversOfKilledRuns(f.Paths()); }, nullptr, true, nullptr},
        {"file moved to the trash",
         [](Fixture& f) {
             f.home.Write(QStringLiteral("files/book.pdb"), NewContent);
             qputenv("XDG_DATA_HOME", f.Home(QStringLiteral("data")).toUtf8());
         },
         TrashOne, [](Fixture& f) { RemoveLeftoversOfKilledRuns(f.Paths()); },
         InformationWrittenFileInPlace, true, nullptr},
        {"files packed into a ZIP archive replacing one",
         [](Fixture& f) {
             // The same sources every time, so that every run packs the same archive.
             const QDateTime fixed = QDateTime::fromSecsSinceEpoch(1700000000);
             f.home.Write(QStringLiteral("files/a.pdb"), NewContent, fixed);
             f.home.Write(QStringLiteral("files/b.pdb"), OldContent, fixed);
             f.home.Write(QStringLiteral("target/keep.pdb"), "a file the run does not touch");
             f.home.Write(QStringLiteral("target/books.zip"), "the old archive");
         },
         [](Fixture& f) {
             const PackResult result =
                 PackFiles(PackSourcesOf({f.Home(QStringLiteral("files/a.pdb")),
                                          f.Home(QStringLiteral("files/b.pdb"))}),
                           f.Home(QStringLiteral("target/books.zip")), true);
             if (!result.Written)
                 throw std::runtime_error(result.Error.toStdString());
         },
         // The next pack into that folder, of nothing readable.
         [](Fixture& f) {
             PackFiles(PackSourcesOf({f.Home(QStringLiteral("files/none.pdb"))}),
                       f.Home(QStringLiteral("target/other.zip")), false);
         },
         nullptr, true, nullptr},
        {"archive entries extracted into Temp",
         [](Fixture& f) {
             const std::time_t fixed = 1700000000; // the same archive every time
             ZipBuilder()
                 .Add("a/book.pdb", NewContent, fixed)
                 .Add("b/book.pdb", OldContent, fixed)
                 .Add("memo.pdb", "small", fixed)
                 .WriteTo(f.home.File(QStringLiteral("books.zip")));
             f.home.Write(QStringLiteral("program/Temp/foreign/keep.pdb"), "someone else's");
             // A file of the marker's name that is not the program's marker.
             f.home.Write(QStringLiteral("program/Temp/foreign/.brisko-extraction"), "mine");
             f.home.Write(QStringLiteral("program/Temp/stray.pdb"), "someone else's");
         },
         [](Fixture& f) {
             ExtractionFolder extraction(f.Paths().TempFolder);
             ZipArchive archive;
             if (!archive.Open(f.home.File(QStringLiteral("books.zip"))))
                 throw std::runtime_error("not opened");
             QHash<QString, int> copies;
             for (const ZipEntry& entry : archive.Entries())
                 if (!extraction.Extract(archive, entry, ++copies[entry.FileName]).Error.isEmpty())
                     throw std::runtime_error("not extracted");
             // Killed with the copies still in use: no shut-down.
         },
         [](Fixture& f) { RemoveLeftoversOfKilledRuns(f.Paths()); }, nullptr, false, UnderTemp},
    };
}

// Separate file systems for the move across them: /dev/shm is its own mount on most
// Linux systems.
std::unique_ptr<QTemporaryDir> OtherFileSystem(const TempFolder& home, bool* separate) {
    auto other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/brisko-test-XXXXXX"));
    struct stat a {};
    struct stat b {};
    *separate = other->isValid() && ::stat(QFile::encodeName(home.Path()).constData(), &a) == 0 &&
                ::stat(QFile::encodeName(other->path()).constData(), &b) == 0 &&
                a.st_dev != b.st_dev;
    if (!other->isValid())
        other = std::make_unique<QTemporaryDir>();
    return other;
}

TEST(KilledRun, LeavesEveryFileWholeAndOnlyTemporariesTheNextStartRemoves) {
    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.name);
        Fixture f;
        bool separate = false;
        f.other = OtherFileSystem(f.home, &separate);
        if (!separate && std::string(op.name).find("another file system") != std::string::npos &&
            std::string(op.name).find("rename reports") == std::string::npos) {
            std::cout << "no second file system here, not tried: " << op.name << '\n';
            continue;
        }
        op.setUp(f);
        const Snapshot before = Take(f, op.ignore);
        ASSERT_TRUE(before.temporaries.isEmpty());
        // Reference run, then the same from the start for every kill point.
        ASSERT_TRUE(RunChild([&] { op.run(f); }, 0));
        const Snapshot after = Take(f, op.ignore);
        if (op.ignore) { // its work lies in the folder left out
            ASSERT_GT(QDir(f.Paths().TempFolder).count(), 4u) << "nothing was extracted";
        } else {
            ASSERT_NE(after.files, before.files) << "the operation changed nothing";
        }
        EXPECT_TRUE(after.temporaries.isEmpty()) << after.temporaries.join(u' ').toStdString();
        std::vector<FileState> whole{before.files, after.files};
        if (op.alsoWhole)
            for (const FileState& state : op.alsoWhole(before.files, after.files))
                whole.push_back(state);

        long killAt = 1;
        for (;; ++killAt) {
            ASSERT_LT(killAt, 200) << "the operation never completes";
            Fixture run;
            run.other =
                separate
                    ? std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/brisko-test-XXXXXX"))
                    : std::make_unique<QTemporaryDir>();
            op.setUp(run);
            if (RunChild([&] { op.run(run); }, killAt))
                break; // completed before the call the kill waited for
            SCOPED_TRACE(testing::Message() << "killed before call " << killAt);
            const Snapshot killed = Take(run, op.ignore);
            EXPECT_NE(std::find(whole.begin(), whole.end(), killed.files), whole.end())
                << "neither before nor after: " << Describe(killed.files);
            EXPECT_LE(killed.temporaries.size(), 1) << killed.temporaries.join(u' ').toStdString();

            op.nextStart(run);
            const Snapshot cleaned = Take(run, op.ignore);
            EXPECT_EQ(cleaned.files, killed.files) << "the clean-up touched the user's files";
            EXPECT_TRUE(cleaned.temporaries.isEmpty())
                << cleaned.temporaries.join(u' ').toStdString();
            if (op.ignore) { // Temp holds nothing of the killed run, and all of the others
                EXPECT_EQ(QDir(run.Paths().TempFolder)
                              .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                          (QStringList{QStringLiteral("foreign"), QStringLiteral("stray.pdb")}));
            }
        }
        std::cout << op.name << ": killed at " << killAt - 1 << " points\n";
        EXPECT_GT(killAt, 2) << "too few calls counted: are they reaching the kill switch?";
    }
}

struct TracedCall {
    std::string call, path, target;
};

std::vector<TracedCall> ReadTrace(const QString& path) {
    std::vector<TracedCall> calls;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return calls;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() == 3)
            calls.push_back(
                {parts[0].toStdString(), parts[1].toStdString(), parts[2].toStdString()});
    }
    return calls;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

bool IsTemporaryPath(const std::string& path) {
    return IsProgramTemporary(QString::fromStdString(path.substr(path.rfind('/') + 1)));
}

// A power cut keeps what was synced: every file written must be synced before a file
// is named, and the folder of a new name before a user's file is removed and before the operation
// ends.
TEST(KilledRun, PutsDataAndNamesOnTheDiskBeforeGivingAnythingUp) {
    for (const Operation& op : Operations()) {
        if (!op.durable)
            continue;
        SCOPED_TRACE(op.name);
        Fixture f;
        bool separate = false;
        f.other = OtherFileSystem(f.home, &separate);
        op.setUp(f);
        const QString tracePath = f.Home(QStringLiteral("trace.txt"));
        const int traceFd = ::open(QFile::encodeName(tracePath).constData(),
                                   O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(traceFd, 0);
        ASSERT_TRUE(RunChild([&] { op.run(f); }, 0, traceFd));
        ::close(traceFd);
        const std::vector<TracedCall> calls = ReadTrace(tracePath);
        ASSERT_FALSE(calls.empty());

        std::map<std::string, size_t> lastWrite, lastSync;
        std::vector<std::string> unsyncedNames; // folders with a new name not yet synced
        int renames = 0;
        for (size_t i = 0; i < calls.size(); ++i) {
            const TracedCall& c = calls[i];
            if (c.call == "write" || c.call == "times" || c.call == "chmod") {
                if (c.call == "write")
                    lastWrite[c.path] = i;
            } else if (c.call == "fsync") {
                lastSync[c.path] = i;
                std::erase(unsyncedNames, c.path);
            } else if (c.call == "rename" || c.call == "link") {
                ++renames;
                // Everything written so far, the file named and any other (a trash's
                // information file before the file moves).
                for (const auto& [written, at] : lastWrite)
                    EXPECT_TRUE(lastSync.count(written) && lastSync[written] > at)
                        << written << " not synced before " << c.path << " was named " << c.target;
                unsyncedNames.push_back(FolderOf(c.target));
            } else if (c.call == "unlink" && !IsTemporaryPath(c.path)) {
                EXPECT_TRUE(unsyncedNames.empty()) << c.path << " removed before the new name in "
                                                   << unsyncedNames.front() << " was synced";
            }
        }
        EXPECT_GT(renames, 0);
        EXPECT_TRUE(unsyncedNames.empty()) << "never synced: " << unsyncedNames.front();
    }
}

} // namespace
