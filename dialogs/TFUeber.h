// The About box: the program's name and version, who translated the current language, the
// maker and the maker's web address, which opens in the browser when clicked. Its texts are
// made anew at each opening.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

class Prompts;
class QPushButton;

// A web address that looks like a link while the pointer is over it (or while it has the
// keyboard focus) and opens in the browser when clicked, or with Enter or Space.
class WebAddressLabel : public QLabel {
    Q_OBJECT
public:
    WebAddressLabel(const QUrl& address, Prompts& prompts, QWidget* parent = nullptr);
    void Open();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetLinkLook(bool link);

    QUrl FAddress;
    Prompts& FPrompts;
    bool FPointerOver = false;
};

class TFUeber : public QDialog {
    Q_OBJECT
public:
    // palmDesktopMissing: a line says that no Palm Desktop was found at start.
    explicit TFUeber(Prompts& prompts, QWidget* parent = nullptr, bool palmDesktopMissing = false);

    QLabel* IProgramm; // the logo
    QLabel* VersionLabel;
    QLabel* LTranslationBy;
    QLabel* LTranslator;
    QLabel* LMaker;
    WebAddressLabel* LWeb;
    QLabel* LPalmDesktop = nullptr; // only where no Palm Desktop was found
    QPushButton* BOK;
};
