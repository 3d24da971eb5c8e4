#include "gui/DetailsPanels.h"

#include "common/PalmText.h"
#include "core/BrowserSettings.h"
#include "core/Prompts.h"
#include "creators/CreatorCatalogue.h"
#include "i18n/Translate.h"
#include "resources/Icons.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

GeneralPanel::GeneralPanel(Prompts& prompts, QWidget* parent)
    : QWidget(parent), tbxlTitle(new QLabel(this)), TBXLink(new QLabel(this)),
      tbxlFileInfo(new QLabel(this)), FPrompts(prompts) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    QFont titleFont = tbxlTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    tbxlTitle->setFont(titleFont);
    tbxlTitle->setWordWrap(true);
    tbxlTitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Catalogue texts are what someone typed, never markup.
    tbxlTitle->setTextFormat(Qt::PlainText);

    TBXLink->setTextFormat(Qt::RichText);
    TBXLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    TBXLink->setOpenExternalLinks(false);
    TBXLink->setWordWrap(true);
    connect(TBXLink, &QLabel::linkActivated, this,
            [this](const QString& link) { FPrompts.OpenUrl(QUrl::fromUserInput(link)); });

    tbxlFileInfo->setWordWrap(true);
    tbxlFileInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tbxlFileInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tbxlFileInfo->setTextFormat(Qt::PlainText);

    layout->addWidget(tbxlTitle);
    layout->addWidget(TBXLink);
    layout->addWidget(tbxlFileInfo, 1);
    Clear();
}

void GeneralPanel::Clear() {
    ShowEntry(nullptr);
}

void GeneralPanel::ShowEntry(const TLinks* entry) {
    QFont font = tbxlTitle->font();
    font.setUnderline(entry != nullptr);
    tbxlTitle->setFont(font);
    if (!entry) {
        tbxlTitle->clear();
        tbxlFileInfo->clear();
        TBXLink->hide();
        return;
    }
    tbxlTitle->setText(entry->Program.empty() ? Translated("Not specified")
                                              : Utf8OrWindows1252ToQString(entry->Program));
    tbxlFileInfo->setText(entry->Description.empty()
                              ? Translated("No description")
                              : Utf8OrWindows1252ToQString(entry->Description));
    if (entry->URL.empty()) {
        TBXLink->hide();
    } else {
        const QString url = Utf8OrWindows1252ToQString(entry->URL);
        TBXLink->setText(
            QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), url.toHtmlEscaped()));
        TBXLink->setToolTip(url);
        TBXLink->show();
    }
}

DatabaseInfoPanel::DatabaseInfoPanel(QWidget* parent)
    : QWidget(parent), AdvListViewDB(new QTreeWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(AdvListViewDB);
    AdvListViewDB->setColumnCount(2);
    AdvListViewDB->setRootIsDecorated(false);
    AdvListViewDB->setUniformRowHeights(true);
    AdvListViewDB->setSelectionMode(QAbstractItemView::NoSelection);
    AdvListViewDB->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AdvListViewDB->setFocusPolicy(Qt::NoFocus);
    AdvListViewDB->setIconSize(QSize(16, 16));
    AdvListViewDB->header()->setStretchLastSection(true);
    AdvListViewDB->setColumnWidth(0, DesignedDBListWidths[0]);
    AdvListViewDB->setColumnWidth(1, DesignedDBListWidths[1]);
    SetColumnCaptions();
}

void DatabaseInfoPanel::SetColumnCaptions() {
    AdvListViewDB->setHeaderLabels({Translated("Header"), Translated("Value")});
}

void DatabaseInfoPanel::AddDetailRow(int index, const QString& value) {
    auto* item = new QTreeWidgetItem(AdvListViewDB);
    item->setText(0, Translated(HeaderRowCaptions()[size_t(index)]));
    item->setText(1, value);
    item->setIcon(0, BriskoIcon(IconId::HeaderRow));
}

void DatabaseInfoPanel::SetDetailRow(int index, const QString& value) {
    if (QTreeWidgetItem* item = AdvListViewDB->topLevelItem(index)) {
        item->setText(1, value);
        item->setToolTip(1, value);
    }
}

void DatabaseInfoPanel::FitHeightToRows() {
    const int rows = AdvListViewDB->topLevelItemCount();
    const int height = AdvListViewDB->header()->sizeHint().height() +
                       rows * AdvListViewDB->sizeHintForRow(0) + 2 * AdvListViewDB->frameWidth() +
                       2;
    FRowsHeight = height;
    updateGeometry();
}

QSize DatabaseInfoPanel::sizeHint() const {
    return QWidget::sizeHint().expandedTo(QSize(0, FRowsHeight));
}

QString DatabaseInfoPanel::DetailValue(int index) const {
    const QTreeWidgetItem* item = AdvListViewDB->topLevelItem(index);
    return item ? item->text(1) : QString();
}

FlagsPanel::FlagsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    for (int i = 0; i < FlagCount; ++i) {
        auto* box = new QCheckBox(Translated(FlagCaptions()[size_t(i)]), this);
        // Shown, not edited: the files are never written.
        box->setEnabled(false);
        layout->addWidget(box);
        Boxes[size_t(i)] = box;
    }
    layout->addStretch(1);
}

void FlagsPanel::SetFlags(const std::array<bool, FlagCount>& flags) {
    for (int i = 0; i < FlagCount; ++i)
        Boxes[size_t(i)]->setChecked(flags[size_t(i)]);
}

void ShowHeaderDetails(GeneralPanel& general, DatabaseInfoPanel& info, FlagsPanel& flags,
                       const TPDBHeader* header, const ListeDerLinks& catalogue) {
    if (!header) {
        general.Clear();
        flags.SetFlags({});
        for (int i = 0; i < HeaderRowCount; ++i)
            info.SetDetailRow(i, QString());
        return;
    }
    const int index = catalogue.FindLink(header->Creator);
    general.ShowEntry(index == -1 ? nullptr : catalogue.LinkAt(index));
    flags.SetFlags(HeaderFlags(*header));
    const auto values = HeaderRowValues(*header, Translated("Unknown"));
    for (int i = 0; i < HeaderRowCount; ++i)
        info.SetDetailRow(i, values[size_t(i)]);
}
