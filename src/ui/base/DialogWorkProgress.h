// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/WorkProgress.h"

#include <memory>

class QProgressDialog;
class QWidget;

// The progress of work on the GUI thread, shown to the technician: a busy cursor from the
// first step, and a progress dialog with "Anuluj" once the work lasts longer than half a
// second.
// Between two steps the event loop runs (the windows are repainted; until the dialog is up,
// the user's input waits, and then the dialog holds it away from the window).
class DialogWorkProgress : public WorkProgress
{
public:
    DialogWorkProgress(QWidget* parent, const QString& title);
    ~DialogWorkProgress() override;

    bool Continue(int done, int total, const QString& text) override;
    void Done() override;

    QProgressDialog* Dialog() const { return dialog.get(); }

    // How long work runs before the dialog shows; R718_PROGRESS_AFTER_MS changes it (tests show
    // the dialog of work that a fast machine finishes sooner).
    static int ShowAfterMs();

private:
    std::unique_ptr<QProgressDialog> dialog;
    bool busy = false;
};
