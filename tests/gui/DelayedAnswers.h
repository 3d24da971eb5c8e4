// Answers the real message boxes and dialogs of a run as a person would: each one after
// a pause, at the window that is modal then (QApplication::activeModalWidget()), with
// the mouse or the keyboard. Notes what it found there, so that a test can tell that the
// question it answered was really the window waiting for the user.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>

class DelayedAnswers {
public:
    using Answer = std::function<void(QWidget* modal)>;

    // What was found when an answer was due.
    struct Seen {
        QString What;         // the box's text, or the class of the modal window
        bool ProgressShown;   // a progress dialog was visible (over or under it)
        bool ProgressExists;  // a progress dialog existed, shown or not
        bool AnsweredInOneGo; // the click or key closed it, as it must
    };

    explicit DelayedAnswers(QWidget* window,
                            std::chrono::milliseconds pause = std::chrono::milliseconds(700))
        : FWindow(window), FPause(pause) {
        FTimer.setSingleShot(true);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Look(); });
    }

    // The answers, in order; the first is given a pause after Start.
    void Then(Answer answer, std::chrono::milliseconds pause = std::chrono::milliseconds(-1)) {
        FAnswers.push_back({std::move(answer), pause.count() < 0 ? FPause : pause});
    }
    void Start() {
        if (!FAnswers.empty())
            FTimer.start(FAnswers.front().Pause);
    }
    size_t Unused() const { return FAnswers.size(); }
    const std::vector<Seen>& Found() const { return FFound; }
    QStringList Texts() const {
        QStringList texts;
        for (const Seen& seen : FFound)
            texts << seen.What;
        return texts;
    }

    // Answers that press a message box's button by its text (as the box shows it, with
    // its "&"), or the default button when text is null.
    static Answer Press(const char* text) {
        return [text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box)
                return;
            QAbstractButton* button = nullptr;
            if (!text)
                button = box->defaultButton();
            for (QAbstractButton* candidate : box->buttons())
                if (text && candidate->text() == QString::fromUtf8(text))
                    button = candidate;
            if (button)
                QTest::mouseClick(button, Qt::LeftButton);
        };
    }
    static Answer Key(Qt::Key key) {
        return [key](QWidget* modal) {
            QTest::keyClick(modal, key);
        };
    }
    // The window manager's close button.
    static Answer Close() {
        return [](QWidget* modal) {
            modal->close();
        };
    }

private:
    struct Pending {
        Answer Act;
        std::chrono::milliseconds Pause;
    };

    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) { // the run is still at work: look again soon
            if (++FEmptyLooks < 100)
                FTimer.start(50);
            return;
        }
        FEmptyLooks = 0;
        Seen seen{};
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            seen.What = box->text();
        else
            seen.What = QString::fromLatin1(modal->metaObject()->className());
        for (QProgressDialog* progress : FWindow->findChildren<QProgressDialog*>()) {
            seen.ProgressExists = true;
            seen.ProgressShown = seen.ProgressShown || progress->isVisible();
        }
        if (qobject_cast<QProgressDialog*>(modal)) {
            // Not a question: the box waiting under it cannot be answered. Free it so the
            // test ends, and let the test see what happened.
            FFound.push_back(seen);
            qobject_cast<QProgressDialog*>(modal)->cancel();
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible()) {
                    box->reject();
                    break;
                }
            FTimer.start(50);
            return;
        }
        Pending next = std::move(FAnswers.front());
        FAnswers.pop_front();
        next.Act(modal);
        seen.AnsweredInOneGo = !modal->isVisible();
        if (!seen.AnsweredInOneGo)
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        FFound.push_back(seen);
        if (!FAnswers.empty())
            FTimer.start(FAnswers.front().Pause);
    }

    QWidget* FWindow;
    std::chrono::milliseconds FPause;
    QTimer FTimer;
    std::deque<Pending> FAnswers;
    std::vector<Seen> FFound;
    int FEmptyLooks = 0;
};
