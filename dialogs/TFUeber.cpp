#include "dialogs/TFUeber.h"

#include "core/ProgramPaths.h"
#include "core/Prompts.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize DesignedSize(399, 181);
constexpr int PanelHeight = 150;
constexpr QSize LogoSize(146, 105);

// Who makes Brisko; also the translator shown for English, which has no catalogue.
const char* const Maker = "The Brisko developers";
const char* const MakerYears = "2026";

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

WebAddressLabel::WebAddressLabel(const QUrl& address, Prompts& prompts, QWidget* parent)
    : QLabel(address.toString(), parent), FAddress(address), FPrompts(prompts) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(address.toString());
    SetLinkLook(false);
}

void WebAddressLabel::SetLinkLook(bool link) {
    SetTextColour(this, link ? QColor(Qt::blue) : QColor(Qt::black));
    QFont look = font();
    look.setUnderline(link);
    setFont(look);
}

void WebAddressLabel::Open() {
    FPrompts.OpenUrl(FAddress); // a failure is not reported: there is nothing to do about it
}

void WebAddressLabel::enterEvent(QEnterEvent* event) {
    FPointerOver = true;
    SetLinkLook(true);
    QLabel::enterEvent(event);
}

void WebAddressLabel::leaveEvent(QEvent* event) {
    FPointerOver = false;
    SetLinkLook(hasFocus());
    QLabel::leaveEvent(event);
}

void WebAddressLabel::focusInEvent(QFocusEvent* event) {
    SetLinkLook(true);
    QLabel::focusInEvent(event);
}

void WebAddressLabel::focusOutEvent(QFocusEvent* event) {
    SetLinkLook(FPointerOver);
    QLabel::focusOutEvent(event);
}

void WebAddressLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Open();
    QLabel::mouseReleaseEvent(event);
}

void WebAddressLabel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Space) {
        Open();
        return;
    }
    QLabel::keyPressEvent(event);
}

TFUeber::TFUeber(Prompts& prompts, QWidget* parent, bool palmDesktopMissing) : QDialog(parent) {
    setObjectName(QStringLiteral("TFUeber"));
    setWindowTitle(Translated("About"));

    // White whatever the desktop's colours, with dark text on it.
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);
    panel->setFixedHeight(PanelHeight);

    IProgramm = new QLabel(panel);
    IProgramm->setFixedSize(LogoSize);
    IProgramm->setAlignment(Qt::AlignCenter);
    const int side = LogoSize.height();
    IProgramm->setPixmap(BriskoIcon(IconId::Brisko).pixmap(QSize(side, side), devicePixelRatioF()));

    VersionLabel = new QLabel(panel);
    QFont large = VersionLabel->font();
    large.setPixelSize(20);
    VersionLabel->setFont(large);
    VersionLabel->setText(QStringLiteral("Brisko ") + QStringLiteral(BRISKO_VERSION) +
                          QStringLiteral(" beta"));

    LTranslationBy = new QLabel(Translated("Translation by:"), panel);
    const QString translator = CurrentTranslator();
    LTranslator = new QLabel(translator.isEmpty() ? QString::fromUtf8(Maker) : translator, panel);
    LTranslator->setTextFormat(Qt::PlainText); // an e-mail address in <> is text, not markup
    LMaker = new QLabel(QStringLiteral("\u00A9 ") + QString::fromUtf8(MakerYears) + u' ' +
                            QString::fromUtf8(Maker),
                        panel);
    LWeb = new WebAddressLabel(QUrl(QStringLiteral(BRISKO_HOMEPAGE)), prompts, panel);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addStretch(1);
    for (QLabel* label :
         {VersionLabel, LTranslationBy, LTranslator, LMaker, static_cast<QLabel*>(LWeb)}) {
        label->setAlignment(Qt::AlignHCenter);
        texts->addWidget(label, 0, Qt::AlignHCenter);
    }
    texts->addStretch(1);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(6, 6, 12, 6);
    panelLayout->addWidget(IProgramm, 0, Qt::AlignVCenter);
    panelLayout->addLayout(texts, 1);

    BOK = new QPushButton(Translated("OK"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);
    connect(BOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 8, 0);
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(4);
    layout->addWidget(panel);
    if (palmDesktopMissing) {
        LPalmDesktop = new QLabel(NoPalmDesktopText(), this);
        LPalmDesktop->setObjectName(QStringLiteral("LPalmDesktop"));
        LPalmDesktop->setWordWrap(true);
        LPalmDesktop->setContentsMargins(8, 0, 8, 0);
        layout->addWidget(LPalmDesktop);
    }
    layout->addLayout(buttons);
    layout->addStretch(1);

    setTabOrder(BOK, LWeb);
    BOK->setFocus();
    // Fixed as designed, grown only where our fonts or a translation need more room.
    setFixedSize(DesignedSize.expandedTo(sizeHint()));
}
