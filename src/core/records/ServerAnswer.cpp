#include "ServerAnswer.h"

#include "DataModule.h"

#include <QDataStream>
#include <QTcpSocket>

namespace {

// Opcodes and versions of the Firebird wire protocol that the opening packet needs.
enum : qint32 {
    OpConnect = 1,
    OpAttach = 19,
    ConnectVersion3 = 3,
    ArchGeneric = 1,
    Protocol10 = 10,
    PtypeRpc = 2,
};

void writeString(QDataStream &out, const QByteArray &bytes)
{
    out << qint32(bytes.size());
    out.writeRawData(bytes.constData(), int(bytes.size()));
    static const char pad[4] = {};
    out.writeRawData(pad, int((4 - bytes.size() % 4) % 4));
}

QByteArray connectPacket(const QString &file)
{
    QByteArray packet;
    QDataStream out(&packet, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian); // XDR
    out << qint32(OpConnect) << qint32(OpAttach) << qint32(ConnectVersion3) << qint32(ArchGeneric);
    writeString(out, file.toUtf8());
    out << qint32(1);     // one protocol offered
    writeString(out, {}); // no user identification
    out << qint32(Protocol10) << qint32(ArchGeneric) << qint32(PtypeRpc) << qint32(PtypeRpc)
        << qint32(1); // its weight
    return packet;
}

void parsePort(const QString &text, quint16 *port)
{
    // A service name ("gds_db", "fb") stands for the standard port.
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (ok && value > 0 && value < 65536)
        *port = quint16(value);
}

} // namespace

bool ServerAnswer::parse(const QString &database, Address *address)
{
    Address found;
    const QString text = database.trimmed();
    for (const QString &scheme :
         {QStringLiteral("inet://"), QStringLiteral("inet4://"), QStringLiteral("inet6://")}) {
        if (!text.startsWith(scheme, Qt::CaseInsensitive))
            continue;
        const QString rest = text.mid(scheme.size());
        const int slash = int(rest.indexOf(QLatin1Char('/')));
        QString server = slash < 0 ? rest : rest.left(slash);
        if (server.startsWith(QLatin1Char('['))) {
            const int close = int(server.indexOf(QLatin1Char(']')));
            if (close < 0)
                return false;
            found.host = server.mid(1, close - 1);
            if (server.mid(close + 1).startsWith(QLatin1Char(':')))
                parsePort(server.mid(close + 2), &found.port);
        } else {
            const int colon = int(server.indexOf(QLatin1Char(':')));
            found.host = colon < 0 ? server : server.left(colon);
            if (colon >= 0)
                parsePort(server.mid(colon + 1), &found.port);
        }
        if (found.host.isEmpty())
            return false;
        *address = found;
        return true;
    }
    if (!DataModule::isServerPath(text))
        return false;
    QString server;
    if (text.startsWith(QLatin1Char('['))) {
        const int close = int(text.indexOf(QLatin1Char(']')));
        if (close < 0)
            return false;
        found.host = text.mid(1, close - 1);
        server = text.mid(close + 1, text.indexOf(QLatin1Char(':'), close) - close - 1);
    } else {
        server = text.left(text.indexOf(QLatin1Char(':')));
        const int slash = int(server.indexOf(QLatin1Char('/')));
        found.host = slash < 0 ? server : server.left(slash);
        server = slash < 0 ? QString() : server.mid(slash);
    }
    if (server.startsWith(QLatin1Char('/')))
        parsePort(server.mid(1), &found.port);
    if (found.host.isEmpty())
        return false;
    *address = found;
    return true;
}

ServerAnswer::Verdict ServerAnswer::check(const QString &database, int timeoutMs)
{
    Address address;
    if (!parse(database, &address))
        return Verdict::NotServer;
    QTcpSocket socket;
    socket.connectToHost(address.host, address.port);
    if (!socket.waitForConnected(timeoutMs)) {
        // A host that drops the connection request keeps the attach waiting just the same.
        return socket.error() == QAbstractSocket::SocketTimeoutError ? Verdict::Silent
                                                                     : Verdict::Unreachable;
    }
    socket.write(connectPacket(database));
    socket.waitForBytesWritten(timeoutMs);
    const bool answered = socket.bytesAvailable() > 0 || socket.waitForReadyRead(timeoutMs)
                          || socket.state() != QAbstractSocket::ConnectedState;
    // What came is read before closing, so the server sees an orderly end, not a reset.
    socket.readAll();
    socket.disconnectFromHost();
    if (socket.state() != QAbstractSocket::UnconnectedState)
        socket.waitForDisconnected(200);
    return answered ? Verdict::Answers : Verdict::Silent;
}
