// Export through the real window and its real dialogs, answered after a pause: the
// selected files (or all listed, or an archive's entries) into a folder, in the format
// and code page chosen, which are remembered; the report names what was written and
// what was skipped, and nothing of it lands in the export folder.
#include "DelayedAnswers.h"
#include "core/FileListModel.h"
#include "gui/ContentsPanel.h"
#include "gui/DesktopPrompts.h"
#include "gui/ExportCommands.h"
#include "gui/ExportDialog.h"
#include "gui/ExportReport.h"
#include "gui/FileListView.h"
#include "gui/TFBrowser.h"
#include "gui/WorkProgress.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"
#include "support/ZipBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// A Memo Pad database; memo texts in Windows-1252 or Shift-JIS bytes as given.
QByteArray Memos(const std::vector<QByteArray>& texts, const std::vector<uint8_t>& attributes) {
    std::vector<QByteArray> records;
    for (const QByteArray& text : texts)
        records.push_back(text + '\0');
    return RecordDatabase("MemoDB", "DATA", "memo", records,
                          CategoryAppInfo({"Unfiled", "Business"}) + QByteArray(4, '\0'),
                          attributes)
        .Bytes();
}

QStringList FilesBelow(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What a person does in the export dialog: types the folder, picks the format and the
// code page, ticks the box, presses Export (or Escape).
struct Filling {
    QString folder;
    bool csv = false;
    const char* encoding = "windows-1252";
    bool includeDeleted = false;
    bool cancel = false;
    bool cancelProgress = false; // Cancel in the progress dialog as soon as it shows
};

DelayedAnswers::Answer Fill(const Filling& f) {
    return [f](QWidget* modal) {
        auto* dialog = qobject_cast<ExportDialog*>(modal);
        if (!dialog)
            return;
        if (f.cancel) {
            QTest::keyClick(dialog, Qt::Key_Escape);
            return;
        }
        dialog->FolderEdit->selectAll();
        QTest::keyClicks(dialog->FolderEdit, f.folder);
        QTest::mouseClick(f.csv ? dialog->CsvFormat : dialog->NaturalFormat, Qt::LeftButton);
        dialog->EncodingBox->setCurrentIndex(
            dialog->EncodingBox->findData(QString::fromLatin1(f.encoding)));
        if (dialog->IncludeDeletedBox->isChecked() != f.includeDeleted)
            QTest::mouseClick(dialog->IncludeDeletedBox, Qt::LeftButton, {},
                              QPoint(4, dialog->IncludeDeletedBox->height() / 2));
        if (f.cancelProgress) {
            QWidget* window = dialog->parentWidget();
            QTimer::singleShot(0, window, [window] {
                if (auto* progress = window->findChild<QProgressDialog*>())
                    progress->cancel();
            });
        }
        QTest::mouseClick(dialog->ExportButton, Qt::LeftButton);
    };
}

class ExportWindow : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    TempFolder out;
    DesktopPrompts prompts;
    std::unique_ptr<TFBrowser> w;

    void SetUp() override {
        // Two memos in Business, one deleted (attribute 0x80), one in Unfiled.
        files.Write(QStringLiteral("MemoDB.pdb"),
                    Memos({"Shopping\nmilk", "Old plan", "Call Anna"}, {0x01, 0x80, 0x00}));
        PalmFileBuilder game;
        game.name = "Game";
        game.type = "appl";
        game.creator = "GAME";
        game.attributes = 0x0001;
        files.Write(QStringLiteral("Game.prc"), game.Bytes());
    }
    void TearDown() override {
        if (w)
            w->close();
        w.reset();
    }
    void Start(const QString& folder) {
        w = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()), prompts,
                                        folder);
        w->show();
    }
    ExportReport* Report() { return w->findChild<ExportReport*>(); }
    // Runs Export with the dialog filled in after a pause; what the person found there.
    std::vector<DelayedAnswers::Seen> Export(const Filling& filling) {
        DelayedAnswers person(w.get(), 300ms);
        person.Then(Fill(filling));
        person.Start();
        w->MIExport->trigger();
        EXPECT_EQ(person.Unused(), 0u);
        return person.Found();
    }
    QStringList ReportItems(int group) {
        QStringList items;
        const QTreeWidgetItem* top = Report()->List()->topLevelItem(group);
        for (int i = 0; top && i < top->childCount(); ++i)
            items << top->child(i)->text(0);
        return items;
    }
};

} // namespace

TEST_F(ExportWindow, TheChosenFormatGoesIntoTheFolderAndTheReportNamesWhatWasSkipped) {
    const struct {
        const char* name;
        Filling filling;
        QStringList written;
        const char* content; // of the first file written
    } cases[] = {
        {"natural",
         {QStringLiteral("natural"), false, "windows-1252", false},
         {QStringLiteral("MemoDB/Business/Shopping.txt"),
          QStringLiteral("MemoDB/Unfiled/Call Anna.txt")},
         "Shopping\nmilk"},
        {"csv with deleted",
         {QStringLiteral("csv"), true, "windows-1252", true},
         {QStringLiteral("MemoDB.csv")},
         "Old plan"},
    };
    Start(files.Path());
    for (const auto& c : cases) {
        const QString folder = out.File(c.filling.folder);
        Filling filling = c.filling;
        filling.folder = folder;
        delete Report();
        const auto found = Export(filling);
        ASSERT_EQ(found.size(), 1u) << c.name;
        EXPECT_EQ(found[0].What, QStringLiteral("ExportDialog")) << c.name;
        ASSERT_NE(Report(), nullptr) << c.name;
        // Nothing but the exported files: the report is shown, never written.
        QStringList expected = c.written;
        expected.sort();
        EXPECT_EQ(FilesBelow(folder), expected) << c.name;
        EXPECT_TRUE(
            Read(QDir(folder).filePath(c.written[0])).contains(QString::fromUtf8(c.content)))
            << c.name << ": " << Read(QDir(folder).filePath(c.written[0])).toStdString();
        EXPECT_TRUE(Report()->Summary().startsWith(QString::number(c.written.size()) +
                                                   (c.written.size() == 1
                                                        ? QStringLiteral(" file written into ")
                                                        : QStringLiteral(" files written into "))))
            << Report()->Summary().toStdString();
        // The skipped come first, each with its reason.
        EXPECT_EQ(ReportItems(0),
                  QStringList{QStringLiteral("Game.prc: not a database that Brisko can export")})
            << c.name;
        EXPECT_EQ(ReportItems(1).size(), c.written.size()) << c.name;
        EXPECT_EQ(w->Settings().ExportFolder, folder) << c.name;
        EXPECT_EQ(w->Settings().ExportFormat,
                  QString::fromLatin1(c.filling.csv ? "csv" : "natural"));
        EXPECT_EQ(w->Settings().ExportIncludeDeleted, c.filling.includeDeleted);
    }
}

TEST_F(ExportWindow, TheChoicesSurviveARestartAndTheCodePageDecodesTheTexts) {
    // "日本" in Shift-JIS.
    files.Write(QStringLiteral("MemoDB.pdb"), Memos({"\x93\xfa\x96\x7b"}, {0x00}));
    Start(files.Path());
    Export({out.File(QStringLiteral("jp")), true, "shift-jis", false});
    ASSERT_NE(Report(), nullptr);
    EXPECT_TRUE(
        Read(out.File(QStringLiteral("jp/MemoDB.csv"))).contains(QString::fromUtf8("日本")));
    EXPECT_EQ(w->Contents->TextCodePage().Name(), QStringLiteral("shift-jis"));
    w->close();
    w.reset();

    Start(files.Path());
    const BrowserSettings& kept = w->Settings();
    EXPECT_EQ(kept.ExportFolder, out.File(QStringLiteral("jp")));
    EXPECT_EQ(kept.ExportFormat, QStringLiteral("csv"));
    EXPECT_EQ(kept.ExportEncoding, QStringLiteral("shift-jis"));
    // The previews beside the bytes read the texts in it too.
    EXPECT_EQ(w->Contents->TextCodePage().Name(), QStringLiteral("shift-jis"));
    // The dialog starts with them.
    ExportDialog dialog(prompts, 1, kept);
    EXPECT_EQ(dialog.FolderEdit->text(), QDir::toNativeSeparators(kept.ExportFolder));
    EXPECT_TRUE(dialog.CsvFormat->isChecked());
    EXPECT_EQ(dialog.EncodingBox->currentData().toString(), QStringLiteral("shift-jis"));
}

TEST_F(ExportWindow, EscapeInTheDialogWritesNothing) {
    Start(files.Path());
    Export({out.File(QStringLiteral("never")), false, "windows-1252", false, true});
    EXPECT_EQ(Report(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(out.File(QStringLiteral("never"))));
}

TEST_F(ExportWindow, AnArchivesEntriesAreExportedFromTheirExtractedCopies) {
    ZipBuilder()
        .Add("Backup/MemoDB.pdb", Memos({"From the archive"}, {0x00}))
        .WriteTo(files.File(QStringLiteral("backup.zip")));
    Start(files.Path());
    w->OpenArchive(files.File(QStringLiteral("backup.zip")));
    ASSERT_TRUE(w->ArchiveView());
    Export({out.File(QStringLiteral("from-zip")), false, "windows-1252", false});
    ASSERT_NE(Report(), nullptr);
    EXPECT_EQ(FilesBelow(out.File(QStringLiteral("from-zip"))),
              QStringList{QStringLiteral("MemoDB/Unfiled/From the archive.txt")});
}

TEST_F(ExportWindow, CancelEndsTheRunAndTheReportSaysSoKeepingWhatWasWritten) {
    for (int i = 0; i < 40; ++i)
        files.Write(QStringLiteral("many/Memo%1.pdb").arg(i), Memos({"memo"}, {0x00}));
    const auto usualDelay = WorkProgress::ShowDelay();
    WorkProgress::SetShowDelay(std::chrono::milliseconds(0)); // shown from the first file
    Start(files.File(QStringLiteral("many")));
    Filling filling{out.File(QStringLiteral("cut")), true, "windows-1252", false};
    filling.cancelProgress = true;
    Export(filling);
    WorkProgress::SetShowDelay(usualDelay);
    ASSERT_NE(Report(), nullptr);
    EXPECT_TRUE(Report()->Summary().endsWith(QStringLiteral("The export was cancelled.")))
        << Report()->Summary().toStdString();
    const QStringList written = FilesBelow(out.File(QStringLiteral("cut")));
    EXPECT_LT(written.size(), 40);
    EXPECT_EQ(ReportItems(0).size() + ReportItems(1).size(), written.size());
}
