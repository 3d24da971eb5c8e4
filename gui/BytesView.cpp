#include "gui/BytesView.h"

#include "core/EntryBytesModel.h"
#include "gui/BytesGrid.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The preview's width in average characters: room for an address line or a memo's
// sentence; longer lines wrap.
constexpr int PreviewColumns = 60;
// The narrowest the preview is made to fit a small screen.
constexpr int LeastPreviewColumns = 24;

} // namespace

BytesView::BytesView(std::unique_ptr<ByteSource> source, const ContentsEntry& entry,
                     const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("BytesView"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    FBytes = new EntryBytesModel(std::move(source), entry, this);
    FList = new BytesGrid(*FBytes, this);
    const QFontMetrics metrics(FList->font());
    CopyHexItem = new QAction(Translated("Copy as hex"), this);
    CopyHexItem->setShortcut(QKeySequence::Copy);
    CopyHexItem->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    CopyTextItem = new QAction(Translated("Copy as text"), this);
    connect(CopyHexItem, &QAction::triggered, this, [this] { CopySelection(true); });
    connect(CopyTextItem, &QAction::triggered, this, [this] { CopySelection(false); });
    FList->setContextMenuPolicy(Qt::ActionsContextMenu);
    FList->addActions({CopyHexItem, CopyTextItem});

    FProblem = new QLabel(this);
    FProblem->setTextFormat(Qt::PlainText);
    FProblem->setWordWrap(true);
    FProblem->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FProblem);
    layout->addWidget(FList, 1);
    resize(metrics.horizontalAdvance(QString(8 + 47 + 16 + 12, u'0')) + 40, 480);
    // A read that fails or meets a shrunken file while rows are shown says so above them.
    connect(FList->verticalScrollBar(), &QAbstractSlider::valueChanged, this, [this] {
        FProblem->setText(FBytes->Problem());
        FProblem->setVisible(!FBytes->Problem().isEmpty());
    });
}

void BytesView::ShowPreview(const QString& text) {
    if (!FPreview) {
        auto* pane = new QWidget(this);
        auto* heading = new QLabel(Translated("Preview"), pane);
        FPreview = new QPlainTextEdit(pane);
        FPreview->setObjectName(QStringLiteral("RecordPreview"));
        FPreview->setReadOnly(true);
        auto* paneLayout = new QVBoxLayout(pane);
        paneLayout->setContentsMargins(0, 0, 0, 0);
        paneLayout->addWidget(heading);
        paneLayout->addWidget(FPreview, 1);

        auto* splitter = new QSplitter(Qt::Horizontal, this);
        splitter->setObjectName(QStringLiteral("BytesAndPreview"));
        splitter->setChildrenCollapsible(false);
        layout()->replaceWidget(FList, splitter);
        splitter->addWidget(FList);
        splitter->addWidget(pane);
        // A wider window widens the preview; the bytes keep the width they need.
        splitter->setStretchFactor(0, 0);
        splitter->setStretchFactor(1, 1);

        const int grid = FList->NeededWidth();
        const int average = QFontMetrics(FPreview->font()).averageCharWidth();
        const QMargins margins = layout()->contentsMargins();
        const int frame = margins.left() + margins.right() + splitter->handleWidth();
        const QRect screenArea = screen()->availableGeometry();
        // The preview gives way first when the screen is narrow, the bytes not below theirs.
        const int preview = std::max(
            LeastPreviewColumns * average,
            std::min(PreviewColumns * average, screenArea.width() * 9 / 10 - grid - frame));
        FList->setMinimumWidth(std::min(grid, screenArea.width() / 2));
        pane->setMinimumWidth(LeastPreviewColumns * average);
        resize(std::min(grid + preview + frame, screenArea.width()),
               std::min(height(), screenArea.height() * 9 / 10));
        splitter->setSizes({grid, preview});
    }
    FPreview->setPlainText(text);
}

void BytesView::CopySelection(bool hex) {
    if (FList->SelectionFirst() < 0)
        return;
    QApplication::clipboard()->setText(
        FBytes->CopyRows(FList->SelectionFirst(), FList->SelectionLast(), hex));
}
