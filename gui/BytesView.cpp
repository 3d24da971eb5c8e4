#include "gui/BytesView.h"

#include "core/EntryBytesModel.h"
#include "gui/BytesGrid.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

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

void BytesView::CopySelection(bool hex) {
    if (FList->SelectionFirst() < 0)
        return;
    QApplication::clipboard()->setText(
        FBytes->CopyRows(FList->SelectionFirst(), FList->SelectionLast(), hex));
}
