// Progress of a long command: a progress dialog with a Cancel button that appears only
// once the work has lasted a moment, so that short commands show nothing.
//
// A question or report asked in the middle of the work must never sit under the
// progress dialog, nor have the dialog pop up over it while it waits: every message box
// and dialog of the program opens inside a ProgressPause, which hides the dialogs of the
// work in progress and stops their clocks until the box is answered.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>
#include <chrono>
#include <memory>
#include <vector>

class QWidget;

class WorkProgress {
public:
    WorkProgress(QWidget* parent, QString label);
    ~WorkProgress();
    WorkProgress(const WorkProgress&) = delete;
    WorkProgress& operator=(const WorkProgress&) = delete;

    // Before item done of total; false once the user has cancelled.
    bool Step(size_t done, size_t total);
    // The work is over: the dialog goes before anything is reported.
    void Finish();

    // How long the work runs before the dialog appears; time spent in questions does not
    // count. Tests shorten it.
    static void SetShowDelay(std::chrono::milliseconds delay);
    static std::chrono::milliseconds ShowDelay();

private:
    friend class ProgressPause;
    void Pause();
    void Resume();
    qint64 WorkedMilliseconds() const;

    QWidget* FParent;
    QString FLabel;
    std::unique_ptr<QProgressDialog> FDialog;
    QElapsedTimer FClock;     // runs while the work runs, not during questions
    qint64 FWorkedBefore = 0; // milliseconds of work before the last pause
    int FPauses = 0;
    bool FCancelled = false;
};

// While it lives, every progress of running work is hidden and its clock stopped.
// Nested pauses are fine; the last one to end lets the work show its progress again.
class ProgressPause {
public:
    ProgressPause();
    ~ProgressPause();
    ProgressPause(const ProgressPause&) = delete;
    ProgressPause& operator=(const ProgressPause&) = delete;

private:
    std::vector<WorkProgress*> FPaused;
};
