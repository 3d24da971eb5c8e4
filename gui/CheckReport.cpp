#include "gui/CheckReport.h"

#include "core/CheckReportModel.h"
#include "core/Prompts.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"
#include "platform/AtomicFile.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

CheckReport::CheckReport(const CheckRunResult& result, Prompts& prompts, QWidget* parent)
    : QDialog(parent), FPrompts(prompts) {
    setObjectName(QStringLiteral("CheckReport"));
    setWindowTitle(Translated("Check report"));
    setAttribute(Qt::WA_DeleteOnClose);
    FRows = new CheckReportModel(this);
    FRows->SetResult(result);
    FSummary = new QLabel(this);
    FSummary->setTextFormat(Qt::PlainText);
    const auto checked = static_cast<unsigned long>(FRows->FilesChecked());
    FSummary->setText(FillPlaceholders(
        result.Cancelled
            ? TranslatedPlural("Cancelled after %n file: %d damaged, %s suspicious.",
                               "Cancelled after %n files: %d damaged, %s suspicious.", checked)
            : TranslatedPlural("%n file checked: %d damaged, %s suspicious.",
                               "%n files checked: %d damaged, %s suspicious.", checked),
        {{u"%n", QString::number(FRows->FilesChecked())},
         {u"%d", QString::number(FRows->FilesDamaged())},
         {u"%s", QString::number(FRows->FilesSuspicious())}}));
    FList = new QTreeView(this);
    FList->setObjectName(QStringLiteral("CheckReportList"));
    FList->setModel(FRows);
    FList->setRootIsDecorated(false);
    FList->setUniformRowHeights(true);
    FList->setAllColumnsShowFocus(true);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setTextElideMode(Qt::ElideMiddle); // a path's file name is at its end
    FList->setSortingEnabled(true);
    FList->header()->setSortIndicatorShown(false); // in the order checked until a click
    FList->header()->resizeSection(CheckReportModel::FileColumn, 260);
    FList->header()->resizeSection(CheckReportModel::EntryColumn, 50);
    FList->header()->resizeSection(CheckReportModel::SeverityColumn, 90);
    FList->header()->resizeSection(CheckReportModel::CodeColumn, 150);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    SaveButton = buttons->addButton(Translated("Save..."), QDialogButtonBox::ActionRole);
    connect(SaveButton, &QPushButton::clicked, this, &CheckReport::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FSummary);
    layout->addWidget(FList, 1);
    layout->addWidget(buttons);
    resize(900, 420);
}

QString CheckReport::Summary() const {
    return FSummary->text();
}

void CheckReport::Save() {
    const QString text = Translated("Text files (*.txt)");
    const QString csv = Translated("CSV files (*.csv)");
    QString filter = text;
    const QString file =
        FPrompts.PickSaveFile(this, Translated("Save check report"), QDir::homePath(),
                              text + QStringLiteral(";;") + csv, &filter);
    if (file.isEmpty())
        return;
    const bool asCsv = filter == csv || file.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    const QByteArray bytes = (asCsv ? FRows->Csv() : FRows->PlainText()).toUtf8();
    try {
        WriteFileAtomically(file, bytes);
    } catch (const std::exception& error) {
        FPrompts.Error(this, QString::fromUtf8(error.what()));
    }
}
