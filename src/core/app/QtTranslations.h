// SPDX-License-Identifier: MIT
#pragma once

#include <QTranslator>

// Qt's Polish translations (qtbase_pl from Qt's translations folder), so that Qt's own dialogs
// and buttons speak Polish; the program's own texts are Polish already. The application's list
// of translators is Qt's, one per process: the translations are in it from Install() until
// this object ends (a QTranslator leaves the list when it is destroyed).
class QtTranslations
{
public:
    // False when the translations are not installed; Qt's texts then stay English.
    bool Install();

private:
    QTranslator translator;
    bool installed = false;
};
