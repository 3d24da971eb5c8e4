// Everything the window asks of the user or of the desktop goes through this interface,
// so that tests can answer questions and see what would have been opened.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

enum class OverwriteAnswer { Yes, No, YesToAll, NoToAll };

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
    // Opens a file, folder or web address with the desktop's program for it.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

// The real dialogs and the desktop's services.
class DesktopPrompts : public Prompts {
public:
    void Information(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    OverwriteAnswer AskOverwrite(QWidget* parent, const QString& text) override;
    QString PickFolder(QWidget* parent, const QString& caption, const QString& start) override;
    QString PickFile(QWidget* parent, const QString& caption, const QString& start,
                     const QString& filters) override;
    bool OpenUrl(const QUrl& url) override;
};
