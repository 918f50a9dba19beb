#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class IniFile;
class QSqlDatabase;

// Keeps the local client cards in step with the shared client base that every installation of
// a practice uses: by default the file Uniform.fdb in the maker folder's "Uniform Base" folder
// (made from the install folder's defUniformDB/Uniform.fdb when missing, opened with the
// embedded engine); Options.ini [Uniform] database may name another file or a Firebird server
// ("host/port:/path/Uniform.fdb"), with its user and password.
//
// The shared base is the master. A full synchronisation (at start, before the program opens
// its own base) makes the local CLIENTS equal to the shared one: rows are matched by trimmed
// key, changed rows overwritten, missing ones added, and local cards the shared base lacks are
// deleted. A shared base that is new or empty is first filled from the local cards, so that
// no card of this installation is lost on the first start. A single-row synchronisation (after
// a card was saved or deleted) copies that one card, or its deletion, to the shared base.
//
// Each call works in one transaction per base and commits before it returns. Failures are not
// shown to the user: they go to the log file and the call returns false; the caller goes on.
class ClientSync {
public:
    struct Target {
        QString database;
        QString user = QStringLiteral("SYSDBA");
        QString password = QStringLiteral("quillmoss");
    };
    struct Stats {
        int inserted = 0;       // rows added to the base being brought into line
        int updated = 0;        // rows overwritten there
        int deleted = 0;        // rows deleted there
        int copiedToShared = 0; // local cards that filled a new shared base
        int failed = 0;         // rows that could not be written (logged)
    };
    // done / total rows of a full synchronisation, called now and then while it runs.
    using Progress = std::function<void(int done, int total)>;

    static QString defaultSharedPath();
    static QString seedPath();
    // The shared base from Options.ini [Uniform] (database, user, password), or the default.
    static Target configuredTarget();
    // Writes the [Uniform] section; an empty database means the default shared base.
    static void writeTarget(IniFile &options, const Target &target);
    // The program's log file, where failed synchronisations are written.
    static QString logPath();

    explicit ClientSync(const QString &localPath, Target shared = configuredTarget());

    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // A key (not empty, not "0"): that card; otherwise everything.
    bool Synchronise(const QString &key = QString());
    bool synchroniseAll();
    bool synchroniseOne(const QString &key);

    // Whether the shared base has no card with this key (trimmed, letter case aside), so that
    // two installations never give one key to two clients. True when the shared base cannot be
    // reached: the local check alone decides then, and the failure is logged.
    bool isKeyFree(const QString &key);

    QString lastError() const { return m_error; }
    Stats stats() const { return m_stats; }
    // Whether the last call made the shared base from its seed.
    bool createdSharedBase() const { return m_created; }

private:
    bool prepareShared();
    bool fail(const QString &message);
    void log(const QString &message) const;
    bool open(QSqlDatabase &db, const QString &path, const QString &user, const QString &password,
              QString *error) const;
    bool runAll(QSqlDatabase &local, QSqlDatabase &shared);
    bool runOne(QSqlDatabase &local, QSqlDatabase &shared, const QString &key);
    template <typename Fn> bool withBases(Fn fn);

    QString m_localPath;
    Target m_shared;
    Progress m_progress;
    QString m_error;
    Stats m_stats;
    bool m_created = false;
    QStringList m_columns;
    QStringList m_memoColumns;
    QStringList m_blobColumns;
};
