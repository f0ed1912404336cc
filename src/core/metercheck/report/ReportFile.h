// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// Writes a report file (the printed PDF, the workbook) whole or not at all, never over the
// document it is made from (`documentName`, when given), also when the path reaches it through
// a link. False with the cause, one sentence without its full stop, when nothing was written.
bool WriteReportFile(const QString& path, const QByteArray& content, const QString& documentName,
                     QString* cause);
