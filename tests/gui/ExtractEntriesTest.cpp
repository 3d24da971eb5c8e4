// Extracting from the contents panel's popup menu: the selected entries or all into the
// folder picked, existing files replaced only as the overwrite answers say, failures
// reported once at the end.
#include "WindowFixture.h"
#include "core/ContentsTableModel.h"
#include "core/EntryExtraction.h"
#include "gui/ContentsPanel.h"

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QTreeView>

namespace {

// Three records of 4 bytes: "aaaa", "bbbb", "cccc".
QByteArray ThreeRecords() {
    PalmFileBuilder b;
    b.name = "Extract";
    b.type = "DATA";
    b.creator = "test";
    const uint32_t first = 78 + 3 * 8 + 2;
    b.recordOffsets = {first, first + 4, first + 8};
    b.recordInfo = {0x000010, 0x000020, 0x000030};
    b.tail = QByteArray(2, '\0') + "aaaabbbbcccc";
    return b.Bytes();
}

class ExtractWindow : public WindowFixture {
protected:
    QString out;
    void SetUp() override {
        files.Write(QStringLiteral("a.pdb"), ThreeRecords());
        out = files.File(QStringLiteral("out"));
        QDir().mkpath(out);
        Start(files.Path());
        w->tbxdpContents->show();
        ClickRow(QStringLiteral("a.pdb"));
    }
    QString NameOf(int row) { return EntryFileName(w->Contents->Rows().Entry(row)); }
    QByteArray Extracted(int row) { return Read(out + u'/' + NameOf(row)); }
    void SelectEntries(std::initializer_list<int> rows) {
        QTreeView* list = w->Contents->List();
        list->selectionModel()->clearSelection();
        for (const int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

TEST_F(ExtractWindow, TheSelectedEntriesOrAllGoIntoThePickedFolder) {
    SelectEntries({1});
    prompts.PickedFolders.push_back(out);
    w->Contents->ExtractSelectedItem->trigger();
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{NameOf(1)});
    EXPECT_EQ(Extracted(1), QByteArray("bbbb"));
    EXPECT_EQ(prompts.PickFolderStarts.value(0), files.Path());

    prompts.PickedFolders.push_back(out);
    w->Contents->ExtractAllItem->trigger();
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(Extracted(0), QByteArray("aaaa"));
    EXPECT_EQ(Extracted(2), QByteArray("cccc"));
    EXPECT_EQ(prompts.Questions.size(), 1); // record 1 was there already
    EXPECT_TRUE(prompts.Messages.isEmpty()) << prompts.Messages.join(u'\n').toStdString();

    // A cancelled folder choice writes nothing and asks nothing.
    QDir(out).removeRecursively();
    w->Contents->ExtractAllItem->trigger();
    EXPECT_FALSE(QDir(out).exists());
}

TEST_F(ExtractWindow, ExistingFilesAreReplacedOnlyAsTheAnswersSay) {
    const struct {
        std::vector<OverwriteAnswer> answers;
        int questions;
        const char* kept; // per record: 'o' the old file kept, 'n' the new bytes
    } cases[] = {
        {{OverwriteAnswer::No, OverwriteAnswer::No, OverwriteAnswer::No}, 3, "ooo"},
        {{OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::Yes}, 3, "non"},
        {{OverwriteAnswer::No, OverwriteAnswer::YesToAll}, 2, "onn"},
        {{OverwriteAnswer::Yes, OverwriteAnswer::NoToAll}, 2, "noo"},
    };
    const QByteArray fresh[] = {"aaaa", "bbbb", "cccc"};
    for (const auto& c : cases) {
        for (int row = 0; row < 3; ++row)
            files.Write(QStringLiteral("out/") + NameOf(row), "old");
        prompts.Questions.clear();
        prompts.OverwriteAnswers.assign(c.answers.begin(), c.answers.end());
        prompts.PickedFolders.push_back(out);
        w->Contents->ExtractAllItem->trigger();
        EXPECT_EQ(prompts.Questions.size(), c.questions) << c.kept;
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(Extracted(row), c.kept[row] == 'o' ? QByteArray("old") : fresh[row])
                << c.kept << " " << row;
        EXPECT_TRUE(prompts.Questions.value(0).contains(NameOf(0))) << c.kept;
    }
}

TEST_F(ExtractWindow, FailuresAreReportedOnceAtTheEndNamingFileAndCause) {
    // The file shrinks after its list was shown: the last two records are gone.
    QFile file(files.File(QStringLiteral("a.pdb")));
    ASSERT_TRUE(file.resize(file.size() - 6));
    prompts.PickedFolders.push_back(out);
    w->Contents->ExtractAllItem->trigger();
    ASSERT_EQ(prompts.Messages.size(), 1);
    const QString message = prompts.Messages.first();
    EXPECT_FALSE(message.contains(NameOf(0)));
    EXPECT_TRUE(message.contains(NameOf(1)) && message.contains(NameOf(2)))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("shrank"))) << message.toStdString();
    EXPECT_EQ(Extracted(0), QByteArray("aaaa"));
    EXPECT_FALSE(QFileInfo::exists(out + u'/' + NameOf(2)));
}
