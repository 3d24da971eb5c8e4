#include "gui/WindowParts.h"

#include "gui/ContentsPanel.h"
#include "gui/DetailsPanels.h"
#include "gui/FolderTreeView.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>

namespace {

// What a details panel shows at the least before it scrolls: a few lines.
constexpr int PanelMinimumHeight = 48;

QAction* MakeAction(QObject* parent, const char* caption, IconId icon,
                    const QKeySequence& shortcut = {}, const char* hint = nullptr) {
    auto* action = new QAction(BriskoIcon(icon), Translated(caption), parent);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setToolTip(Translated(hint ? hint : caption));
    return action;
}

QDockWidget* MakeDock(QMainWindow& window, const char* title, const QString& name,
                      QWidget* content) {
    auto* dock = new QDockWidget(Translated(title), &window);
    dock->setObjectName(name);
    dock->setWidget(content);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea | Qt::TopDockWidgetArea);
    return dock;
}

// Stacked at their full heights the three panels need more than a laptop screen has: each
// scrolls within its dock instead, so the window can be as small as the screen.
QWidget* Scrolled(QMainWindow& window, QWidget* panel) {
    auto* area = new QScrollArea(&window);
    area->setWidget(panel);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setMinimumHeight(PanelMinimumHeight);
    return area;
}

} // namespace

void WindowParts::MakeActions(QObject* owner) {
    MICopy = MakeAction(owner, N_("Copy to..."), IconId::CopyTo, Qt::Key_F5);
    MIMove = MakeAction(owner, N_("Move to..."), IconId::MoveTo, Qt::Key_F6);
    MIDelete = MakeAction(owner, N_("Delete"), IconId::Delete, QKeySequence(Qt::Key_Delete),
                          N_("Delete selected file(s)"));
    // The list handles Del itself, once per key press.
    MIDelete->setShortcutContext(Qt::WidgetShortcut);
    MIInstall = MakeAction(owner, N_("Install"), IconId::Install,
                           QKeySequence(Qt::CTRL | Qt::Key_I), N_("Install selected file(s)"));
    MISelectAll =
        MakeAction(owner, N_("Select All"), IconId::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A));
    TBXItem6 = MakeAction(owner, N_("Exit"), IconId::Exit);
    TBXItem1 =
        MakeAction(owner, N_("Refresh"), IconId::Refresh, QKeySequence(Qt::CTRL | Qt::Key_R));
    TBXItem4 = MakeAction(owner, N_("Creator IDs"), IconId::CreatorIds);
    TBXItem3 = MakeAction(owner, N_("Options"), IconId::Options);
    TBXItem5 = MakeAction(owner, N_("Contents"), IconId::HelpContents, QKeySequence(Qt::Key_F1));
    TBXItem2 = MakeAction(owner, N_("About"), IconId::About);
    TBXItem14 = MakeAction(owner, N_("One level up"), IconId::UpOneLevel,
                           QKeySequence(Qt::ALT | Qt::Key_Up));
    MIOpen = MakeAction(owner, N_("Open"), IconId::Open);
    MICheckSelected = new QAction(Translated("Check selected files"), owner);
    MICheckSelected->setToolTip(Translated("Check the selected files (or all listed) for damage"));
    MICheckTree = new QAction(Translated("Check folder tree..."), owner);
    MIExport = new QAction(Translated("Export..."), owner);
    MIExport->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    MIExport->setToolTip(
        Translated("Export memos, addresses, to-dos, appointments and e-books of the selected "
                   "files (or all listed)"));
}

void WindowParts::MakePanels(QMainWindow& window, Prompts& prompts) {
    FFolderTree = new FolderTreeView(&window);
    STVVerzeichnis = FFolderTree;
    STVVerzeichnis->setObjectName(QStringLiteral("STVVerzeichnis"));
    FFolderModel = FFolderTree->ShowFileSystemFolders();
    TBXdpFolders = MakeDock(window, N_("Folders"), QStringLiteral("TBXdpFolders"), STVVerzeichnis);
    window.addDockWidget(Qt::LeftDockWidgetArea, TBXdpFolders);

    General = new GeneralPanel(prompts, &window);
    DBInfo = new DatabaseInfoPanel(&window); // its header list scrolls by itself
    Flags = new FlagsPanel(&window);
    tbxdpGeneral =
        MakeDock(window, N_("General"), QStringLiteral("tbxdpGeneral"), Scrolled(window, General));
    tbxdpDBInfo =
        MakeDock(window, N_("Database information"), QStringLiteral("tbxdpDBInfo"), DBInfo);
    tbxdpFlags =
        MakeDock(window, N_("Flags"), QStringLiteral("tbxdpFlags"), Scrolled(window, Flags));
    for (QDockWidget* dock : {tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
        window.addDockWidget(Qt::RightDockWidgetArea, dock);
    window.resizeDocks({TBXdpFolders, tbxdpGeneral}, {220, 250}, Qt::Horizontal);
    Contents = new ContentsPanel(prompts, &window);
    tbxdpContents = MakeDock(window, N_("Contents"), QStringLiteral("tbxdpContents"), Contents);
    window.addDockWidget(Qt::TopDockWidgetArea, tbxdpContents);

    // The panel toggles are the docks' own view actions: the check mark always tells
    // whether the panel is shown, also after its close button was used.
    MIFolders = TBXdpFolders->toggleViewAction();
    MIFolders->setIcon(BriskoIcon(IconId::Folders));
    MIFolders->setToolTip(Translated("Show/Hide folders"));
    tbxiGeneral = tbxdpGeneral->toggleViewAction();
    tbxiDB = tbxdpDBInfo->toggleViewAction();
    tbxiFlags = tbxdpFlags->toggleViewAction();
    tbxiContents = tbxdpContents->toggleViewAction();
}

void WindowParts::MakeMenusAndBars(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("TBXTBMainMenu"));
    QMenu* files = bar->addMenu(Translated("&Files"));
    files->addActions({MICopy, MIMove, MIDelete, MIInstall});
    files->addSeparator();
    files->addActions({MICheckSelected, MICheckTree});
    files->addSeparator();
    files->addAction(MIExport);
    files->addSeparator();
    files->addAction(MISelectAll);
    files->addSeparator();
    files->addAction(TBXItem6);

    QMenu* view = bar->addMenu(Translated("&View"));
    view->addAction(MIFolders);
    QMenu* fileInfo = view->addMenu(Translated("FileInfo"));
    fileInfo->addActions({tbxiGeneral, tbxiDB, tbxiFlags, tbxiContents});
    view->addAction(TBXItem1);
    view->addSeparator();
    LanguageMenu = view->addMenu(Translated("Language"));
    view->addSeparator();
    view->addActions({TBXItem4, TBXItem3});

    QMenu* help = bar->addMenu(Translated("&Help"));
    help->addActions({TBXItem5, TBXItem2});

    MIFavorites = new QMenu(Translated("Favorites"), &window);
    FAddFavoriteItem = MIFavorites->addAction(BriskoIcon(IconId::FavoriteAdd),
                                              Translated("Add current directory"));

    tbxtbMain = window.addToolBar(Translated("Main Toolbar"));
    tbxtbMain->setObjectName(QStringLiteral("tbxtbMain"));
    tbxtbMain->setIconSize(QSize(32, 32));
    tbxtbMain->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbxtbMain->addActions({MICopy, MIMove, MIInstall, MIDelete});
    tbxtbMain->addSeparator();
    tbxtbMain->addAction(TBXItem1);
    tbxtbMain->addSeparator();
    FFavoritesButton = new QToolButton(tbxtbMain);
    FFavoritesButton->setObjectName(QStringLiteral("MIFavorites"));
    FFavoritesButton->setText(Translated("Favorites"));
    FFavoritesButton->setToolTip(Translated("Favorites"));
    FFavoritesButton->setIcon(BriskoIcon(IconId::Favorites));
    FFavoritesButton->setMenu(MIFavorites);
    FFavoritesButton->setPopupMode(QToolButton::InstantPopup);
    FFavoritesButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbxtbMain->addWidget(FFavoritesButton);
    tbxtbMain->addSeparator();
    tbxtbMain->addActions({MIFolders, TBXItem4});
    tbxtbMain->addSeparator();
    tbxtbMain->addAction(TBXItem3);
    tbxtbMain->addSeparator();
    tbxtbMain->addAction(TBXItem14);

    window.addToolBarBreak();
    tbxtwSystemComboBox = window.addToolBar(Translated("Directory ComboBox"));
    tbxtwSystemComboBox->setObjectName(QStringLiteral("tbxtwSystemComboBox"));
    FolderCombo = new QComboBox(tbxtwSystemComboBox);
    FolderCombo->setEditable(true);
    FolderCombo->setInsertPolicy(QComboBox::NoInsert);
    FolderCombo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    FolderCombo->setToolTip(Translated("Folder"));
    tbxtwSystemComboBox->addWidget(FolderCombo);

    // The bars cannot be closed: the right-click menu of bars and panels offers the
    // panels only.
    for (QToolBar* toolbar : {tbxtbMain, tbxtwSystemComboBox})
        toolbar->toggleViewAction()->setVisible(false);
}

void ShowFolderChain(QComboBox& box, const QString& folder) {
    box.clear();
    QDir dir(folder);
    QStringList chain{QDir::toNativeSeparators(dir.absolutePath())};
    while (dir.cdUp())
        chain.prepend(QDir::toNativeSeparators(dir.absolutePath()));
    QFileIconProvider icons;
    for (const QString& path : chain)
        box.addItem(icons.icon(QFileInfo(path)), path);
    box.setCurrentIndex(int(chain.size()) - 1);
}
