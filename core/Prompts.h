// Everything the window asks of the user or of the desktop goes through this interface,
// so that tests can answer questions and see what would have been opened. Widgets are only
// named here; the window's library answers with the real message boxes.
#pragma once

#include "core/OverwriteAnswer.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QDialog;
class QWidget;

class Prompts {
public:
    virtual ~Prompts() = default;

    virtual void Information(QWidget* parent, const QString& text) = 0;
    virtual void Error(QWidget* parent, const QString& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& text) = 0;
    virtual OverwriteAnswer AskOverwrite(QWidget* parent, const QString& text) = 0;
    // An existing folder chosen by the user, or empty when cancelled.
    virtual QString PickFolder(QWidget* parent, const QString& caption, const QString& start) = 0;
    // A file chosen by the user, or empty when cancelled. filters as QFileDialog takes them.
    virtual QString PickFile(QWidget* parent, const QString& caption, const QString& start,
                             const QString& filters) = 0;
    // A file name to save to (it may exist; the dialog asked about replacing it), or empty
    // when cancelled. *filter is the filter chosen, on entry the one proposed.
    virtual QString PickSaveFile(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filters, QString* filter) = 0;
    // Opens a file, folder or web address with the desktop's program for it.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // An input box with OK and Cancel, its field starting with initial: the text when
    // confirmed, nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& caption,
                                           const QString& prompt, const QString& initial) = 0;
    // Shows a dialog of the program modally and returns its result (QDialog::Accepted or
    // Rejected); tests fill the dialog in and press its buttons instead.
    virtual int ExecDialog(QDialog* dialog) = 0;
};
