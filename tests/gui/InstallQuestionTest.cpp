// The question before Install: files with one database name, damaged files and files
// that are no Palm databases are listed, and the install tool gets the files only when
// the user goes on; through FakePrompts and through the real message box.
#include "DelayedAnswers.h"
#include "WindowFixture.h"
#include "gui/DesktopPrompts.h"

#include <QAction>

using namespace std::chrono_literals;

namespace {

QByteArray Named(const char* name, bool damaged = false) {
    PalmFileBuilder b;
    b.name = name;
    b.type = "DATA";
    b.creator = "test";
    b.recordOffsets = {78 + 8 + 2};
    if (damaged)
        b.recordOffsets.push_back(0xFFFFFF00);
    b.tail = QByteArray(2 + 4 + (damaged ? 8 : 0), 'r');
    return b.Bytes();
}

// An install tool that writes its arguments down.
QString RecordingTool(const TempFolder& tools) {
    const QString tool = tools.Write(
        QStringLiteral("install-tool"),
        "#!/bin/sh\ncd \"${0%/*}\" && printf '%s\\n' \"$@\" >args.part && mv args.part args\n");
    QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
    return tool;
}

bool Started(const TempFolder& tools, std::chrono::milliseconds wait) {
    const QString args = tools.File(QStringLiteral("args"));
    const bool started = QTest::qWaitFor([&] { return QFile::exists(args); }, int(wait.count()));
    QFile::remove(args);
    return started;
}

class InstallQuestion : public WindowFixture {
protected:
    TempFolder tools;
    void SetUp() override {
        files.Write(QStringLiteral("memo.pdb"), Named("MemoDB"));
        files.Write(QStringLiteral("memo-copy.pdb"), Named("MemoDB"));
        files.Write(QStringLiteral("address.pdb"), Named("AddressDB"));
        files.Write(QStringLiteral("broken.pdb"), Named("Broken", true));
        files.Write(QStringLiteral("notes.pdb"), "plain text, no database");
    }
    void StartWithTool() {
        Start(files.Path());
        w->Settings().InstallTool = RecordingTool(tools);
        w->UpdateInstallCommands();
    }
};

} // namespace

TEST_F(InstallQuestion, EachConcernIsAskedAboutAndTheAnswerDecides) {
    const struct {
        const char* selected;
        std::deque<bool> answers;
        const char* mentioned; // in the question; empty: no question
        bool started;
    } cases[] = {
        {"memo.pdb address.pdb", {}, "", true},
        {"memo.pdb memo-copy.pdb", {false}, "MemoDB memo.pdb memo-copy.pdb", false},
        {"memo.pdb memo-copy.pdb", {true}, "MemoDB", true},
        {"broken.pdb address.pdb", {false}, "broken.pdb", false},
        {"notes.pdb", {false}, "notes.pdb", false},
        {"notes.pdb broken.pdb", {true}, "notes.pdb broken.pdb", true},
    };
    StartWithTool();
    for (const auto& c : cases) {
        prompts.Questions.clear();
        prompts.ConfirmAnswers = c.answers;
        Select(Words(c.selected));
        w->MIInstall->trigger();
        EXPECT_EQ(prompts.Questions.size(), *c.mentioned ? 1 : 0) << c.selected;
        for (const QString& text : Words(c.mentioned))
            EXPECT_TRUE(prompts.Questions.value(0).contains(text))
                << c.selected << ": " << prompts.Questions.value(0).toStdString();
        // A tool that was not started leaves nothing to wait for; one second is plenty
        // for a shell script that was.
        EXPECT_EQ(Started(tools, c.started ? 10000ms : 1000ms), c.started) << c.selected;
    }
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();
}

// The real message box, answered after a pause as a person would.
class InstallQuestionBox : public ::testing::Test {
protected:
    TempFolder program;
    TempFolder files;
    TempFolder tools;
    DesktopPrompts prompts;
    std::unique_ptr<TFBrowser> w;
    void TearDown() override {
        if (w)
            w->close();
        w.reset();
    }
};

TEST_F(InstallQuestionBox, NoInTheRealBoxStopsTheInstallAndYesGoesOn) {
    files.Write(QStringLiteral("a.pdb"), Named("Same"));
    files.Write(QStringLiteral("b.pdb"), Named("Same"));
    w = std::make_unique<TFBrowser>(ProgramPaths::ForProgramFolder(program.Path()), prompts,
                                    files.Path());
    w->show();
    w->Settings().InstallTool = RecordingTool(tools);
    w->UpdateInstallCommands();
    for (const char* answer : {"&No", "&Yes"}) {
        w->SelectAll();
        DelayedAnswers person(w.get(), 300ms);
        person.Then(DelayedAnswers::Press(answer));
        person.Start();
        w->MIInstall->trigger();
        ASSERT_EQ(person.Found().size(), 1u) << answer;
        EXPECT_TRUE(person.Found()[0].What.contains(QStringLiteral("Same"))) << answer;
        EXPECT_EQ(person.Unused(), 0u);
        const bool yes = answer[1] == 'Y';
        EXPECT_EQ(Started(tools, yes ? 10000ms : 1000ms), yes) << answer;
    }
}
