// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "FullDevice.h"
#include "core/base/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray Get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// Makes the kind of path a row names at `path`; false when it cannot be made here.
bool Make(const QString& kind, const QString& path)
{
    if (kind == "folder")
        return QDir().mkdir(path);
    if (kind == "FIFO")
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    if (kind == "symlink loop")
        return QFile::link(path, path);
    if (kind == "no permission") {
        Put(path, "x");
        return ::geteuid() != 0 && QFile::setPermissions(path, {});
    }
    return kind == "missing";
}

// Lowers the size any file of this process may have; the old limit comes back on destruction.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        previous = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of the process
        rlimit small = saved;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
    }

private:
    rlimit saved{};
    void (*previous)(int) = nullptr;
};

} // namespace

class TestFileAccess : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void unreadablePathsSayWhy_data()
    {
        DataColumns<QString, QString>("kind", "cause");
        DataRow("missing", "missing", "Plik lub folder nie istnieje");
        DataRow("folder", "folder", "To jest folder, a nie plik");
        DataRow("FIFO", "FIFO", "To jest potok (FIFO), a nie zwykły plik");
        DataRow("symlink loop", "symlink loop", "Pętla dowiązań symbolicznych");
        DataRow("no permission", "no permission", "Brak uprawnień dostępu");
    }
    void unreadablePathsSayWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        const QString path = dir.filePath("read " + kind);
        if (!Make(kind, path))
            QSKIP("cannot be made here (as root every file is readable)");
        QByteArray data("untouched");
        QString told;
        QVERIFY(!ReadRegularFile(path, 100, &data, &told));
        QCOMPARE(told, cause);
        QCOMPARE(data, QByteArray("untouched"));
    }

    void readStopsAtTheLimit()
    {
        const QString path = dir.filePath("ten");
        Put(path, "0123456789");
        QByteArray data;
        QString cause;
        QVERIFY(ReadRegularFile(path, 4, &data, &cause));
        QCOMPARE(data, QByteArray("0123"));
        QVERIFY(ReadRegularFile(path, 100, &data, &cause));
        QCOMPARE(data, QByteArray("0123456789"));
    }

    // A failed write leaves whatever was at the target and no temporary file behind.
    void failedWritesSayWhyAndKeepTheTarget_data()
    {
        DataColumns<QString, QString>("target", "cause");
        DataRow("folder", "folder", "To jest folder, a nie plik");
        DataRow("FIFO", "FIFO", "To jest potok (FIFO), a nie zwykły plik");
        DataRow("device", "full device", "To jest urządzenie, a nie zwykły plik");
        DataRow("symlink loop", "symlink loop", "Pętla dowiązań symbolicznych");
        DataRow("missing folder", "missing folder", "Folder docelowy nie istnieje");
        DataRow("file size limit (a full disk)", "old file",
                "Plik przekroczyłby dopuszczalny rozmiar");
    }
    void failedWritesSayWhyAndKeepTheTarget()
    {
        QFETCH(QString, target);
        QFETCH(QString, cause);
        QTemporaryDir folder;
        QString path = folder.filePath("out");
        if (target == "full device")
            path = FullDevice(folder.path());
        else if (target == "missing folder")
            path = folder.filePath("gone/out");
        else if (target == "old file")
            Put(path, "old");
        else
            QVERIFY(Make(target, path));
        const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::System);

        QString told;
        std::optional<FileSizeLimit> limit;
        if (target == "old file")
            limit.emplace(1000);
        const bool written = WriteWholeFile(path, QByteArray(5000, 'n'), &told);
        limit.reset();
        QVERIFY(!written);
        QCOMPARE(told, cause);
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::System), before);
        if (target == "old file")
            QCOMPARE(Get(path), QByteArray("old"));
    }

    // Through a link the file it leads to is replaced; the link and the permissions stay.
    void writeThroughALink()
    {
        const QString file = dir.filePath("real.pdf");
        const QString link = dir.filePath("link.pdf");
        Put(file, "old");
        QVERIFY(
            QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QFile::Permissions permissions = QFile::permissions(file);
        QVERIFY(QFile::link(file, link));
        QString cause;
        QVERIFY2(WriteWholeFile(link, "new", &cause), qPrintable(cause));
        QCOMPARE(QFileInfo(link).symLinkTarget(), file);
        QCOMPARE(Get(file), QByteArray("new"));
        QCOMPARE(QFile::permissions(file), permissions);
    }

    // A file written piece by piece (more than one block) replaces its target only at the
    // commit; one dropped before leaves the target and nothing else.
    void pieceByPiece_data()
    {
        DataColumns<bool>("committed");
        DataRow("committed", true);
        DataRow("dropped before the commit", false);
    }
    void pieceByPiece()
    {
        QFETCH(bool, committed);
        QTemporaryDir folder;
        const QString path = folder.filePath("history.csv");
        Put(path, "old");
        QByteArray whole;
        {
            WholeFileWriter file;
            QString cause;
            QVERIFY2(file.Open(path, &cause), qPrintable(cause));
            for (char piece : {'a', 'b', 'c'}) {
                const QByteArray data(50000, piece);
                QVERIFY2(file.Write(data, &cause), qPrintable(cause));
                whole += data;
            }
            QCOMPARE(Get(path), QByteArray("old"));
            if (committed)
                QVERIFY2(file.Commit(&cause), qPrintable(cause));
        }
        QCOMPARE(Get(path), committed ? whole : QByteArray("old"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"history.csv"});
    }

    void sameFile_data()
    {
        DataColumns<QString, bool>("other", "same");
        DataRow("same name", "doc.met", true);
        DataRow("symbolic link", "symlink.met", true);
        DataRow("hard link", "hardlink.met", true);
        DataRow("a copy", "copy.met", false);
        DataRow("not there", "none.met", false);
    }
    void sameFile()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QTemporaryDir folder;
        const QString doc = folder.filePath("doc.met");
        Put(doc, "doc");
        QVERIFY(QFile::link(doc, folder.filePath("symlink.met")));
        QCOMPARE(::link(QFile::encodeName(doc).constData(),
                        QFile::encodeName(folder.filePath("hardlink.met")).constData()),
                 0);
        QVERIFY(QFile::copy(doc, folder.filePath("copy.met")));
        QCOMPARE(SameFile(doc, folder.filePath(other)), same);
        QCOMPARE(SameFile(folder.filePath(other), doc), same);
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_fileaccess.moc"
