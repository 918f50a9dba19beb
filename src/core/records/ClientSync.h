#pragma once

#include "ClientRows.h"
#include "ServerAnswer.h"
#include "TimedTransaction.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <map>

class IniFile;
class QSqlDatabase;
class QSqlQuery;

// Keeps the local client cards in step with the shared client base that every installation of
// a practice uses: by default the file Uniform.fdb in the maker folder's "Uniform Base" folder
// (made from the install folder's defUniformDB/Uniform.fdb when missing, opened with the
// embedded engine); Options.ini [Uniform] database may name another file or a Firebird server
// ("host/port:/path/Uniform.fdb"), with its user and password.
//
// A round of synchronisation, on connections of its own (so it may run in a worker thread):
// 1. A base this installation has not synchronised with before is joined: every local card is
//    offered to it, and a card whose key the shared base gives to another person is renamed
//    here first, with every row that carries its key.
// 2. Keys are reserved from the shared base's generator for the next new cards; cards made
//    with a provisional key are renamed to a final one.
// 3. Every card saved or deleted here since the last round goes up, merged field by field
//    with what changed there meanwhile (ClientMerge); a deletion of a card that was changed
//    elsewhere meanwhile is undone and noted (an edit wins over a deletion).
// 4. What the shared base got since the last round comes down: cards, deletions and notes.
// Nothing else is read, so a round with nothing to do costs a few small queries.
//
// Failures are written to the log file; the call returns false and what was done stays done
// (each step is committed as it goes and can run again).
class ClientSync {
public:
    struct Target {
        QString database;
        QString user = QStringLiteral("SYSDBA");
        QString password = QStringLiteral("quillmoss");
        QString workstation = defaultWorkstation(); // named in CHANGED_BY and in notes
        // How long a server is given to answer before the round gives up on it.
        int answerTimeoutMs = ServerAnswer::DefaultTimeoutMs;
        // How long a round waits for its turn to write before it leaves its cards for later.
        int turnWaitMs = 20000;
    };
    struct Stats {
        int pushed = 0;     // cards written to the shared base
        int pulled = 0;     // cards taken into this base
        int deleted = 0;    // cards deleted here because they were deleted elsewhere
        int removed = 0;    // deletions made here that reached the shared base
        int restored = 0;   // deletions undone because the card had changed elsewhere
        int conflicts = 0;  // values that lost (kept as notes)
        int failed = 0;     // cards that could not be written (logged)
        int waiting = 0;    // cards still waiting to go up after the round
    };
    struct Rename {
        QString from;
        QString to;
        QString name; // "Name Surname" of the card
        bool provisional = false;
    };
    // done / total of the cards coming down, called now and then while they come.
    using Progress = std::function<void(int done, int total)>;

    static QString defaultSharedPath();
    static QString seedPath();
    static QString defaultWorkstation();
    // The shared base from Options.ini [Uniform] (database, user, password, workstation).
    static Target configuredTarget();
    // Writes the [Uniform] section; an empty database means the default shared base.
    static void writeTarget(IniFile &options, const Target &target);
    // The program's log file, where failed synchronisations are written.
    static QString logPath();
    // The cards of a base that wait to go up; -1 when the base cannot be asked.
    static int waitingCount(const QSqlDatabase &local);

    explicit ClientSync(const QString &localPath, Target shared = configuredTarget());

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // A flag another thread sets to end a long round early (between cards, with what was done
    // committed); the round then returns false.
    void setCancel(const std::atomic_bool *cancel) { m_cancel = cancel; }

    // One round (see above). Renames of final keys stay active until acknowledged (see
    // ClientKeys::acknowledgeRenames); cards of the shared base that take such a key come down
    // in a round after that (needsAnotherRound()).
    bool runRound();
    // Rounds until everything is in step, acknowledging renames in between: for callers that
    // hold no client key in memory (start-up without windows, tools, tests).
    bool synchroniseAll();

    QString lastError() const { return m_error; }
    Stats stats() const { return m_stats; }
    QList<Rename> renames() const { return m_renames; }
    bool needsAnotherRound() const { return m_deferred; }
    // Whether the last round made the shared base from its seed.
    bool createdSharedBase() const { return m_created; }
    // Whether the last round reached the shared base at all.
    bool reachedShared() const { return m_reached; }
    // Whether the last round found the shared base's server taking connections but silent.
    bool sharedSilent() const { return m_silent; }

private:
    struct Pending {
        QString key;
        QDateTime changedAt; // invalid: not known (a card offered when joining)
        bool deleted = false;
    };
    struct Base {
        qint64 stamp = 0;
        QHash<QString, QString> digests;
    };

    bool prepareShared();
    bool fail(const QString &message);
    void log(const QString &message) const;
    bool open(QSqlDatabase &db, const QString &path, const QString &user, const QString &password);
    bool round(QSqlDatabase &local, QSqlDatabase &shared);
    bool join(QSqlDatabase &local, QSqlDatabase &shared);
    bool sweepRenames(QSqlDatabase &local);
    bool reserveKeys(QSqlDatabase &local, QSqlDatabase &shared, const QString &sharedId);
    QString reserveKey(QSqlDatabase &local, QSqlDatabase &shared);
    // Moves the key generator past "Q7" + number, a key made elsewhere.
    bool bumpKeyGenerator(QSqlDatabase &shared, qint64 number);
    bool renameHere(QSqlDatabase &local, QSqlDatabase &shared, Pending &card,
                    const QString &name, bool provisional);
    bool push(QSqlDatabase &local, QSqlDatabase &shared);
    bool pushChunk(QSqlDatabase &local, QSqlDatabase &shared, QList<Pending> chunk);
    bool settle(QSqlDatabase &local, const QString &key, bool deleted, const QDateTime &changedAt,
                int kind, const ClientRows::Row &row, const QStringList &localChange,
                qint64 stamp);
    bool pushNotes(QSqlDatabase &local, QSqlDatabase &shared);
    // Waits for this workstation's turn to write to the shared base and opens the writing
    // transaction; commitShared() or abandonShared() ends both.
    bool lockShared(QSqlDatabase &shared);
    bool commitShared(QSqlDatabase &shared, const QString &what);
    void abandonShared(QSqlDatabase &shared);
    bool pull(QSqlDatabase &local, QSqlDatabase &shared);
    bool readBase(QSqlDatabase &local, const QStringList &keys, QHash<QString, Base> *out);
    bool writeShared(QSqlDatabase &shared, const ClientRows::Row &row, const QStringList &columns,
                     const QDateTime &changedAt, bool insert, std::map<QString, QSqlQuery> &prepared);
    bool addNote(QSqlDatabase &shared, const QString &key, const QString &field,
                 const QVariant &lost, const QDateTime &lostAt, const QString &lostBy,
                 const QString &keptBy);

    QString m_localPath;
    Target m_shared;
    Progress m_progress;
    const std::atomic_bool *m_cancel = nullptr;
    bool cancelled() { return m_cancel && m_cancel->load() && !fail(QStringLiteral("Stopped.")); }
    QString m_error;
    Stats m_stats;
    QList<Rename> m_renames;
    bool m_created = false;
    bool m_reached = false;
    bool m_silent = false;
    bool m_deferred = false;
    ClientRows::Columns m_columns;
    QString m_sharedId;
    qint64 m_lastStamp = 0;
    TimedTransaction m_sharedLock;
};
