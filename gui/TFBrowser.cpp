#include "gui/TFBrowser.h"

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
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QUrl>

namespace {
// Room for the four list columns between the folder tree and the details panels.
constexpr int DesignedWidth = 1120;
constexpr int DesignedHeight = 760;
} // namespace

TFBrowser::TFBrowser(ProgramPaths paths, Prompts& prompts, QString startFolder, QWidget* parent)
    : QMainWindow(parent), FPaths(std::move(paths)), FPrompts(prompts) {
    setObjectName(QStringLiteral("TFBrowser"));
    setWindowTitle(QStringLiteral("Brisko"));
    setWindowIcon(BriskoIcon(IconId::Brisko));
    resize(DesignedWidth, DesignedHeight);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

    ChooseLanguage();
    MakeActions(this);
    CreateCentralList();
    MakePanels(*this, FPrompts);
    MakeMenusAndBars(*this);
    WireCommands();
    FLayout = std::make_unique<WindowPlacement>(
        *this,
        std::vector<LaidOutPanel>{{TBXdpFolders, &BrowserSettings::TreeViewVisible},
                                  {tbxdpGeneral, &BrowserSettings::FileInfoGeneralVisible},
                                  {tbxdpDBInfo, &BrowserSettings::FileInfoDBVisible},
                                  {tbxdpFlags, &BrowserSettings::FileInfoFlagsVisible},
                                  {tbxdpContents, &BrowserSettings::FileInfoContentsVisible}},
        std::vector<QToolBar*>{tbxtbMain, tbxtwSystemComboBox}, TBXdpFolders);

    FStatusLabel = new QLabel(this);
    FStatusLabel->setTextFormat(Qt::PlainText); // it shows paths, which are no markup
    statusBar()->addWidget(FStatusLabel, 1);
    CreateFileOperations();

    FormCreate(startFolder);
}

TFBrowser::~TFBrowser() = default;

void TFBrowser::WireCommands() {
    connect(MISelectAll, &QAction::triggered, this, [this] { SelectAll(); });
    connect(TBXItem6, &QAction::triggered, this, &QWidget::close);
    connect(TBXItem1, &QAction::triggered, this, [this] { Run([this] { Refresh(); }); });
    connect(TBXItem14, &QAction::triggered, this, [this] { Run([this] { GoUpOneLevel(); }); });
    connect(TBXItem5, &QAction::triggered, this, [this] { ShowHelp(); });
    connect(TBXItem4, &QAction::triggered, this, &TFBrowser::TBXItem4Click);
    connect(TBXItem3, &QAction::triggered, this, &TFBrowser::TBXItem3Click);
    connect(TBXItem2, &QAction::triggered, this, &TFBrowser::TBXItem2Click);
    connect(MIFavorites, &QMenu::triggered, this,
            [this](QAction* item) { Run([this, item] { FavoriteClick(item); }); });
    connect(STVVerzeichnis->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { OnTreeSelectionChanged(); });
    // A folder chosen from the drop-down; Enter in the box is eventFilter's, as the box
    // itself ignores Enter on a text that none of its items holds.
    connect(FolderCombo, &QComboBox::textActivated, this,
            [this](const QString& text) { ListTypedFolder(text); });
    // The box has the keyboard focus and hands keys to its edit field directly.
    FolderCombo->installEventFilter(this);
    FolderCombo->lineEdit()->installEventFilter(this);
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

    QAction* separators[] = {new QAction(this), new QAction(this), new QAction(this)};
    for (QAction* separator : separators)
        separator->setSeparator(true);
    // The popup menu; it also makes Del act where the list has the focus only, so
    // that it never deletes files while a path is typed elsewhere.
    AdvListView->addActions({MIOpen, separators[0], MICopy, MIMove, MIDelete, separators[1],
                             MIInstall, separators[2], MIExport});
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
