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

TEST(CopyMoveDialog, OkFollowsItsEnablingRulesExactly) {
    const QString given = QStringLiteral("/given");
    // Steps: T types "/typed", C clears the field, B browses to "/chosen", X cancels a browse.
    const struct {
        const char* name;
        QString initial;
        const char* steps;
        bool okEnabled;
        QString field;
    } cases[] = {
        {"opened with a target", given, "", true, given},
        {"typing does not enable", {}, "T", false, QStringLiteral("/typed")},
        {"clearing leaves it enabled", given, "C", true, {}},
        {"cancel over an empty field disables", given, "CX", false, {}},
        {"cancel after a choice keeps it", {}, "BX", true, QStringLiteral("/chosen")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakePrompts prompts;
        TFDialog dialog(prompts);
        dialog.TargetFolder = c.initial;
        dialog.show();
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'T' || *step == 'C')
                dialog.EPfad->clear();
            if (*step == 'T')
                QTest::keyClicks(dialog.EPfad, QStringLiteral("/typed"));
            if (*step == 'B')
                prompts.PickedFolders = {QStringLiteral("/chosen")};
            if (*step == 'B' || *step == 'X')
                dialog.SpeedButton3->click();
        }
        EXPECT_EQ(dialog.BOK->isEnabled(), c.okEnabled);
        EXPECT_EQ(dialog.EPfad->text(), c.field);
        for (const QString& start : prompts.PickFolderStarts)
            EXPECT_EQ(start, c.initial) << "the browse starts at the given folder";
    }
}

// The Move title and Cancel are FileOperationsTest's part.
TEST(CopyMoveDialog, ShowsModeAndCountAndEnterIsOk) {
    FakePrompts prompts;
    TFDialog dialog(prompts);
    dialog.FileCount = 3;
    dialog.TargetFolder = QStringLiteral("/given");
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copy"));
    EXPECT_EQ(dialog.LSelected->text(), QStringLiteral("3 file(s) selected."));
    EXPECT_TRUE(dialog.IVerschieben->isHidden() && !dialog.IKopieren->isHidden());
    dialog.EPfad->setText(QStringLiteral("/typed"));
    QTest::keyClick(dialog.EPfad, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.TargetFolder, QStringLiteral("/typed"));
}
