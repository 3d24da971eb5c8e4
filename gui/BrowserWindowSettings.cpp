// The main window's side of the settings file: the record read at start-up applied to the
// window, taken back from it at shut-down, and the favourites menu.
#include "common/IniFile.h"
#include "core/Prompts.h"
#include "gui/ContentsPanel.h"
#include "gui/DetailsPanels.h"
#include "gui/FileListView.h"
#include "gui/MenuCaption.h"
#include "gui/TFBrowser.h"
#include "gui/WindowPlacement.h"
#include "i18n/Translate.h"
#include "platform/WriteError.h"
#include "resources/Icons.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTreeWidget>

void TFBrowser::LoadSettings() {
    IniFile ini(FPaths.SettingsPath());
    if (!ini.Load())
        FPrompts.Error(this, ini.ErrorText()); // the defaults hold; nothing is lost
    BrowserSettings& settings = FSession.Settings();
    settings = ReadSettings(ini, DefaultLanguage());
    FLayout->Apply(settings);
    FFileList->ApplyColumnWidths(settings.MainListView);
    FFileList->ShowDatabaseColumn(settings.DatabaseColumnVisible);
    ApplyExportCodePage();
    for (int column = 0; column < 2; ++column) {
        const int width = settings.DBListView[size_t(column)];
        DBInfo->AdvListViewDB->setColumnWidth(
            column, width != -1 ? width : DesignedDBListWidths[size_t(column)]);
    }
    for (const QString& favourite : settings.Favorites) {
        if (QFileInfo(favourite).isDir())
            AddFavorite(favourite);
        else
            FAbsentFavorites << favourite;
    }
}

void TFBrowser::ApplyExportCodePage() {
    Contents->SetCodePage(CodePage::Named(FSession.Settings().ExportEncoding).value_or(CodePage()));
}

void TFBrowser::SaveSettings() {
    IniFile ini(FPaths.SettingsPath());
    if (!ini.Load())
        throw EWriteError(ini.ErrorText().toStdString());
    BrowserSettings s = FSession.Settings();
    s.StartPath = StartPathToWrite(s, TreeFolder());
    FLayout->Take(s);
    s.MainListView = FFileList->ColumnWidths();
    s.DatabaseColumnVisible = FFileList->DatabaseColumnShown();
    for (int column = 0; column < 2; ++column)
        s.DBListView[size_t(column)] = DBInfo->AdvListViewDB->columnWidth(column);
    s.Favorites.clear();
    for (QAction* item : MIFavorites->actions())
        if (item != FAddFavoriteItem)
            s.Favorites << item->data().toString();
    s.Favorites << FAbsentFavorites;
    WriteSettings(ini, s);
    ini.Save();
}

void TFBrowser::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    FLayout->WindowShown();
}

void TFBrowser::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    FLayout->WindowMoved();
}

void TFBrowser::AddFavorite(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return;
    auto* item = new QAction(BriskoIcon(IconId::FavoriteFolder), MenuCaption(path), MIFavorites);
    item->setData(path); // the caption is the path made fit for a menu
    MIFavorites->addAction(item);
}

void TFBrowser::FavoriteClick(QAction* item) {
    if (item == FAddFavoriteItem) {
        AddFavorite(TreeFolder());
        return;
    }
    ShowDetails(QString());
    ListFolder(item->data().toString());
}
