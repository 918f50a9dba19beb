#include "DurableFile.h"

#include "ErrorOut.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool syncHandle(int handle)
{
    while (::fsync(handle) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool syncPath(const QString &path, int flags)
{
    const int handle = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool ok = syncHandle(handle);
    ::close(handle);
    return ok;
}

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

bool DurableFile::copy(const QString &from, const QString &to, QString *error)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
        return false;
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        setError(error, QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
        return false;
    }
    QString failure;
    QByteArray block;
    while (failure.isEmpty() && !source.atEnd()) {
        block = source.read(1 << 20);
        if (block.isEmpty() && source.error() != QFileDevice::NoError)
            failure = QStringLiteral("Cannot read %1: %2").arg(from, source.errorString());
        else if (target.write(block) != block.size())
            failure = QStringLiteral("Cannot write %1: %2").arg(to, target.errorString());
    }
    if (failure.isEmpty() && (!target.flush() || !syncHandle(target.handle())))
        failure = QStringLiteral("Cannot write %1 to the disk: %2").arg(to, systemReason());
    target.close();
    if (failure.isEmpty() && !target.setPermissions(source.permissions()))
        failure = QStringLiteral("Cannot set the permissions of %1").arg(to);
    if (!failure.isEmpty()) {
        QFile::remove(to);
        setError(error, failure);
        return false;
    }
    return true;
}

bool DurableFile::sync(const QString &path, QString *error)
{
    if (syncPath(path, O_RDONLY))
        return true;
    setError(error, QStringLiteral("Cannot write %1 to the disk: %2").arg(path, systemReason()));
    return false;
}

bool DurableFile::replace(const QString &from, const QString &to, QString *error)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        setError(error, QStringLiteral("Cannot put %1 in place of %2: %3")
                            .arg(from, to, systemReason()));
        return false;
    }
    // The rename is done; a folder that cannot be flushed (some network file systems) only
    // makes it less certain to survive a power loss.
    syncPath(QFileInfo(to).absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}
