// SPDX-License-Identifier: MIT
#include "core/app/SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QRegularExpression>
#include <QTimer>

#include <unistd.h>

namespace {

// A hand-over: this tag, then the document's path (QDataStream, Qt 6.0 format); the running
// program answers with one byte once it has taken it.
const QByteArray messageTag = QByteArrayLiteral("r718 open 1");
constexpr char answer = '+';
constexpr int connectMs = 2000;
// A partner that sends more than this without a whole message is not a later start.
constexpr qint64 maxMessageBytes = 64 * 1024;

} // namespace

SingleInstance::SingleInstance(const QString& socketPath, QObject* parent)
    : QObject(parent), socketPath(socketPath), server(new QLocalServer(this))
{
    // Only the user may connect: a path handed over is the user's business.
    server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::SessionSocketPath(const QString& session, bool simulator)
{
    QString name = QStringLiteral("r718");
    if (simulator)
        name += QStringLiteral("-simulator");
    // A Wayland display may be a path: the session's name becomes part of one file name.
    QString tag = session;
    tag.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9:._-]")), QStringLiteral("_"));
    if (!tag.isEmpty())
        name += QLatin1Char('-') + tag;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    // The shared temporary folder: the user's id keeps users apart.
    return QDir(QDir::tempPath()).filePath(name + QStringLiteral("-uid%1").arg(::getuid()));
}

SingleInstance::Claim SingleInstance::ClaimOrHandOver(const QString& document, int answerMs)
{
    // Between "nobody answers" and listening nobody else may look: the lock keeps two starts
    // at the same moment from both listening (the second would remove the first's socket).
    // A lock left by a program that died is taken over at once.
    QLockFile lock(socketPath + QStringLiteral(".lock"));
    lock.setStaleLockTime(0);
    // Without the lock (a hung holder) the claim goes on: at worst two programs run.
    lock.tryLock(answerMs + connectMs);

    const QFileInfo existing(socketPath);
    if (existing.exists()) {
        // Another user's socket is neither spoken to nor removed: this program runs alone.
        if (existing.ownerId() != ::getuid())
            return Claim::First;
        const Claim claim = HandOver(document, answerMs);
        if (claim != Claim::First)
            return claim;
        // Nobody answers there: it is the socket of a program that was killed. (Listening
        // for the user alone would replace it anyway; without that option it must go first.)
        QLocalServer::removeServer(socketPath);
    }
    if (!server->listen(socketPath))
        qWarning("r718: %s: kolejne uruchomienia nie przekażą plików temu programowi: %s",
                 qPrintable(socketPath), qPrintable(server->errorString()));
    return Claim::First;
}

SingleInstance::Claim SingleInstance::HandOver(const QString& document, int answerMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(connectMs))
        return Claim::First;

    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << messageTag << document;
    socket.write(message);
    const QDeadlineTimer deadline(answerMs);
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(int(qMax<qint64>(deadline.remainingTime(), 1))))
            return Claim::NoAnswer;
    }
    char reply = 0;
    socket.getChar(&reply);
    return reply == answer ? Claim::HandedOver : Claim::NoAnswer;
}

void SingleInstance::OnConnection()
{
    while (QLocalSocket* socket = server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.setVersion(QDataStream::Qt_6_0);
            in.startTransaction();
            QByteArray tag;
            QString document;
            in >> tag >> document;
            if (!in.commitTransaction()) {
                if (socket->bytesAvailable() > maxMessageBytes)
                    socket->abort();
                return;
            }
            if (tag != messageTag) {
                socket->abort();
                return;
            }
            socket->putChar(answer);
            socket->flush();
            QTimer::singleShot(0, this, [this, document] { emit requested(document); });
        });
    }
}
