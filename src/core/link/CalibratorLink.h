// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>

class LinkClock;
class LinkSession;
class LinkWorker;
class MessageService;
class SerialDevice;

// The one link to the calibrator, owned by the application. The serial port lives on a
// worker thread of its own, where the protocol carries out the requests of the windows one
// after another, in the order they were posted, except that a command goes ahead of the polls
// still waiting at the end of the queue; replies and link events come back to the GUI
// thread by queued signals. The GUI thread tells the technician through `messages` when the
// port cannot be opened or the calibrator stopped answering, and why (the reason the worker
// found); the worker never shows anything.
//
// Windows talk to it through a LinkSession each, which drops the window's queued commands
// when the window ends. The link outlives its sessions.
class CalibratorLink : public QObject
{
    Q_OBJECT

public:
    // The real serial port (made, used and destroyed on the worker thread) and the real clock.
    explicit CalibratorLink(MessageService& messages, QObject* parent = nullptr);
    // Another device and clock, used on the worker thread only (tests, benchmarks).
    CalibratorLink(MessageService& messages, SerialDevice* device, LinkClock* clock,
                   QObject* parent = nullptr);
    // Drops whatever is queued, lets a running transaction end at its next frame, closes the
    // port and ends the worker thread.
    ~CalibratorLink() override;

    // The COM port (1-4) that the windows open.
    int PortNumber() const { return portNumber; }
    void SetPortNumber(int port) { portNumber = port; }

    // False once the link was given up or the port could not be opened, as of the requests
    // carried out so far, until a port opens again; an open still on its way counts as alive.
    bool LinkAlive() const { return alive; }
    // Whether the port is open, as of the requests carried out so far.
    bool PortOpen() const { return portOpen; }

private:
    friend class LinkSession;
    friend class LinkWorker;

    enum class RequestKind
    {
        Open,
        Close,
        Send,
        NewEpisode,
        Sync
    };
    struct Request
    {
        RequestKind kind;
        quint64 session;
        quint64 id;
        int port = 0;
        QString devicePath; // what COM<port> stood for when the open was posted
        QString command;
        bool poll = false; // a Send that the commands posted after it may overtake
    };

    // For sessions, on the GUI thread.
    quint64 AddSession(LinkSession* session);
    void RemoveSession(quint64 session);
    // An open carries the device its port stands for, looked up here, as the window posts it.
    quint64 Post(RequestKind kind, quint64 session, int port = 0, const QString& command = {},
                 bool poll = false);
    // For the worker: the request to carry out next.
    Request TakeNext();
    // Requests of the session that have not started are skipped (a close excepted); one that
    // runs ends at its next frame.
    void Drop(quint64 session);
    bool Dropped(quint64 session);

    // On the GUI thread, from the worker.
    void OnNotice(quint64 request, int notice, const QString& detail);
    void OnFinished(quint64 session, quint64 request, bool ok, const QString& reply, bool linkOpen,
                    bool portIsOpen);
    void SetAlive(quint64 request, bool linkOpen);

    MessageService& messages;
    int portNumber = 0;
    bool alive = false;
    bool portOpen = false;
    quint64 nextId = 1;
    quint64 lastOpen = 0; // the latest open posted: older news of the link state is stale
    QHash<quint64, LinkSession*> sessions;

    QMutex queueMutex; // guards queue, which the worker takes from
    QList<Request> queue;

    QMutex dropMutex; // guards dropped and closing, which the worker reads
    QSet<quint64> dropped;
    bool closing = false;

    QThread thread;
    LinkWorker* worker = nullptr;
};
