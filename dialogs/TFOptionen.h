// The Options dialog: the install tool, the start folder and its rule, and the file types
// the list shows. It edits the main window's settings in memory: it reads them when it is
// made and writes them back on "OK" only; the settings file is written at shut-down.
#pragma once

#include <QDialog>

struct BrowserSettings;
class Prompts;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TFOptionen : public QDialog {
    Q_OBJECT
public:
    TFOptionen(BrowserSettings& settings, Prompts& prompts, QWidget* parent = nullptr);

    void SBInstallToolClick();
    void SBBrowseClick();
    void RBRememberLastDirectoryClick();
    // Enables the start folder; with none entered yet it asks for one, and a cancelled
    // picker puts the choice back on "Remember last directory".
    void RBUserDefinedClick();
    // Writes the six settings back, unchecked, and closes.
    void BOKClick();

    QTabWidget* PageControl;
    QLineEdit* EInstallieren;
    QPushButton* SBInstallTool;
    QRadioButton* RBRememberLastDirectory;
    QRadioButton* RBUserDefined;
    QLineEdit* EStandardPfad;
    QPushButton* SBBrowse;
    QCheckBox* CBPRC;
    QCheckBox* CBPDB;
    QCheckBox* CBZip;
    QPushButton* BOK;
    QPushButton* BCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* MakeGeneralPage();
    QWidget* MakeDisplayPage();
    void LoadSettings();
    void EnableStartFolder(bool enabled);

    BrowserSettings& FSettings;
    Prompts& FPrompts;
    bool FShown = false;
};
