// SPDX-License-Identifier: MIT
#include "core/app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

bool QtTranslations::Install()
{
    if (!installed)
        installed = translator.load(QStringLiteral("qtbase_pl"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                    QCoreApplication::installTranslator(&translator);
    return installed;
}
