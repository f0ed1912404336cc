// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// The instrument's end of the line: the master side of a pseudo-terminal. The program opens
// the slave device as its serial port. Optionally a symbolic link names the slave, so that
// the program finds the line again after a hang-up, which brings a new pseudo-terminal.
class SimPty
{
public:
    ~SimPty();

    // Opens a new pseudo-terminal: the master non-blocking, the slave set raw, 9600 8N1.
    // On failure returns false with the reason in *error.
    bool Open(QString* error);
    // Closes the master: whoever has the slave open sees the line hung up.
    void Close();
    bool IsOpen() const { return master >= 0; }
    int MasterFd() const { return master; }
    QByteArray SlavePath() const { return slavePath; }

    // Points linkPath at the slave, replacing an older link in one step.
    bool Link(const QByteArray& linkPath);
    // Removes the link made by Link.
    void Unlink();

private:
    int master = -1;
    QByteArray slavePath;
    QByteArray link;
};
