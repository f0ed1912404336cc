// SPDX-License-Identifier: MIT
#include "core/link/CalibratorLink.h"

#include "core/base/MessageService.h"
#include "core/link/CSerialPort.h"
#include "core/link/CalibratorProtocol.h"
#include "core/link/LinkClock.h"
#include "core/link/LinkSession.h"
#include "core/link/PortMap.h"

#include <QMutexLocker>

#include <memory>

// The worker thread's side: the port and the protocol. Its slots run on the worker thread.
class LinkWorker : public QObject
{
    Q_OBJECT

public:
    LinkWorker(CalibratorLink& link, SerialDevice* device, LinkClock* clock)
        : link(link), device(device), clock(clock ? clock : &SystemLinkClock())
    {}

    // On the worker thread, first of all: the real port is made there.
    void Start()
    {
        if (!device) {
            ownPort = std::make_unique<CSerialPort>();
            device = ownPort.get();
        }
        protocol = std::make_unique<CalibratorProtocol>(*device, *clock);
        protocol->notify = [this](CalibratorProtocol::Notice notice) {
            emit noticed(current, int(notice), protocol->noticeDetail);
        };
        protocol->interrupted = [this] { return link.Dropped(currentSession); };
    }

    void RunNext()
    {
        const CalibratorLink::Request r = link.TakeNext();
        current = r.id;
        currentSession = r.session;
        bool ok = true;
        // A close is never dropped: the window that posted it may be gone already, and the
        // port must not stay open behind it.
        if (r.kind == CalibratorLink::RequestKind::Close || !link.Dropped(r.session)) {
            switch (r.kind) {
            case CalibratorLink::RequestKind::Open:
                ok = protocol->OpenCalibratorPort(r.port, r.devicePath);
                break;
            case CalibratorLink::RequestKind::Close:
                protocol->CloseCalibratorPort();
                break;
            case CalibratorLink::RequestKind::Send:
                protocol->SendCommand(r.command);
                break;
            case CalibratorLink::RequestKind::NewEpisode:
                protocol->noLinkReported = false;
                break;
            case CalibratorLink::RequestKind::Sync:
                break;
            }
        } else {
            ok = false;
        }
        emit finished(r.session, r.id, ok, protocol->lastReply, protocol->linkOpen,
                      protocol->Device().IsOpen());
    }

    // On the worker thread, last of all: the port is closed and the real port goes with the
    // thread it was made on.
    void Stop()
    {
        if (protocol)
            protocol->CloseCalibratorPort();
        protocol.reset();
        ownPort.reset();
        QThread::currentThread()->quit();
    }

signals:
    void noticed(quint64 request, int notice, const QString& detail);
    void finished(quint64 session, quint64 request, bool ok, const QString& reply, bool linkOpen,
                  bool portOpen);

private:
    CalibratorLink& link;
    std::unique_ptr<CSerialPort> ownPort;
    SerialDevice* device;
    LinkClock* clock;
    std::unique_ptr<CalibratorProtocol> protocol;
    quint64 current = 0;
    quint64 currentSession = 0;
};

CalibratorLink::CalibratorLink(MessageService& messages, QObject* parent)
    : CalibratorLink(messages, nullptr, nullptr, parent)
{}

CalibratorLink::CalibratorLink(MessageService& messages, SerialDevice* device, LinkClock* clock,
                               QObject* parent)
    : QObject(parent), messages(messages)
{
    thread.setObjectName(QStringLiteral("calibrator link"));
    worker = new LinkWorker(*this, device, clock);
    worker->moveToThread(&thread);
    connect(worker, &LinkWorker::noticed, this, &CalibratorLink::OnNotice, Qt::QueuedConnection);
    connect(worker, &LinkWorker::finished, this, &CalibratorLink::OnFinished, Qt::QueuedConnection);
    thread.start();
    QMetaObject::invokeMethod(
        worker, [w = worker] { w->Start(); }, Qt::QueuedConnection);
}

CalibratorLink::~CalibratorLink()
{
    {
        const QMutexLocker lock(&dropMutex);
        closing = true;
    }
    QMetaObject::invokeMethod(
        worker, [w = worker] { w->Stop(); }, Qt::QueuedConnection);
    thread.wait();
    delete worker;
}

quint64 CalibratorLink::AddSession(LinkSession* session)
{
    const quint64 id = nextId++;
    sessions.insert(id, session);
    return id;
}

void CalibratorLink::RemoveSession(quint64 session)
{
    sessions.remove(session);
    Drop(session);
}

quint64 CalibratorLink::Post(RequestKind kind, quint64 session, int port, const QString& command,
                             bool poll)
{
    Request request{kind, session, nextId++, port, {}, command, poll};
    if (kind == RequestKind::Open) {
        // Looked up once, on this thread: the worker opens what the window asked for, whatever
        // the environment or the settings say by the time it gets there.
        request.devicePath = PortDevicePath(port);
        lastOpen = request.id;
        alive = true;
    }
    {
        // A command goes ahead of the polls waiting at the end, none of which is on the wire
        // yet; everything else keeps its place. Each request is carried out whole, so a
        // command's frames (its recovery and resend too) stay together on the wire.
        const QMutexLocker lock(&queueMutex);
        qsizetype at = queue.size();
        if (kind == RequestKind::Send && !poll) {
            while (at > 0 && queue[at - 1].poll)
                --at;
        }
        queue.insert(at, request);
    }
    // One run per request: the worker takes whichever is first by then.
    QMetaObject::invokeMethod(
        worker, [w = worker] { w->RunNext(); }, Qt::QueuedConnection);
    return request.id;
}

CalibratorLink::Request CalibratorLink::TakeNext()
{
    const QMutexLocker lock(&queueMutex);
    return queue.takeFirst();
}

void CalibratorLink::Drop(quint64 session)
{
    const QMutexLocker lock(&dropMutex);
    dropped.insert(session);
}

bool CalibratorLink::Dropped(quint64 session)
{
    const QMutexLocker lock(&dropMutex);
    return closing || dropped.contains(session);
}

void CalibratorLink::SetAlive(quint64 request, bool linkOpen)
{
    if (request >= lastOpen)
        alive = linkOpen;
}

void CalibratorLink::OnNotice(quint64 request, int notice, const QString& detail)
{
    // The link is dead before the message is up: whatever runs under the box finds it so.
    SetAlive(request, false);
    messages.ShowError(NoticeText(CalibratorProtocol::Notice(notice)), detail);
}

void CalibratorLink::OnFinished(quint64 session, quint64 request, bool ok, const QString& reply,
                                bool linkOpen, bool portIsOpen)
{
    portOpen = portIsOpen;
    SetAlive(request, linkOpen);
    if (LinkSession* s = sessions.value(session))
        s->Finished(request, ok, reply);
}

#include "CalibratorLink.moc"
