#pragma once

#include <QSqlDatabase>
#include <QString>

// The tables, columns, generators and triggers that keep the shared client base and each
// installation's own base in step without losing or mixing up a card. Both upgrades only add
// what is missing (nothing is renamed or removed) and may run on every opening.
//
// Shared base:
// - CLIENTS gains SYNC_STAMP (a number from GEN_SYNC_STAMP, set by a trigger on every write,
//   so a synchronisation asks only for rows newer than the last one it saw), CHANGED_AT and
//   CHANGED_BY (when and on which workstation the row was last written).
// - DELETED_CLIENTS: one row per deleted key, made by a trigger on every delete, so a deletion
//   reaches every installation and the key is never handed out again.
// - CLIENT_CONFLICTS: values that lost when one field was changed on two workstations, and
//   deletions that were undone because the card had been changed elsewhere.
// - GEN_CLIENT_KEY: the running number of client keys ("Q7" + number) for every installation.
// - SYNC_INFO: BASE_ID (which shared base this is) and LOCK (a row every writer updates first,
//   so writers take turns and stamps become visible in the order they were drawn).
//
// Own base:
// - SYNC_PENDING: the cards saved or deleted here since their last synchronisation.
// - CLIENTS_SYNCED: per card, the stamp and a digest of every field as last synchronised, so
//   a synchronisation knows which side changed which field.
// - KEY_RENAMES: keys this base renamed; while a rename is ACTIVE, a trigger on every table
//   that carries a client key writes a row given the old key under the new one.
// - RESERVED_KEYS: keys taken from the shared base's generator, ready for new cards.
// - CLIENT_CONFLICTS: the shared base's notes (SYNC_STAMP set) and notes made here that still
//   wait to go up (SYNC_STAMP null).
// - SYNC_INFO: SHARED_ID (the shared base last synchronised with) and LAST_STAMP.
// - GEN_PROVISIONAL_KEY: numbers of the keys cards get while no final key is at hand.
class SyncSchema
{
public:
    static bool upgradeShared(const QSqlDatabase &db, QString *error = nullptr);
    static bool upgradeLocal(const QSqlDatabase &db, QString *error = nullptr);
    // Whether the open own base already has everything upgradeLocal() would make.
    static bool localIsCurrent(const QSqlDatabase &db);

private:
    static bool upgradeSharedOnce(const QSqlDatabase &db, QString *error);
};
