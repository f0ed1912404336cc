// SPDX-License-Identifier: MIT
#pragma once

#include "core/link/CalibratorLink.h"
#include "core/link/CommandSender.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

// One window's way to the calibrator link. What it posts is carried out in order with
// everything else posted to the link (a poll may be overtaken by later commands); when the window
// ends (End, or the session is destroyed) its commands that have not started are dropped and its
// callbacks never come.
class LinkSession : public QObject, public CommandSender
{
    Q_OBJECT

public:
    explicit LinkSession(CalibratorLink& link, QObject* parent = nullptr);
    ~LinkSession() override;

    // Opens COM<port>; `done` learns whether the port is open. A port that cannot be opened
    // is told to the technician by the link.
    void Open(int port, std::function<void(bool opened)> done = {});
    // Closes the port once the commands posted before have been carried out.
    void Close();
    // The next failure of the link is told to the technician even if this episode's was.
    void StartEpisode();
    // Nothing for the calibrator: WaitUntilSent afterwards also waits for everything other
    // windows posted before.
    void Sync();
    // The window ends: its queued commands are dropped, a transaction of its own ends at its
    // next frame, and the port is closed. The session can be used again afterwards.
    void End();

    void Send(const QString& command, Done done = {}) override;
    void Poll(const QString& command, Done done = {}) override;
    bool LinkAlive() const override;
    bool WaitUntilSent() override;

    CalibratorLink* Link() const { return link; }

signals:
    // Everything posted has been carried out.
    void idle();

private:
    friend class CalibratorLink;

    using Callback = std::function<void(bool ok, const QString& reply)>;
    void Post(CalibratorLink::RequestKind kind, int port, const QString& command, Callback done,
              bool poll = false);
    void Finished(quint64 request, bool ok, const QString& reply);

    QPointer<CalibratorLink> link;
    quint64 id = 0;
    QHash<quint64, Callback> callbacks;
    int pending = 0;
};
