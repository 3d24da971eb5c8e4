// The export dialog: the folder the files go into, the format (today's formats, or CSV),
// the code page the handheld wrote its texts in, and whether deleted and archived records
// go along. It starts with the choices made last time and hands the new ones back.
#pragma once

#include <QDialog>

struct BrowserSettings;
class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    // fileCount: the files to export, for the heading.
    ExportDialog(Prompts& prompts, qsizetype fileCount, const BrowserSettings& choices,
                 QWidget* parent = nullptr);

    // The choices as the settings keep them.
    void StoreChoices(BrowserSettings& choices) const;
    // The folder as typed, "~" taken from the home folder.
    QString Folder() const;

    QLineEdit* FolderEdit;
    QPushButton* BrowseButton;
    QRadioButton* NaturalFormat;
    QRadioButton* CsvFormat;
    QComboBox* EncodingBox;
    QCheckBox* IncludeDeletedBox;
    QPushButton* ExportButton;

private:
    void Browse();

    Prompts& FPrompts;
};
