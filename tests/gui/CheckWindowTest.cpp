// The check from the Files menu through the real window: the selected files or all
// listed, or the folder tree after a question; damaged rows marked in the list with
// the reason; the report sorted and saved as text or CSV.
#include "WindowFixture.h"
#include "core/CheckReportModel.h"
#include "gui/CheckReport.h"
#include "gui/WorkProgress.h"

#include <QAction>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {

QByteArray Damaged() {
    PalmFileBuilder b;
    b.name = "Damaged";
    b.type = "DATA";
    b.creator = "test";
    b.recordOffsets = {78 + 8 + 2, 0xFFFFFF00};
    b.tail = QByteArray(2 + 4, 'r');
    return b.Bytes();
}

QByteArray Sound() {
    PalmFileBuilder b;
    b.name = "Sound";
    b.type = "DATA";
    b.creator = "test";
    b.recordOffsets = {78 + 8 + 2};
    b.tail = QByteArray(2 + 4, 'r');
    return b.Bytes();
}

class CheckWindow : public WindowFixture {
protected:
    void SetUp() override {
        files.Write(QStringLiteral("bad.pdb"), Damaged());
        files.Write(QStringLiteral("good.pdb"), Sound());
        files.Write(QStringLiteral("sub/deeper.pdb"), Damaged());
        Start(files.Path());
    }
    CheckReport* Report() { return w->findChild<CheckReport*>(); }
    QStringList ReportFiles() {
        QStringList found;
        for (const CheckReportRow& row : Report()->Rows().Rows())
            if (!found.contains(row.File))
                found << row.File;
        return found;
    }
    bool Marked(const char* name) {
        return !w->FileModel()
                    .index(RowOf(QString::fromUtf8(name)), 0)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .isEmpty();
    }
};

} // namespace

TEST_F(CheckWindow, TheSelectedFilesOrAllListedAreCheckedAndTheDamagedMarked) {
    Select({QStringLiteral("good.pdb")});
    w->MICheckSelected->trigger();
    ASSERT_NE(Report(), nullptr);
    EXPECT_EQ(Report()->Rows().rowCount(), 0);
    EXPECT_TRUE(Report()->Summary().contains(QStringLiteral("1 file checked:")))
        << Report()->Summary().toStdString();
    delete Report();

    w->FileList()->selectionModel()->clearSelection();
    w->MICheckSelected->trigger();
    ASSERT_NE(Report(), nullptr);
    EXPECT_EQ(ReportFiles(), QStringList{files.File(QStringLiteral("bad.pdb"))});
    EXPECT_TRUE(Marked("bad.pdb"));
    EXPECT_FALSE(Marked("good.pdb"));
    EXPECT_NE(w->FileModel().index(RowOf(QStringLiteral("bad.pdb")), 0).data(Qt::DecorationRole),
              w->FileModel().index(RowOf(QStringLiteral("good.pdb")), 0).data(Qt::DecorationRole));
    // A new listing forgets the marks until the next check.
    w->Refresh();
    EXPECT_FALSE(Marked("bad.pdb"));
}

TEST_F(CheckWindow, TheFolderTreeIsCheckedAfterTheQuestion) {
    w->MICheckTree->trigger(); // no answer: no
    EXPECT_EQ(Report(), nullptr);
    ASSERT_EQ(prompts.Questions.size(), 1);
    EXPECT_TRUE(prompts.Questions.first().contains(files.Path()));
    prompts.ConfirmAnswers.push_back(true);
    w->MICheckTree->trigger();
    ASSERT_NE(Report(), nullptr);
    QStringList found = ReportFiles();
    found.sort();
    EXPECT_EQ(found, (QStringList{files.File(QStringLiteral("bad.pdb")),
                                  files.File(QStringLiteral("sub/deeper.pdb"))}));
    EXPECT_TRUE(Report()->Summary().contains(QStringLiteral("3 files checked: 2 damaged")))
        << Report()->Summary().toStdString();
}

TEST_F(CheckWindow, TheReportIsSavedAsTextOrCsv) {
    w->MICheckSelected->trigger();
    ASSERT_NE(Report(), nullptr);
    const struct {
        const char* name;
        const char* filter;
        const char* start;
    } cases[] = {
        {"report.txt", "Text files (*.txt)", "File\tEntry\tSeverity"},
        {"report.csv", "CSV files (*.csv)", "file,entry,severity,code,text\r\n"},
        {"report", "CSV files (*.csv)", "file,entry,severity,code,text\r\n"},
    };
    for (const auto& c : cases) {
        const QString path = files.File(QString::fromUtf8(c.name));
        prompts.SavedFiles.push_back({path, QString::fromUtf8(c.filter)});
        Report()->SaveButton->click();
        EXPECT_TRUE(Read(path).startsWith(c.start)) << c.name << ": " << Read(path).toStdString();
    }
    EXPECT_TRUE(prompts.Messages.isEmpty());
}

TEST_F(CheckWindow, CancelStopsTheRunAndTheReportSaysSo) {
    for (int i = 0; i < 40; ++i)
        files.Write(QStringLiteral("many/%1.pdb").arg(i), Damaged());
    const auto usualDelay = WorkProgress::ShowDelay();
    WorkProgress::SetShowDelay(std::chrono::milliseconds(0)); // shown from the first file
    // Cancel as soon as the progress is up: the run handles events while it shows.
    QTimer::singleShot(0, w.get(), [this] {
        if (auto* progress = w->findChild<QProgressDialog*>())
            progress->cancel();
    });
    prompts.ConfirmAnswers.push_back(true);
    w->MICheckTree->trigger();
    WorkProgress::SetShowDelay(usualDelay);
    ASSERT_NE(Report(), nullptr);
    EXPECT_TRUE(Report()->Summary().startsWith(QStringLiteral("Cancelled after")))
        << Report()->Summary().toStdString();
    EXPECT_LT(Report()->Rows().FilesChecked(), 43);
}
