#include "dialogs/TFOptionen.h"

#include "core/BrowserSettings.h"
#include "core/Prompts.h"
#include "dialogs/StartFolderChoice.h"
#include "i18n/Translate.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignedSize(375, 288);

// A read-only field that only its "..." button fills, with that button to its right.
QHBoxLayout* FieldWithButton(QLineEdit* field, QPushButton* button) {
    field->setReadOnly(true);
    button->setText(QStringLiteral("..."));
    button->setToolTip(Translated("Browse..."));
    button->setAutoDefault(false);
    // As narrow as the three dots; the field takes the rest of the row.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
    auto* row = new QHBoxLayout;
    row->addWidget(field, 1);
    row->addWidget(button);
    return row;
}

} // namespace

TFOptionen::TFOptionen(BrowserSettings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), PageControl(new QTabWidget(this)), FSettings(settings), FPrompts(prompts) {
    setObjectName(QStringLiteral("TFOptionen"));
    setWindowTitle(Translated("Options"));

    PageControl->addTab(MakeGeneralPage(), Translated("&General"));
    PageControl->addTab(MakeDisplayPage(), Translated("&Display"));

    BOK = new QPushButton(Translated("OK"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);
    BCancel = new QPushButton(Translated("Cancel"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    BCancel->setAutoDefault(false);
    connect(BOK, &QPushButton::clicked, this, &TFOptionen::BOKClick);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addLayout(buttons);

    setTabOrder(PageControl, EInstallieren);
    setTabOrder(EInstallieren, SBInstallTool);
    setTabOrder(SBInstallTool, RBRememberLastDirectory);
    setTabOrder(RBRememberLastDirectory, RBUserDefined);
    setTabOrder(RBUserDefined, EStandardPfad);
    setTabOrder(EStandardPfad, SBBrowse);
    setTabOrder(SBBrowse, CBPRC);
    setTabOrder(CBPRC, CBPDB);
    setTabOrder(CBPDB, CBZip);
    setTabOrder(CBZip, BOK);
    setTabOrder(BOK, BCancel);

    LoadSettings();
    // Fixed as designed, grown only where our fonts or a translation need more room.
    setFixedSize(DesignedSize.expandedTo(sizeHint()));
}

QWidget* TFOptionen::MakeGeneralPage() {
    auto* page = new QWidget;
    EInstallieren = new QLineEdit(page);
    EInstallieren->setObjectName(QStringLiteral("EInstallieren"));
    SBInstallTool = new QPushButton(page);
    SBInstallTool->setObjectName(QStringLiteral("SBInstallTool"));
    auto* installLabel = new QLabel(Translated("&Install Tool:"), page);
    installLabel->setBuddy(SBInstallTool);

    auto* startLabel = new QLabel(Translated("Start in:"), page);
    RBRememberLastDirectory = new QRadioButton(Translated("&Remember last directory"), page);
    RBRememberLastDirectory->setObjectName(QStringLiteral("RBRememberLastDirectory"));
    RBUserDefined = new QRadioButton(Translated("&User defined"), page);
    RBUserDefined->setObjectName(QStringLiteral("RBUserDefined"));
    EStandardPfad = new QLineEdit(page);
    EStandardPfad->setObjectName(QStringLiteral("EStandardPfad"));
    SBBrowse = new QPushButton(page);
    SBBrowse->setObjectName(QStringLiteral("SBBrowse"));

    connect(SBInstallTool, &QPushButton::clicked, this, &TFOptionen::SBInstallToolClick);
    connect(SBBrowse, &QPushButton::clicked, this, &TFOptionen::SBBrowseClick);
    // Clicks, and the arrow keys that move the choice, but not the choice set by the program.
    connect(RBRememberLastDirectory, &QRadioButton::clicked, this,
            &TFOptionen::RBRememberLastDirectoryClick);
    connect(RBUserDefined, &QRadioButton::clicked, this, &TFOptionen::RBUserDefinedClick);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(installLabel);
    layout->addLayout(FieldWithButton(EInstallieren, SBInstallTool));
    layout->addSpacing(10);
    layout->addWidget(startLabel);
    layout->addWidget(RBRememberLastDirectory);
    layout->addWidget(RBUserDefined);
    auto* startRow = FieldWithButton(EStandardPfad, SBBrowse);
    // Under the radio buttons' texts, so that the field reads as belonging to the second.
    startRow->setContentsMargins(20, 0, 0, 0);
    layout->addLayout(startRow);
    layout->addStretch(1);
    return page;
}

QWidget* TFOptionen::MakeDisplayPage() {
    auto* page = new QWidget;
    auto* group = new QGroupBox(Translated("Show the following filetypes:"), page);
    CBPRC = new QCheckBox(Translated("P&RC"), group);
    CBPRC->setObjectName(QStringLiteral("CBPRC"));
    CBPDB = new QCheckBox(Translated("PD&B"), group);
    CBPDB->setObjectName(QStringLiteral("CBPDB"));
    CBZip = new QCheckBox(Translated("&ZIP"), group);
    CBZip->setObjectName(QStringLiteral("CBZip"));
    auto* boxes = new QVBoxLayout(group);
    boxes->addWidget(CBPRC);
    boxes->addWidget(CBPDB);
    boxes->addWidget(CBZip);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

void TFOptionen::LoadSettings() {
    EInstallieren->setText(FSettings.InstallTool);
    EStandardPfad->setText(FSettings.StartPath);
    RBRememberLastDirectory->setChecked(FSettings.RememberLastDirectory);
    RBUserDefined->setChecked(!FSettings.RememberLastDirectory);
    EnableStartFolder(!FSettings.RememberLastDirectory);
    CBPRC->setChecked(FSettings.ShowPRC);
    CBPDB->setChecked(FSettings.ShowPDB);
    CBZip->setChecked(FSettings.ShowZIP);
}

void TFOptionen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (FShown || event->spontaneous())
        return;
    FShown = true;
    // "User defined" without a folder (an edited settings file) asks for one at once,
    // over the dialog rather than before it.
    if (RBUserDefined->isChecked() && EStandardPfad->text().isEmpty())
        QMetaObject::invokeMethod(this, &TFOptionen::RBUserDefinedClick, Qt::QueuedConnection);
}

void TFOptionen::EnableStartFolder(bool enabled) {
    EStandardPfad->setEnabled(enabled);
    SBBrowse->setEnabled(enabled);
}

void TFOptionen::SBInstallToolClick() {
    const QString filters =
        QStringLiteral("Instapp.exe (Instapp.exe);;PInstall.exe (PInstall.exe);;") +
        Translated("All Files") + QStringLiteral(" (*)");
    const QString current = EInstallieren->text();
    const QString start = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    const QString tool = FPrompts.PickFile(this, Translated("Install Tool"), start, filters);
    if (!tool.isEmpty())
        EInstallieren->setText(QDir::toNativeSeparators(tool));
}

void TFOptionen::SBBrowseClick() {
    const QString current = EStandardPfad->text();
    const QString folder = FPrompts.PickFolder(this, Translated("Start folder"),
                                               current.isEmpty() ? QDir::homePath() : current);
    if (!folder.isEmpty())
        EStandardPfad->setText(QDir::toNativeSeparators(folder));
}

void TFOptionen::RBRememberLastDirectoryClick() {
    EnableStartFolder(false);
}

void TFOptionen::RBUserDefinedClick() {
    EnableStartFolder(true);
    const StartFolderChoice choice = ChooseUserDefined(EStandardPfad->text(), [this] {
        SBBrowseClick();
        return EStandardPfad->text();
    });
    if (!choice.UserDefined) {
        RBRememberLastDirectory->setChecked(true);
        EnableStartFolder(false);
    }
}

void TFOptionen::BOKClick() {
    FSettings.InstallTool = EInstallieren->text();
    FSettings.StartPath = EStandardPfad->text();
    FSettings.RememberLastDirectory = RBRememberLastDirectory->isChecked();
    FSettings.ShowPRC = CBPRC->isChecked();
    FSettings.ShowPDB = CBPDB->isChecked();
    FSettings.ShowZIP = CBZip->isChecked();
    accept();
}
