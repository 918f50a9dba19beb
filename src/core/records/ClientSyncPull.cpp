// What the shared base got since the last round coming down.
#include "ClientSync.h"

#include "ClientConflicts.h"
#include "ClientKeys.h"
#include "ClientMerge.h"
#include "ClientSyncSupport.h"
#include "DataModule.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

using ClientRows::Row;
using ClientRows::Table;
using namespace ClientSyncSupport;

bool ClientSync::pull(QSqlDatabase &local, QSqlDatabase &shared)
{
    const QStringList &columns = m_columns.names;
    QString error;
    // What this base knows: cards waiting to go up (they win until they went up), renamed
    // keys not yet acknowledged, and the stamp of each synchronised copy.
    QSet<QString> pending, deferredKeys;
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT CODE_CLIENT FROM SYNC_PENDING")))
            return fail(query.lastError().text());
        while (query.next())
            pending.insert(query.value(0).toString());
        if (!query.exec(QStringLiteral("SELECT OLD_KEY FROM KEY_RENAMES WHERE ACTIVE = 1")))
            return fail(query.lastError().text());
        while (query.next())
            deferredKeys.insert(query.value(0).toString());
    }

    if (!shared.transaction())
        return fail(QStringLiteral("Cannot start a transaction on the shared base: ")
                    + shared.lastError().text());
    int total = 0;
    {
        QSqlQuery count(shared);
        count.setForwardOnly(true);
        count.prepare(QStringLiteral("SELECT COUNT(*) FROM CLIENTS WHERE SYNC_STAMP > ?"));
        count.addBindValue(m_lastStamp);
        if (!count.exec() || !count.next())
            return fail(QStringLiteral("Cannot read the shared base: ") + count.lastError().text());
        total = count.value(0).toInt();
    }
    qint64 newest = m_lastStamp;
    qint64 firstDeferred = 0;
    int done = 0;
    int inBatch = 0;
    auto commitBatch = [&]() {
        if (inBatch == 0)
            return true;
        inBatch = 0;
        if (local.commit())
            return true;
        const QString text = local.lastError().text();
        local.rollback();
        return fail(QStringLiteral("Cannot store the cards that came: ") + text);
    };
    auto inTransaction = [&]() {
        if (inBatch++ > 0)
            return true;
        return local.transaction() || fail(local.lastError().text());
    };

    if (total > 0) {
        // Statements are prepared per card: the driver binds a prepared statement to the
        // transaction it was prepared in, and the batches commit as they go.
        const QString insertText = ClientRows::insertText(columns);
        QStringList sets;
        for (int i = 1; i < columns.size(); ++i)
            sets.append(columns.at(i) + QStringLiteral(" = ?"));
        const QString updateText = QStringLiteral("UPDATE CLIENTS SET ") + sets.join(QStringLiteral(", "))
                                   + QStringLiteral(" WHERE CODE_CLIENT = ? AND NOT EXISTS (SELECT 1 "
                                                    "FROM SYNC_PENDING WHERE CODE_CLIENT = ?)");
        const QString copyText = QStringLiteral("UPDATE OR INSERT INTO CLIENTS_SYNCED (CODE_CLIENT, "
                                                "SYNC_STAMP, DIGESTS) VALUES (?, ?, ?) MATCHING "
                                                "(CODE_CLIENT)");
        // Read in stamp order and applied in batches as they come, so memory stays flat and a
        // round that takes a few cards asks this base about those cards only.
        QList<Row> batch;
        auto applyBatch = [&]() {
            if (batch.isEmpty())
                return true;
            QStringList keys;
            for (const Row &row : std::as_const(batch))
                keys.append(row.key);
            QHash<QString, Base> base;
            QSet<QString> here;
            {
                QSqlQuery query(local);
                if (!selectByKeys(query, QStringLiteral("SELECT CODE_CLIENT FROM CLIENTS"), keys,
                                  &error))
                    return fail(error);
                while (query.next())
                    here.insert(query.value(0).toString());
            }
            if (!readBase(local, keys, &base) || !inTransaction())
                return false;
            for (const Row &row : std::as_const(batch)) {
                const auto known = base.constFind(row.key);
                if (known != base.cend() && known->stamp == row.stamp)
                    continue; // this base has it already (it went up from here)
                bool applied = true;
                if (here.contains(row.key)) {
                    QSqlQuery update(local);
                    update.prepare(updateText);
                    QVariantList values = row.values.mid(1);
                    values.append({row.key, row.key});
                    if (!ClientRows::exec(update, values, &error))
                        return fail(QStringLiteral("Cannot take the card %1: %2").arg(row.key, error));
                    applied = update.numRowsAffected() == 1;
                } else {
                    QSqlQuery insert(local);
                    insert.prepare(insertText);
                    if (!ClientRows::exec(insert, row.values, &error))
                        return fail(QStringLiteral("Cannot take the card %1: %2").arg(row.key, error));
                }
                if (!applied)
                    continue; // saved here meanwhile: goes up next round
                QSqlQuery copy(local);
                copy.prepare(copyText);
                if (!ClientRows::exec(copy, {row.key, row.stamp, ClientRows::digests(columns, row)},
                                      &error))
                    return fail(QStringLiteral("Cannot note the card %1: %2").arg(row.key, error));
                ++m_stats.pulled;
            }
            inBatch += int(batch.size()); // cards in the open transaction, committed every so many
            batch.clear();
            return (inBatch < PullBatch || commitBatch()) && !(inBatch == 0 && cancelled());
        };
        bool ok = true;
        auto take = [&](Row &&row) {
            row.key = row.key.trimmed();
            newest = qMax(newest, row.stamp);
            ++done;
            if (m_progress && done % PullBatch == 0)
                m_progress(done, total);
            if (pending.contains(row.key))
                return true; // goes up next round, merged with this
            if (deferredKeys.contains(row.key)) {
                if (firstDeferred == 0 || row.stamp < firstDeferred)
                    firstDeferred = row.stamp;
                return true;
            }
            batch.append(std::move(row));
            if (batch.size() >= ChunkSize && !applyBatch())
                return ok = false;
            return true;
        };
        if (!ClientRows::forEach(shared, m_columns,
                                 QStringLiteral("WHERE SYNC_STAMP > ? ORDER BY SYNC_STAMP"),
                                 {m_lastStamp}, true, take, &error))
            return fail(error);
        if (!ok || !applyBatch())
            return false;
    }

    // Deletions made elsewhere.
    {
        QSqlQuery tombs(shared);
        tombs.setForwardOnly(true);
        tombs.prepare(QStringLiteral("SELECT CODE_CLIENT, SYNC_STAMP FROM DELETED_CLIENTS WHERE "
                                     "SYNC_STAMP > ?"));
        tombs.addBindValue(m_lastStamp);
        if (!tombs.exec())
            return fail(QStringLiteral("Cannot read the deleted cards: ") + tombs.lastError().text());
        while (tombs.next()) {
            const QString key = tombs.value(0).toString();
            newest = qMax(newest, tombs.value(1).toLongLong());
            if (pending.contains(key))
                continue; // changed here: goes up and wins over the deletion
            if (!inTransaction())
                return false;
            QSqlQuery remove(local);
            remove.prepare(QStringLiteral("DELETE FROM CLIENTS WHERE CODE_CLIENT = ? AND NOT EXISTS "
                                          "(SELECT 1 FROM SYNC_PENDING WHERE CODE_CLIENT = ?)"));
            remove.addBindValue(key);
            remove.addBindValue(key);
            if (!remove.exec())
                return fail(QStringLiteral("Cannot delete the card %1: %2")
                                .arg(key, remove.lastError().text()));
            if (remove.numRowsAffected() == 1) {
                ++m_stats.deleted;
                QSqlQuery forget(local);
                forget.prepare(QStringLiteral("DELETE FROM CLIENTS_SYNCED WHERE CODE_CLIENT = ?"));
                forget.addBindValue(key);
                forget.exec();
            }
        }
    }

    // Notes on overwritten values.
    {
        QSqlQuery notes(shared);
        notes.setForwardOnly(true);
        notes.prepare(QStringLiteral("SELECT CODE_CLIENT, FIELD_NAME, LOST_TEXT, LOST_PHOTO, LOST_AT, "
                                     "LOST_BY, KEPT_BY, NOTED_AT, SYNC_STAMP FROM CLIENT_CONFLICTS "
                                     "WHERE SYNC_STAMP > ?"));
        notes.addBindValue(m_lastStamp);
        if (!notes.exec())
            return fail(QStringLiteral("Cannot read the notes: ") + notes.lastError().text());
        while (notes.next()) {
            const qint64 stamp = notes.value(8).toLongLong();
            newest = qMax(newest, stamp);
            if (!inTransaction())
                return false;
            QSqlQuery keep(local);
            keep.prepare(QStringLiteral(
                "INSERT INTO CLIENT_CONFLICTS (CODE_CLIENT, FIELD_NAME, LOST_TEXT, LOST_PHOTO, "
                "LOST_AT, LOST_BY, KEPT_BY, NOTED_AT, SYNC_STAMP) SELECT ?, ?, ?, ?, ?, ?, ?, ?, ? "
                "FROM RDB$DATABASE WHERE NOT EXISTS (SELECT 1 FROM CLIENT_CONFLICTS WHERE "
                "SYNC_STAMP = ?)"));
            QVariantList values;
            for (int i = 0; i < 9; ++i)
                values.append(notes.value(i));
            values[2] = DataModule::memoText(values.at(2));
            values.append(stamp);
            if (!ClientRows::exec(keep, values, &error))
                return fail(QStringLiteral("Cannot keep a note: ") + error);
        }
    }
    shared.commit();

    if (firstDeferred > 0) {
        m_deferred = true;
        newest = qMin(newest, firstDeferred - 1);
    }
    if (newest != m_lastStamp) {
        if (!inTransaction()
            || !setInfo(local, QStringLiteral("LAST_STAMP"), QString::number(newest), &error))
            return fail(QStringLiteral("Cannot note the synchronisation: ") + error);
        ++inBatch;
    }
    if (!commitBatch())
        return false;
    if (m_progress && total > 0)
        m_progress(total, total);
    return true;
}
