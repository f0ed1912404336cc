// SPDX-License-Identifier: MIT
#include "core/metercheck/window/RecentFileList.h"

#include <QSettings>

namespace {

QSettings Profile()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("r718"));
}

QString EntryKey(const QString& section, int index)
{
    return QStringLiteral("%1/Plik%2").arg(section).arg(index + 1);
}

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

bool SamePath(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

} // namespace

QStringList RecentFileList::Entries(const QString& section)
{
    QSettings settings = Profile();
    QStringList entries;
    for (int i = 0; i < maxEntries; ++i) {
        const QString path = settings.value(EntryKey(section, i)).toString();
        if (!path.isEmpty())
            entries << path;
    }
    return entries;
}

void RecentFileList::Add(const QString& path, const QString& section)
{
    QStringList entries = Entries(section);
    entries.removeIf([&](const QString& e) { return SamePath(e, path); });
    entries.prepend(path);
    Store(entries.mid(0, maxEntries), section);
}

void RecentFileList::Remove(const QString& path, const QString& section)
{
    QStringList entries = Entries(section);
    entries.removeIf([&](const QString& e) { return SamePath(e, path); });
    Store(entries, section);
}

void RecentFileList::Store(const QStringList& entries, const QString& section)
{
    QSettings settings = Profile();
    for (int i = 0; i < maxEntries; ++i) {
        if (i < entries.size())
            settings.setValue(EntryKey(section, i), entries.at(i));
        else
            settings.remove(EntryKey(section, i));
    }
    settings.sync();
}

QString RecentFileList::MenuText(int index, const QString& path)
{
    return QStringLiteral("&%1 ").arg(index + 1) + AbbreviatePath(path);
}

QString RecentFileList::AbbreviatePath(const QString& path, int maxLength)
{
    if (path.size() <= maxLength)
        return path;

    int nameStart = path.size();
    while (nameStart > 0 && !IsSeparator(path.at(nameStart - 1)))
        --nameStart;
    const QString fileName = path.mid(nameStart);
    if (nameStart == 0 || fileName.size() >= maxLength)
        return fileName;

    // The volume stays in front: "C:", "\\server\share" or nothing for a path from the root.
    int volumeLength = 0;
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':')) {
        volumeLength = 2;
    } else if (path.startsWith(QLatin1String("\\\\")) || path.startsWith(QLatin1String("//"))) {
        int separators = 0;
        volumeLength = 2;
        while (volumeLength < path.size()) {
            if (IsSeparator(path.at(volumeLength)) && ++separators == 2)
                break;
            ++volumeLength;
        }
    }
    const QString volume = path.left(volumeLength);
    const QChar separator = path.at(nameStart - 1);
    const QString ellipsis = separator + QStringLiteral("...");

    // The tail: the file name with as many of its folders as fit.
    int tailStart = nameStart - 1; // at the separator before the file name
    if (volume.size() + ellipsis.size() + (path.size() - tailStart) > maxLength)
        return fileName;
    for (int i = tailStart - 1; i > volumeLength; --i) {
        if (!IsSeparator(path.at(i)))
            continue;
        if (volume.size() + ellipsis.size() + (path.size() - i) > maxLength)
            break;
        tailStart = i;
    }
    return volume + ellipsis + path.mid(tailStart);
}
