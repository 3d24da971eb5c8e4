// The real dialogs and the desktop's services.
#pragma once

#include "core/Prompts.h"

class DesktopPrompts : public Prompts {
public:
    void Information(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    bool Confirm(QWidget* parent, const QString& text) override;
    OverwriteAnswer AskOverwrite(QWidget* parent, const QString& text) override;
    QString PickFolder(QWidget* parent, const QString& caption, const QString& start) override;
    QString PickFile(QWidget* parent, const QString& caption, const QString& start,
                     const QString& filters) override;
    QString PickSaveFile(QWidget* parent, const QString& caption, const QString& start,
                         const QString& filters, QString* filter) override;
    bool OpenUrl(const QUrl& url) override;
    std::optional<QString> AskText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& initial) override;
    int ExecDialog(QDialog* dialog) override;
};
