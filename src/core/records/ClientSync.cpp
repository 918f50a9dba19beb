#include "ClientSync.h"

#include "app/AppPaths.h"
#include "AutomaticSweep.h"
#include "ClientConflicts.h"
#include "ClientKeys.h"
#include "ClientSyncSupport.h"
#include "common/IniFile.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"
#include "SyncSchema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QVariant>

using ClientRows::Row;
using ClientRows::Table;

namespace {

QAtomicInt g_counter;

const QString g_section = QStringLiteral("Uniform");

} // namespace

using namespace ClientSyncSupport;

QString ClientSync::defaultSharedPath()
{
    return AppPaths::makerFolder() + QStringLiteral("/Uniform Base/Uniform.fdb");
}

QString ClientSync::seedPath()
{
    return AppPaths::installFile(QStringLiteral("defUniformDB/Uniform.fdb"));
}

QString ClientSync::defaultWorkstation()
{
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("workstation") : host.left(60);
}

ClientSync::Target ClientSync::configuredTarget()
{
    const IniFile ini(AppPaths::dataFile(QStringLiteral("Options.ini")));
    Target target;
    target.database = ini.readString(g_section, QStringLiteral("database")).trimmed();
    if (target.database.isEmpty())
        target.database = defaultSharedPath();
    target.user = ini.readString(g_section, QStringLiteral("user"), target.user).trimmed();
    target.password = ini.readString(g_section, QStringLiteral("password"), target.password);
    target.workstation =
        ini.readString(g_section, QStringLiteral("workstation"), target.workstation)
            .trimmed()
            .left(60);
    // Seconds; for a server behind a link slower than any practice network.
    const int seconds = ini.readInteger(g_section, QStringLiteral("answerTimeout"), 0);
    if (seconds > 0)
        target.answerTimeoutMs = std::min(seconds, 120) * 1000;
    return target;
}

void ClientSync::writeTarget(IniFile &options, const Target &target)
{
    options.writeString(g_section, QStringLiteral("database"), target.database.trimmed());
    options.writeString(g_section, QStringLiteral("user"), target.user);
    options.writeString(g_section, QStringLiteral("password"), target.password);
}

QString ClientSync::logPath()
{
    return AppPaths::GetDataPath() + QStringLiteral("Vandrel.log");
}

int ClientSync::waitingCount(const QSqlDatabase &local)
{
    QSqlQuery query(local);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT COUNT(*) FROM SYNC_PENDING")) && query.next())
        return query.value(0).toInt();
    return -1;
}

ClientSync::ClientSync(const QString &localPath, Target shared)
    : m_localPath(localPath)
    , m_shared(std::move(shared))
{}

void ClientSync::log(const QString &message) const
{
    QFile file(logPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    file.write((QDateTime::currentDateTime().toString(Qt::ISODate)
                + QStringLiteral("  client synchronisation: ") + message + QLatin1Char('\n'))
                   .toUtf8());
}

bool ClientSync::fail(const QString &message)
{
    if (m_error.isEmpty())
        m_error = message;
    log(message);
    return false;
}

bool ClientSync::prepareShared()
{
    m_created = false;
    const QString path = m_shared.database;
    if (path.isEmpty())
        return fail(QStringLiteral("No shared base is set."));
    // One file is never opened both by this process's engine and through a server.
    const QString localFile = QFileInfo(m_localPath).absoluteFilePath();
    if (DataModule::isServerPath(path)) {
        const QString remoteFile = path.mid(path.indexOf(QLatin1Char(':')) + 1);
        if (QFileInfo(remoteFile).absoluteFilePath() == localFile)
            return fail(QStringLiteral("The shared base %1 is the local base.").arg(path));
        return true;
    }
    if (QFileInfo(path).absoluteFilePath() == localFile)
        return fail(QStringLiteral("The shared base %1 is the local base.").arg(path));
    if (QFileInfo::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString seed = seedPath();
    if (!QFile::copy(seed, path))
        return fail(QStringLiteral("Cannot make the shared base %1 from %2.").arg(path, seed));
    // The seed of a read-only install folder would come over read-only.
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                               | QFile::WriteGroup);
    m_created = true;
    return true;
}

bool ClientSync::open(QSqlDatabase &db, const QString &path, const QString &user,
                      const QString &password)
{
    db.setDatabaseName(path);
    db.setUserName(user);
    db.setPassword(password);
    if (!db.open())
        return fail(QStringLiteral("Cannot open %1: %2").arg(path, db.lastError().text()));
    // A shared base in a file is kept unswept like the local one.
    AutomaticSweep::keepOff(db);
    // Older bases keep client codes and phone numbers narrower than this program needs. Two
    // workstations opening such a shared base at the same moment may both try to widen it; the
    // one that loses finds the columns wide on its next look.
    QString error;
    for (int attempt = 0;; ++attempt) {
        bool widened = false, phonesWidened = false;
        const bool ok = SchemaUpgrade::widenClientCodes(db, &error, &widened)
                        && SchemaUpgrade::widenPhones(db, &error, &phonesWidened);
        if (ok && !widened && !phonesWidened)
            return true;
        if (!ok && attempt >= 4)
            return fail(error);
        // Widened here, or beaten to it: a fresh attachment sees the new layout.
        db.close();
        if (!ok)
            QThread::msleep(200);
        if (!db.open())
            return fail(
                QStringLiteral("Cannot open %1 again: %2").arg(path, db.lastError().text()));
        if (ok)
            return true;
    }
}

bool ClientSync::synchroniseAll()
{
    Stats total;
    QList<Rename> renames;
    for (int i = 0; i < 4; ++i) {
        const bool ok = runRound();
        total.pushed += m_stats.pushed;
        total.pulled += m_stats.pulled;
        total.deleted += m_stats.deleted;
        total.removed += m_stats.removed;
        total.restored += m_stats.restored;
        total.conflicts += m_stats.conflicts;
        total.failed += m_stats.failed;
        total.waiting = m_stats.waiting;
        renames += m_renames;
        if (!ok) {
            m_stats = total;
            m_renames = renames;
            return false;
        }
        if (!m_deferred)
            break;
        DataModule data;
        QString error;
        if (!data.open(m_localPath, &error)
            || !ClientKeys::acknowledgeRenames(data.database(), &error)) {
            m_stats = total;
            m_renames = renames;
            return fail(error);
        }
    }
    m_stats = total;
    m_renames = renames;
    return true;
}

bool ClientSync::runRound()
{
    m_error.clear();
    m_stats = Stats();
    m_renames.clear();
    m_deferred = false;
    m_reached = false;
    m_silent = false;
    if (!QFileInfo(m_localPath).isFile())
        return fail(QStringLiteral("The local base %1 does not exist.").arg(m_localPath));
    if (!prepareShared())
        return false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QIBASE")))
        return fail(QStringLiteral("The Firebird driver of Qt (QIBASE) is not installed."));
    const int n = g_counter.fetchAndAddRelaxed(1);
    const QString localName = QStringLiteral("vandrel-sync-local-%1").arg(n);
    const QString sharedName = QStringLiteral("vandrel-sync-shared-%1").arg(n);
    bool ok = false;
    {
        QSqlDatabase local = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), localName);
        QSqlDatabase shared = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), sharedName);
        if (open(local, m_localPath, QStringLiteral("SYSDBA"), QStringLiteral("quillmoss"))) {
            m_silent = ServerAnswer::check(m_shared.database, m_shared.answerTimeoutMs)
                       == ServerAnswer::Verdict::Silent;
            if (m_silent)
                fail(QStringLiteral(
                         "The server of the shared base %1 does not answer (waited %2 s).")
                         .arg(m_shared.database)
                         .arg(m_shared.answerTimeoutMs / 1000.0));
            else
                m_reached = open(shared, m_shared.database, m_shared.user, m_shared.password);
            if (m_reached)
                ok = round(local, shared);
            if (local.isOpen())
                m_stats.waiting = waitingCount(local);
        }
        if (local.isOpen())
            local.rollback();
        m_sharedLock.rollback(); // a round ended half way leaves no turn open
        if (shared.isOpen())
            shared.rollback();
        local.close();
        shared.close();
    }
    QSqlDatabase::removeDatabase(localName);
    QSqlDatabase::removeDatabase(sharedName);
    return ok;
}

bool ClientSync::round(QSqlDatabase &local, QSqlDatabase &shared)
{
    QString error;
    if (!SyncSchema::upgradeLocal(local, &error))
        return fail(error);
    // Another workstation may be bringing a new shared base up to date at this moment: the
    // attachment that lost a race for an object only sees it made on a fresh attachment.
    for (int attempt = 0; !SyncSchema::upgradeShared(shared, &error); ++attempt) {
        shared.close();
        if (attempt == 2 || !shared.open())
            return fail(error);
    }
    ClientRows::Columns localColumns, sharedColumns;
    if (!ClientRows::readColumns(local, &localColumns, &error)
        || !ClientRows::readColumns(shared, &sharedColumns, &error))
        return fail(error);
    m_columns = ClientRows::common(sharedColumns, localColumns);

    m_sharedId = info(shared, QStringLiteral("BASE_ID"));
    if (m_sharedId.isEmpty())
        return fail(QStringLiteral("The shared base %1 has no identity.").arg(m_shared.database));
    if (info(local, QStringLiteral("SHARED_ID")) != m_sharedId && !join(local, shared))
        return false;
    m_lastStamp = info(local, QStringLiteral("LAST_STAMP")).toLongLong();

    return sweepRenames(local) && reserveKeys(local, shared, m_sharedId) && push(local, shared)
           && pushNotes(local, shared) && pull(local, shared);
}

bool ClientSync::join(QSqlDatabase &local, QSqlDatabase &shared)
{
    // Every key this base ever used, also one only its tests or appointments still carry, is
    // one the shared base must never hand out: the generator jumps past all of them.
    QString error;
    const qint64 largest =
        ClientKeys::highestUsedNumber(local, SchemaUpgrade::clientCodeColumns(), &error);
    if (largest < 0)
        return fail(error);
    if (!bumpKeyGenerator(shared, largest))
        return false;

    // Every card of this base is offered to the shared base as one made here at an unknown
    // time; what the base knew of another shared base no longer counts.
    const QStringList statements = {
        QStringLiteral("DELETE FROM CLIENTS_SYNCED"),
        QStringLiteral("DELETE FROM RESERVED_KEYS"),
        QStringLiteral("DELETE FROM SYNC_PENDING WHERE DELETED = 1"),
        QStringLiteral("INSERT INTO SYNC_PENDING (CODE_CLIENT, CHANGED_AT, DELETED) SELECT "
                       "C.CODE_CLIENT, NULL, 0 FROM CLIENTS C WHERE NOT EXISTS (SELECT 1 FROM "
                       "SYNC_PENDING P WHERE P.CODE_CLIENT = C.CODE_CLIENT)"),
    };
    if (!local.transaction())
        return fail(QStringLiteral("Cannot start a transaction: ") + local.lastError().text());
    for (const QString &sql : statements) {
        QSqlQuery query(local);
        if (!query.exec(sql)) {
            error = query.lastError().text();
            local.rollback();
            return fail(QStringLiteral("Cannot join the shared base: ") + error);
        }
    }
    if (!setInfo(local, QStringLiteral("SHARED_ID"), m_sharedId, &error)
        || !setInfo(local, QStringLiteral("LAST_STAMP"), QStringLiteral("0"), &error)
        || !local.commit()) {
        const QString text = error.isEmpty() ? local.lastError().text() : error;
        local.rollback();
        return fail(QStringLiteral("Cannot join the shared base: ") + text);
    }
    return true;
}

bool ClientSync::sweepRenames(QSqlDatabase &local)
{
    // A row written under an old key just while it was renamed, before the rename was visible
    // to the writer, is moved after the fact.
    QList<QPair<QString, QString>> recent;
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral(
            "SELECT OLD_KEY, NEW_KEY FROM KEY_RENAMES WHERE ACTIVE = 1 AND RENAMED_AT > ?"));
        query.addBindValue(QDateTime::currentDateTime().addDays(-2));
        if (!query.exec())
            return fail(QStringLiteral("Cannot read the renamed keys: ")
                        + query.lastError().text());
        while (query.next())
            recent.append({query.value(0).toString(), query.value(1).toString()});
    }
    for (const auto &[from, to] : std::as_const(recent)) {
        for (const SchemaUpgrade::Column &column : SchemaUpgrade::clientCodeColumns()) {
            if (column.table == QLatin1String("CLIENTS"))
                continue;
            QSqlQuery query(local);
            query.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE %2 = ?")
                              .arg(column.table, column.column));
            query.addBindValue(to);
            query.addBindValue(from);
            query.exec(); // a table an older base lacks has nothing to move
        }
    }
    return true;
}

QString ClientSync::reserveKey(QSqlDatabase &local, QSqlDatabase &shared)
{
    for (int tries = 0; tries < 10000; ++tries) {
        QSqlQuery next(shared);
        next.setForwardOnly(true);
        if (!next.exec(QStringLiteral("SELECT GEN_ID(GEN_CLIENT_KEY, 1) FROM RDB$DATABASE"))
            || !next.next()) {
            fail(QStringLiteral("Cannot take a client key: ") + next.lastError().text());
            return QString();
        }
        const QString key = ClientKeys::prefix() + QString::number(next.value(0).toLongLong());
        if (key.size() > SchemaUpgrade::ClientCodeWidth) {
            fail(QStringLiteral("No free client key is left."));
            return QString();
        }
        QSqlQuery taken(shared);
        taken.setForwardOnly(true);
        taken.prepare(QStringLiteral(
            "SELECT (SELECT COUNT(*) FROM CLIENTS WHERE CODE_CLIENT = ?) + (SELECT COUNT(*) FROM "
            "DELETED_CLIENTS WHERE CODE_CLIENT = ?) FROM RDB$DATABASE"));
        taken.addBindValue(key);
        taken.addBindValue(key);
        if (!taken.exec() || !taken.next()) {
            fail(QStringLiteral("Cannot check a client key: ") + taken.lastError().text());
            return QString();
        }
        if (taken.value(0).toInt() > 0)
            continue;
        bool ok = false;
        QString error;
        if (!ClientKeys::isFree(local, key, &ok, &error)) {
            if (!ok) {
                fail(QStringLiteral("Cannot check a client key: ") + error);
                return QString();
            }
            continue;
        }
        QSqlQuery here(local);
        here.setForwardOnly(true);
        here.prepare(QStringLiteral("SELECT (SELECT COUNT(*) FROM KEY_RENAMES WHERE OLD_KEY = ?) + "
                                    "(SELECT COUNT(*) FROM RESERVED_KEYS WHERE CODE_CLIENT = ?) "
                                    "FROM RDB$DATABASE"));
        here.addBindValue(key);
        here.addBindValue(key);
        if (here.exec() && here.next() && here.value(0).toInt() == 0)
            return key;
    }
    fail(QStringLiteral("No free client key is left."));
    return QString();
}

bool ClientSync::reserveKeys(QSqlDatabase &local, QSqlDatabase &shared, const QString &sharedId)
{
    int have = 0;
    {
        QSqlQuery count(local);
        count.setForwardOnly(true);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM RESERVED_KEYS")) || !count.next())
            return fail(QStringLiteral("Cannot count the reserved keys: ")
                        + count.lastError().text());
        have = count.value(0).toInt();
    }
    for (; have < ReservedKeys; ++have) {
        const QString key = reserveKey(local, shared);
        if (key.isEmpty())
            return false;
        QSqlQuery keep(local);
        keep.prepare(
            QStringLiteral("INSERT INTO RESERVED_KEYS (CODE_CLIENT, SHARED_ID) VALUES (?, ?)"));
        keep.addBindValue(key);
        keep.addBindValue(sharedId);
        if (!keep.exec())
            return fail(QStringLiteral("Cannot keep a reserved key: ") + keep.lastError().text());
    }
    return true;
}

bool ClientSync::bumpKeyGenerator(QSqlDatabase &shared, qint64 number)
{
    // A final key made elsewhere (an older installation's running number) is never handed
    // out again by the generator.
    if (number <= 0)
        return true;
    QSqlQuery query(shared);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT GEN_ID(GEN_CLIENT_KEY, 0) FROM RDB$DATABASE"))
        || !query.next())
        return fail(QStringLiteral("Cannot read the key generator: ") + query.lastError().text());
    const qint64 current = query.value(0).toLongLong();
    if (number <= current)
        return true;
    // The generator moves when the row is fetched, not when the statement runs.
    QSqlQuery bump(shared);
    if (!bump.exec(QStringLiteral("SELECT GEN_ID(GEN_CLIENT_KEY, %1) FROM RDB$DATABASE")
                       .arg(number - current))
        || !bump.next())
        return fail(QStringLiteral("Cannot move the key generator: ") + bump.lastError().text());
    return true;
}

bool ClientSync::renameHere(QSqlDatabase &local, QSqlDatabase &shared, Pending &card,
                            const QString &name, bool provisional)
{
    const QString key = reserveKey(local, shared);
    if (key.isEmpty())
        return false;
    QString error;
    if (!ClientKeys::rename(local, card.key, key, &error))
        return fail(error);
    m_renames.append({card.key, key, name, provisional});
    if (!provisional)
        m_deferred = true; // the shared card of the old key comes down once this is seen
    card.key = key;
    return true;
}
