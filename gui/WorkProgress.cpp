#include "gui/WorkProgress.h"

#include "i18n/Translate.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace {

// Its own delay timer starts with it and again with each value at the minimum; showing
// it by hand stops that timer for good, which only the dialog itself may do.
class ProgressDialog : public QProgressDialog {
public:
    using QProgressDialog::QProgressDialog;
    void ShowNow() { forceShow(); }
};

std::chrono::milliseconds ShowDelayValue{500};

// The work running now, outermost first (a command runs to its end on the one thread,
// so there is rarely more than one).
std::vector<WorkProgress*>& RunningWork() {
    static std::vector<WorkProgress*> work;
    return work;
}

bool IsRunning(const WorkProgress* work) {
    const auto& running = RunningWork();
    return std::find(running.begin(), running.end(), work) != running.end();
}

} // namespace

WorkProgress::WorkProgress(QWidget* parent, QString label)
    : FParent(parent), FLabel(std::move(label)) {
    FClock.start();
    RunningWork().push_back(this);
}

WorkProgress::~WorkProgress() {
    auto& running = RunningWork();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

void WorkProgress::SetShowDelay(std::chrono::milliseconds delay) {
    ShowDelayValue = delay;
}

std::chrono::milliseconds WorkProgress::ShowDelay() {
    return ShowDelayValue;
}

qint64 WorkProgress::WorkedMilliseconds() const {
    return FWorkedBefore + (FClock.isValid() ? FClock.elapsed() : 0);
}

bool WorkProgress::Step(size_t done, size_t total) {
    if (total == 0 || FCancelled)
        return !FCancelled;
    if (!FDialog && FPauses == 0 && WorkedMilliseconds() >= ShowDelayValue.count()) {
        // Shown by us, not by the dialog's own timer: that timer would also fire while a
        // question waits for its answer and put the dialog over it.
        auto dialog =
            std::make_unique<ProgressDialog>(FLabel, Translated("Cancel"), 0, int(total), FParent);
        dialog->setWindowModality(Qt::WindowModal);
        dialog->setAutoReset(false);
        dialog->setValue(int(done));
        dialog->ShowNow();
        FDialog = std::move(dialog);
        QCoreApplication::processEvents();
    }
    if (!FDialog)
        return true;
    FDialog->setMaximum(int(total));
    FDialog->setValue(int(done));
    FCancelled = FDialog->wasCanceled();
    return !FCancelled;
}

void WorkProgress::Finish() {
    FDialog.reset();
    auto& running = RunningWork();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
}

void WorkProgress::Pause() {
    if (FPauses++ > 0)
        return;
    FWorkedBefore = WorkedMilliseconds();
    FClock.invalidate();
    if (FDialog)
        FDialog->hide();
}

void WorkProgress::Resume() {
    if (FPauses == 0 || --FPauses > 0)
        return;
    FClock.start();
    if (FDialog && !FDialog->wasCanceled())
        FDialog->show();
}

ProgressPause::ProgressPause() : FPaused(RunningWork()) {
    for (WorkProgress* work : FPaused)
        work->Pause();
}

ProgressPause::~ProgressPause() {
    // Work that has finished meanwhile is not shown again.
    for (WorkProgress* work : FPaused)
        if (IsRunning(work))
            work->Resume();
}
