// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

// A device like /dev/full (every write fails for want of space) to write reports to. As root
// it is a node of its own in `folder`: a program that wrongly replaced its target by a file
// would otherwise replace the system's /dev/full.
inline QString FullDevice(const QString& folder)
{
    if (::geteuid() != 0)
        return QStringLiteral("/dev/full");
    const QString node = QDir(folder).filePath(QStringLiteral("full"));
    ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 7));
    return node;
}
