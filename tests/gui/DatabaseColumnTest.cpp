// The optional Database column of the file list: shown and hidden from the header's popup
// menu, sorted by a header click, and kept with its width across a restart.
#include "WindowFixture.h"
#include "gui/FileListView.h"

#include <QAction>

namespace {

QByteArray Named(const char* name) {
    PalmFileBuilder b;
    b.name = name;
    b.type = "DATA";
    b.creator = "test";
    return b.Bytes();
}

class DatabaseColumn : public WindowFixture {
protected:
    void SetUp() override {
        files.Write(QStringLiteral("a.pdb"), Named("Zeta"));
        files.Write(QStringLiteral("b.pdb"), Named("Alpha"));
        files.Write(QStringLiteral("c.pdb"), Named("Mid"));
    }
    QAction* HeaderItem() const { return w->FileList()->header()->actions().value(0); }
    static constexpr int Database = int(FileColumn::Database);
};

} // namespace

TEST_F(DatabaseColumn, IsShownFromTheHeaderMenuSortedAndKeptAcrossARestart) {
    Start(files.Path());
    EXPECT_TRUE(w->FileList()->isColumnHidden(Database)); // hidden until asked for
    ASSERT_NE(HeaderItem(), nullptr);
    HeaderItem()->trigger();
    EXPECT_FALSE(w->FileList()->isColumnHidden(Database));
    EXPECT_EQ(w->FileModel().headerData(Database, Qt::Horizontal).toString(),
              QStringLiteral("Database"));
    EXPECT_EQ(Column(RowOf(QStringLiteral("a.pdb")), Database), QStringLiteral("Zeta"));

    ClickHeader(Database);
    EXPECT_EQ(Names(), Words("b.pdb c.pdb a.pdb"));
    ClickHeader(Database);
    EXPECT_EQ(Names(), Words("a.pdb c.pdb b.pdb"));

    w->FileList()->setColumnWidth(Database, 133);
    Close();
    const QByteArray ini = Read(program.File(QStringLiteral("Brisko.ini")));
    EXPECT_TRUE(ini.contains("DatabaseColumnVisible=1")) << ini.toStdString();

    Start(files.Path());
    EXPECT_FALSE(w->FileList()->isColumnHidden(Database));
    EXPECT_TRUE(HeaderItem()->isChecked());
    EXPECT_EQ(w->FileList()->columnWidth(Database), 133);
    // Hidden, it keeps its width for the next time it is shown.
    HeaderItem()->trigger();
    EXPECT_TRUE(w->FileList()->isColumnHidden(Database));
    Close();
    Start(files.Path());
    EXPECT_TRUE(w->FileList()->isColumnHidden(Database));
    HeaderItem()->trigger();
    EXPECT_EQ(w->FileList()->columnWidth(Database), 133);
}
