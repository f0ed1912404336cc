// SPDX-License-Identifier: MIT
#include "core/link/LinkSession.h"

#include "core/link/CalibratorLink.h"

#include <QEventLoop>

LinkSession::LinkSession(CalibratorLink& link, QObject* parent) : QObject(parent), link(&link)
{
    id = link.AddSession(this);
}

LinkSession::~LinkSession()
{
    if (link)
        link->RemoveSession(id);
}

void LinkSession::Post(CalibratorLink::RequestKind kind, int port, const QString& command,
                       Callback done, bool poll)
{
    if (!link)
        return;
    const quint64 request = link->Post(kind, id, port, command, poll);
    ++pending;
    if (done)
        callbacks.insert(request, std::move(done));
}

void LinkSession::Finished(quint64 request, bool ok, const QString& reply)
{
    const Callback done = callbacks.take(request);
    --pending;
    if (done)
        done(ok, reply);
    if (pending == 0)
        emit idle();
}

void LinkSession::Open(int port, std::function<void(bool)> done)
{
    Post(CalibratorLink::RequestKind::Open, port, {},
         done ? Callback([done](bool ok, const QString&) { done(ok); }) : Callback());
}

void LinkSession::Close()
{
    Post(CalibratorLink::RequestKind::Close, 0, {}, {});
}

void LinkSession::StartEpisode()
{
    Post(CalibratorLink::RequestKind::NewEpisode, 0, {}, {});
}

void LinkSession::Sync()
{
    Post(CalibratorLink::RequestKind::Sync, 0, {}, {});
}

void LinkSession::Send(const QString& command, Done done)
{
    Post(CalibratorLink::RequestKind::Send, 0, command,
         done ? Callback([done](bool, const QString& reply) { done(reply); }) : Callback());
}

void LinkSession::Poll(const QString& command, Done done)
{
    Post(CalibratorLink::RequestKind::Send, 0, command,
         done ? Callback([done](bool, const QString& reply) { done(reply); }) : Callback(), true);
}

void LinkSession::End()
{
    if (!link)
        return;
    // The session goes on under a new name; whatever is still on its way under the old one
    // is dropped and its news ignored.
    link->RemoveSession(id);
    callbacks.clear();
    pending = 0;
    id = link->AddSession(this);
    Close();
}

bool LinkSession::LinkAlive() const
{
    return link && link->LinkAlive();
}

bool LinkSession::WaitUntilSent()
{
    if (pending > 0) {
        QEventLoop loop;
        connect(this, &LinkSession::idle, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return LinkAlive();
}
