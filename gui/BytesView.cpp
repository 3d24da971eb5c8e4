#include "gui/BytesView.h"

#include "core/EntryBytesModel.h"
#include "i18n/Translate.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>
#include <QVBoxLayout>

BytesView::BytesView(std::unique_ptr<ByteSource> source, const ContentsEntry& entry,
                     const QString& title, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("BytesView"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    FBytes = new EntryBytesModel(std::move(source), entry, this);
    FList = new QTreeView(this);
    FList->setObjectName(QStringLiteral("BytesList"));
    FList->setModel(FBytes);
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true); // rows are laid out without being read
    FList->setItemsExpandable(false);
    FList->setAllColumnsShowFocus(true);
    FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    FList->setFont(fixed);
    const QFontMetrics metrics(fixed);
    const int margin = 3 * metrics.horizontalAdvance(u'0');
    FList->header()->resizeSection(EntryBytesModel::OffsetColumn,
                                   metrics.horizontalAdvance(QStringLiteral("00000000")) + margin);
    FList->header()->resizeSection(EntryBytesModel::HexColumn,
                                   metrics.horizontalAdvance(QString(47, u'0')) + margin);
    FList->header()->setStretchLastSection(true);

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
    resize(FList->header()->sectionSize(0) + FList->header()->sectionSize(1) +
               metrics.horizontalAdvance(QString(16, u'0')) + 4 * margin,
           480);
    // A read that fails or meets a shrunken file while rows are shown says so above them.
    connect(FList->verticalScrollBar(), &QAbstractSlider::valueChanged, this, [this] {
        FProblem->setText(FBytes->Problem());
        FProblem->setVisible(!FBytes->Problem().isEmpty());
    });
}

void BytesView::CopySelection(bool hex) {
    // By the selection's ranges: listing the rows of a large entry would cost more than
    // the copy. The rows from the first selected to the last are copied.
    const QItemSelection selection = FList->selectionModel()->selection();
    if (selection.isEmpty())
        return;
    int first = selection.first().top();
    int last = selection.first().bottom();
    for (const QItemSelectionRange& range : selection) {
        first = std::min(first, range.top());
        last = std::max(last, range.bottom());
    }
    QApplication::clipboard()->setText(FBytes->CopyRows(first, last, hex));
}
