// SPDX-License-Identifier: MIT
#include "core/history/HistoryFiles.h"

#include "core/base/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions ownerFolder = ownerOnly | QFile::ExeOwner;
constexpr QFile::Permissions groupAndOthers = QFile::ReadGroup | QFile::WriteGroup |
                                              QFile::ExeGroup | QFile::ReadOther |
                                              QFile::WriteOther | QFile::ExeOther;

// A file that does not exist yet is known by its folder and name.
QString Place(const QString& file)
{
    const QFileInfo info(file);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

QStringList LocalHistoryFiles(const QString& databasePath)
{
    return {databasePath, databasePath + QStringLiteral("-wal"),
            databasePath + QStringLiteral("-shm"), databasePath + QStringLiteral("-journal")};
}

bool IsLocalHistoryFile(const QString& path, const QString& databasePath)
{
    const QString output = Place(path);
    for (const QString& file : LocalHistoryFiles(databasePath))
        if (SameFile(path, file) || output == Place(file))
            return true;
    return false;
}

void PrepareLocalHistoryFile(const QString& databasePath)
{
    // Each missing folder on the way, from the outermost, for the user alone.
    QStringList missing;
    for (QString folder = QFileInfo(databasePath).absolutePath(); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath()) {
        missing.prepend(folder);
        if (QDir(folder).isRoot())
            break;
    }
    // The service's two threads may both be first: a folder the other just made is no failure.
    for (const QString& folder : missing)
        if (!QDir().mkdir(folder, ownerFolder) && !QFileInfo(folder).isDir())
            return;

    if (!QFileInfo::exists(databasePath)) {
        QFile file(databasePath);
        // SQLite takes an empty file for a new database and gives its log the same access.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
            file.close();
        return;
    }
    for (const QString& file : LocalHistoryFiles(databasePath)) {
        const QFileInfo info(file);
        if (info.isFile() && (info.permissions() & groupAndOthers))
            QFile::setPermissions(file, ownerOnly); // refused for a file of another user
    }
}
