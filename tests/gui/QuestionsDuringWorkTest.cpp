// The questions and reports of copy, move and trash through the real window with the
// real message boxes, answered after a person's pause while the run's progress is
// about: the question is the window that waits for the answer, never covered by the
// progress dialog, and the run goes on as answered.
#include "DelayedAnswers.h"
#include "core/CopyMove.h"
#include "core/FileListModel.h"
#include "dialogs/TFDialog.h"
#include "gui/DesktopPrompts.h"
#include "gui/FolderTreeView.h"
#include "gui/TFBrowser.h"
#include "gui/WorkProgress.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTreeView>
#include <cerrno>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("-");
}

QString Exists(const char* name) {
    return QStringLiteral("File \"%1\" already exists. Overwrite?").arg(QLatin1String(name));
}

class QuestionsDuringWork : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    DesktopPrompts prompts;
    std::unique_ptr<TFBrowser> w;
    std::unique_ptr<DelayedAnswers> person;
    QString folder = files.Path();                       // the listed folder
    QString target = folder + QStringLiteral("/target"); // in it, the target folder

    const std::chrono::milliseconds usualDelay = WorkProgress::ShowDelay();

    void SetUp() override { WorkProgress::SetShowDelay(0ms); } // shown from the start
    void TearDown() override {
        WorkProgress::SetShowDelay(usualDelay);
        person.reset();
        if (w)
            w->close();
        w.reset();
    }

    // In a new folder: source files a, b, c; b and c also in the target, with old
    // contents; all selected.
    void StartWithTargetsThere(const QString& name) {
        folder = files.MakeFolder(name);
        target = files.MakeFolder(name + QStringLiteral("/target"));
        for (const char* file : {"a.pdb", "b.pdb", "c.pdb"})
            files.Write(name + u'/' + QLatin1String(file), QByteArray("new ") + file);
        for (const char* file : {"b.pdb", "c.pdb"})
            files.Write(name + QStringLiteral("/target/") + QLatin1String(file), "old");
        Start();
        w->SelectAll();
    }
    void Start() {
        w = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()), prompts,
                                        folder);
        w->show();
        w->FileModel().sort(0, Qt::AscendingOrder);
        person = std::make_unique<DelayedAnswers>(w.get());
    }
    // The Copy/Move dialog is not under test here: filled in quickly.
    void ChooseTarget() {
        const QString chosen = target;
        person->Then(
            [chosen](QWidget* modal) {
                auto* dialog = qobject_cast<TFDialog*>(modal);
                if (!dialog)
                    return;
                dialog->EPfad->setText(chosen);
                dialog->BOK->setEnabled(true);
                QTest::mouseClick(dialog->BOK, Qt::LeftButton);
            },
            100ms);
    }
    QByteArray Target(const char* name) const { return Read(target + u'/' + QLatin1String(name)); }
    QByteArray Source(const char* name) const { return Read(folder + u'/' + QLatin1String(name)); }
    // Every question was the window waiting for the user, none covered by the progress.
    void ExpectEachAnsweredAtTheTop() const {
        for (const DelayedAnswers::Seen& seen : person->Found()) {
            SCOPED_TRACE(seen.What.toStdString());
            EXPECT_FALSE(seen.ProgressShown);
            EXPECT_TRUE(seen.AnsweredInOneGo);
        }
        EXPECT_EQ(person->Unused(), 0u);
    }
};

struct OverwriteCase {
    const char* Title;
    std::vector<DelayedAnswers::Answer> Answers; // for b.pdb, then c.pdb when asked
    QStringList Asked;
    const char* TargetsBC; // the target files b and c afterwards
    const char* SourcesBC; // the source files b and c after a move
};

} // namespace

TEST_F(QuestionsDuringWork, EveryOverwriteAnswerOfCopyAndMoveWhileTheProgressIsShown) {
    using A = DelayedAnswers;
    const QStringList both{Exists("b.pdb"), Exists("c.pdb")};
    const QStringList first{Exists("b.pdb")};
    const std::vector<OverwriteCase> cases{
        {"Yes", {A::Press("&Yes"), A::Press("&Yes")}, both, "new b.pdbnew c.pdb", "--"},
        {"No", {A::Press("&No"), A::Press("&No")}, both, "oldold", "new b.pdbnew c.pdb"},
        {"No to All", {A::Press("N&o to All")}, first, "oldold", "new b.pdbnew c.pdb"},
        {"Yes to All", {A::Press("Yes to &All")}, first, "new b.pdbnew c.pdb", "--"},
        {"Escape is No",
         {A::Key(Qt::Key_Escape), A::Press("&Yes")},
         both,
         "oldnew c.pdb",
         "new b.pdb-"},
        {"closing is No", {A::Close(), A::Press("&Yes")}, both, "oldnew c.pdb", "new b.pdb-"},
    };
    int run = 0;
    for (const bool copy : {true, false}) {
        for (const OverwriteCase& c : cases) {
            SCOPED_TRACE(std::string(copy ? "copy, " : "move, ") + c.Title);
            TearDown();
            WorkProgress::SetShowDelay(0ms);
            StartWithTargetsThere(QString::number(++run));
            ChooseTarget();
            for (const auto& answer : c.Answers)
                person->Then(answer);
            person->Start();
            (copy ? w->MICopy : w->MIMove)->trigger();

            ExpectEachAnsweredAtTheTop();
            ASSERT_EQ(person->Found().size(), size_t(c.Asked.size() + 1));
            EXPECT_EQ(person->Texts().mid(1), c.Asked);
            for (size_t i = 1; i < person->Found().size(); ++i)
                EXPECT_TRUE(person->Found()[i].ProgressExists) << "the run's progress is hidden";
            EXPECT_EQ(Target("a.pdb"), QByteArray("new a.pdb"));
            EXPECT_EQ(Target("b.pdb") + Target("c.pdb"), QByteArray(c.TargetsBC));
            if (!copy) {
                EXPECT_EQ(Source("a.pdb") + Source("b.pdb") + Source("c.pdb"),
                          QByteArray("-") + c.SourcesBC);
            }
            EXPECT_EQ(w->findChildren<QProgressDialog*>().size(), 0) << "gone after the run";
        }
    }
}

TEST_F(QuestionsDuringWork, TheProgressDueWhileAQuestionWaitsDoesNotAppearOverIt) {
    WorkProgress::SetShowDelay(300ms); // passes while the first question waits
    StartWithTargetsThere(QStringLiteral("f"));
    ChooseTarget();
    person->Then(DelayedAnswers::Press("&Yes"));
    person->Then(DelayedAnswers::Press("&No"));
    person->Start();
    w->MICopy->trigger();
    ExpectEachAnsweredAtTheTop();
    EXPECT_EQ(person->Texts().mid(1), (QStringList{Exists("b.pdb"), Exists("c.pdb")}));
    EXPECT_EQ(Target("b.pdb") + Target("c.pdb"), QByteArray("new b.pdbold"));
}

TEST_F(QuestionsDuringWork, ADropAsksThenCopiesAsAnswered) {
    StartWithTargetsThere(QStringLiteral("d"));
    person->Then(DelayedAnswers::Press("&Yes")); // Copy selected files?
    person->Then(DelayedAnswers::Press("Yes to &All"));
    person->Start();
    Q_EMIT qobject_cast<FolderTreeView*>(w->FolderTree())->FilesDropped(target);
    for (int i = 0; i < 100 && person->Unused() > 0; ++i)
        QTest::qWait(50);
    QTest::qWait(50);
    ExpectEachAnsweredAtTheTop();
    EXPECT_EQ(person->Texts(),
              (QStringList{QStringLiteral("Copy selected files?"), Exists("b.pdb")}));
    EXPECT_TRUE(person->Found()[1].ProgressExists);
    EXPECT_EQ(Target("a.pdb") + Target("b.pdb") + Target("c.pdb"),
              QByteArray("new a.pdbnew b.pdbnew c.pdb"));
}

TEST_F(QuestionsDuringWork, TheReportAtTheEndComesAfterTheProgressHasGone) {
    // A full disk for the second file written.
    int writes = 0;
    FileSystemCalls calls = FileSystemCalls::Real();
    calls.Write = [&writes](int fd, const void* data, size_t size) -> long {
        if (++writes == 2) {
            errno = ENOSPC;
            return -1;
        }
        return ::write(fd, data, size);
    };
    for (const char* file : {"a.pdb", "b.pdb", "c.pdb"})
        files.Write(QLatin1String(file), QByteArray("new ") + file);
    files.MakeFolder(QStringLiteral("target"));
    Start();
    w->SetFileSystemCalls(calls);
    w->SelectAll();
    ChooseTarget();
    person->Then(DelayedAnswers::Press(nullptr));
    person->Start();
    w->MICopy->trigger();

    ExpectEachAnsweredAtTheTop();
    ASSERT_EQ(person->Found().size(), 2u);
    EXPECT_EQ(person->Found()[1].What,
              QStringLiteral("These files were not copied:\nb.pdb: No space left on device"));
    EXPECT_FALSE(person->Found()[1].ProgressExists);
    EXPECT_EQ(Target("a.pdb") + Target("b.pdb") + Target("c.pdb"),
              QByteArray("new a.pdb-new c.pdb"));
    w->SetFileSystemCalls(FileSystemCalls::Real());
}

TEST_F(QuestionsDuringWork, TheTrashReportComesAfterTheProgressHasGone) {
    for (const char* file : {"a.pdb", "b.pdb", "c.pdb"})
        files.Write(QLatin1String(file), "x");
    Start();
    // Gone behind the window's back: nothing reaches the trash, both are reported.
    QFile::remove(files.File(QStringLiteral("a.pdb")));
    QFile::remove(files.File(QStringLiteral("c.pdb")));
    w->SelectAll();
    w->FileList()->selectionModel()->select(
        w->FileModel().index(1, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    person->Then(DelayedAnswers::Press("&Yes")); // Move selected files to trash?
    person->Then(DelayedAnswers::Key(Qt::Key_Return));
    person->Start();
    w->MIDelete->trigger();

    ExpectEachAnsweredAtTheTop();
    ASSERT_EQ(person->Found().size(), 2u);
    EXPECT_EQ(person->Found()[0].What, QStringLiteral("Move selected files to trash?"));
    EXPECT_TRUE(person->Found()[1].What.startsWith(
        QStringLiteral("These files were not moved to the trash:\na.pdb: ")))
        << person->Found()[1].What.toStdString();
    EXPECT_FALSE(person->Found()[1].ProgressExists);
    EXPECT_EQ(Source("b.pdb"), QByteArray("x"));
}

namespace {

// A style that lays out dialog buttons as a given desktop does.
class ButtonLayoutStyle : public QProxyStyle {
public:
    ButtonLayoutStyle(int layout)
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), FLayout(layout) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_DialogButtonLayout)
            return FLayout;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }

private:
    int FLayout;
};

} // namespace

TEST_F(QuestionsDuringWork, TheOverwriteButtonsStayInTheirOrderOnEveryDesktop) {
    const QString oldStyle = QApplication::style()->name();
    QWidget parent;
    parent.show();
    DelayedAnswers answers(&parent, 100ms);
    for (const auto layout : {QDialogButtonBox::WinLayout, QDialogButtonBox::MacLayout,
                              QDialogButtonBox::KdeLayout, QDialogButtonBox::GnomeLayout}) {
        SCOPED_TRACE(int(layout));
        QApplication::setStyle(new ButtonLayoutStyle(layout));
        QStringList order;
        answers.Then([&order](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return;
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
                return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
            });
            for (QAbstractButton* button : buttons)
                order << button->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        answers.Start();
        EXPECT_EQ(prompts.AskOverwrite(&parent, Exists("a.pdb")), OverwriteAnswer::No);
        EXPECT_EQ(order,
                  (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"),
                               QStringLiteral("N&o to All"), QStringLiteral("Yes to &All")}));
    }
    QApplication::setStyle(QStyleFactory::create(oldStyle));
}
