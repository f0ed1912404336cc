// SPDX-License-Identifier: MIT
#include "ui/panel/DialogParamPrompt.h"

#include "ui/panel/CParamDlg.h"

void DialogParamPrompt::Ask(const Request& request, const Closed& closed)
{
    CParamDlg dlg(messages, owner);
    dlg.paramCaption = request.caption;
    dlg.paramUnit = request.unit;
    dlg.paramLow = request.low;
    dlg.paramHigh = request.high;
    dlg.paramInitial = request.initial;
    // Keys and clicks that arrive while the dialog closes are handled by its event loop
    // before exec returns; finished comes with the closing itself, ahead of them.
    QObject::connect(&dlg, &QDialog::finished, &dlg, [&dlg, &closed](int result) {
        closed(result == QDialog::Accepted ? std::optional<QString>(dlg.paramText) : std::nullopt);
    });
    dlg.exec();
}
