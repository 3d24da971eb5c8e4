// The bytes view opened from the contents panel: Enter and a double-click open it on the
// entry, its rows show offset, hex and text, and a selection is copied as hex or text. A
// record of a known database is also shown as text in a pane beside the bytes.
#include "gui/BytesView.h"

#include "WindowFixture.h"
#include "core/ContentsTableModel.h"
#include "core/EntryBytesModel.h"
#include "gui/BytesGrid.h"
#include "gui/ContentsPanel.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTreeView>

namespace {

// Two records: 20 bytes of "Hello, Palm!\x01\x02..." and 3 bytes of "end".
QByteArray TwoRecords() {
    PalmFileBuilder b;
    b.name = "Bytes";
    b.type = "DATA";
    b.creator = "test";
    const uint32_t first = 78 + 2 * 8 + 2;
    b.recordOffsets = {first, first + 20};
    b.tail = QByteArray(2, '\0') +
             QByteArray("Hello, Palm!\x01\x02\x80\xE4"
                        "ABCD",
                        20) +
             "end";
    return b.Bytes();
}

// A Memo Pad database: categories "Unfiled" and "Business" in its app info block, then
// the given records in category 1.
QByteArray MemoDatabase(const std::vector<QByteArray>& records) {
    return RecordDatabase("MemoDB", "DATA", "memo", records,
                          CategoryAppInfo({"Unfiled", "Business"}),
                          std::vector<uint8_t>(records.size(), 0x01))
        .Bytes();
}

class BytesViewWindow : public WindowFixture {
protected:
    BytesView* OpenRecord(int index, bool byKey, const QByteArray& file = TwoRecords()) {
        files.Write(QStringLiteral("a.pdb"), file);
        Start(files.Path());
        w->tbxdpContents->show();
        ClickRow(QStringLiteral("a.pdb"));
        QTreeView* list = w->Contents->List();
        const QModelIndex row = list->model()->index(index, 0);
        list->setCurrentIndex(row);
        // Enter reaches the list that has the focus (the file list's own Enter opens files).
        QApplication::setActiveWindow(w.get());
        list->setFocus();
        if (byKey) {
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            const QRect rect = list->visualRect(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QCoreApplication::processEvents();
        return w->findChild<BytesView*>();
    }
    static QString Cell(BytesView* view, int row, int column) {
        return view->Bytes().index(row, column).data().toString();
    }
};

} // namespace

TEST_F(BytesViewWindow, EnterOpensTheEntrysBytes) {
    BytesView* view = OpenRecord(0, true);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->windowTitle().contains(QStringLiteral("a.pdb")));
    ASSERT_EQ(view->Bytes().rowCount(), 2);
    EXPECT_EQ(Cell(view, 0, EntryBytesModel::OffsetColumn), QStringLiteral("00000000"));
    EXPECT_EQ(Cell(view, 1, EntryBytesModel::OffsetColumn), QStringLiteral("00000010"));
    EXPECT_EQ(Cell(view, 0, EntryBytesModel::HexColumn),
              QStringLiteral("48 65 6C 6C 6F 2C 20 50 61 6C 6D 21 01 02 80 E4"));
    // Control bytes as dots, the rest as Windows-1252.
    EXPECT_EQ(Cell(view, 0, EntryBytesModel::TextColumn), QStringLiteral("Hello, Palm!..€ä"));
    EXPECT_EQ(Cell(view, 1, EntryBytesModel::TextColumn), QStringLiteral("ABCD"));
}

TEST_F(BytesViewWindow, ADoubleClickOpensTheEntryClicked) {
    BytesView* view = OpenRecord(1, false);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Bytes().rowCount(), 1);
    EXPECT_EQ(Cell(view, 0, EntryBytesModel::TextColumn), QStringLiteral("end"));
}

TEST_F(BytesViewWindow, CopiesTheSelectedRowsAsHexOrText) {
    BytesView* view = OpenRecord(0, true);
    ASSERT_NE(view, nullptr);
    const struct {
        int first, last;
        QAction* BytesView::*item;
        const char* expected;
    } cases[] = {
        {1, 1, &BytesView::CopyHexItem, "41 42 43 44"},
        {1, 1, &BytesView::CopyTextItem, "ABCD"},
        {0, 1, &BytesView::CopyTextItem, "Hello, Palm!..€äABCD"},
        {0, 0, &BytesView::CopyHexItem, "48 65 6C 6C 6F 2C 20 50 61 6C 6D 21 01 02 80 E4"},
    };
    for (const auto& c : cases) {
        QApplication::clipboard()->clear();
        view->List()->SelectRows(c.last, c.first);
        (view->*c.item)->trigger();
        EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8(c.expected)) << c.expected;
    }
}

TEST_F(BytesViewWindow, AClickAndAShiftClickSelectTheRowsBetween) {
    BytesView* view = OpenRecord(0, true);
    ASSERT_NE(view, nullptr);
    view->show();
    BytesGrid* grid = view->List();
    QCoreApplication::processEvents();
    const int x = 20;
    const int firstRowY = grid->RowHeight() + grid->RowHeight() / 2;
    ASSERT_EQ(grid->RowAt(firstRowY), 0);
    ASSERT_EQ(grid->RowAt(firstRowY / 3), -1); // the heading
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(x, firstRowY + grid->RowHeight()));
    EXPECT_EQ(grid->SelectionFirst(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(x, firstRowY));
    EXPECT_EQ(grid->SelectionFirst(), 0);
    EXPECT_EQ(grid->SelectionLast(), 1);
    QApplication::clipboard()->clear();
    view->CopyTextItem->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Hello, Palm!..€äABCD"));
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(grid->SelectionFirst(), 0);
    EXPECT_EQ(grid->SelectionLast(), 0);
}

TEST_F(BytesViewWindow, ARecordOfAKnownDatabaseIsShownBesideItsBytes) {
    const QByteArray memos =
        MemoDatabase({QByteArray("Shopping\nmilk, \xE4pples", 22), QByteArray("no end")});
    const struct {
        const char* name;
        QByteArray file;
        int row;              // the app info block comes first
        const char* expected; // nullptr: no preview
    } cases[] = {
        {"memo", memos, 1, "Category: Business\nPrivate: no\n\nShopping\nmilk, \u00e4pples"},
        {"damaged memo", memos, 2, "This record cannot be read: a text of the record has no end"},
        {"app info block", memos, 0, nullptr},
        {"unknown database", TwoRecords(), 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BytesView* view = OpenRecord(c.row, true, c.file);
        ASSERT_NE(view, nullptr);
        auto* preview = view->findChild<QPlainTextEdit*>(QStringLiteral("RecordPreview"));
        if (!c.expected) {
            // The window as it always was: the rows alone.
            EXPECT_EQ(preview, nullptr);
            EXPECT_EQ(view->findChild<QSplitter*>(), nullptr);
            EXPECT_EQ(view->List()->parentWidget(), view);
        } else {
            ASSERT_NE(preview, nullptr);
            EXPECT_EQ(preview->toPlainText(), QString::fromUtf8(c.expected));
            EXPECT_TRUE(preview->isReadOnly());
        }
        view->close();
        Close();
    }
}

TEST_F(BytesViewWindow, ThePreviewSitsRightOfTheWholeRowsOnTheScreen) {
    BytesView* view = OpenRecord(1, true, MemoDatabase({QByteArray("Note", 5)}));
    ASSERT_NE(view, nullptr);
    auto* preview = view->findChild<QPlainTextEdit*>(QStringLiteral("RecordPreview"));
    ASSERT_NE(preview, nullptr);
    QCoreApplication::processEvents();
    const QRect screen = view->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(view->frameGeometry())) << view->width() << "x" << view->height();
    BytesGrid* grid = view->List();
    EXPECT_GE(grid->width(), grid->NeededWidth());
    const QPoint previewLeft = preview->mapTo(view, QPoint(0, 0));
    EXPECT_GT(previewLeft.x(), grid->mapTo(view, QPoint(grid->width(), 0)).x());
    // Room for a line of text, not a sliver.
    EXPECT_GE(preview->width(), 20 * preview->fontMetrics().averageCharWidth());
}

TEST_F(BytesViewWindow, ThePreviewDecodesInTheCodePageSet) {
    files.Write(QStringLiteral("a.pdb"), MemoDatabase({QByteArray("\x82\xa0", 3)}));
    Start(files.Path());
    w->tbxdpContents->show();
    ClickRow(QStringLiteral("a.pdb"));
    w->Contents->SetCodePage(*CodePage::Named(QStringLiteral("shift-jis")));
    BytesView* view = w->Contents->ShowEntryBytes(1);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view->Preview(), nullptr);
    EXPECT_TRUE(view->Preview()->toPlainText().endsWith(QStringLiteral("\n\u3042")))
        << view->Preview()->toPlainText().toStdString();
}

TEST(EntryBytesModel, ReadsOnlyTheBlocksOfTheRowsShown) {
    // A 1 MB record: asking for rows far apart keeps no more than a few blocks.
    PalmFileBuilder b;
    b.name = "Large";
    b.recordOffsets = {78 + 8 + 2};
    QByteArray bytes(1 << 20, 'x');
    bytes[(1 << 20) - 1] = 'z';
    b.tail = QByteArray(2, '\0') + bytes;
    auto source = std::make_unique<MemoryByteSource>(b.Bytes().toStdString());
    const DatabaseContents contents = ReadDatabaseContents(*source);
    EntryBytesModel model(std::move(source), contents.Entries.at(0));
    ASSERT_EQ(model.rowCount(), (1 << 20) / 16);
    for (int row = 0; row < model.rowCount(); row += 997)
        model.index(row, EntryBytesModel::HexColumn).data();
    EXPECT_TRUE(model.index(model.rowCount() - 1, EntryBytesModel::TextColumn)
                    .data()
                    .toString()
                    .endsWith(u'z'));
    EXPECT_EQ(model.Block(0).size(), size_t(EntryBytesModel::BlockSize));
    EXPECT_TRUE(model.Problem().isEmpty());
}

TEST(EntryBytesModel, AFileThatShrankShowsWhatIsLeftAndSaysSo) {
    PalmFileBuilder b;
    b.name = "Shrinks";
    b.recordOffsets = {78 + 8 + 2};
    b.tail = QByteArray(2, '\0') + QByteArray(100, 'y');
    auto source = std::make_unique<MemoryByteSource>(b.Bytes().toStdString());
    const DatabaseContents contents = ReadDatabaseContents(*source);
    source->Truncate(78 + 8 + 2 + 40);
    EntryBytesModel model(std::move(source), contents.Entries.at(0));
    EXPECT_EQ(model.rowCount(), 7); // as listed
    EXPECT_EQ(model.index(2, EntryBytesModel::TextColumn).data().toString(), QString(8, u'y'));
    EXPECT_EQ(model.index(5, EntryBytesModel::HexColumn).data().toString(), QString());
    EXPECT_FALSE(model.Problem().isEmpty());
    EXPECT_EQ(model.CopyRows(0, 6, false), QString(40, u'y'));
}
