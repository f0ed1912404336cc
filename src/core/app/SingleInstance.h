// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One program per desktop session: the first start listens on a local socket of the user's
// own; a later start hands its document (or none) to it there and ends, instead of running a
// second program that would find the calibrator's port taken. The socket is a file in the
// user's runtime folder, named after the session, so programs on other displays (and test
// runs on their own) never meet.
//
// The claim runs under a lock file beside the socket: of two starts at the same moment one
// listens and the other hands over, and a socket left by a killed program (nobody answers
// on it) is removed before listening again.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim
    {
        First,      // this program runs; later starts hand over to it
        HandedOver, // a running program took the document: this one ends
        NoAnswer,   // a program is there but did not take the document in time
    };

    static constexpr int defaultAnswerMs = 10000; // covers the running program's start pause

    // `socketPath`: the socket's full path (SessionSocketPath for the program).
    explicit SingleInstance(const QString& socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The socket of `session` (the window system and display, for example "xcb-:0") for the
    // user: in $XDG_RUNTIME_DIR, else in the temporary folder with the user's id in the name.
    // Simulator runs are a program of their own beside one on the instrument.
    static QString SessionSocketPath(const QString& session, bool simulator);

    // Hands `document` (an absolute path; empty: none) to the program running in the session,
    // waiting up to answerMs for it to take it; when none runs, becomes that program.
    Claim ClaimOrHandOver(const QString& document, int answerMs = defaultAnswerMs);

    QString SocketPath() const { return socketPath; }

signals:
    // A later start asked to come forward and, unless `document` is empty, to open it.
    // Emitted from the event loop, never from inside the socket's handling, so a receiver may
    // open windows.
    void requested(const QString& document);

private:
    // First when nobody takes the connection.
    Claim HandOver(const QString& document, int answerMs);
    void OnConnection();

    QString socketPath;
    QLocalServer* server; // a child: it closes (and removes the socket) with this object
};
