#pragma once

#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/IniFile.h"
#include "records/ClientConflicts.h"
#include "records/ClientKeys.h"
#include "records/ClientRepository.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"

#include <QDir>
#include <QHash>
#include <QSqlQuery>
#include <QStringList>

// One installation of the program on a machine of the practice: its own profile folder (and
// so its own data folder and base), all of them using one shared client base. Its base stays
// open, as the running program keeps it; it can be cut off from the shared base and
// reconnected.
class Installation {
public:
    Installation(const QString &profile, const QString &sharedBase, const QString &name,
                 const QString &user = QString(), const QString &password = QString())
        : m_profile(profile)
        , m_name(name)
        , m_shared(sharedBase)
        , m_user(user)
        , m_password(password) {
        QDir().mkpath(profile);
        activate();
        DataFolderSetup::run();
        configure(sharedBase);
        m_data = std::make_unique<DataModule>();
        m_data->open(base());
    }

    // This installation's folders become the program's folders.
    void activate() const { qputenv("XDG_DATA_HOME", m_profile.toUtf8()); }
    QString base() const { return m_profile + "/Quillane/Q7/BASE.fdb"; }
    QString name() const { return m_name; }
    DataModule &data() { return *m_data; }

    // The shared base at an address that refuses at once, or back at its place.
    void setOnline(bool online) {
        configure(online ? m_shared : "127.0.0.1/1:/nowhere/Uniform.fdb");
    }
    // Points the installation at another shared base (the settings page does the same).
    void moveTo(const QString &sharedBase) {
        m_shared = sharedBase;
        configure(sharedBase);
    }
    // The program closes and starts again.
    void restart() {
        m_data->close();
        activate();
        m_data->open(base());
    }

    // What the running program does unasked: rounds until everything is in step.
    bool sync() {
        activate();
        ClientSync sync(base());
        const bool ok = sync.synchroniseAll();
        m_lastError = sync.lastError();
        m_renames += sync.renames();
        return ok;
    }
    QString lastError() const { return m_lastError; }
    QList<ClientSync::Rename> takeRenames() { return std::exchange(m_renames, {}); }

    QString add(const QString &name, const QString &surname = "Sync",
                const QDate &birthday = QDate(1975, 1, 2)) {
        activate();
        ClientCard c;
        c.name = name;
        c.surname = surname;
        c.birthday = birthday;
        c.sex = "0";
        QString error;
        if (!ClientRepository(m_data.get())
                 .addCard(c, QString(), QDate(2026, 1, 1), &error,
                          ClientRepository::KeySource::SharedBase))
            qWarning("add failed: %s", qPrintable(error));
        return c.code;
    }
    // Edits one card as the editor does: only what changed is written.
    bool edit(const QString &key, const std::function<void(ClientCard &)> &change) {
        activate();
        ClientRepository repo(m_data.get());
        const std::optional<ClientCard> before =
            repo.card(ClientKeys::currentKey(m_data->database(), key));
        if (!before)
            return false;
        ClientCard after = *before;
        change(after);
        return repo.updateCard(after, ClientRepository::keepPhoto(), nullptr, &*before);
    }
    bool remove(const QString &key) {
        activate();
        return ClientRepository(m_data.get()).removeCard(key);
    }
    // A measured test of the client; its values carry `marker` so a test's owner can be told.
    int measure(const QString &key, int marker) {
        TestRecord test;
        test.codeClient = key;
        test.testDate = QDateTime(QDate(2026, 3, 1), QTime(10, 0)).addSecs(m_tests++);
        for (int i = 0; i < Channels::Count; ++i)
            test.values[size_t(i)] = 1 + (i == 0 ? marker % 200 : i == 1 ? marker / 200 : i);
        m_data->saveTest(test);
        return test.codeTest;
    }
    static int marker(const TestRecord &test) {
        return (test.values[0] - 1) + (test.values[1] - 1) * 200;
    }

    std::optional<ClientCard> card(const QString &key) {
        return ClientRepository(m_data.get()).card(key);
    }
    // key -> name of every card.
    QHash<QString, QString> cards() {
        QHash<QString, QString> out;
        for (const ClientListEntry &entry : ClientRepository(m_data.get()).list())
            out.insert(entry.code, entry.name);
        return out;
    }
    // The names of every card, sorted.
    QStringList names() {
        QStringList names = cards().values();
        names.sort();
        return names;
    }
    // The client key each test is stored under, by test key.
    QHash<int, QString> testOwners() {
        QHash<int, QString> out;
        QSqlQuery query(m_data->database());
        query.exec("SELECT CODE_TEST, CODE_CLIENT FROM TESTS");
        while (query.next())
            out.insert(query.value(0).toInt(), query.value(1).toString());
        return out;
    }
    QList<TestRecord> allTests() {
        QList<TestRecord> out;
        for (int key : testOwners().keys())
            out.append(m_data->test(key).value_or(TestRecord()));
        return out;
    }
    QList<ConflictNote> notes(const QString &key) {
        return ClientConflicts::forClient(m_data->database(), key);
    }
    int waiting() { return ClientSync::waitingCount(m_data->database()); }

private:
    void configure(const QString &sharedBase) {
        activate();
        IniFile ini(AppPaths::dataFile("Options.ini"));
        ini.writeString("Uniform", "database", sharedBase);
        ini.writeString("Uniform", "workstation", m_name);
        if (!m_user.isEmpty()) {
            ini.writeString("Uniform", "user", m_user);
            ini.writeString("Uniform", "password", m_password);
        }
        ini.save();
    }

    QString m_profile;
    QString m_name;
    QString m_shared;
    QString m_user;
    QString m_password;
    std::unique_ptr<DataModule> m_data;
    QString m_lastError;
    QList<ClientSync::Rename> m_renames;
    int m_tests = 0;
};
