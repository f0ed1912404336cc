// SPDX-License-Identifier: MIT
#include "ui/base/DialogWorkProgress.h"

#include <QApplication>
#include <QProgressDialog>

DialogWorkProgress::DialogWorkProgress(QWidget* parent, const QString& title)
    : dialog(std::make_unique<QProgressDialog>(parent))
{
    dialog->setWindowTitle(title);
    dialog->setCancelButtonText(QStringLiteral("Anuluj"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(ShowAfterMs());
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->reset(); // nothing shows until the work starts
}

int DialogWorkProgress::ShowAfterMs()
{
    bool given = false;
    const int ms = qEnvironmentVariableIntValue("R718_PROGRESS_AFTER_MS", &given);
    return given && ms >= 0 ? ms : 500;
}

DialogWorkProgress::~DialogWorkProgress()
{
    Done();
}

void DialogWorkProgress::Done()
{
    dialog->reset();
    dialog->hide();
    if (busy)
        QApplication::restoreOverrideCursor();
    busy = false;
}

bool DialogWorkProgress::Continue(int done, int total, const QString& text)
{
    if (!busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    busy = true;
    dialog->setMaximum(total);
    dialog->setLabelText(text);
    dialog->setValue(done); // once the dialog is up, this runs the event loop too
    // Until the dialog is up nothing keeps the user's input from the window: it waits.
    if (!dialog->isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !dialog->wasCanceled();
}
