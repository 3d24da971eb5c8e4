#include "gui/ContentsPanel.h"

#include "common/PalmText.h"
#include "core/ContentsTableModel.h"
#include "core/ExtractRun.h"
#include "core/Prompts.h"
#include "export/EntryPreview.h"
#include "gui/BytesView.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "palmdb/CategoryBlock.h"
#include "platform/NativePath.h"

#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Fixed widths: measuring 65,535 rows for their contents would cost more than filling.
constexpr int ColumnWidth = 80;

} // namespace

ContentsPanel::ContentsPanel(Prompts& prompts, QWidget* parent)
    : QWidget(parent), FPrompts(prompts) {
    FRows = new ContentsTableModel(this);
    FRows->SetProblemIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    FProblems = new QLabel(this);
    FProblems->setObjectName(QStringLiteral("ContentsProblems"));
    FProblems->setTextFormat(Qt::PlainText);
    FProblems->setWordWrap(true);
    FProblems->hide();
    FList = new QTreeView(this);
    FList->setObjectName(QStringLiteral("ContentsList"));
    FList->setModel(FRows);
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setItemsExpandable(false);
    FList->setAllColumnsShowFocus(true);
    FList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setAlternatingRowColors(true);
    FList->header()->setDefaultSectionSize(ColumnWidth);
    FList->header()->setSectionResizeMode(QHeaderView::Interactive);
    FList->header()->setStretchLastSection(false);
    FList->setSortingEnabled(true);
    FList->sortByColumn(0, Qt::AscendingOrder);
    FList->installEventFilter(this);
    ExtractSelectedItem = new QAction(Translated("Extract selected..."), this);
    ExtractAllItem = new QAction(Translated("Extract all..."), this);
    connect(ExtractSelectedItem, &QAction::triggered, this, [this] { ExtractEntries(false); });
    connect(ExtractAllItem, &QAction::triggered, this, [this] { ExtractEntries(true); });
    FList->setContextMenuPolicy(Qt::ActionsContextMenu);
    FList->addActions({ExtractSelectedItem, ExtractAllItem});
    connect(FList, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { ShowEntryBytes(index.row()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FProblems);
    layout->addWidget(FList, 1);
}

void ContentsPanel::ShowFile(const QString& file) {
    FFile = file;
    QStringList problems;
    DatabaseContents contents;
    QStringList categoryNames;
    if (!file.isEmpty()) {
        std::string error;
        const auto source = FileByteSource::Open(EncodePath(file).toStdString(), &error);
        if (!source) {
            problems << FillPlaceholders(Translated("The file cannot be read: %s"),
                                         {{u"%s", QString::fromStdString(error)}});
        } else {
            contents = ReadDatabaseContents(*source);
            if (const auto block = ReadCategoryBlock(*source, contents))
                for (const std::string& name : block->Names)
                    categoryNames << PalmTextToQString(name);
            for (const ContentsProblem problem : contents.Problems)
                problems << Translated(ContentsProblemText(problem));
        }
    }
    FRows->SetContents(std::move(contents), categoryNames);
    FitColumns();
    FList->sortByColumn(0, Qt::AscendingOrder);
    FProblems->setText(problems.join(u'\n'));
    FProblems->setVisible(!problems.isEmpty());
}

void ContentsPanel::FitColumns() {
    // By sample texts as wide as the widest value, not by the rows' contents.
    const bool resources = FRows->Contents().Kind == ContentsKind::Resources;
    const QStringList records{Translated("App info"),
                              QStringLiteral("0x00000000"),
                              QStringLiteral("4294967295"),
                              ContentsTableModel::AttributeText(0xF0),
                              QStringLiteral("15 ") + QString(15, u'W'),
                              QStringLiteral("0x000000")};
    const QStringList resourceSamples{Translated("App info"), QStringLiteral("WWWW"),
                                      QStringLiteral("65535"), QStringLiteral("0x00000000"),
                                      QStringLiteral("4294967295")};
    const QStringList& samples = resources ? resourceSamples : records;
    const QFontMetrics metrics(FList->font());
    for (int column = 0; column < samples.size(); ++column) {
        const QString caption = FRows->headerData(column, Qt::Horizontal).toString();
        const int text = std::max(metrics.horizontalAdvance(samples[column]),
                                  metrics.horizontalAdvance(caption) + ColumnWidth / 4);
        FList->header()->resizeSection(column, text + ColumnWidth / 3);
    }
}

QString ContentsPanel::ProblemText() const {
    return FProblems->text();
}

QList<int> ContentsPanel::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : FList->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

QString ContentsPanel::EntryName(const ContentsEntry& entry) {
    switch (entry.Kind) {
    case ContentsEntryKind::AppInfo:
        return Translated("App info");
    case ContentsEntryKind::SortInfo:
        return Translated("Sort info");
    case ContentsEntryKind::Resource:
        return FillPlaceholders(
            Translated("Resource %type %id"),
            {{u"%type", PalmTextToQString(entry.Type)}, {u"%id", QString::number(entry.Id)}});
    default:
        return FillPlaceholders(Translated("Record %n"), {{u"%n", QString::number(entry.Index)}});
    }
}

BytesView* ContentsPanel::ShowEntryBytes(int row) {
    if (row < 0 || row >= FRows->rowCount())
        return nullptr;
    std::string error;
    auto source = FileByteSource::Open(EncodePath(FFile).toStdString(), &error);
    if (!source) {
        FPrompts.Error(this, FillPlaceholders(Translated("The file cannot be read: %s"),
                                              {{u"%s", QString::fromStdString(error)}}));
        return nullptr;
    }
    const ContentsEntry& entry = FRows->Entry(row);
    const std::optional<QString> preview =
        PreviewEntry(*source, FRows->Contents(), entry, FCodePage);
    auto* view = new BytesView(std::move(source), entry,
                               DisplayName(QFileInfo(FFile).fileName()) + QStringLiteral(" – ") +
                                   EntryName(entry),
                               window());
    if (preview)
        view->ShowPreview(*preview);
    view->show();
    return view;
}

void ContentsPanel::ExtractEntries(bool all) {
    std::vector<ContentsEntry> entries;
    if (all) {
        const DatabaseContents& contents = FRows->Contents();
        if (contents.HasAppInfo)
            entries.push_back(contents.AppInfo);
        if (contents.HasSortInfo)
            entries.push_back(contents.SortInfo);
        entries.insert(entries.end(), contents.Entries.begin(), contents.Entries.end());
    } else {
        for (const int row : SelectedRows())
            entries.push_back(FRows->Entry(row));
    }
    if (entries.empty() || FFile.isEmpty())
        return;
    const QString folder =
        FPrompts.PickFolder(this, Translated("Extract to"), QFileInfo(FFile).absolutePath());
    if (folder.isEmpty())
        return;
    std::string error;
    const auto source = FileByteSource::Open(EncodePath(FFile).toStdString(), &error);
    if (!source) {
        FPrompts.Error(this, FillPlaceholders(Translated("The file cannot be read: %s"),
                                              {{u"%s", QString::fromStdString(error)}}));
        return;
    }
    const ExtractReport report =
        ::ExtractEntries(*source, entries, folder, [this](const QString& name) {
            return FPrompts.AskOverwrite(
                this, FillPlaceholders(Translated("File \"%d\" already exists. Overwrite?"),
                                       {{u"%d", name}}));
        });
    if (!report.FolderError.isEmpty())
        FPrompts.Error(this, FillPlaceholders(Translated("The folder %s cannot be opened: %e"),
                                              {{u"%s", folder}, {u"%e", report.FolderError}}));
    else if (!report.Failures.isEmpty())
        FPrompts.Error(this, Translated("These entries could not be extracted:") + u'\n' +
                                 report.Failures.join(u'\n'));
}

bool ContentsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && FList->currentIndex().isValid()) {
            ShowEntryBytes(FList->currentIndex().row());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
