#include "ServiceBackup.h"

#include "common/ErrorOut.h"
#include "records/FirebirdStatus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ibase.h>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A service parameter of two-byte length.
void addString(QByteArray &block, char tag, const QByteArray &value)
{
    block.append(tag);
    block.append(char(value.size() & 0xff));
    block.append(char((value.size() >> 8) & 0xff));
    block.append(value);
}

class Service
{
public:
    ~Service()
    {
        if (m_handle) {
            ISC_STATUS_ARRAY status;
            isc_service_detach(status, &m_handle);
        }
    }
    isc_svc_handle *handle() { return &m_handle; }

private:
    isc_svc_handle m_handle = 0;
};

} // namespace

bool ServiceBackup::backup(const QString &basePath, const QString &fbkPath, QString *error)
{
    m_wasCancelled = false;
    if (!QFileInfo(basePath).isFile()) {
        setError(error, QStringLiteral("The file %1 does not exist.").arg(native(basePath)));
        return false;
    }
    if (QFileInfo::exists(fbkPath)) {
        setError(error, QStringLiteral("The file %1 exists already; it is not overwritten.")
                            .arg(native(fbkPath)));
        return false;
    }
    const QString part = Gbak::partName(fbkPath);
    if (part.isEmpty()) {
        setError(error, QStringLiteral("Nothing can be written to the folder %1.")
                            .arg(native(QFileInfo(fbkPath).absolutePath())));
        return false;
    }
    const QString problem = run(QFileInfo(basePath).absoluteFilePath(), part);
    if (problem.isEmpty() && QFile::rename(part, fbkPath))
        return true;
    QFile::remove(part);
    setError(error,
             problem.isEmpty()
                 ? QStringLiteral("The file %1 could not be put in place.").arg(native(fbkPath))
                 : problem);
    return false;
}

QString ServiceBackup::run(const QString &basePath, const QString &part)
{
    ISC_STATUS_ARRAY status;
    Service service;
    QByteArray attach;
    attach.append(char(isc_spb_version));
    attach.append(char(isc_spb_current_version));
    attach.append(char(isc_spb_user_name));
    attach.append(char(6));
    attach.append("SYSDBA");
    char name[] = "service_mgr";
    if (isc_service_attach(status, 0, name, service.handle(), ISC_USHORT(attach.size()),
                           attach.data()))
        return QStringLiteral("The backup service of the Firebird engine is not available: %1")
            .arg(firebirdStatusText(status));

    QByteArray request;
    request.append(char(isc_action_svc_backup));
    addString(request, char(isc_spb_dbname), QFile::encodeName(basePath));
    addString(request, char(isc_spb_bkp_file), QFile::encodeName(part));
    request.append(char(isc_spb_options));
    const ISC_ULONG options = isc_spb_bkp_no_garbage_collect;
    for (int shift = 0; shift < 32; shift += 8)
        request.append(char((options >> shift) & 0xff));
    request.append(char(isc_spb_verbose));
    if (isc_service_start(status, service.handle(), nullptr, ISC_USHORT(request.size()),
                          request.data()))
        return QStringLiteral("The backup of %1 could not be started: %2")
            .arg(native(basePath), firebirdStatusText(status));

    // The service's output is gbak's verbose output, one line per query; it ends with an empty
    // line.
    char query[] = {isc_info_svc_line};
    char buffer[2048];
    qint64 records = 0;
    QStringList errors;
    // A cancelled backup is read to its end all the same: the engine cannot stop a service it
    // has started, and a service still writing when its caller detaches, removes its file or
    // ends the process brings the process down.
    for (;;) {
        if (!m_wasCancelled && m_cancelled && m_cancelled())
            m_wasCancelled = true;
        if (isc_service_query(status, service.handle(), nullptr, 0, nullptr, sizeof query, query,
                              sizeof buffer, buffer))
            return QStringLiteral("The backup of %1 failed: %2")
                .arg(native(basePath), firebirdStatusText(status));
        if (buffer[0] != isc_info_svc_line)
            break;
        const int length = int(isc_vax_integer(buffer + 1, 2));
        if (length <= 0)
            break;
        const QString line =
            QString::fromLocal8Bit(buffer + 3, qMin(length, int(sizeof buffer) - 3)).trimmed();
        records += Gbak::recordsIn(line);
        if (line.contains(QLatin1String("ERROR")))
            errors << line;
        if (m_progress && !m_wasCancelled)
            m_progress({line, records});
    }
    if (m_wasCancelled)
        return QStringLiteral("Cancelled.");
    if (!errors.isEmpty())
        return QStringLiteral("The backup of %1 failed: %2")
            .arg(native(basePath), errors.join(QLatin1Char(' ')));
    return QString();
}
