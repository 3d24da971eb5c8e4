#include "gui/ExportDialog.h"

#include "core/BrowserSettings.h"
#include "core/Prompts.h"
#include "export/CodePage.h"
#include "i18n/Placeholders.h"
#include "i18n/Translate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ExportDialog::ExportDialog(Prompts& prompts, qsizetype fileCount, const BrowserSettings& choices,
                           QWidget* parent)
    : QDialog(parent), FPrompts(prompts) {
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(Translated("Export"));

    auto* heading = new QLabel(
        FillPlaceholders(TranslatedPlural("Export the memos, addresses, to-dos, appointments and "
                                          "e-books of %d file into files of today's formats.",
                                          "Export the memos, addresses, to-dos, appointments and "
                                          "e-books of %d files into files of today's formats.",
                                          static_cast<unsigned long>(fileCount)),
                         {{u"%d", QString::number(fileCount)}}),
        this);
    heading->setWordWrap(true);

    // The first time, a folder of its own in the home folder: never the backup's folder,
    // whose listing the exported files would only clutter.
    const QString folder = choices.ExportFolder.isEmpty()
                               ? QDir(QDir::homePath()).filePath(Translated("Palm export"))
                               : choices.ExportFolder;
    FolderEdit = new QLineEdit(QDir::toNativeSeparators(folder), this);
    FolderEdit->setObjectName(QStringLiteral("ExportFolder"));
    FolderEdit->setMinimumWidth(360);
    BrowseButton = new QPushButton(Translated("Browse..."), this);
    connect(BrowseButton, &QPushButton::clicked, this, &ExportDialog::Browse);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(FolderEdit, 1);
    folderRow->addWidget(BrowseButton);

    NaturalFormat = new QRadioButton(
        Translated("&Today's formats: memos and e-books as text, addresses as vCard, "
                   "to-dos and appointments as iCalendar"),
        this);
    CsvFormat = new QRadioButton(
        Translated("&CSV for memos, addresses and to-dos (appointments stay iCalendar)"), this);
    (choices.ExportFormat == QLatin1StringView("csv") ? CsvFormat : NaturalFormat)
        ->setChecked(true);
    auto* formats = new QGroupBox(Translated("Format"), this);
    auto* formatLayout = new QVBoxLayout(formats);
    formatLayout->addWidget(NaturalFormat);
    formatLayout->addWidget(CsvFormat);

    EncodingBox = new QComboBox(this);
    EncodingBox->setObjectName(QStringLiteral("ExportEncoding"));
    for (const QString& name : OfferedCodePageNames())
        EncodingBox->addItem(name + QStringLiteral(" (") + CodePageLanguages(name) + u')', name);
    // A name stored by hand that the list lacks is still offered, if Qt knows it.
    int current = -1;
    for (int i = 0; i < EncodingBox->count() && current < 0; ++i)
        if (EncodingBox->itemData(i).toString().compare(choices.ExportEncoding,
                                                        Qt::CaseInsensitive) == 0)
            current = i;
    if (current < 0 && CodePage::Named(choices.ExportEncoding)) {
        EncodingBox->addItem(choices.ExportEncoding, choices.ExportEncoding);
        current = EncodingBox->count() - 1;
    }
    EncodingBox->setCurrentIndex(std::max(current, 0));
    auto* encodingHint =
        new QLabel(Translated("The handheld's language decides: Windows-1252 for Western "
                              "Europe and the Americas, Shift-JIS for Japan."),
                   this);
    encodingHint->setWordWrap(true);

    IncludeDeletedBox = new QCheckBox(Translated("Include &deleted and archived records"), this);
    IncludeDeletedBox->setChecked(choices.ExportIncludeDeleted);

    auto* folderForm = new QFormLayout;
    folderForm->addRow(Translated("&Folder:"), folderRow);
    qobject_cast<QLabel*>(folderForm->labelForField(folderRow))->setBuddy(FolderEdit);
    auto* page = new QGroupBox(Translated("Code &page of the texts"), this);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(EncodingBox);
    pageLayout->addWidget(encodingHint);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    ExportButton = buttons->addButton(Translated("&Export"), QDialogButtonBox::AcceptRole);
    ExportButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // No folder, no export.
    const auto folderGiven = [this] {
        ExportButton->setEnabled(!FolderEdit->text().trimmed().isEmpty());
    };
    connect(FolderEdit, &QLineEdit::textChanged, this, folderGiven);
    folderGiven();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(folderForm);
    layout->addWidget(formats);
    layout->addWidget(page);
    layout->addWidget(IncludeDeletedBox);
    layout->addStretch(1);
    layout->addWidget(buttons);
    FolderEdit->setFocus();
}

QString ExportDialog::Folder() const {
    QString folder = QDir::fromNativeSeparators(FolderEdit->text().trimmed());
    if (folder == u'~' || folder.startsWith(QStringLiteral("~/")))
        folder = QDir::homePath() + folder.mid(1);
    return folder.isEmpty() ? QString() : QDir::cleanPath(folder);
}

void ExportDialog::StoreChoices(BrowserSettings& choices) const {
    choices.ExportFolder = Folder();
    choices.ExportFormat =
        CsvFormat->isChecked() ? QStringLiteral("csv") : QStringLiteral("natural");
    choices.ExportEncoding = EncodingBox->currentData().toString();
    choices.ExportIncludeDeleted = IncludeDeletedBox->isChecked();
}

void ExportDialog::Browse() {
    const QString folder = FPrompts.PickFolder(this, Translated("Export into folder"),
                                               Folder().isEmpty() ? QDir::homePath() : Folder());
    if (!folder.isEmpty())
        FolderEdit->setText(QDir::toNativeSeparators(folder));
}
