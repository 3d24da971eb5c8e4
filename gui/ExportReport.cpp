#include "gui/ExportReport.h"

#include "core/Prompts.h"
#include "export/ExportRun.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// A text with its count filled in.
QString Counted(const QString& text, qsizetype n) {
    return FillPlaceholders(text, {{u"%d", QString::number(n)}});
}

// A group of the list, open, its items below it.
void AddGroup(QTreeWidget& list, const QString& title, const QStringList& items) {
    if (items.isEmpty())
        return;
    auto* group = new QTreeWidgetItem(&list, {title});
    for (const QString& item : items)
        new QTreeWidgetItem(group, {item});
    group->setExpanded(true);
}

} // namespace

ExportReport::ExportReport(const ExportSummary& summary, const QString& folder, bool cancelled,
                           Prompts& prompts, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ExportReport"));
    setWindowTitle(Translated("Export report"));
    setAttribute(Qt::WA_DeleteOnClose);

    const QString nativeFolder = QDir::toNativeSeparators(folder);
    QString text = FillPlaceholders(
        Counted(TranslatedPlural("%d file written into %s", "%d files written into %s",
                                 static_cast<unsigned long>(summary.Written.size())),
                summary.Written.size()),
        {{u"%s", nativeFolder}});
    text += QStringLiteral(", ") + Counted(Translated("%d skipped."), summary.Skipped.size());
    if (cancelled)
        text += u' ' + Translated("The export was cancelled.");
    FSummary = new QLabel(text, this);
    FSummary->setTextFormat(Qt::PlainText);
    FSummary->setWordWrap(true);

    // Written files by their place in the folder, which the heading names.
    QStringList written;
    const QDir base(folder);
    for (const QString& path : summary.Written)
        written << QDir::toNativeSeparators(base.relativeFilePath(path));
    FList = new QTreeWidget(this);
    FList->setObjectName(QStringLiteral("ExportReportList"));
    FList->setHeaderHidden(true);
    FList->setUniformRowHeights(true);
    FList->setTextElideMode(Qt::ElideMiddle);
    // What was skipped comes first: it is what the user has to look at.
    AddGroup(*FList, Counted(Translated("Skipped (%d)"), summary.Skipped.size()), summary.Skipped);
    AddGroup(*FList, Counted(Translated("Written (%d)"), summary.Written.size()), written);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    OpenFolderButton = buttons->addButton(Translated("&Open folder"), QDialogButtonBox::ActionRole);
    OpenFolderButton->setEnabled(QDir(folder).exists());
    connect(OpenFolderButton, &QPushButton::clicked, this, [this, &prompts, folder] {
        if (!prompts.OpenUrl(QUrl::fromLocalFile(folder)))
            prompts.Error(this, FillPlaceholders(Translated("No program to show %s was found."),
                                                 {{u"%s", QDir::toNativeSeparators(folder)}}));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FSummary);
    layout->addWidget(FList, 1);
    layout->addWidget(buttons);
    resize(720, 400);
}

QString ExportReport::Summary() const {
    return FSummary->text();
}
