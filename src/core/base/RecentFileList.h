// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// A list of recently used files: up to four full paths, newest first, kept in the user's
// settings (organisation "Modrex", application "r718", entries "Plik1" to "Plik4" of a
// section). Each kind of document keeps its own section: the meter check's is "Recent Files".
class RecentFileList
{
public:
    static constexpr int maxEntries = 4;
    static constexpr int maxMenuPathLength = 20;
    static inline const QString meterChecks = QStringLiteral("Recent Files");
    static inline const QString transducers = QStringLiteral("Recent Transducers");
    static inline const QString programs = QStringLiteral("Recent Programs");

    // The stored entries in order; empty entries are skipped.
    static QStringList Entries(const QString& section = meterChecks);
    // Puts `path` at the top; an equal entry moves there, the list keeps four.
    static void Add(const QString& path, const QString& section = meterChecks);
    // Takes `path` off the list.
    static void Remove(const QString& path, const QString& section = meterChecks);

    // The menu text of entry `index` (0-3): "&1 " and the path shortened to 20 characters.
    static QString MenuText(int index, const QString& path);
    // Shortens a path to at most `maxLength` characters by putting "..." for folders in the
    // middle (C:\...\folder\file.met); the file name always stays whole, alone if need be.
    static QString AbbreviatePath(const QString& path, int maxLength = maxMenuPathLength);

private:
    static void Store(const QStringList& entries, const QString& section);
};
