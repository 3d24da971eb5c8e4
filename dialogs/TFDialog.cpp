#include "dialogs/TFDialog.h"

#include "core/Prompts.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

TFDialog::TFDialog(Prompts& prompts, QWidget* parent) : QDialog(parent), FPrompts(prompts) {
    setObjectName(QStringLiteral("TFDialog"));
    setWindowTitle(Translated("Copy/Move"));

    // The white band across the top holds the picture, the count and the target.
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("Shape1"));
    band->setAutoFillBackground(true);
    QPalette white = band->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(white);

    IKopieren = new QLabel(band);
    IKopieren->setObjectName(QStringLiteral("IKopieren"));
    IKopieren->setPixmap(BriskoOwnIcon(IconId::CopyTo).pixmap(24, 24));
    IVerschieben = new QLabel(band);
    IVerschieben->setObjectName(QStringLiteral("IVerschieben"));
    IVerschieben->setPixmap(BriskoOwnIcon(IconId::MoveTo).pixmap(24, 24));
    IVerschieben->hide();
    LSelected = new QLabel(Translated("Selected Files:"), band);
    LSelected->setObjectName(QStringLiteral("LSelected"));

    EPfad = new QLineEdit(band);
    EPfad->setObjectName(QStringLiteral("EPfad"));
    EPfad->setMinimumWidth(300);
    SpeedButton3 = new QToolButton(band);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SpeedButton3->setToolTip(Translated("Browse..."));
    SpeedButton3->setAutoRaise(true);
    auto* pathLabel = new QLabel(Translated("&Target folder:"), band);
    pathLabel->setBuddy(EPfad);

    auto* top = new QHBoxLayout;
    top->addWidget(IKopieren);
    top->addWidget(IVerschieben);
    top->addSpacing(6);
    top->addWidget(LSelected, 1);
    auto* path = new QHBoxLayout;
    path->addWidget(EPfad, 1);
    path->addWidget(SpeedButton3);
    auto* bandLayout = new QVBoxLayout(band);
    bandLayout->setContentsMargins(16, 14, 10, 14);
    bandLayout->addLayout(top);
    bandLayout->addSpacing(10);
    bandLayout->addWidget(pathLabel);
    bandLayout->addLayout(path);

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("BvlLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    BOK = new QPushButton(Translated("OK"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setEnabled(false);
    BOK->setDefault(true); // Enter confirms, but only while OK is enabled
    Button2 = new QPushButton(Translated("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 6, 10, 8);
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(line);
    layout->addLayout(buttons);
    setSizeGripEnabled(false);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(EPfad, SpeedButton3);
    setTabOrder(SpeedButton3, BOK);
    setTabOrder(BOK, Button2);
    connect(SpeedButton3, &QToolButton::clicked, this, &TFDialog::SpeedButton3Click);
    connect(BOK, &QPushButton::clicked, this, &TFDialog::BOKClick);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFDialog::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFDialog::FormShow() {
    IKopieren->setVisible(CopyMode);
    IVerschieben->setVisible(!CopyMode);
    LSelected->setText(QString::number(FileCount) + Translated(" file(s) selected."));
    EPfad->setText(TargetFolder);
    BOK->setEnabled(!EPfad->text().isEmpty());
    setWindowTitle(CopyMode ? Translated("Copy") : Translated("Move"));
    EPfad->setFocus();
}

void TFDialog::SpeedButton3Click() {
    // At the folder the dialog was given (the last confirmed target), not at the text.
    const QString chosen = FPrompts.PickFolder(this, Translated("Target folder"), TargetFolder);
    if (!chosen.isEmpty()) {
        EPfad->setText(chosen);
        BOK->setEnabled(true);
    } else if (EPfad->text().isEmpty()) {
        BOK->setEnabled(false);
    }
}

void TFDialog::BOKClick() {
    TargetFolder = EPfad->text();
    accept();
}
