// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The folder in which each kind of file was last chosen, kept in the user's settings
// (organisation "Modrex", application "r718", section "Folders"), so that the next file
// dialog for that kind starts there.
enum class FileKind
{
    Document, // .met files
    Workbook, // .xlsx exports
    Report,   // PDF files of the printed report
    Csv,      // CSV exports of the history of checks
};

// The folder last used for `kind`, when it still exists; empty otherwise.
QString LastFolder(FileKind kind);
// Where a file dialog for `kind` starts: the folder last used, else the user's home folder
// (never the process's working folder, which may be any folder the desktop started it in,
// read-only ones included).
QString StartFolder(FileKind kind);
// Remembers the folder of the file at `filePath` for `kind`.
void RememberFolder(FileKind kind, const QString& filePath);
