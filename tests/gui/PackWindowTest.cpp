// Pack into ZIP from the window, through the real message boxes answered after a pause
// (and once through the real save dialog): the replace question comes exactly once, the
// report names what was packed and what was not, and the new archive shows in the list.
#include "DelayedAnswers.h"
#include "WindowFixture.h"
#include "core/PackTexts.h"
#include "gui/DesktopPrompts.h"
#include "support/ZipBuilder.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>

using namespace std::chrono_literals;

namespace {

// The real boxes; the save dialog answered with a name when one is given.
class SaveAnswered : public DesktopPrompts {
public:
    std::deque<QString> Names;
    QStringList Starts;
    QStringList Filters;
    QString PickSaveFile(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filters, QString* filter) override {
        Starts << start;
        Filters << filters;
        if (Names.empty())
            return DesktopPrompts::PickSaveFile(parent, caption, start, filters, filter);
        const QString name = Names.front();
        Names.pop_front();
        return name;
    }
};

// The list's order is the user's choice; the archive follows it.
QStringList SortedEntryNames(const QString& archive) {
    QStringList names = EntryNamesOf(archive);
    names.sort();
    return names;
}

// Types the name into the save dialog and presses Enter. The dialog asks about replacing
// an existing file in a box of its own before it closes: that box is answered with Yes
// after a pause, and its text added to asked.
DelayedAnswers::Answer TypeName(const QString& name, QStringList* asked) {
    return [name, asked](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* field =
            dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!field)
            return;
        QTimer::singleShot(300, dialog, [asked, dialog] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box && box->parentWidget() == dialog) {
                *asked << box->text();
                QTest::keyClick(box, Qt::Key_Y, Qt::AltModifier);
                if (box->isVisible())
                    box->button(QMessageBox::Yes)->click();
            }
        });
        field->setText(name);
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* save = buttons ? buttons->button(QDialogButtonBox::Save) : nullptr;
        if (save)
            QTest::mouseClick(save, Qt::LeftButton);
    };
}

class PackWindow : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    SaveAnswered prompts;
    std::unique_ptr<TFBrowser> w;
    QString backup = files.MakeFolder(QStringLiteral("Backup"));

    void SetUp() override {
        files.Write(QStringLiteral("Backup/memo.pdb"), PalmBytes("memo"));
        files.Write(QStringLiteral("Backup/game.prc"), PalmBytes("game"));
        files.Write(QStringLiteral("Backup/bundle.zip"), "the old bundle");
        w = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()), prompts,
                                        backup);
        w->show();
    }
    void TearDown() override {
        if (w)
            w->close();
        w.reset();
    }
    QStringList Names() const {
        QStringList names;
        for (int row = 0; row < w->FileModel().rowCount(); ++row)
            names << w->FileModel().index(row, 0).data().toString();
        return names;
    }
    void SelectFiles() {
        w->FileList()->selectionModel()->clearSelection();
        for (const QString& name : {QStringLiteral("memo.pdb"), QStringLiteral("game.prc")})
            w->FileList()->selectionModel()->select(
                w->FileModel().index(int(Names().indexOf(name)), 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

TEST_F(PackWindow, TheReplaceQuestionComesOnceAndTheAnswerDecides) {
    const QString bundle = backup + QStringLiteral("/bundle.zip");
    const struct {
        const char* what;
        QString typed;             // into the save dialog (answered by the prompts)
        const char* replaceAnswer; // null: no question of ours expected
        bool written;
    } cases[] = {
        {"typed without suffix, not replaced", backup + QStringLiteral("/bundle"), "&No", false},
        {"typed without suffix, replaced", backup + QStringLiteral("/bundle"), "&Yes", true},
        // The save dialog asked about this name itself.
        {"typed with suffix", bundle, nullptr, true},
        {"a new name", backup + QStringLiteral("/new"), nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        files.Write(QStringLiteral("Backup/bundle.zip"), "the old bundle");
        QFile::remove(backup + QStringLiteral("/new.zip"));
        w->Refresh();
        SelectFiles();
        prompts.Names = {c.typed};
        DelayedAnswers person(w.get(), 300ms);
        if (c.replaceAnswer)
            person.Then(DelayedAnswers::Press(c.replaceAnswer));
        if (c.written)
            person.Then(DelayedAnswers::Press(nullptr)); // the report
        person.Start();
        w->MIPack->trigger();
        EXPECT_EQ(person.Unused(), 0u);
        const QStringList seen = person.Texts();
        ASSERT_EQ(seen.size(), (c.replaceAnswer ? 1 : 0) + (c.written ? 1 : 0))
            << seen.join(u'|').toStdString();
        if (c.replaceAnswer) {
            EXPECT_TRUE(seen.first().contains(QStringLiteral("bundle.zip already exists")))
                << seen.first().toStdString();
        }
        const QString archive = WithZipSuffix(c.typed);
        if (c.written) {
            EXPECT_TRUE(seen.last().contains(QStringLiteral("2 files were packed")))
                << seen.last().toStdString();
            EXPECT_EQ(SortedEntryNames(archive),
                      (QStringList{QStringLiteral("game.prc"), QStringLiteral("memo.pdb")}));
            EXPECT_TRUE(Names().contains(QFileInfo(archive).fileName()));
        } else {
            QFile old(bundle);
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), "the old bundle");
        }
    }
    // Started in the listed folder with a name that replaces nothing.
    EXPECT_EQ(prompts.Starts.value(0), backup + QStringLiteral("/Backup.zip"));
    EXPECT_EQ(prompts.Filters.value(0), QStringLiteral("ZIP archives (*.zip)"));
}

TEST_F(PackWindow, TheReportNamesWhatCouldNotBePackedWithItsCause) {
    SelectFiles();
    QFile::remove(backup + QStringLiteral("/game.prc")); // gone after it was listed
    prompts.Names = {backup + QStringLiteral("/some.zip")};
    DelayedAnswers person(w.get(), 300ms);
    person.Then(DelayedAnswers::Press(nullptr));
    person.Start();
    w->MIPack->trigger();
    ASSERT_EQ(person.Found().size(), 1u);
    const QString report = person.Found()[0].What;
    EXPECT_TRUE(report.contains(QStringLiteral("1 file was packed"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("These files were not packed:\ngame.prc: ")))
        << report.toStdString();
    EXPECT_EQ(EntryNamesOf(backup + QStringLiteral("/some.zip")),
              QStringList{QStringLiteral("memo.pdb")});

    // Nothing readable: no archive, and the report says why.
    QFile::remove(backup + QStringLiteral("/memo.pdb"));
    prompts.Names = {backup + QStringLiteral("/none.zip")};
    DelayedAnswers again(w.get(), 300ms);
    again.Then(DelayedAnswers::Press(nullptr));
    again.Start();
    w->MIPack->trigger();
    ASSERT_EQ(again.Found().size(), 1u);
    EXPECT_TRUE(again.Found()[0].What.contains(QStringLiteral("memo.pdb: ")));
    EXPECT_FALSE(QFile::exists(backup + QStringLiteral("/none.zip")));
}

TEST_F(PackWindow, TheRealSaveDialogAsksAboutReplacingAndNothingAsksAgain) {
    const struct {
        const char* typed;
        int dialogQuestions; // the save dialog's own
        int ourQuestions;
    } cases[] = {
        {"bundle.zip", 1, 0},
        {"bundle", 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        files.Write(QStringLiteral("Backup/bundle.zip"), "the old bundle");
        SelectFiles();
        QStringList dialogAsked;
        DelayedAnswers person(w.get(), 300ms);
        person.Then(TypeName(QString::fromUtf8(c.typed), &dialogAsked));
        for (int i = 0; i < c.ourQuestions; ++i)
            person.Then(DelayedAnswers::Press("&Yes"));
        person.Then(DelayedAnswers::Press(nullptr)); // the report
        person.Start();
        w->MIPack->trigger();
        EXPECT_EQ(person.Unused(), 0u);
        EXPECT_EQ(dialogAsked.size(), c.dialogQuestions) << dialogAsked.join(u'|').toStdString();
        const QStringList seen = person.Texts();
        ASSERT_EQ(seen.size(), 2 + c.ourQuestions) << seen.join(u'|').toStdString();
        EXPECT_EQ(seen[0], QStringLiteral("QFileDialog"));
        if (c.ourQuestions) {
            EXPECT_TRUE(seen[1].contains(QStringLiteral("bundle.zip already exists")));
        }
        EXPECT_TRUE(seen.last().contains(QStringLiteral("2 files were packed")))
            << seen.last().toStdString();
        EXPECT_EQ(SortedEntryNames(backup + QStringLiteral("/bundle.zip")),
                  (QStringList{QStringLiteral("game.prc"), QStringLiteral("memo.pdb")}));
        w->Refresh();
    }
}

TEST_F(PackWindow, EnabledWhileTheListHasRowsAlsoInsideAnArchive) {
    EXPECT_TRUE(w->MIPack->isEnabled());
    w->ListFolder(files.MakeFolder(QStringLiteral("empty")));
    EXPECT_FALSE(w->MIPack->isEnabled());
    w->ListFolder(backup);
    ASSERT_TRUE(
        QFile::copy(backup + QStringLiteral("/memo.pdb"), backup + QStringLiteral("/inner.pdb")));
    prompts.Names = {backup + QStringLiteral("/packed.zip")};
    w->FileList()->selectionModel()->clearSelection();
    DelayedAnswers person(w.get(), 300ms);
    person.Then(DelayedAnswers::Press(nullptr));
    person.Start();
    w->MIPack->trigger(); // none selected: every listed file, the archive aside
    ASSERT_EQ(person.Found().size(), 1u);

    w->OpenArchive(backup + QStringLiteral("/packed.zip"));
    ASSERT_TRUE(w->MIPack->isEnabled());
    prompts.Names = {backup + QStringLiteral("/repacked.zip")};
    DelayedAnswers inside(w.get(), 300ms);
    inside.Then(DelayedAnswers::Press(nullptr));
    inside.Start();
    w->MIPack->trigger();
    ASSERT_EQ(inside.Found().size(), 1u);
    // Named after the archive, numbered: the archive itself is there.
    EXPECT_EQ(prompts.Starts.last(), backup + QStringLiteral("/packed (2).zip"));
    EXPECT_EQ(SortedEntryNames(backup + QStringLiteral("/repacked.zip")),
              (QStringList{QStringLiteral("game.prc"), QStringLiteral("memo.pdb")}));
}
