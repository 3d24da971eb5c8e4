// Progress of a long command: a progress dialog with a Cancel button that appears only
// once the work has lasted a moment, so that short commands show nothing.
#pragma once

#include "i18n/Translate.h"

#include <QProgressDialog>
#include <memory>

class WorkProgress {
public:
    WorkProgress(QWidget* parent, QString label) : FParent(parent), FLabel(std::move(label)) {}

    // Before item done of total; false once the user has cancelled.
    bool Step(size_t done, size_t total) {
        if (total == 0)
            return true;
        if (!FDialog) {
            FDialog = std::make_unique<QProgressDialog>(FLabel, Translated("Cancel"), 0, int(total),
                                                        FParent);
            FDialog->setWindowModality(Qt::WindowModal);
            FDialog->setMinimumDuration(500);
            FDialog->setAutoReset(false);
        }
        FDialog->setValue(int(done));
        return !FDialog->wasCanceled();
    }

private:
    QWidget* FParent;
    QString FLabel;
    std::unique_ptr<QProgressDialog> FDialog;
};
