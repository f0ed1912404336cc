// SPDX-License-Identifier: MIT
#include "core/metercheck/report/ReportFile.h"

#include "core/base/FileAccess.h"

bool WriteReportFile(const QString& path, const QByteArray& content, const QString& documentName,
                     QString* cause)
{
    if (!documentName.isEmpty() && SameFile(path, documentName)) {
        *cause = QStringLiteral("To jest plik dokumentu, z którego powstaje raport");
        return false;
    }
    return WriteWholeFile(path, content, cause);
}
