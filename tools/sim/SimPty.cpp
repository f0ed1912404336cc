// SPDX-License-Identifier: MIT
#include "SimPty.h"

#include "core/base/FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

SimPty::~SimPty()
{
    Close();
    Unlink();
}

bool SimPty::Open(QString* error)
{
    Close();
    const int fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error =
            QStringLiteral("nie można otworzyć pseudoterminala: %1").arg(SystemErrorText(errno));
        return false;
    }
    char name[128];
    if (grantpt(fd) != 0 || unlockpt(fd) != 0 || ptsname_r(fd, name, sizeof name) != 0) {
        *error =
            QStringLiteral("nie można przygotować pseudoterminala: %1").arg(SystemErrorText(errno));
        ::close(fd);
        return false;
    }
    // The line is raw 8N1 from the start, so a program that does not set it up itself still
    // sees the bytes unchanged (no echo, no line editing, no CR/LF mapping).
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        *error = QStringLiteral("nie można otworzyć urządzenia %1: %2")
                     .arg(QString::fromLocal8Bit(name), SystemErrorText(errno));
        ::close(fd);
        return false;
    }
    termios t{};
    if (tcgetattr(slave, &t) == 0) {
        cfmakeraw(&t);
        cfsetispeed(&t, B9600);
        cfsetospeed(&t, B9600);
        t.c_cflag |= CLOCAL | CREAD;
        tcsetattr(slave, TCSANOW, &t);
    }
    ::close(slave);
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    master = fd;
    slavePath = name;
    return true;
}

void SimPty::Close()
{
    if (master >= 0)
        ::close(master);
    master = -1;
}

bool SimPty::Link(const QByteArray& linkPath)
{
    if (linkPath.isEmpty())
        return true;
    const QByteArray temporary = linkPath + ".new";
    ::unlink(temporary.constData());
    if (::symlink(slavePath.constData(), temporary.constData()) != 0)
        return false;
    if (::rename(temporary.constData(), linkPath.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    link = linkPath;
    return true;
}

void SimPty::Unlink()
{
    if (!link.isEmpty())
        ::unlink(link.constData());
    link.clear();
}
