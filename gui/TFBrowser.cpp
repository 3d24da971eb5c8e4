#include "gui/TFBrowser.h"

#include "common/DateTime.h"
#include "common/Errors.h"
#include "common/Helpers.h"
#include "common/IniFile.h"
#include "core/FileListModel.h"
#include "core/LeftoverCleanup.h"
#include "core/Prompts.h"
#include "gui/DetailsPanels.h"
#include "gui/FileListView.h"
#include "gui/FolderTreeView.h"
#include "gui/SelectionCommands.h"
#include "gui/WindowPlacement.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/NativePath.h"
#include "resources/Icons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QFile>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <ctime>

namespace {

// Room for the four list columns between the folder tree and the details panels.
constexpr int DesignedWidth = 1120;
constexpr int DesignedHeight = 760;
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

} // namespace

TFBrowser::TFBrowser(ProgramPaths paths, Prompts& prompts, QString startFolder, QWidget* parent)
    : QMainWindow(parent), FPaths(std::move(paths)), FPrompts(prompts) {
    setObjectName(QStringLiteral("TFBrowser"));
    setWindowTitle(QStringLiteral("Brisko"));
    setWindowIcon(BriskoIcon(IconId::Brisko));
    resize(DesignedWidth, DesignedHeight);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

    ChooseLanguage();
    CreateActions();
    CreateCentralList();
    CreateDocks();
    CreateMenus();
    CreateToolbars();
    FLayout = std::make_unique<WindowPlacement>(
        *this,
        std::vector<LaidOutPanel>{{TBXdpFolders, &BrowserSettings::TreeViewVisible},
                                  {tbxdpGeneral, &BrowserSettings::FileInfoGeneralVisible},
                                  {tbxdpDBInfo, &BrowserSettings::FileInfoDBVisible},
                                  {tbxdpFlags, &BrowserSettings::FileInfoFlagsVisible}},
        std::vector<QToolBar*>{tbxtbMain, tbxtwSystemComboBox}, TBXdpFolders);

    FStatusLabel = new QLabel(this);
    FStatusLabel->setTextFormat(Qt::PlainText); // it shows paths, which are no markup
    statusBar()->addWidget(FStatusLabel, 1);
    CreateFileOperations();

    FormCreate(startFolder);
}

TFBrowser::~TFBrowser() = default;

void TFBrowser::CreateActions() {
    MICopy = MakeAction(this, N_("Copy to..."), IconId::CopyTo, Qt::Key_F5);
    MIMove = MakeAction(this, N_("Move to..."), IconId::MoveTo, Qt::Key_F6);
    MIDelete = MakeAction(this, N_("Delete"), IconId::Delete, QKeySequence(Qt::Key_Delete),
                          N_("Delete selected file(s)"));
    // The list handles Del itself, once per key press.
    MIDelete->setShortcutContext(Qt::WidgetShortcut);
    MIInstall = MakeAction(this, N_("Install"), IconId::Install, QKeySequence(Qt::CTRL | Qt::Key_I),
                           N_("Install selected file(s)"));
    MISelectAll =
        MakeAction(this, N_("Select All"), IconId::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A));
    TBXItem6 = MakeAction(this, N_("Exit"), IconId::Exit);
    TBXItem1 = MakeAction(this, N_("Refresh"), IconId::Refresh, QKeySequence(Qt::CTRL | Qt::Key_R));
    TBXItem4 = MakeAction(this, N_("Creator IDs"), IconId::CreatorIds);
    TBXItem3 = MakeAction(this, N_("Options"), IconId::Options);
    TBXItem5 = MakeAction(this, N_("Contents"), IconId::HelpContents, QKeySequence(Qt::Key_F1));
    TBXItem2 = MakeAction(this, N_("About"), IconId::About);
    TBXItem14 = MakeAction(this, N_("One level up"), IconId::UpOneLevel,
                           QKeySequence(Qt::ALT | Qt::Key_Up));
    MIOpen = MakeAction(this, N_("Open"), IconId::Open);

    // Commands whose operations are not part of this window yet stay inert.
    connect(MISelectAll, &QAction::triggered, this, [this] { SelectAll(); });
    connect(TBXItem6, &QAction::triggered, this, &QWidget::close);
    connect(TBXItem1, &QAction::triggered, this, [this] { Run([this] { Refresh(); }); });
    connect(TBXItem14, &QAction::triggered, this, [this] { Run([this] { GoUpOneLevel(); }); });
    connect(TBXItem5, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(TBXItem4, &QAction::triggered, this, &TFBrowser::TBXItem4Click);
    connect(TBXItem3, &QAction::triggered, this, &TFBrowser::TBXItem3Click);
    connect(TBXItem2, &QAction::triggered, this, &TFBrowser::TBXItem2Click);
}

void TFBrowser::CreateCentralList() {
    FFileList = new FileListView(this);
    AdvListView = FFileList;
    FFileModel = &FFileList->Rows();
    QHeaderView* header = AdvListView->header();
    connect(header, &QHeaderView::sectionClicked, this, &TFBrowser::OnHeaderClicked);
    connect(AdvListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFBrowser::OnSelectionChanged);
    AdvListView->installEventFilter(this);
    AdvListView->viewport()->installEventFilter(this);
    setCentralWidget(AdvListView);

    auto* separator1 = new QAction(this);
    separator1->setSeparator(true);
    auto* separator2 = new QAction(this);
    separator2->setSeparator(true);
    // The popup menu; it also makes Del act where the list has the focus only, so
    // that it never deletes files while a path is typed elsewhere.
    AdvListView->addActions({MIOpen, separator1, MICopy, MIMove, MIDelete, separator2, MIInstall});
}

void TFBrowser::CreateDocks() {
    auto makeDock = [this](const char* title, const QString& name, QWidget* content) {
        auto* dock = new QDockWidget(Translated(title), this);
        dock->setObjectName(name);
        dock->setWidget(content);
        dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                          QDockWidget::DockWidgetFloatable);
        dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                              Qt::TopDockWidgetArea);
        return dock;
    };

    FFolderTree = new FolderTreeView(this);
    STVVerzeichnis = FFolderTree;
    STVVerzeichnis->setObjectName(QStringLiteral("STVVerzeichnis"));
    FFolderModel = FFolderTree->ShowFileSystemFolders();
    connect(STVVerzeichnis->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { OnTreeSelectionChanged(); });

    TBXdpFolders = makeDock(N_("Folders"), QStringLiteral("TBXdpFolders"), STVVerzeichnis);
    addDockWidget(Qt::LeftDockWidgetArea, TBXdpFolders);

    General = new GeneralPanel(FPrompts, this);
    DBInfo = new DatabaseInfoPanel(this);
    Flags = new FlagsPanel(this);
    // Stacked at their full heights the three panels need more than a laptop screen has:
    // each scrolls within its dock instead, so the window can be as small as the screen.
    // The header list scrolls by itself.
    auto scrolled = [this](QWidget* panel) {
        auto* area = new QScrollArea(this);
        area->setWidget(panel);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setMinimumHeight(PanelMinimumHeight);
        return area;
    };
    tbxdpGeneral = makeDock(N_("General"), QStringLiteral("tbxdpGeneral"), scrolled(General));
    tbxdpDBInfo = makeDock(N_("Database information"), QStringLiteral("tbxdpDBInfo"), DBInfo);
    tbxdpFlags = makeDock(N_("Flags"), QStringLiteral("tbxdpFlags"), scrolled(Flags));
    for (QDockWidget* dock : {tbxdpGeneral, tbxdpDBInfo, tbxdpFlags})
        addDockWidget(Qt::RightDockWidgetArea, dock);
    resizeDocks({TBXdpFolders, tbxdpGeneral}, {220, 250}, Qt::Horizontal);

    // The panel toggles are the docks' own view actions: the check mark always tells
    // whether the panel is shown, also after its close button was used.
    MIFolders = TBXdpFolders->toggleViewAction();
    MIFolders->setIcon(BriskoIcon(IconId::Folders));
    MIFolders->setToolTip(Translated("Show/Hide folders"));
    tbxiGeneral = tbxdpGeneral->toggleViewAction();
    tbxiDB = tbxdpDBInfo->toggleViewAction();
    tbxiFlags = tbxdpFlags->toggleViewAction();
}

void TFBrowser::CreateMenus() {
    QMenu* files = menuBar()->addMenu(Translated("&Files"));
    files->addActions({MICopy, MIMove, MIDelete, MIInstall});
    files->addSeparator();
    files->addAction(MISelectAll);
    files->addSeparator();
    files->addAction(TBXItem6);

    QMenu* view = menuBar()->addMenu(Translated("&View"));
    view->addAction(MIFolders);
    QMenu* fileInfo = view->addMenu(Translated("FileInfo"));
    fileInfo->addActions({tbxiGeneral, tbxiDB, tbxiFlags});
    view->addAction(TBXItem1);
    view->addSeparator();
    LanguageMenu = view->addMenu(Translated("Language"));
    view->addSeparator();
    view->addActions({TBXItem4, TBXItem3});

    QMenu* help = menuBar()->addMenu(Translated("&Help"));
    help->addActions({TBXItem5, TBXItem2});

    MIFavorites = new QMenu(Translated("Favorites"), this);
    FAddFavoriteItem = MIFavorites->addAction(BriskoIcon(IconId::FavoriteAdd),
                                              Translated("Add current directory"));
    connect(MIFavorites, &QMenu::triggered, this,
            [this](QAction* item) { Run([this, item] { FavoriteClick(item); }); });
}

void TFBrowser::CreateToolbars() {
    menuBar()->setObjectName(QStringLiteral("TBXTBMainMenu"));

    tbxtbMain = addToolBar(Translated("Main Toolbar"));
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

    addToolBarBreak();
    tbxtwSystemComboBox = addToolBar(Translated("Directory ComboBox"));
    tbxtwSystemComboBox->setObjectName(QStringLiteral("tbxtwSystemComboBox"));
    FolderCombo = new QComboBox(tbxtwSystemComboBox);
    FolderCombo->setEditable(true);
    FolderCombo->setInsertPolicy(QComboBox::NoInsert);
    FolderCombo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    FolderCombo->setToolTip(Translated("Folder"));
    tbxtwSystemComboBox->addWidget(FolderCombo);
    // A folder chosen from the drop-down; Enter in the box is eventFilter's, as the box
    // itself ignores Enter on a text that none of its items holds.
    connect(FolderCombo, &QComboBox::textActivated, this,
            [this](const QString& text) { ListTypedFolder(text); });
    // The box has the keyboard focus and hands keys to its edit field directly.
    FolderCombo->installEventFilter(this);
    FolderCombo->lineEdit()->installEventFilter(this);

    // The bars cannot be closed: the right-click menu of bars and panels offers the
    // panels only.
    for (QToolBar* bar : {tbxtbMain, tbxtwSystemComboBox})
        bar->toggleViewAction()->setVisible(false);
}

void TFBrowser::ListTypedFolder(const QString& text) {
    const QString folder = FSession.ResolveTypedFolder(text);
    if (folder.isEmpty())
        return;
    Run([this, folder] {
        ShowDetails(QString());
        ListFolder(folder);
    });
}

void TFBrowser::FormCreate(const QString& startFolder) {
    FReady = true;
    FTellPalmDesktopMissing = FPaths.PalmDesktopMissing;
    LoadSettings();
    QDir().mkpath(FPaths.TempFolder); // a failure shows when an archive is opened
    RemoveLeftoversOfKilledRuns(FPaths);
    if (!FSession.Catalogue().LoadCreatorIDs(FPaths.CataloguePath()))
        FPrompts.Error(this, FSession.Catalogue().ErrorText());
    BuildLanguageMenu();
    for (int i = 0; i < HeaderRowCount; ++i)
        DBInfo->AddDetailRow(i, QString());
    DBInfo->FitHeightToRows();
    ShowDetails(QString());

    const QString folder = startFolder.isEmpty() ? FSession.Settings().StartPath : startFolder;
    // By its bytes: a start folder from the command line may have a name that is not UTF-8.
    if (!folder.isEmpty() && FolderExists(folder))
        Run([this, folder] { ListFolder(folder); });
    UpdateInstallCommands();
    if (FPaths.IsFirstRun() && QFileInfo::exists(FPaths.ManualPath()))
        ShowHelp(false); // a desktop without a browser is no error at the first start
}

void TFBrowser::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFBrowser::FormClose() {
    // Each step goes on when one before it failed: the window always closes and nothing
    // that could still be saved is lost.
    try {
        SaveSettings();
    } catch (const std::exception& error) {
        FPrompts.Error(this, QString::fromUtf8(error.what()));
    }
    try {
        FSession.Catalogue().SaveCreatorIDs(FPaths.CataloguePath());
    } catch (const std::exception& error) {
        FPrompts.Error(this, QString::fromUtf8(error.what()));
    }
    FSession.Catalogue().ClearLinks();
    CleanTempFolder();
}

void TFBrowser::CleanTempFolder() {
    // What the archive views extracted, and nothing that someone else put into Temp.
    FSession.RemoveExtractedCopies();
}

void TFBrowser::ShowHelp(bool reportFailure) {
    const QString manual = FPaths.ManualPath();
    if (!QFileInfo::exists(manual))
        FPrompts.Error(
            this, FillPlaceholders(Translated("The manual %s is missing."), {{u"%s", manual}}));
    else if (!FPrompts.OpenUrl(QUrl::fromLocalFile(manual)) && reportFailure)
        FPrompts.Error(this, FillPlaceholders(Translated("No program to show %s was found."),
                                              {{u"%s", manual}}));
}

void TFBrowser::UpdateInstallCommands() {
    MIInstall->setEnabled(FSession.Commands().Install);
}

void TFBrowser::SetFileCommands(bool enabled) {
    for (QAction* action : {MICopy, MIMove, MIDelete})
        action->setEnabled(enabled);
    if (enabled)
        UpdateInstallCommands();
    else
        MIInstall->setEnabled(false);
}

void TFBrowser::Run(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        FPrompts.Error(this, QString::fromUtf8(error.what()));
    }
}

bool TFBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (FolderCombo && (watched == FolderCombo || watched == FolderCombo->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ListTypedFolder(FolderCombo->currentText());
            return true;
        }
    }
    if (watched == AdvListView && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return OnListKey(key->key());
    }
    if (watched == AdvListView->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the view has updated the selection for this click.
        QMetaObject::invokeMethod(
            this, [this] { OnListClick(); }, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}
