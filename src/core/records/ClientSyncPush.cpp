// Cards saved or deleted here going up to the shared base.
#include "ClientSync.h"

#include "ClientConflicts.h"
#include "ClientKeys.h"
#include "ClientMerge.h"
#include "ClientSyncSupport.h"
#include "DataModule.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

using ClientRows::Row;
using ClientRows::Table;
using namespace ClientSyncSupport;

bool ClientSync::lockShared(QSqlDatabase &shared)
{
    // Writers take turns: each first updates the LOCK row, in a transaction of its own kept
    // until its writes are committed, so the stamps drawn by one writer become visible before
    // the next writer draws any, and a reader that saw stamp n has seen every smaller one.
    // A workstation that dropped off during its turn keeps the row until the server notices;
    // the others stop trying after a while, and their cards go up in a later round.
    constexpr int WaitSeconds = 2;
    QElapsedTimer trying;
    trying.start();
    for (;;) {
        QString error;
        if (m_sharedLock.begin(shared, WaitSeconds, &error)
            && m_sharedLock.execute(
                QStringLiteral("UPDATE SYNC_INFO SET VAL = VAL WHERE NAME = 'LOCK'"), &error)) {
            if (shared.transaction())
                return true;
            m_sharedLock.rollback();
            return fail(QStringLiteral("Cannot start a transaction on the shared base: ")
                        + shared.lastError().text());
        }
        if (!isConflict(error))
            return fail(QStringLiteral("Cannot lock the shared base: ") + error);
        if (cancelled())
            return false;
        if (trying.elapsed() > m_shared.turnWaitMs)
            return fail(QStringLiteral("The shared base stayed busy; the cards go up next time."));
        QThread::msleep(20 + QRandomGenerator::global()->bounded(60));
    }
}

bool ClientSync::commitShared(QSqlDatabase &shared, const QString &what)
{
    // The writes end before the turn does, so the next writer sees them.
    if (!shared.commit()) {
        const QString error = shared.lastError().text();
        abandonShared(shared);
        return fail(what + error);
    }
    // Committed, the turn's row version sends a writer that began before it round again with
    // a fresh view, as a writer of an older program keeps its turn in its writing transaction.
    QString error;
    if (!m_sharedLock.commit(&error))
        log(QStringLiteral("The turn on the shared base ended with: ") + error);
    return true;
}

void ClientSync::abandonShared(QSqlDatabase &shared)
{
    shared.rollback();
    m_sharedLock.rollback();
}

bool ClientSync::readBase(QSqlDatabase &local, const QStringList &keys, QHash<QString, Base> *out)
{
    QSqlQuery query(local);
    QString error;
    if (!selectByKeys(query,
                      QStringLiteral("SELECT CODE_CLIENT, SYNC_STAMP, DIGESTS FROM CLIENTS_SYNCED"),
                      keys, &error))
        return fail(QStringLiteral("Cannot read the synchronised copies: ") + error);
    while (query.next())
        out->insert(query.value(0).toString(),
                    {query.value(1).toLongLong(),
                     ClientRows::parseDigests(query.value(2).toString())});
    return true;
}

bool ClientSync::push(QSqlDatabase &local, QSqlDatabase &shared)
{
    QList<Pending> pending;
    {
        QSqlQuery query(local);
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT CODE_CLIENT, CHANGED_AT, DELETED FROM SYNC_PENDING "
                                       "ORDER BY CHANGED_AT NULLS FIRST, CODE_CLIENT")))
            return fail(QStringLiteral("Cannot read the cards waiting to go up: ")
                        + query.lastError().text());
        while (query.next())
            pending.append({query.value(0).toString(), query.value(1).toDateTime(),
                            query.value(2).toInt() != 0});
    }
    for (qsizetype i = 0; i < pending.size(); i += ChunkSize) {
        if (cancelled())
            return false;
        if (!pushChunk(local, shared, pending.mid(i, ChunkSize)))
            return false;
        if (m_progress && pending.size() > ChunkSize)
            m_progress(int(qMin(i + ChunkSize, pending.size())), int(pending.size()));
    }
    return true;
}

bool ClientSync::writeShared(QSqlDatabase &shared, const Row &row, const QStringList &columns,
                             const QDateTime &changedAt, bool insert,
                             std::map<QString, QSqlQuery> &prepared)
{
    QString sql;
    QVariantList values;
    const QStringList &all = m_columns.names;
    if (insert) {
        sql = ClientRows::insertText(all, {QStringLiteral("CHANGED_AT"), QStringLiteral("CHANGED_BY")});
        values = row.values;
    } else {
        QStringList sets;
        for (const QString &column : columns) {
            sets.append(column + QStringLiteral(" = ?"));
            values.append(row.values.at(all.indexOf(column)));
        }
        sets.append({QStringLiteral("CHANGED_AT = ?"), QStringLiteral("CHANGED_BY = ?")});
        sql = QStringLiteral("UPDATE CLIENTS SET ") + sets.join(QStringLiteral(", "))
              + QStringLiteral(" WHERE CODE_CLIENT = ?");
    }
    values.append(changedAt.isValid() ? changedAt : QDateTime::currentDateTime());
    values.append(m_shared.workstation);
    if (!insert)
        values.append(row.key);
    // A statement is prepared once per chunk: preparing costs a round trip to the engine.
    auto [found, made] = prepared.try_emplace(sql, shared);
    if (made)
        found->second.prepare(sql);
    QString error;
    if (!ClientRows::exec(found->second, values, &error))
        return fail(QStringLiteral("Cannot write the card %1 to the shared base: %2")
                        .arg(row.key, error));
    ++m_stats.pushed;
    return true;
}

bool ClientSync::addNote(QSqlDatabase &shared, const QString &key, const QString &field,
                         const QVariant &lost, const QDateTime &lostAt, const QString &lostBy,
                         const QString &keptBy)
{
    ConflictNote note;
    note.code = key;
    note.field = field;
    if (lost.typeId() == QMetaType::QByteArray && field == QLatin1String("FOTO"))
        note.lostPhoto = ClientRows::isBlank(lost) ? QByteArray() : lost.toByteArray();
    else
        note.lostText = ClientRows::displayText(lost);
    note.lostAt = lostAt;
    note.lostBy = lostBy;
    note.keptBy = keptBy;
    QString error;
    if (!ClientConflicts::add(shared, note, &error))
        return fail(error);
    ++m_stats.conflicts;
    return true;
}

bool ClientSync::pushChunk(QSqlDatabase &local, QSqlDatabase &shared, QList<Pending> chunk)
{
    const QStringList &columns = m_columns.names;
    // Cards made with a provisional key take a final one first.
    QStringList keys;
    for (Pending &card : chunk) {
        if (!card.deleted && ClientKeys::isProvisional(card.key)) {
            Row row;
            QString error;
            ClientRows::readOne(local, m_columns, card.key, &row, &error);
            if (!renameHere(local, shared, card, cardName(columns, row), true))
                return false;
        }
        keys.append(card.key);
    }
    Table localRows;
    QHash<QString, Base> base;
    QString error;
    if (!ClientRows::read(local, m_columns, whereKeys(keys.size()), toVariants(keys), &localRows, &error))
        return fail(error);
    if (!readBase(local, keys, &base))
        return false;

    if (!lockShared(shared))
        return false;
    auto abandon = [&](const QString &message) {
        abandonShared(shared);
        return fail(message);
    };
    Table sharedRows;
    if (!ClientRows::read(shared, m_columns, whereKeys(keys.size()), toVariants(keys), &sharedRows, &error, true))
        return abandon(error);
    QHash<QString, QString> tombstones; // key -> deleted by
    {
        QSqlQuery query(shared);
        if (!selectByKeys(query, QStringLiteral("SELECT CODE_CLIENT, DELETED_BY FROM DELETED_CLIENTS"),
                          keys, &error))
            return abandon(QStringLiteral("Cannot read the deleted cards: ") + error);
        while (query.next())
            tombstones.insert(query.value(0).toString(), query.value(1).toString());
    }

    // What this installation's base takes once the shared base has committed; a card written
    // to the shared base learns its stamp before the commit.
    constexpr qint64 Written = -1;
    struct After {
        Pending card;
        int kind = SettleMerged;
        Row row;                   // the card as both bases now hold it
        QStringList localChange;   // Settle: columns the local card takes
        qint64 stamp = 0;
    };
    QList<After> after;
    std::map<QString, QSqlQuery> prepared;
    qint64 highest = 0;
    auto readStamps = [this](QSqlDatabase &db, QList<After> *steps) {
        QStringList written;
        for (const After &step : std::as_const(*steps))
            if (step.stamp == Written)
                written.append(step.card.key);
        if (written.isEmpty())
            return true;
        QSqlQuery query(db);
        QString error;
        if (!selectByKeys(query, QStringLiteral("SELECT CODE_CLIENT, SYNC_STAMP FROM CLIENTS"),
                          written, &error))
            return fail(QStringLiteral("Cannot read back the cards written: ") + error);
        QHash<QString, qint64> stamps;
        while (query.next())
            stamps.insert(query.value(0).toString(), query.value(1).toLongLong());
        for (After &step : *steps)
            if (step.stamp == Written)
                step.stamp = stamps.value(step.card.key);
        return true;
    };

    for (Pending &card : chunk) {
        const Row *mine = localRows.find(card.key);
        const Row *theirs = sharedRows.find(card.key);
        const auto known = base.constFind(card.key);
        const Base *common = known == base.cend() ? nullptr : &known.value();

        if (card.deleted || !mine) {
            if (!theirs) {
                highest = qMax(highest, keyNumber(card.key));
                after.append({card, SettleForget, {}, {}, 0});
                continue;
            }
            if (common && common->stamp == theirs->stamp) {
                QSqlQuery remove(shared);
                remove.prepare(QStringLiteral("DELETE FROM CLIENTS WHERE CODE_CLIENT = ?"));
                remove.addBindValue(card.key);
                QSqlQuery who(shared);
                who.prepare(QStringLiteral("UPDATE DELETED_CLIENTS SET DELETED_BY = ?, "
                                           "DELETED_AT = ? WHERE CODE_CLIENT = ?"));
                who.addBindValue(m_shared.workstation);
                who.addBindValue(card.changedAt.isValid() ? card.changedAt
                                                          : QDateTime::currentDateTime());
                who.addBindValue(card.key);
                if (!remove.exec() || !who.exec())
                    return abandon(QStringLiteral("Cannot delete the card %1 from the shared "
                                                  "base: %2")
                                       .arg(card.key, remove.lastError().text()
                                                          + who.lastError().text()));
                ++m_stats.removed;
                after.append({card, SettleForget, {}, {}, 0});
                continue;
            }
            // Changed elsewhere since this installation last saw it: the edit wins, the card
            // comes back here, and a note says why.
            if (!addNote(shared, card.key, ClientConflicts::deletedField(), QVariant(),
                         card.changedAt, m_shared.workstation, theirs->changedBy))
                return abandon(m_error);
            ++m_stats.restored;
            after.append({card, SettleRestore, *theirs, {}, theirs->stamp});
            continue;
        }

        Row row = *mine;
        if (!theirs) {
            const bool wasDeleted = tombstones.contains(card.key);
            if (wasDeleted && !common) {
                // A card offered on joining whose key this shared base gave out and deleted:
                // another person's key. The card takes a new one.
                if (!renameHere(local, shared, card, cardName(columns, row), false))
                    return abandon(m_error);
                row.key = card.key;
                row.values[0] = card.key;
            } else if (wasDeleted) {
                // Deleted elsewhere, changed here: the edit wins, the card goes back up.
                if (!addNote(shared, card.key, ClientConflicts::deletedField(), QVariant(),
                             QDateTime(), tombstones.value(card.key), m_shared.workstation))
                    return abandon(m_error);
                ++m_stats.restored;
            } else {
                highest = qMax(highest, keyNumber(card.key));
            }
            if (!writeShared(shared, row, {}, card.changedAt, true, prepared))
                return abandon(m_error);
            after.append({card, SettleMerged, row, {}, Written});
            continue;
        }

        if (!common && !ClientMerge::samePerson(columns, row, *theirs)) {
            // The shared base gives this key to another person: this card takes a new key.
            if (!renameHere(local, shared, card, cardName(columns, row), false))
                return abandon(m_error);
            row.key = card.key;
            row.values[0] = card.key;
            if (!writeShared(shared, row, {}, card.changedAt, true, prepared))
                return abandon(m_error);
            after.append({card, SettleMerged, row, {}, Written});
            continue;
        }

        const ClientMerge::Result merged =
            ClientMerge::merge(columns, row, *theirs, common ? &common->digests : nullptr,
                               card.changedAt, theirs->changedAt);
        for (const ClientMerge::Conflict &conflict : merged.conflicts) {
            const QString lostBy = conflict.localLost ? m_shared.workstation : theirs->changedBy;
            const QString keptBy = conflict.localLost ? theirs->changedBy : m_shared.workstation;
            const QDateTime lostAt = conflict.localLost ? card.changedAt : theirs->changedAt;
            if (!addNote(shared, card.key, conflict.column, conflict.lost, lostAt, lostBy, keptBy))
                return abandon(m_error);
        }
        Row result = *theirs;
        result.values = merged.values;
        qint64 stamp = theirs->stamp;
        if (!merged.sharedChange.isEmpty()) {
            if (!writeShared(shared, result, merged.sharedChange, card.changedAt, false, prepared))
                return abandon(m_error);
            stamp = Written;
        }
        after.append({card, SettleMerged, result, merged.localChange, stamp});
    }
    // The stamps the base gave the cards written, in one query; the generator moves once past
    // every final key made elsewhere.
    if (!readStamps(shared, &after) || !bumpKeyGenerator(shared, highest))
        return abandon(m_error);
    prepared.clear();
    if (!commitShared(shared, QStringLiteral("Cannot commit the shared base: ")))
        return false;

    // This base follows, card by card; a card saved here again meanwhile keeps its new state
    // and goes up in the next round.
    // One transaction for the chunk (each commit costs a write to disk), a savepoint per card.
    if (!local.transaction())
        return fail(QStringLiteral("Cannot start a transaction: ") + local.lastError().text());
    for (const After &step : std::as_const(after)) {
        if (!settle(local, step.card.key, step.card.deleted, step.card.changedAt, step.kind,
                    step.row, step.localChange, step.stamp))
            ++m_stats.failed;
    }
    if (!local.commit()) {
        const QString text = local.lastError().text();
        local.rollback();
        return fail(QStringLiteral("Cannot settle the cards that went up: ") + text);
    }
    return true;
}

bool ClientSync::settle(QSqlDatabase &local, const QString &key, bool deleted,
                        const QDateTime &changedAt, int kind, const Row &row,
                        const QStringList &localChange, qint64 stamp)
{
    const QStringList &columns = m_columns.names;
    QSqlQuery savepoint(local);
    if (!savepoint.exec(QStringLiteral("SAVEPOINT SETTLE_CARD")))
        return false;
    QString error;
    QString what;
    bool ok = false;
    do {
        QSqlQuery done(local);
        done.prepare(QStringLiteral("DELETE FROM SYNC_PENDING WHERE CODE_CLIENT = ? AND DELETED = "
                                    "? AND CHANGED_AT IS NOT DISTINCT FROM ?"));
        if (!ClientRows::exec(done, {key, deleted ? 1 : 0, nullableTime(changedAt)}, &error)) {
            what = QStringLiteral("pending");
            break;
        }
        if (done.numRowsAffected() != 1)
            return true; // saved here again meanwhile: it goes up again next round
        if (kind == SettleForget) {
            QSqlQuery forget(local);
            forget.prepare(QStringLiteral("DELETE FROM CLIENTS_SYNCED WHERE CODE_CLIENT = ?"));
            ok = ClientRows::exec(forget, {key}, &error);
            what = QStringLiteral("forget");
            break;
        }
        if (kind == SettleRestore) {
            QSqlQuery restore(local);
            restore.prepare(ClientRows::insertText(columns));
            if (!ClientRows::exec(restore, row.values, &error)) {
                what = QStringLiteral("restore");
                break;
            }
        } else if (!localChange.isEmpty()) {
            QStringList sets;
            QVariantList values;
            for (const QString &column : localChange) {
                sets.append(column + QStringLiteral(" = ?"));
                values.append(row.values.at(columns.indexOf(column)));
            }
            values.append(key);
            QSqlQuery update(local);
            update.prepare(QStringLiteral("UPDATE CLIENTS SET ") + sets.join(QStringLiteral(", "))
                           + QStringLiteral(" WHERE CODE_CLIENT = ?"));
            if (!ClientRows::exec(update, values, &error)) {
                what = QStringLiteral("update");
                break;
            }
        }
        QSqlQuery copy(local);
        copy.prepare(QStringLiteral("UPDATE OR INSERT INTO CLIENTS_SYNCED (CODE_CLIENT, "
                                    "SYNC_STAMP, DIGESTS) VALUES (?, ?, ?) MATCHING (CODE_CLIENT)"));
        ok = ClientRows::exec(copy, {key, stamp, ClientRows::digests(columns, row)}, &error);
        what = QStringLiteral("copy");
    } while (false);
    if (ok)
        return true;
    // The card stays waiting and goes up again next round.
    QSqlQuery back(local);
    back.exec(QStringLiteral("ROLLBACK TO SAVEPOINT SETTLE_CARD"));
    log(QStringLiteral("cannot settle the card %1 (%2): %3").arg(key, what, error));
    return false;
}

bool ClientSync::pushNotes(QSqlDatabase &local, QSqlDatabase &shared)
{
    // Notes made here (a value overwritten in the card editor) go up and come back stamped.
    QString error;
    const QList<ConflictNote> notes = ClientConflicts::unsent(local, &error);
    if (!error.isEmpty())
        return fail(error);
    if (notes.isEmpty())
        return true;
    if (!lockShared(shared))
        return false;
    for (const ConflictNote &note : notes) {
        if (!ClientConflicts::add(shared, note, &error)) {
            abandonShared(shared);
            return fail(error);
        }
    }
    if (!commitShared(shared, QStringLiteral("Cannot commit the notes: ")))
        return false;
    QSqlQuery done(local);
    if (!done.exec(QStringLiteral("DELETE FROM CLIENT_CONFLICTS WHERE SYNC_STAMP IS NULL")))
        return fail(QStringLiteral("Cannot settle the notes: ") + done.lastError().text());
    return true;
}
