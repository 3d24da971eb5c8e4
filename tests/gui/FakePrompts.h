// Answers the window's questions in tests and records what it told the user or would
// have opened.
#pragma once

#include "browser/Prompts.h"

#include <deque>

class FakePrompts : public Prompts {
public:
    QStringList Messages; // information and errors, in order
    QList<QUrl> Opened;
    QStringList Questions;
    std::deque<bool> ConfirmAnswers;
    std::deque<OverwriteAnswer> OverwriteAnswers;
    std::deque<QString> PickedFolders;
    std::deque<QString> PickedFiles;

    void Information(QWidget*, const QString& text) override { Messages << text; }
    void Error(QWidget*, const QString& text) override { Messages << text; }
    bool Confirm(QWidget*, const QString& text) override {
        Questions << text;
        return Next(ConfirmAnswers, false);
    }
    OverwriteAnswer AskOverwrite(QWidget*, const QString& text) override {
        Questions << text;
        return Next(OverwriteAnswers, OverwriteAnswer::No);
    }
    QString PickFolder(QWidget*, const QString&, const QString&) override {
        return Next(PickedFolders, QString());
    }
    QString PickFile(QWidget*, const QString&, const QString&, const QString&) override {
        return Next(PickedFiles, QString());
    }
    bool OpenUrl(const QUrl& url) override {
        Opened << url;
        return true;
    }

private:
    template <typename T> static T Next(std::deque<T>& answers, T fallback) {
        if (answers.empty())
            return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
