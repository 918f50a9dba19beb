#pragma once

#include <QString>

// Asks a Firebird server whether it answers at all, within a time the practitioner can wait.
//
// The Firebird client waits for a server that accepts a connection but never replies for as
// long as its ConnectionTimeout (180 s by default), and Qt's driver offers no way to give an
// attachment a shorter one; the machine's firebird.conf is not this program's to change. So
// before a round attaches to a shared base on a server, it sends the server the opening packet
// of the wire protocol (an op_connect) and waits for any reply: an accept, a refusal, or the
// server closing the connection all show that it answers.
class ServerAnswer
{
public:
    enum class Verdict {
        Answers,     // the server replied or closed the connection
        Silent,      // nothing came back in time (or the connection itself was never answered)
        Unreachable, // no connection (host unknown, refused, nothing listening): the attach
                     // itself fails at once and says why
        NotServer,   // a local file path: nothing to ask
    };

    // Seconds a round waits for the shared base's server to answer; a server on the practice's
    // network answers in milliseconds, one behind a slow VPN in well under a second.
    static constexpr int DefaultTimeoutMs = 8000;

    struct Address
    {
        QString host;
        quint16 port = 3050;
    };
    // The server part of "host:path", "host/port:path", "[v6]/port:path" or
    // "inet://host:port/path"; false for a local path.
    static bool parse(const QString &database, Address *address);

    // Blocks for at most about `timeoutMs` twice (connecting, then waiting for the reply): call
    // it from a worker thread, never from the window's.
    static Verdict check(const QString &database, int timeoutMs = DefaultTimeoutMs);
};
