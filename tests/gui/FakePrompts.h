// Answers the window's questions in tests and records what it told the user or would
// have opened.
#pragma once

#include "core/Prompts.h"

#include <QDialog>
#include <deque>
#include <functional>

class FakePrompts : public Prompts {
public:
    QStringList Messages; // information and errors, in order
    QList<QUrl> Opened;
    QStringList Questions;
    std::deque<bool> ConfirmAnswers;
    std::deque<OverwriteAnswer> OverwriteAnswers;
    std::deque<QString> PickedFolders;
    QStringList PickFolderStarts; // where each folder picker opened
    std::deque<QString> PickedFiles;
    struct TextQuestion {
        QString Caption, Prompt, Initial;
    };
    QList<TextQuestion> TextQuestions;
    std::deque<std::optional<QString>> TextAnswers; // nullopt: Cancel; none left: Cancel
    // Each answer fills the dialog in as a user would and returns its result; with none
    // left the dialog is cancelled.
    std::deque<std::function<int(QDialog*)>> DialogAnswers;
    QList<QString> DialogsShown; // their object names

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
    QString PickFolder(QWidget*, const QString&, const QString& start) override {
        PickFolderStarts << start;
        return Next(PickedFolders, QString());
    }
    QString PickFile(QWidget*, const QString&, const QString&, const QString&) override {
        return Next(PickedFiles, QString());
    }
    // Each answer: the file name and the filter chosen.
    std::deque<std::pair<QString, QString>> SavedFiles;
    QString PickSaveFile(QWidget*, const QString&, const QString&, const QString&,
                         QString* filter) override {
        const auto answer = Next(SavedFiles, std::pair<QString, QString>());
        if (filter && !answer.second.isEmpty())
            *filter = answer.second;
        return answer.first;
    }
    bool OpenUrl(const QUrl& url) override {
        Opened << url;
        return true;
    }
    std::optional<QString> AskText(QWidget*, const QString& caption, const QString& prompt,
                                   const QString& initial) override {
        TextQuestions.append({caption, prompt, initial});
        // Not through Next: GCC 12 takes a copied optional<QString> for uninitialised.
        std::optional<QString> answer;
        if (!TextAnswers.empty()) {
            if (TextAnswers.front())
                answer.emplace(*TextAnswers.front());
            TextAnswers.pop_front();
        }
        return answer;
    }
    int ExecDialog(QDialog* dialog) override {
        DialogsShown << dialog->objectName();
        dialog->show(); // as exec() would: the dialog prepares itself when shown
        auto answer = Next(DialogAnswers, std::function<int(QDialog*)>());
        const int result = answer ? answer(dialog) : int(QDialog::Rejected);
        dialog->hide();
        return result;
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
