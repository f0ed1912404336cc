// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// How long work (printing, exporting) tells how far it got, and learns whether to go on.
class WorkProgress
{
public:
    virtual ~WorkProgress() = default;
    // Before each step: `done` of `total` steps are done; `text` says where the work stands.
    // False when the user cancelled: the work stops before the step.
    virtual bool Continue(int done, int total, const QString& text) = 0;
    // The work is over (what it shows afterwards, a message, comes without the progress).
    virtual void Done() {}
};

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

    static constexpr int showAfterMs = 500;

private:
    std::unique_ptr<QProgressDialog> dialog;
    bool busy = false;
};
