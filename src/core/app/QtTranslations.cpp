// SPDX-License-Identifier: MIT
#include "core/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations()
{
    // Lives as long as the program and is put in place once.
    static QTranslator translator;
    static bool installed = false;
    if (!installed)
        installed = translator.load(QStringLiteral("qtbase_pl"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                    QCoreApplication::installTranslator(&translator);
    return installed;
}
