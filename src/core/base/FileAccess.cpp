// SPDX-License-Identifier: MIT
#include "core/base/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

QString SystemErrorText(int code)
{
    switch (code) {
    case ENOENT:
        return QStringLiteral("Plik lub folder nie istnieje");
    case ENOTDIR:
        return QStringLiteral("Część ścieżki nie jest folderem");
    case EISDIR:
        return QStringLiteral("To jest folder, a nie plik");
    case EACCES:
    case EPERM:
        return QStringLiteral("Brak uprawnień dostępu");
    case ELOOP:
        return QStringLiteral("Pętla dowiązań symbolicznych");
    case ENAMETOOLONG:
        return QStringLiteral("Zbyt długa nazwa pliku");
    case EIO:
        return QStringLiteral("Błąd wejścia-wyjścia (nośnik uszkodzony lub odłączony)");
    case ENOSPC:
        return QStringLiteral("Brak miejsca na dysku");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("Przekroczony przydział miejsca na dysku");
#endif
    case EFBIG:
        return QStringLiteral("Plik przekroczyłby dopuszczalny rozmiar");
    case EROFS:
        return QStringLiteral("Dysk jest tylko do odczytu");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("Zbyt wiele otwartych plików");
    case ENOMEM:
        return QStringLiteral("Brak pamięci");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("Plik jest zajęty");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("Urządzenie nie istnieje");
#ifdef ESTALE
    case ESTALE:
        return QStringLiteral("Plik w sieci przestał być dostępny");
#endif
    default:
        return QStringLiteral("Błąd systemu nr %1 (%2)")
            .arg(code)
            .arg(QString::fromLocal8Bit(std::strerror(code)));
    }
}

#ifdef Q_OS_UNIX

namespace {

// What a path that is not a regular file is.
QString KindText(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("To jest folder, a nie plik");
    if (S_ISFIFO(mode))
        return QStringLiteral("To jest potok (FIFO), a nie zwykły plik");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("To jest urządzenie, a nie zwykły plik");
    if (S_ISSOCK(mode))
        return QStringLiteral("To jest gniazdo, a nie zwykły plik");
    return QStringLiteral("To nie jest zwykły plik");
}

bool Fail(QString* cause, const QString& text)
{
    if (cause)
        *cause = text;
    return false;
}

bool FailErrno(QString* cause)
{
    return Fail(cause, SystemErrorText(errno));
}

// Writes all of data to fd, going on after partial writes and interruptions.
bool WriteAll(int fd, const QByteArray& data)
{
    const char* at = data.constData();
    qint64 left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        at += n;
        left -= n;
    }
    return true;
}

// The path the data must go to: the target itself, or the file a symbolic link names (the
// link stays). False with the cause when the target cannot be written.
bool ResolveTarget(const QByteArray& path, QByteArray* target, struct stat* existing, bool* exists,
                   QString* cause)
{
    *target = path;
    *exists = ::stat(path.constData(), existing) == 0;
    if (*exists) {
        if (!S_ISREG(existing->st_mode))
            return Fail(cause, KindText(existing->st_mode));
        char resolved[PATH_MAX];
        if (::realpath(path.constData(), resolved) == nullptr)
            return FailErrno(cause);
        *target = resolved;
        return true;
    }
    if (errno != ENOENT)
        return FailErrno(cause);
    // A link to a file not yet there: the file is made where the link leads.
    struct stat link;
    if (::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode))
        *target = QFile::encodeName(QFileInfo(QFile::decodeName(path)).symLinkTarget());
    return true;
}

} // namespace

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* data, QString* cause)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return FailErrno(cause);
    if (!S_ISREG(st.st_mode))
        return Fail(cause, KindText(st.st_mode));
    // Not blocking: should the path have become a FIFO since, the open must not wait for a
    // writer. The second look below refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return FailErrno(cause);
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(cause, KindText(st.st_mode));
    }
    QByteArray bytes;
    while (ok && bytes.size() < maxBytes) {
        char buffer[65536];
        const ssize_t n =
            ::read(fd, buffer, size_t(qMin<qint64>(sizeof buffer, maxBytes - bytes.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        else if (n == 0)
            break;
        else
            bytes.append(buffer, n);
    }
    const int readError = errno;
    ::close(fd);
    if (!ok)
        return Fail(cause, SystemErrorText(readError));
    *data = bytes;
    return true;
}

WholeFileWriter::~WholeFileWriter()
{
    Discard();
}

void WholeFileWriter::Discard()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
    if (!scratch.isEmpty())
        ::unlink(scratch.constData());
    scratch.clear();
    buffer.clear();
}

bool WholeFileWriter::Open(const QString& path, QString* cause)
{
    Discard();
    written = 0;
    struct stat existing;
    bool exists = false;
    if (!ResolveTarget(QFile::encodeName(path), &target, &existing, &exists, cause))
        return false;

    // The data go to a file in the target's folder, so that the rename stays within one file
    // system. Where the system allows it the file has no name until it is whole: a program
    // killed while writing leaves nothing behind.
#ifdef O_TMPFILE
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return Fail(cause, errno == ENOENT ? QStringLiteral("Folder docelowy nie istnieje")
                                           : SystemErrorText(errno));
#endif
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        scratch = ScratchName();
        fd = ::open(scratch.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd < 0) {
            const int error = errno;
            scratch.clear();
            if (error != EEXIST)
                return Fail(cause, error == ENOENT ? QStringLiteral("Folder docelowy nie istnieje")
                                                   : SystemErrorText(error));
        }
    }
    if (fd < 0)
        return Fail(cause, SystemErrorText(EEXIST));
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        const int error = errno;
        Discard();
        return Fail(cause, SystemErrorText(error));
    }
    return true;
}

QByteArray WholeFileWriter::ScratchName() const
{
    const QFileInfo targetInfo(QFile::decodeName(target));
    return QFile::encodeName(targetInfo.absoluteDir().filePath(
        QStringLiteral("%1.%2.tmp")
            .arg(targetInfo.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
}

bool WholeFileWriter::Flush(QString* cause)
{
    if (fd < 0)
        return Fail(cause, SystemErrorText(EBADF));
    if (!WriteAll(fd, buffer)) {
        const int error = errno;
        Discard();
        return Fail(cause, SystemErrorText(error));
    }
    written += buffer.size();
    buffer.clear();
    return true;
}

bool WholeFileWriter::Write(const QByteArray& data, QString* cause)
{
    if (fd < 0)
        return Fail(cause, SystemErrorText(EBADF));
    // Gathered into blocks: a row at a time would cost a call to the system each.
    buffer += data;
    return buffer.size() < blockSize || Flush(cause);
}

bool WholeFileWriter::Commit(QString* cause)
{
    if (!Flush(cause))
        return false;
    bool ok = ::fsync(fd) == 0; // a full disk may show only here, when the data go out
    struct stat st;
    ok = ok && ::fstat(fd, &st) == 0;
    int error = errno;
    if (ok && st.st_size != written) {
        ok = false;
        error = EIO;
    }
    // The whole file gets its temporary name.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
    for (int attempt = 0; ok && scratch.isEmpty() && attempt < 100; ++attempt) {
        const QByteArray name = ScratchName();
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) ==
            0) {
            scratch = name;
        } else if (errno != EEXIST) {
            ok = false;
            error = errno;
        }
    }
    if (ok && scratch.isEmpty()) {
        ok = false;
        error = EEXIST;
    }
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(scratch.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        Discard();
        return Fail(cause, SystemErrorText(error));
    }
    scratch.clear();
    return true;
}

bool WriteWholeFile(const QString& path, const QByteArray& data, QString* cause)
{
    WholeFileWriter file;
    return file.Open(path, cause) && file.Write(data, cause) && file.Commit(cause);
}

AppendFile::~AppendFile()
{
    Close();
}

bool AppendFile::Open(const QString& path, QString* cause)
{
    Close();
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return Fail(cause, KindText(st.st_mode));
    // Not blocking, should the path have become a FIFO since; the second look refuses it.
    const int opened = ::open(
        name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (opened < 0)
        return Fail(cause, errno == ENOENT ? QStringLiteral("Folder docelowy nie istnieje")
                                           : SystemErrorText(errno));
    if (::fstat(opened, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString kind = KindText(st.st_mode);
        ::close(opened);
        return Fail(cause, kind);
    }
    ::fcntl(opened, F_SETFL, ::fcntl(opened, F_GETFL) & ~O_NONBLOCK);
    fd = opened;
    return true;
}

bool AppendFile::Append(const QByteArray& data, QString* cause)
{
    if (fd < 0)
        return Fail(cause, SystemErrorText(EBADF));
    const off_t before = ::lseek(fd, 0, SEEK_END);
    if (WriteAll(fd, data))
        return true;
    const int error = errno;
    // What got through goes again, so that the file holds whole appends only.
    const bool cut = before >= 0 && ::ftruncate(fd, before) == 0;
    Q_UNUSED(cut);
    return Fail(cause, SystemErrorText(error));
}

bool AppendFile::IsOpen() const
{
    return fd >= 0;
}

void AppendFile::Close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

QString ReadWriteCause(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (fd < 0)
        return SystemErrorText(errno);
    ::close(fd);
    return QString();
}

bool SameFile(const QString& a, const QString& b)
{
    struct stat first, second;
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

#else // Qt's own file classes, with their (less precise) reasons

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray* data, QString* cause)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *cause = SystemErrorText(ENOENT);
        return false;
    }
    if (!info.isFile()) {
        *cause = info.isDir() ? SystemErrorText(EISDIR) : QStringLiteral("To nie jest zwykły plik");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *cause = file.errorString();
        return false;
    }
    *data = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError) {
        *cause = file.errorString();
        return false;
    }
    return true;
}

WholeFileWriter::~WholeFileWriter()
{
    Discard();
}

void WholeFileWriter::Discard()
{
    if (file)
        file->cancelWriting();
    delete file;
    file = nullptr;
}

bool WholeFileWriter::Open(const QString& path, QString* cause)
{
    Discard();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *cause = info.isDir() ? SystemErrorText(EISDIR) : QStringLiteral("To nie jest zwykły plik");
        return false;
    }
    file = new QSaveFile(path);
    if (file->open(QIODevice::WriteOnly))
        return true;
    *cause = file->errorString();
    Discard();
    return false;
}

bool WholeFileWriter::Write(const QByteArray& data, QString* cause)
{
    if (file && file->write(data) == data.size())
        return true;
    *cause = file ? file->errorString() : SystemErrorText(EBADF);
    Discard();
    return false;
}

bool WholeFileWriter::Commit(QString* cause)
{
    if (file && file->commit()) {
        delete file;
        file = nullptr;
        return true;
    }
    *cause = file ? file->errorString() : SystemErrorText(EBADF);
    Discard();
    return false;
}

bool WriteWholeFile(const QString& path, const QByteArray& data, QString* cause)
{
    WholeFileWriter file;
    return file.Open(path, cause) && file.Write(data, cause) && file.Commit(cause);
}

AppendFile::~AppendFile()
{
    Close();
}

bool AppendFile::Open(const QString& path, QString* cause)
{
    Close();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *cause = info.isDir() ? SystemErrorText(EISDIR) : QStringLiteral("To nie jest zwykły plik");
        return false;
    }
    file = new QFile(path);
    if (file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    *cause = file->errorString();
    Close();
    return false;
}

bool AppendFile::Append(const QByteArray& data, QString* cause)
{
    const qint64 before = file ? file->size() : 0;
    if (file && file->write(data) == data.size())
        return true;
    if (file) {
        *cause = file->errorString();
        file->resize(before);
    }
    return false;
}

bool AppendFile::IsOpen() const
{
    return file != nullptr;
}

void AppendFile::Close()
{
    delete file;
    file = nullptr;
}

QString ReadWriteCause(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) ? QString() : file.errorString();
}

bool SameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

#endif
