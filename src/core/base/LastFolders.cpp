// SPDX-License-Identifier: MIT
#include "core/base/LastFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString Key(FileKind kind)
{
    switch (kind) {
    case FileKind::Document:
        return QStringLiteral("Folders/Documents");
    case FileKind::Workbook:
        return QStringLiteral("Folders/Workbooks");
    case FileKind::Csv:
        return QStringLiteral("Folders/Csv");
    case FileKind::Report:
        break;
    }
    return QStringLiteral("Folders/Reports");
}

QSettings Profile()
{
    return QSettings(QStringLiteral("Modrex"), QStringLiteral("r718"));
}

} // namespace

QString LastFolder(FileKind kind)
{
    const QString folder = Profile().value(Key(kind)).toString();
    // A folder that has gone (a removed stick, a renamed share) is no place to start.
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

QString StartFolder(FileKind kind)
{
    const QString folder = LastFolder(kind);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

void RememberFolder(FileKind kind, const QString& filePath)
{
    if (filePath.isEmpty())
        return;
    QSettings settings = Profile();
    settings.setValue(Key(kind), QFileInfo(filePath).absolutePath());
}
