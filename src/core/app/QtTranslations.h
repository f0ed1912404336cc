// SPDX-License-Identifier: MIT
#pragma once

// Puts Qt's Polish translations (qtbase_pl from Qt's translations folder) in place, so that
// Qt's own dialogs and buttons speak Polish; the program's own texts are Polish already.
// False when the translations are not installed; Qt's texts then stay English.
bool InstallQtTranslations();
