// SPDX-License-Identifier: MIT
#pragma once

class QDialog;
class QDialogButtonBox;

// The "OK" / "Anuluj" pair of the option dialogs, wired to accept and reject.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);
