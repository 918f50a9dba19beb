#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {

// The same folder gives the same name, whatever way it is written.
QString serverName(const QString &folder)
{
    const QByteArray path = QDir(folder).canonicalPath().toUtf8();
    return QStringLiteral("vandrel-")
           + QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_folder(dataFolder)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(QDir(m_folder).filePath(QStringLiteral(".workstation.lock")));
    // Held for the whole run: it never goes stale while this program lives.
    m_lock->setStaleLockTime(0);
    const QString name = serverName(m_folder);
    if (!m_lock->tryLock(0)) {
        QLocalSocket knock;
        knock.connectToServer(name);
        if (knock.waitForConnected(1000)) {
            knock.write("raise\n");
            knock.waitForBytesWritten(1000);
            knock.disconnectFromServer();
        }
        m_lock.reset();
        return false;
    }
    m_server = new QLocalServer(this);
    QLocalServer::removeServer(name); // a socket left by a program that died
    if (m_server->listen(name)) {
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *socket = m_server->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                Q_EMIT raiseRequested();
            }
        });
    }
    return true;
}
