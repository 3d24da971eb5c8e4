#include "dialogs/TFInfo.h"

#include "common/PalmText.h"
#include "core/CellOrdering.h"
#include "core/Prompts.h"
#include "creators/CreatorCatalogue.h"
#include "i18n/Translate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

constexpr int ColumnCount = 4;
constexpr int ColumnWidths[ColumnCount] = {80, 150, 220, 150};
constexpr QSize DesignedSize(639, 439);

// The creator ID's bytes, kept beside the decoded text: the lookup must be byte for byte.
constexpr int CreatorBytesRole = Qt::UserRole;

QIcon ButtonIcon(const char* themeName, QStyle::StandardPixmap fallback, const QStyle* style) {
    return QIcon::fromTheme(QString::fromLatin1(themeName), style->standardIcon(fallback));
}

// The answer of an input box as the catalogue's bytes. A cancelled box, and one confirmed
// unchanged, keep the entry's bytes as they were: a text that is no valid UTF-8 (a catalogue
// written in another encoding) would not survive the way through the box.
std::string Answer(const std::optional<QString>& answer, const QString& shown,
                   const std::string& before) {
    if (!answer || *answer == shown)
        return before;
    return answer->toStdString();
}

} // namespace

TFInfo::TFInfo(ListeDerLinks& catalogue, Prompts& prompts, QWidget* parent)
    : QDialog(parent), LVIDs(new QTreeWidget(this)), SBEdit(new QPushButton(this)),
      SBReset(new QPushButton(this)), SBClose(new QPushButton(this)), FCatalogue(catalogue),
      FPrompts(prompts), FCollator(CellCollator()) {
    setObjectName(QStringLiteral("TFInfo"));
    setWindowTitle(Translated("Creator IDs"));

    LVIDs->setObjectName(QStringLiteral("LVIDs"));
    LVIDs->setColumnCount(ColumnCount);
    LVIDs->setHeaderLabels({Translated("Creator ID"), Translated("Program"),
                            Translated("Description"), Translated("URL")});
    for (int column = 0; column < ColumnCount; ++column)
        LVIDs->setColumnWidth(column, ColumnWidths[column]);
    LVIDs->setRootIsDecorated(false);
    LVIDs->setUniformRowHeights(true);
    LVIDs->setAllColumnsShowFocus(true);
    LVIDs->setSelectionMode(QAbstractItemView::SingleSelection);
    LVIDs->setSelectionBehavior(QAbstractItemView::SelectRows);
    LVIDs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LVIDs->setAlternatingRowColors(true);
    // The selected row stays marked as strongly while a button has the focus.
    QPalette palette = LVIDs->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    LVIDs->setPalette(palette);
    QHeaderView* header = LVIDs->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, &TFInfo::SortColumnClick);
    connect(LVIDs, &QTreeWidget::itemDoubleClicked, this, [this] { SBEditClick(); });
    connect(LVIDs, &QTreeWidget::itemSelectionChanged, this, &TFInfo::UpdateButtons);

    SBEdit->setObjectName(QStringLiteral("SBEdit"));
    SBEdit->setText(Translated("&Edit selected item"));
    SBEdit->setIcon(ButtonIcon("document-edit", QStyle::SP_FileDialogDetailedView, style()));
    SBEdit->setDefault(true); // Enter in the list edits the selected row
    SBReset->setObjectName(QStringLiteral("SBReset"));
    SBReset->setText(Translated("&Reset selected item"));
    SBReset->setIcon(ButtonIcon("edit-clear", QStyle::SP_DialogResetButton, style()));
    SBReset->setAutoDefault(false);
    SBClose->setObjectName(QStringLiteral("SBClose"));
    SBClose->setText(Translated("&Close"));
    SBClose->setIcon(ButtonIcon("window-close", QStyle::SP_DialogCloseButton, style()));
    SBClose->setAutoDefault(false);
    connect(SBEdit, &QPushButton::clicked, this, &TFInfo::SBEditClick);
    connect(SBReset, &QPushButton::clicked, this, &TFInfo::SBResetClick);
    connect(SBClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SBEdit);
    buttons->addWidget(SBReset);
    buttons->addWidget(SBClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LVIDs, 1);
    layout->addLayout(buttons);
    setTabOrder(LVIDs, SBEdit);
    setTabOrder(SBEdit, SBReset);
    setTabOrder(SBReset, SBClose);

    // Fixed as designed, grown only where a translation needs more room for the buttons.
    setFixedSize(DesignedSize.expandedTo(sizeHint()));
    UpdateButtons();
}

void TFInfo::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again, but not opened again.
    if (!event->spontaneous()) {
        Fill();
        LVIDs->setFocus();
    }
    QDialog::showEvent(event);
}

void TFInfo::Fill() {
    LVIDs->setUpdatesEnabled(false);
    LVIDs->clear();
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < FCatalogue.LinkCount(); ++i) {
        const TLinks* entry = FCatalogue.LinkAt(i);
        auto* row = new QTreeWidgetItem(QStringList{PalmTextToQString(entry->CreatorID),
                                                    Utf8OrWindows1252ToQString(entry->Program),
                                                    Utf8OrWindows1252ToQString(entry->Description),
                                                    Utf8OrWindows1252ToQString(entry->URL)});
        row->setData(0, CreatorBytesRole, QByteArray::fromStdString(entry->CreatorID));
        rows.append(row);
    }
    LVIDs->addTopLevelItems(rows);
    SortRows(0, Qt::AscendingOrder);
    // A row to start from, so that Enter edits and the arrows move from the top.
    if (QTreeWidgetItem* first = LVIDs->topLevelItem(0))
        LVIDs->setCurrentItem(first);
    LVIDs->setUpdatesEnabled(true);
    UpdateButtons();
}

void TFInfo::SortColumnClick(int column) {
    const Qt::SortOrder order = column == FSortColumn && FSortOrder == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    SortRows(column, order);
}

void TFInfo::SortRows(int column, Qt::SortOrder order) {
    FSortColumn = column;
    FSortOrder = order;
    QTreeWidgetItem* current = LVIDs->currentItem();
    const QList<QTreeWidgetItem*> selected = LVIDs->selectedItems();

    struct Keyed {
        CellSortKey key;
        QTreeWidgetItem* row;
    };
    std::vector<Keyed> rows;
    const QList<QTreeWidgetItem*> taken = LVIDs->invisibleRootItem()->takeChildren();
    rows.reserve(size_t(taken.size()));
    for (QTreeWidgetItem* row : taken)
        rows.push_back({MakeCellSortKey(row->text(column)), row});
    // Stable, so that rows equal in this column keep their order in both directions.
    const int sign = order == Qt::AscendingOrder ? 1 : -1;
    std::stable_sort(rows.begin(), rows.end(), [&](const Keyed& a, const Keyed& b) {
        return sign * CompareCellKeys(a.key, b.key, FCollator) < 0;
    });
    QList<QTreeWidgetItem*> sorted;
    for (const Keyed& row : rows)
        sorted.append(row.row);
    LVIDs->addTopLevelItems(sorted);

    LVIDs->header()->setSortIndicator(column, order);
    if (current)
        LVIDs->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* row : selected)
        row->setSelected(true);
    if (current)
        LVIDs->scrollToItem(current);
}

void TFInfo::UpdateButtons() {
    const bool one = LVIDs->selectedItems().size() == 1;
    SBEdit->setEnabled(one);
    SBReset->setEnabled(one);
}

QTreeWidgetItem* TFInfo::SelectedRow(int& index, std::string& creatorID) const {
    const QList<QTreeWidgetItem*> selected = LVIDs->selectedItems();
    if (selected.size() != 1)
        return nullptr;
    creatorID = selected.first()->data(0, CreatorBytesRole).toByteArray().toStdString();
    index = FCatalogue.FindLink(creatorID);
    return index == -1 ? nullptr : selected.first();
}

void TFInfo::SBEditClick() {
    int index = -1;
    std::string creatorID;
    QTreeWidgetItem* row = SelectedRow(index, creatorID);
    if (!row)
        return;
    const TLinks before = *FCatalogue.LinkAt(index);
    const QString suffix = QStringLiteral(" (") + row->text(0) + u')';
    // All three boxes are asked, also after a Cancel.
    auto ask = [&](const char* caption, const char* prompt, const std::string& text) {
        const QString shown = Utf8OrWindows1252ToQString(text);
        return Answer(
            FPrompts.AskText(this, Translated(caption) + suffix, Translated(prompt), shown), shown,
            text);
    };
    const std::string program =
        ask(N_("Program"), N_("Please enter the program name:"), before.Program);
    const std::string description =
        ask(N_("Description"), N_("Please enter the description:"), before.Description);
    const std::string url = ask(N_("URL"), N_("Please enter the programs URL:"), before.URL);

    FCatalogue.UpdateLink(creatorID, program, description, url, index);
    row->setText(1, Utf8OrWindows1252ToQString(program));
    row->setText(2, Utf8OrWindows1252ToQString(description));
    row->setText(3, Utf8OrWindows1252ToQString(url));
}

void TFInfo::SBResetClick() {
    int index = -1;
    std::string creatorID;
    QTreeWidgetItem* row = SelectedRow(index, creatorID);
    if (!row)
        return;
    FCatalogue.UpdateLink(creatorID, {}, {}, {}, index);
    for (int column = 1; column < ColumnCount; ++column)
        row->setText(column, QString());
}
