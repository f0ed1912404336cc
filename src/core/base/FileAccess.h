// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class QFile;
class QSaveFile;

// Files as documents and reports need them: reads that never wait on something that is not a
// file, writes that replace their target only when complete, and the cause of every failure
// in the program's language. A cause is one sentence without its full stop ("Brak miejsca na
// dysku"); the caller names the file.

// The system's error code (errno) in words.
QString SystemErrorText(int code);

// Reads at most maxBytes of the regular file at path (a link to one is followed). A folder, a
// FIFO, a device or a socket is refused without being opened.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* data, QString* cause);

// Writes data to path through a temporary file in the target's folder, checking every write,
// the flush to the disk and the final size, and renames it over the target only then; on any
// failure the temporary file goes and the target stays as it was. A link is followed and stays
// a link; an existing target keeps its permissions. A target that exists but is not a regular
// file (a folder, a FIFO, a device) is refused.
bool WriteWholeFile(const QString& path, const QByteArray& data, QString* cause);

// WriteWholeFile piece by piece, for data too large to hold at once: Open, Write as often as
// needed, Commit. The target is replaced only by Commit; a writer dropped before it, or after
// a failed call, leaves the target as it was. Each failure gives its cause once.
class WholeFileWriter
{
public:
    WholeFileWriter() = default;
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    bool Open(const QString& path, QString* cause);
    bool Write(const QByteArray& data, QString* cause);
    bool Commit(QString* cause);

private:
    void Discard();
#ifdef Q_OS_UNIX
    bool Flush(QString* cause);
    QByteArray ScratchName() const;

    static constexpr qsizetype blockSize = 1 << 16;
    int fd = -1;
    QByteArray target;  // the file the data replace (a link's target)
    QByteArray scratch; // the temporary file's name, when it has one
    QByteArray buffer;  // not yet written
    qint64 written = 0;
#else
    QSaveFile* file = nullptr;
#endif
};

// A file that lines are appended to, such as a trace: only a regular file (made when missing)
// is opened; a folder, a FIFO, a device or a socket is refused without waiting on it. Each
// Append is written whole or not at all: a failed one leaves the file as it was before it.
class AppendFile
{
public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool Open(const QString& path, QString* cause);
    bool Append(const QByteArray& data, QString* cause);
    bool IsOpen() const;
    void Close();

private:
#ifdef Q_OS_UNIX
    int fd = -1;
#else
    QFile* file = nullptr;
#endif
};

// Why the file at path cannot be opened for reading and writing, made when missing as a
// database makes its file; empty when it can. For libraries that say only "unable to open".
QString ReadWriteCause(const QString& path);

// True when both paths lead to one existing file: the same name, a symbolic link to it or a
// hard link of it.
bool SameFile(const QString& a, const QString& b);
