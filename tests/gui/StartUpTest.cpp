// The start of the window as a user meets it on a desktop without a Palm Desktop or
// without a program for web pages, and the titles of its message boxes.
#include "FakePrompts.h"
#include "core/ProgramPaths.h"
#include "dialogs/TFUeber.h"
#include "gui/DesktopPrompts.h"
#include "gui/TFBrowser.h"
#include "support/PalmFileBuilder.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A desktop on which no program can show a web page.
struct NoBrowserPrompts : FakePrompts {
    bool OpenUrl(const QUrl& url) override {
        Opened << url;
        return false;
    }
};

QByteArray PalmFile() {
    PalmFileBuilder b;
    b.name = "Test";
    b.type = "DATA";
    b.creator = "test";
    return b.Bytes();
}

} // namespace

// The first start opens the manual without a word when nothing can show it; F1 says so.
TEST(StartUp, AManualThatCannotBeShownIsReportedOnF1NotAtTheFirstStart) {
    struct Case {
        bool firstRun;
        bool pressF1;
        int opened;
        int messages;
    };
    const Case cases[] = {
        {true, false, 1, 0}, {true, true, 2, 1}, {false, false, 0, 0}, {false, true, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "first run " << c.firstRun << ", F1 " << c.pressF1);
        TempFolder program;
        program.Write(QStringLiteral("manual/index.html"), "<html></html>");
        if (!c.firstRun)
            program.Write(QStringLiteral("Brisko.ini"), "[Brisko]\n");
        NoBrowserPrompts prompts;
        TFBrowser window(ProgramPaths::ForProgramFolder(program.Path()), prompts);
        window.show();
        if (c.pressF1)
            window.TBXItem5->trigger();
        EXPECT_EQ(prompts.Opened.size(), c.opened);
        EXPECT_EQ(prompts.Messages.size(), c.messages)
            << prompts.Messages.join(u'\n').toStdString();
        window.close();
    }
}

// Without any Palm Desktop the first listing's status line says so, once, and so does
// the About box; with one nothing is said.
TEST(StartUp, WithoutAPalmDesktopTheFirstListingAndTheAboutBoxSaySo) {
    for (const bool missing : {true, false}) {
        SCOPED_TRACE(missing ? "missing" : "present");
        TempFolder program;
        TempFolder files;
        files.Write(QStringLiteral("a.pdb"), PalmFile());
        program.Write(QStringLiteral("Brisko.ini"), "[Brisko]\n");
        ProgramPaths paths = ProgramPaths::ForProgramFolder(program.Path());
        paths.PalmDesktopMissing = missing;
        FakePrompts prompts;
        TFBrowser window(paths, prompts, files.Path());
        window.show();
        EXPECT_EQ(window.StatusText().contains(NoPalmDesktopText()), missing)
            << window.StatusText().toStdString();
        EXPECT_TRUE(window.StatusText().startsWith(QStringLiteral("1 file(s).")));
        window.Refresh();
        EXPECT_FALSE(window.StatusText().contains(NoPalmDesktopText())) << "said once";

        bool said = false;
        prompts.DialogAnswers.push_back([&said](QDialog* dialog) {
            const auto* line = dialog->findChild<QLabel*>(QStringLiteral("LPalmDesktop"));
            said = line && line->isVisible() && line->text() == NoPalmDesktopText();
            return int(QDialog::Accepted);
        });
        window.TBXItem2->trigger();
        EXPECT_EQ(prompts.DialogsShown, QList<QString>{QStringLiteral("TFUeber")});
        EXPECT_EQ(said, missing);
        window.close();
    }
}

// The boxes are titled with the program's name alone, whatever Qt's display name says.
TEST(StartUp, MessageBoxesAreTitledBrisko) {
    DesktopPrompts prompts;
    const std::pair<const char*, std::function<void()>> cases[] = {
        {"information",
         [&] {
             prompts.Information(nullptr, QStringLiteral("Done."));
         }},
        {"error",
         [&] {
             prompts.Error(nullptr, QStringLiteral("Failed."));
         }},
        {"question",
         [&] {
             prompts.Confirm(nullptr, QStringLiteral("Sure?"));
         }},
    };
    for (const auto& [kind, show] : cases) {
        QString title;
        // Answered a moment later, as a person would, from the box's own event loop.
        QTimer::singleShot(50, [&title] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                title = box->windowTitle();
                box->reject();
            }
        });
        show();
        EXPECT_EQ(title, QStringLiteral("Brisko")) << kind;
    }
}
