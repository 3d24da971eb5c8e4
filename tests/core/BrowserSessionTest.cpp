#include "core/BrowserSession.h"

#include "TestRows.h"
#include "core/FileListModel.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

namespace {

using Kind = BrowserDestination::Kind;

// For sessions that open no archive: nothing is ever extracted there.
const QString NoExtraction;

// What the window does with a destination: the folder listed, the archive shown.
void Follow(BrowserSession& session, const BrowserDestination& destination) {
    if (destination.Step == Kind::Folder)
        session.EnterFolder(destination.Path);
    else if (destination.Step == Kind::Archive)
        session.EnterArchive(destination.Path);
}

InstallCandidate Selected(const char* path, const char* name) {
    return {QString::fromUtf8(path), QString::fromUtf8(name)};
}

void ExpectDestination(const BrowserDestination& actual, Kind step, const QString& path,
                       const char* what) {
    EXPECT_EQ(actual.Step, step) << what;
    EXPECT_EQ(actual.Path, path) << what;
}

} // namespace

TEST(BrowserSession, AHeaderClickReversesItsOwnColumnAndKeepsTheDirectionForAnother) {
    BrowserSettings settings;
    BrowserSession session(settings, NoExtraction);
    EXPECT_FALSE(session.Sort().Column().has_value());
    const struct {
        FileColumn column;
        Qt::SortOrder order;
    } clicks[] = {
        {FileColumn::Name, Qt::AscendingOrder},    {FileColumn::Name, Qt::DescendingOrder},
        {FileColumn::Size, Qt::DescendingOrder},   {FileColumn::Size, Qt::AscendingOrder},
        {FileColumn::Changed, Qt::AscendingOrder}, {FileColumn::Changed, Qt::DescendingOrder},
        {FileColumn::Type, Qt::DescendingOrder},   {FileColumn::Name, Qt::DescendingOrder},
        {FileColumn::Name, Qt::AscendingOrder},
    };
    int step = 0;
    for (const auto& click : clicks) {
        EXPECT_EQ(session.SortClick(click.column), click.order) << "click " << step;
        EXPECT_EQ(session.Sort().Column(), click.column) << "click " << step;
        ++step;
    }
    // A listing keeps the sort of the run.
    session.EnterFolder(QStringLiteral("/data"));
    EXPECT_EQ(session.SortClick(FileColumn::Name), Qt::DescendingOrder);
}

TEST(BrowserSession, TypedTargetsAreTakenFromHomeOrTheListedFolder) {
    BrowserSettings settings;
    BrowserSession session(settings, NoExtraction);
    const QString home = QDir::homePath();
    const struct {
        const char* listed; // nullptr: nothing listed yet
        const char* typed;
        QString target;
    } cases[] = {
        {"/data/palm", "", QString()},
        {"/data/palm", "~", home},
        {"/data/palm", "~/", home + u'/'},
        {"/data/palm", "~/backup", home + QStringLiteral("/backup")},
        {"/data/palm", "~other", QStringLiteral("/data/palm/~other")},
        {"/data/palm", "sub", QStringLiteral("/data/palm/sub")},
        {"/data/palm/", "sub/deeper", QStringLiteral("/data/palm/sub/deeper")},
        {"/data/palm", "../up", QStringLiteral("/data/palm/../up")},
        {"/data/palm", "/mnt/card", QStringLiteral("/mnt/card")},
        {"/data/palm", "/mnt/card/", QStringLiteral("/mnt/card/")},
        {nullptr, "sub", QStringLiteral("sub")},
        {nullptr, "~/backup", home + QStringLiteral("/backup")},
        {nullptr, "/mnt/card", QStringLiteral("/mnt/card")},
    };
    for (const auto& c : cases) {
        BrowserSession fresh(settings, NoExtraction);
        BrowserSession& s = c.listed ? session : fresh;
        if (c.listed)
            s.EnterFolder(QString::fromUtf8(c.listed));
        EXPECT_EQ(s.ResolveTarget(QString::fromUtf8(c.typed)), c.target)
            << (c.listed ? c.listed : "(none)") << " + " << c.typed;
    }
}

TEST(BrowserSession, TypedFoldersAreCleanedAndTakenFromTheWorkingFolderBeforeAListing) {
    BrowserSettings settings;
    const QString home = QDir::homePath();
    const QString working = QDir::currentPath();
    const struct {
        const char* listed;
        const char* typed;
        QString folder;
    } cases[] = {
        {"/data/palm", "", QString()},
        {"/data/palm", "sub/../other/", QStringLiteral("/data/palm/other")},
        {"/data/palm", "..", QStringLiteral("/data")},
        {"/data/palm", "~/x/", home + QStringLiteral("/x")},
        {"/data/palm", "/mnt//card/", QStringLiteral("/mnt/card")},
        {nullptr, "rel", QDir::cleanPath(working + QStringLiteral("/rel"))},
    };
    for (const auto& c : cases) {
        BrowserSession session(settings, NoExtraction);
        if (c.listed)
            session.EnterFolder(QString::fromUtf8(c.listed));
        EXPECT_EQ(session.ResolveTypedFolder(QString::fromUtf8(c.typed)), c.folder) << c.typed;
    }
}

TEST(BrowserSession, PathsWithADoubleQuoteAreRefusedTheOthersQueuedForTheTool) {
    BrowserSettings settings;
    const auto forProgram = [](const QString& path) -> QString {
        return QStringLiteral("Z:") + path;
    };
    const struct {
        const char* what;
        std::vector<InstallCandidate> selected;
        QStringList refused;
        QString queued; // the plain list
    } cases[] = {
        {"none quoted",
         {Selected("/p/a.prc", "a.prc"), Selected("/p/b.pdb", "b.pdb")},
         {},
         QStringLiteral("Z:/p/a.prc Z:/p/b.pdb")},
        {"mixed",
         {Selected("/p/a.prc", "a.prc"), Selected("/p/say \"hi\".prc", "say \"hi\".prc"),
          Selected("/p/c.pdb", "c.pdb")},
         {QStringLiteral("say \"hi\".prc")},
         QStringLiteral("Z:/p/a.prc Z:/p/c.pdb")},
        {"quote in the folder",
         {Selected("/p/\"x\"/a.prc", "a.prc"), Selected("/p/b.pdb", "b.pdb")},
         {QStringLiteral("a.prc")},
         QStringLiteral("Z:/p/b.pdb")},
        {"all quoted",
         {Selected("/p/\"a\".prc", "\"a\".prc"), Selected("/p/b\".pdb", "b\".pdb")},
         {QStringLiteral("\"a\".prc"), QStringLiteral("b\".pdb")},
         QString()},
        {"single quote is fine",
         {Selected("/p/it's.prc", "it's.prc")},
         {},
         QStringLiteral("Z:/p/it's.prc")},
    };
    for (const auto& c : cases) {
        BrowserSession session(settings, NoExtraction);
        EXPECT_EQ(session.QueueInstall(c.selected, forProgram), c.refused) << c.what;
        const InstallFileLists lists = session.TakeInstallLists();
        EXPECT_EQ(lists.InstallFileList(), c.queued) << c.what;
        EXPECT_EQ(lists.IsEmpty(), c.queued.isEmpty()) << c.what;
        // Taken once: nothing goes to the next Install.
        EXPECT_TRUE(session.TakeInstallLists().IsEmpty()) << c.what;
    }
}

TEST(BrowserSession, ArchiveViewEnterRefreshUpAndLeaveWithTheCommandsOfEachState) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    BrowserSettings settings;
    settings.InstallTool = temp.filePath(QStringLiteral("pinstall"));
    {
        QFile tool(settings.InstallTool);
        ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    }
    BrowserSession session(settings, NoExtraction);

    // One level up goes only to folders that exist.
    const QString root = temp.path();
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("palm")));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("other")));
    const QString above = QDir::cleanPath(root + QStringLiteral("/.."));
    const QString palm = root + QStringLiteral("/palm/");
    const QString zip = palm + QStringLiteral("games.zip");
    enum class Act { None, List, Open, Refresh, Up, Leave };
    const struct {
        Act act;
        QString path;
        // The state after it.
        QString current;
        QString archive; // empty: the folder's files are shown
        Kind refresh;
        Kind up;
        QString upPath;
    } steps[] = {
        {Act::None, {}, {}, {}, Kind::None, Kind::None, {}},
        {Act::Refresh, {}, {}, {}, Kind::None, Kind::None, {}},
        {Act::Up, {}, {}, {}, Kind::None, Kind::None, {}},
        {Act::List, root + QStringLiteral("/palm"), palm, {}, Kind::Folder, Kind::Folder, root},
        {Act::Open, zip, palm, zip, Kind::Archive, Kind::Folder, palm},
        {Act::Refresh, {}, palm, zip, Kind::Archive, Kind::Folder, palm},
        {Act::Up, {}, palm, {}, Kind::Folder, Kind::Folder, root},
        {Act::Up, {}, root + u'/', {}, Kind::Folder, Kind::Folder, above},
        {Act::Refresh, {}, root + u'/', {}, Kind::Folder, Kind::Folder, above},
        {Act::List, QStringLiteral("/"), QStringLiteral("/"), {}, Kind::Folder, Kind::None, {}},
        {Act::Up, {}, QStringLiteral("/"), {}, Kind::Folder, Kind::None, {}},
        {Act::List, palm, palm, {}, Kind::Folder, Kind::Folder, root},
        {Act::Open, zip, palm, zip, Kind::Archive, Kind::Folder, palm},
        {Act::Leave, {}, palm, {}, Kind::Folder, Kind::Folder, root},
        {Act::Leave, {}, palm, {}, Kind::Folder, Kind::Folder, root},
        {Act::Open, zip, palm, zip, Kind::Archive, Kind::Folder, palm},
        {Act::List,
         root + QStringLiteral("/other"),
         root + QStringLiteral("/other/"),
         {},
         Kind::Folder,
         Kind::Folder,
         root},
    };
    int index = 0;
    for (const auto& step : steps) {
        const std::string at = "step " + std::to_string(index++);
        switch (step.act) {
        case Act::List:
            EXPECT_EQ(session.EnterFolder(step.path), step.current) << at;
            break;
        case Act::Open:
            session.EnterArchive(step.path);
            break;
        case Act::Refresh:
            Follow(session, session.RefreshDestination());
            break;
        case Act::Up:
            Follow(session, session.UpDestination());
            break;
        case Act::Leave:
            Follow(session, session.LeaveArchiveDestination());
            break;
        case Act::None:
            break;
        }
        const bool archive = !step.archive.isEmpty();
        EXPECT_EQ(session.CurrentFolder(), step.current) << at;
        EXPECT_EQ(session.ArchiveView(), archive) << at;
        EXPECT_EQ(session.ArchivePath(), step.archive) << at;

        const BrowserDestination refresh = session.RefreshDestination();
        ExpectDestination(refresh, step.refresh,
                          step.refresh == Kind::Archive  ? step.archive
                          : step.refresh == Kind::Folder ? step.current
                                                         : QString(),
                          (at + " refresh").c_str());
        ExpectDestination(session.UpDestination(), step.up, step.upPath, (at + " up").c_str());
        ExpectDestination(session.LeaveArchiveDestination(), archive ? Kind::Folder : Kind::None,
                          archive ? step.current : QString(), (at + " leave").c_str());

        // Copy, move, delete and install belong to a folder's files only.
        const BrowserCommands commands = session.Commands();
        EXPECT_EQ(commands.CopyMoveDelete, !archive) << at;
        EXPECT_EQ(commands.Install, !archive) << at;
    }
}

TEST(BrowserSession, InstallIsEnabledOnlyWithAnInstallToolThatIsAFile) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString tool = temp.filePath(QStringLiteral("instapp"));
    {
        QFile file(tool);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const struct {
        QString tool;
        bool archive;
        bool install;
    } cases[] = {
        {tool, false, true},
        {QString(), false, false},
        {temp.filePath(QStringLiteral("missing")), false, false},
        {temp.path(), false, false}, // a folder is no tool
        {tool, true, false},
    };
    for (const auto& c : cases) {
        BrowserSettings settings;
        settings.InstallTool = c.tool;
        BrowserSession session(settings, NoExtraction);
        session.EnterFolder(temp.path());
        if (c.archive)
            session.EnterArchive(temp.filePath(QStringLiteral("a.zip")));
        EXPECT_EQ(session.Commands().Install, c.install) << c.tool.toStdString() << c.archive;
        EXPECT_EQ(session.Commands().CopyMoveDelete, !c.archive) << c.tool.toStdString();
        // The session reads the settings as they are now, as after the Options dialog.
        session.Settings().InstallTool.clear();
        EXPECT_FALSE(session.Commands().Install) << c.tool.toStdString();
    }
}

namespace {

FileRow Listed(const char* name, const char* file = "", const char* error = "") {
    FileRow row;
    row.Name = QString::fromUtf8(name);
    row.File = QString::fromUtf8(file);
    row.Error = QString::fromUtf8(error);
    return row;
}

} // namespace

TEST(BrowserSession, ArchiveRowsNeverExtractedFailAtOnceTheOthersAreCopiedByTheirFiles) {
    const std::vector<FileRow> rows{
        Listed("games/chess.prc", "/tmp/x/chess.prc"), Listed("bad.pdb", "", "CRC error"),
        Listed("win\\memo.pdb", "/tmp/x/memo.pdb"), Listed("a b.prc", "/tmp/x/1/a b.prc")};
    const struct {
        bool archive;
        QList<int> selected;
        QStringList sources;
        QStringList names;
        QList<int> itemRows;
        QList<int> notExtracted;
        QStringList failures;
    } cases[] = {
        {true,
         {0, 1, 2, 3},
         {QStringLiteral("/tmp/x/chess.prc"), QStringLiteral("/tmp/x/memo.pdb"),
          QStringLiteral("/tmp/x/1/a b.prc")},
         Texts({"chess.prc", "memo.pdb", "a b.prc"}),
         {0, 2, 3},
         {1},
         {QStringLiteral("bad.pdb: CRC error")}},
        {true, {1}, {}, {}, {}, {1}, {QStringLiteral("bad.pdb: CRC error")}},
        // In a folder a row without its own file is the folder's file of that name.
        {false,
         {1, 2},
         {QStringLiteral("/data/palm/bad.pdb"), QStringLiteral("/tmp/x/memo.pdb")},
         Texts({"bad.pdb", "memo.pdb"}),
         {1, 2},
         {},
         {}},
    };
    for (const auto& c : cases) {
        BrowserSettings settings;
        BrowserSession session(settings, NoExtraction);
        session.EnterFolder(QStringLiteral("/data/palm"));
        FileListModel model;
        model.SetRows(rows);
        if (c.archive) {
            session.EnterArchive(QStringLiteral("/data/palm/games.zip"));
            model.SetFolder(QStringLiteral("/tmp/x/"));
        } else {
            model.SetFolder(session.CurrentFolder());
        }
        model.SetArchiveView(session.ArchiveView());
        const CopyMovePlan plan = session.PlanCopyMove(model, c.selected);
        QStringList sources;
        QStringList names;
        for (const CopyMoveItem& item : plan.Items) {
            sources << item.Source;
            names << item.Name;
        }
        EXPECT_EQ(sources, c.sources) << c.archive;
        EXPECT_EQ(names, c.names) << c.archive;
        EXPECT_EQ(plan.ItemRows, c.itemRows) << c.archive;
        EXPECT_EQ(plan.NotExtracted, c.notExtracted) << c.archive;
        EXPECT_EQ(plan.Failures, c.failures) << c.archive;
        for (int row = 0; row < int(rows.size()); ++row)
            EXPECT_EQ(session.WithoutCopy(model.Row(row)), c.archive && row == 1) << row;
    }
}

TEST(BrowserSession, CommandsTakeTheSelectedFilesOrAllListedButNeverAnArchiveItself) {
    std::vector<FileRow> folderRows{Listed("memo.pdb"), Listed("backup.zip"), Listed("a.prc")};
    folderRows[1].Icon = RowIcon::Archive;
    const std::vector<FileRow> archiveRows{Listed("MemoDB.pdb", "/tmp/x/MemoDB.pdb"),
                                           Listed("bad.pdb", "", "CRC error")};
    const struct {
        bool archive;
        QList<int> selected;
        QStringList paths;
        QStringList unavailable;
    } cases[] = {
        {false, {}, Texts({"/data/palm/memo.pdb", "/data/palm/a.prc"}), {}},
        {false, {1, 2}, Texts({"/data/palm/a.prc"}), {}},
        {false, {1}, {}, {}},
        {true, {}, Texts({"/tmp/x/MemoDB.pdb"}), Texts({"bad.pdb: CRC error"})},
        {true, {1}, {}, Texts({"bad.pdb: CRC error"})},
    };
    for (const auto& c : cases) {
        BrowserSettings settings;
        BrowserSession session(settings, NoExtraction);
        session.EnterFolder(QStringLiteral("/data/palm"));
        FileListModel model;
        if (c.archive) {
            session.EnterArchive(QStringLiteral("/data/palm/backup.zip"));
            model.SetRows(archiveRows);
            model.SetFolder(QStringLiteral("/tmp/x/"));
        } else {
            model.SetRows(folderRows);
            model.SetFolder(session.CurrentFolder());
        }
        model.SetArchiveView(session.ArchiveView());
        const SelectedFiles files = session.FilesOfRows(model, c.selected);
        EXPECT_EQ(files.Paths, c.paths) << c.archive << c.selected.size();
        EXPECT_EQ(files.Unavailable, c.unavailable) << c.archive << c.selected.size();
    }
}

TEST(BrowserSession, AfterARunHandledRowsLeaveTheSelectionAndMovedOnesTheList) {
    CopyMovePlan plan;
    plan.Items.resize(4);
    plan.ItemRows = {0, 2, 3, 5};
    plan.NotExtracted = {4};
    CopyMoveReport report;
    report.Outcomes = {ItemOutcome::Done, ItemOutcome::Declined, ItemOutcome::Failed,
                       ItemOutcome::NotReached};
    const struct {
        bool copy;
        QList<int> handled;
        QList<int> moved;
    } cases[] = {
        {true, {4, 0, 2, 3}, {}},
        {false, {4, 0, 2, 3}, {0}},
    };
    for (const auto& c : cases) {
        const CopyMoveRows rows = BrowserSession::RowsAfterRun(plan, report, c.copy);
        EXPECT_EQ(rows.Handled, c.handled) << c.copy;
        EXPECT_EQ(rows.Moved, c.moved) << c.copy;
    }
}

// Opening an archive: only one that could be read and holds files is shown; a cancel, an
// unreadable file and an empty archive leave the listed place and its commands as they
// were, the last two with a text that names the archive.
TEST(BrowserSession, OnlyAnArchiveThatCouldBeListedIsShown) {
    TempFolder sandbox;
    const QString good = ZipBuilder()
                             .Add("Backup/MemoDB.pdb", PalmFileBytes("memo"))
                             .Add("readme.txt", "x")
                             .WriteTo(sandbox.File(QStringLiteral("good.zip")));
    // libzip writes no file for an archive without entries; a folder entry holds no file.
    const QString empty =
        ZipBuilder().AddFolder("Backup/").WriteTo(sandbox.File(QStringLiteral("empty.zip")));
    const QString broken = sandbox.Write(QStringLiteral("broken.zip"), "not an archive");
    const auto cancel = [](size_t, size_t) {
        return false;
    };

    const struct {
        const char* what;
        QString archive;
        std::function<bool(size_t, size_t)> progress;
        ArchiveOpening::Kind outcome;
        const char* message; // a part of the text for the user
        int rows;
    } cases[] = {
        {"readable", good, {}, ArchiveOpening::Kind::Shown, "", 1},
        {"cancelled", good, cancel, ArchiveOpening::Kind::Cancelled, "", 0},
        {"empty", empty, {}, ArchiveOpening::Kind::Empty, "empty.zip holds no files", 0},
        {"unreadable",
         broken,
         {},
         ArchiveOpening::Kind::Unreadable,
         "broken.zip cannot be opened as a ZIP archive: ",
         0},
    };
    for (const auto& c : cases) {
        BrowserSettings settings;
        BrowserSession session(settings, sandbox.File(QStringLiteral("Temp")));
        session.EnterFolder(sandbox.Path());
        const QString folder = session.CurrentFolder();
        const ArchiveOpening opening = session.OpenArchive(c.archive, c.progress);
        EXPECT_EQ(opening.Outcome, c.outcome) << c.what;
        EXPECT_TRUE(opening.Message.contains(QString::fromUtf8(c.message))) << c.what;
        EXPECT_EQ(opening.Message.isEmpty(), *c.message == 0) << c.what;
        const bool shown = c.outcome == ArchiveOpening::Kind::Shown;
        if (shown) {
            EXPECT_EQ(int(opening.Listing.Rows.size()), c.rows) << c.what;
        }
        EXPECT_EQ(session.ArchiveView(), shown) << c.what;
        EXPECT_EQ(session.ArchivePath(), shown ? c.archive : QString()) << c.what;
        EXPECT_EQ(session.CurrentFolder(), folder) << c.what;
        EXPECT_EQ(session.Commands().CopyMoveDelete, !shown) << c.what;
        ExpectDestination(session.RefreshDestination(), shown ? Kind::Archive : Kind::Folder,
                          shown ? c.archive : folder, c.what);
    }
}

// A listing reads the folder it enters, as the file types are set, and leaves the archive
// view; the catalogue learns the creators it meets.
TEST(BrowserSession, ListingAFolderReadsItsFilesAsTheTypesAreSet) {
    TempFolder sandbox;
    const QByteArray file = PalmFileBytes("zzzz");
    sandbox.Write(QStringLiteral("a.pdb"), file);
    sandbox.Write(QStringLiteral("b.prc"), file);
    ZipBuilder().Add("c.pdb", file).WriteTo(sandbox.File(QStringLiteral("c.zip")));

    const struct {
        bool pdb, prc, zip;
        QStringList names;
    } cases[] = {
        {true,
         true,
         true,
         {QStringLiteral("a.pdb"), QStringLiteral("b.prc"), QStringLiteral("c.zip")}},
        {true, false, false, {QStringLiteral("a.pdb")}},
        {false, true, true, {QStringLiteral("b.prc"), QStringLiteral("c.zip")}},
    };
    for (const auto& c : cases) {
        BrowserSettings settings;
        settings.ShowPDB = c.pdb;
        settings.ShowPRC = c.prc;
        settings.ShowZIP = c.zip;
        BrowserSession session(settings, sandbox.File(QStringLiteral("Temp")));
        session.EnterArchive(sandbox.File(QStringLiteral("c.zip")));
        const FolderListing listing = session.ListFolder(sandbox.Path());
        QStringList names;
        for (const FileRow& row : listing.Rows)
            names << row.Name;
        EXPECT_EQ(names, c.names);
        EXPECT_FALSE(session.ArchiveView());
        EXPECT_EQ(session.CurrentFolder(), AddTrailingBackslash(sandbox.Path()));
        EXPECT_NE(session.Catalogue().FindLink("zzzz"), -1);
    }
}

// The trash takes the rows from the top down: a file that is gone fails with its name and
// stays in the list, a cancel leaves the rows not reached selected, and the question names
// one file or speaks of "selected files".
TEST(BrowserSession, TrashTakesTheReachedRowsAndNamesTheFilesThatStayed) {
    TempFolder sandbox;
    const QByteArray dataHome = sandbox.MakeFolder(QStringLiteral("data")).toUtf8();
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dataHome);
    const struct {
        const char* what;
        int stopBefore; // the step that cancels; -1: none
        QList<int> handled, trashed;
        QStringList failures;
    } cases[] = {
        {"whole run", -1, {0, 1, 2}, {0, 2}, {QStringLiteral("b.pdb: it no longer exists")}},
        {"cancelled before the second", 1, {0}, {0}, {}},
    };
    for (const auto& c : cases) {
        const QString folder = sandbox.MakeFolder(QString::fromUtf8(c.what));
        std::vector<FileRow> rows;
        for (const char* name : {"a.pdb", "b.pdb", "c.pdb"}) {
            rows.push_back(MakeRow(QString::fromUtf8(name), QStringLiteral("memo"), 1));
            if (std::string(name) != "b.pdb")
                sandbox.Write(QString::fromUtf8(c.what) + u'/' + QString::fromUtf8(name), "x");
        }
        FileListModel model;
        model.SetFolder(AddTrailingBackslash(folder));
        model.SetRows(rows);
        const TrashRows after = BrowserSession::TrashFiles(
            model, {0, 1, 2}, [&](size_t done, size_t) { return int(done) != c.stopBefore; });
        EXPECT_EQ(after.Handled, c.handled) << c.what;
        EXPECT_EQ(after.Trashed, c.trashed) << c.what;
        EXPECT_EQ(after.Failures, c.failures) << c.what;
        for (const int row : {0, 2}) {
            EXPECT_EQ(QFile::exists(model.RowPath(row)), !c.trashed.contains(row))
                << c.what << " row " << row;
        }
    }
    qputenv("XDG_DATA_HOME", oldDataHome);

    FileListModel model;
    model.SetRows({MakeRow(QStringLiteral("a.pdb"), QString(), 1),
                   MakeRow(QStringLiteral("b.pdb"), QString(), 1)});
    EXPECT_EQ(BrowserSession::TrashQuestion(model, {1}),
              QStringLiteral("Move \"b.pdb\" to trash?"));
    EXPECT_EQ(BrowserSession::TrashQuestion(model, {0, 1}),
              QStringLiteral("Move selected files to trash?"));
}

TEST(BrowserSession, KeysMoveTheDetailsWithinTheListOnly) {
    const struct {
        int key, first, count, row;
    } cases[] = {
        {Qt::Key_Down, 0, 3, 1},  {Qt::Key_Down, 2, 3, -1},  {Qt::Key_Up, 2, 3, 1},
        {Qt::Key_Up, 0, 3, -1},   {Qt::Key_Home, 2, 3, 0},   {Qt::Key_End, 0, 3, 2},
        {Qt::Key_Left, 1, 3, -1}, {Qt::Key_Down, -1, 3, -1}, // nothing selected
        {Qt::Key_End, 0, 0, -1},  {Qt::Key_Home, 5, 3, -1},  // a row the list no longer has
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserSession::RowAfterKey(c.key, c.first, c.count), c.row)
            << c.key << " from " << c.first << " of " << c.count;
}

// Open hands the desktop a file that is there; a row without a copy, or whose file went,
// names its cause instead of opening something else or nothing silently.
TEST(BrowserSession, OpenGivesTheRowsFileOrWhyThereIsNone) {
    TempFolder sandbox;
    sandbox.Write(QStringLiteral("memo.pdb"), PalmFileBytes("memo"));
    FileRow present = MakeRow(QStringLiteral("memo.pdb"), QStringLiteral("memo"), 100);
    FileRow gone = MakeRow(QStringLiteral("gone.pdb"), QStringLiteral("memo"), 100);
    FileRow broken = MakeRow(QStringLiteral("bad.pdb"), QString(), 0);
    broken.Error = QStringLiteral("CRC error");
    const struct {
        bool archive;
        FileRow row;
        bool opens;
        const char* error;
    } cases[] = {
        {false, present, true, ""},
        {false, gone, false, "gone.pdb no longer exists."},
        {true, broken, false, "bad.pdb: CRC error"},
    };
    for (const auto& c : cases) {
        BrowserSession session(BrowserSettings(), NoExtraction);
        session.EnterFolder(sandbox.Path());
        FileListModel model;
        model.SetFolder(session.CurrentFolder());
        if (c.archive)
            session.EnterArchive(sandbox.File(QStringLiteral("a.zip")));
        model.SetArchiveView(session.ArchiveView());
        model.SetRows({c.row});
        const FileToOpen file = session.OpenRow(model, 0);
        EXPECT_EQ(file.Path.isEmpty(), !c.opens) << c.error;
        if (c.opens) {
            EXPECT_EQ(file.Path, sandbox.File(c.row.Name));
        }
        EXPECT_EQ(file.Error.isEmpty(), c.opens) << c.error;
        if (!c.opens) {
            EXPECT_TRUE(file.Error.endsWith(QString::fromUtf8(c.error)))
                << file.Error.toStdString();
        }
    }
}

TEST(BrowserSession, AHeaderThatCannotBeReadIsNamedWithItsFileAndCause) {
    TempFolder sandbox;
    sandbox.Write(QStringLiteral("good.prc"), PalmFileBytes("Brsk"));
    sandbox.Write(QStringLiteral("short.pdb"), QByteArray(20, 'x'));
    EXPECT_EQ(BrowserSession::HeaderOf(sandbox.File(QStringLiteral("good.prc"))).Creator, "Brsk");
    for (const char* name : {"short.pdb", "missing.pdb"}) {
        try {
            BrowserSession::HeaderOf(sandbox.File(QString::fromUtf8(name)));
            ADD_FAILURE() << name << " was read";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()).rfind(std::string(name) + ": ", 0), 0u)
                << error.what();
        }
    }
}

TEST(BrowserSession, TheStatusLineCountsTheRowsAndTheUnreadableOnes) {
    const struct {
        int rows;
        size_t unreadable;
        const char* status;
    } cases[] = {
        {0, 0, "0 file(s)."},
        {12, 0, "12 file(s)."},
        {3, 1, "3 file(s). 1 could not be read; point at the marked row to see why."},
        {3, 2, "3 file(s). 2 could not be read; point at a marked row to see why."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BrowserSession::ListedStatus(c.rows, c.unreadable), QString::fromUtf8(c.status));
}
