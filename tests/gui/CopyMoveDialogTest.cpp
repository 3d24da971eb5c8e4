// The Copy/Move dialog's rules for OK: enabled when opened with a target or after a
// folder was chosen, never by typing, disabled only by a cancelled browse over an empty
// field; the browse always starts at the folder the dialog was given.
#include "FakePrompts.h"
#include "dialogs/TFDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

enum class Step { Type, Clear, BrowseChoose, BrowseCancel };

} // namespace

TEST(CopyMoveDialog, OkFollowsItsEnablingRulesExactly) {
    const QString given = QStringLiteral("/given");
    const struct {
        const char* name;
        QString initial;
        std::vector<Step> steps;
        bool okEnabled;
        QString field;
    } cases[] = {
        {"opened empty", {}, {}, false, {}},
        {"opened with a target", given, {}, true, given},
        {"typing does not enable", {}, {Step::Type}, false, QStringLiteral("/typed")},
        {"a chosen folder enables", {}, {Step::BrowseChoose}, true, QStringLiteral("/chosen")},
        {"clearing leaves it enabled", given, {Step::Clear}, true, {}},
        {"cancel over an empty field disables",
         given,
         {Step::Clear, Step::BrowseCancel},
         false,
         {}},
        {"cancel over text changes nothing",
         {},
         {Step::Type, Step::BrowseCancel},
         false,
         QStringLiteral("/typed")},
        {"cancel after a choice keeps it",
         {},
         {Step::BrowseChoose, Step::BrowseCancel},
         true,
         QStringLiteral("/chosen")},
    };
    for (const auto& c : cases) {
        FakePrompts prompts;
        TFDialog dialog(prompts);
        dialog.TargetFolder = c.initial;
        dialog.show();
        for (Step step : c.steps) {
            switch (step) {
            case Step::Type:
                dialog.EPfad->clear();
                QTest::keyClicks(dialog.EPfad, QStringLiteral("/typed"));
                break;
            case Step::Clear:
                dialog.EPfad->clear();
                break;
            case Step::BrowseChoose:
                prompts.PickedFolders = {QStringLiteral("/chosen")};
                dialog.SpeedButton3->click();
                break;
            case Step::BrowseCancel:
                prompts.PickedFolders.clear();
                dialog.SpeedButton3->click();
                break;
            }
        }
        EXPECT_EQ(dialog.BOK->isEnabled(), c.okEnabled) << c.name;
        EXPECT_EQ(dialog.EPfad->text(), c.field) << c.name;
        for (const QString& start : prompts.PickFolderStarts)
            EXPECT_EQ(start, c.initial) << c.name << ": the browse starts at the given folder";
    }
}

TEST(CopyMoveDialog, ShowsModeCountAndReturnsTheFieldOnlyOnOk) {
    FakePrompts prompts;
    TFDialog dialog(prompts);
    dialog.CopyMode = false;
    dialog.FileCount = 1;
    dialog.TargetFolder = QStringLiteral("/given");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Move"));
    EXPECT_EQ(dialog.LSelected->text(), QStringLiteral("1 file(s) selected."));
    EXPECT_TRUE(dialog.IKopieren->isHidden());
    EXPECT_FALSE(dialog.IVerschieben->isHidden());
    dialog.EPfad->setText(QStringLiteral("/typed"));
    dialog.Button2->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.TargetFolder, QStringLiteral("/given"));

    TFDialog copy(prompts);
    copy.FileCount = 3;
    copy.TargetFolder = QStringLiteral("/given");
    copy.show();
    EXPECT_EQ(copy.windowTitle(), QStringLiteral("Copy"));
    EXPECT_EQ(copy.LSelected->text(), QStringLiteral("3 file(s) selected."));
    copy.EPfad->setText(QStringLiteral("/typed"));
    QTest::keyClick(copy.EPfad, Qt::Key_Return); // Enter is OK while OK is enabled
    EXPECT_EQ(copy.result(), QDialog::Accepted);
    EXPECT_EQ(copy.TargetFolder, QStringLiteral("/typed"));
}
