// The Copy/Move dialog: asks for the target folder of "Copy to..." and "Move to...".
// The caller sets CopyMode, FileCount and TargetFolder (the last confirmed target),
// shows it, and after OK reads TargetFolder back. It copies nothing itself.
//
// OK is enabled when the dialog opens with a target, or once a folder was chosen with
// the browse button; typing alone does not enable it, and only a cancelled browse over
// an empty field disables it again. The browse button always starts at the folder
// the dialog was given, not at the text typed since.
#pragma once

#include <QDialog>

class Prompts;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TFDialog : public QDialog {
    Q_OBJECT
public:
    explicit TFDialog(Prompts& prompts, QWidget* parent = nullptr);

    bool CopyMode = true;
    int FileCount = 0;
    QString TargetFolder;

    void SpeedButton3Click();
    void BOKClick();

    QLabel* IKopieren;
    QLabel* IVerschieben;
    QLabel* LSelected;
    QLineEdit* EPfad;
    QToolButton* SpeedButton3;
    QPushButton* BOK;
    QPushButton* Button2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    Prompts& FPrompts;
};
