// The everyday sequences of two workstations through a real Firebird server on 127.0.0.1
// (started for this test by scripts/firebird-test-server.sh), and two processes making cards
// at the same moment.
#include "SyncScenarios.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

class TestClientSyncServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void savedOffline() { SyncScenarios::savedOffline(place()); }
    void editsOfBothKept() { SyncScenarios::editsOfBothKept(place()); }
    void editWinsOverDeletion() { SyncScenarios::editWinsOverDeletion(place()); }
    void deletedKeyNeverReused() { SyncScenarios::deletedKeyNeverReused(place()); }
    void joiningMerges() { SyncScenarios::joiningMerges(place()); }
    void offlineCardsNeverCollide() { SyncScenarios::offlineCardsNeverCollide(place()); }
    void wrongPasswordGetsNothing();
    void twoProcessesMakeCardsAtOnce();

private:
    SyncScenarios::Place place();
    QString script() const {
        return TestEnvironment::sourceDir() + "/scripts/firebird-test-server.sh";
    }

    std::unique_ptr<TestEnvironment> m_env;
    QString m_folder;
    QString m_password;
    QString m_port;
};

void TestClientSyncServer::initTestCase() {
    if (QProcess::execute("bash", {script(), "available"}) != 0)
        QSKIP("No Firebird server is installed (package firebird3.0-server).");
    m_env = std::make_unique<TestEnvironment>();
    m_folder = m_env->scratch("server");
    m_password = QStringLiteral("t%1").arg(QRandomGenerator::global()->generate() % 1000000);
    QProcess start;
    start.start("bash", {script(), "start", m_folder, m_password});
    QVERIFY(start.waitForFinished(60000));
    QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
    m_port = QString::fromLatin1(start.readAllStandardOutput()).trimmed();
    QVERIFY(!m_port.isEmpty());
}

void TestClientSyncServer::cleanupTestCase() {
    if (!m_folder.isEmpty())
        QProcess::execute("bash", {script(), "stop", m_folder});
    m_env.reset();
}

SyncScenarios::Place TestClientSyncServer::place() {
    SyncScenarios::Place place;
    place.root = m_env->scratch("profiles");
    place.user = "SYSDBA";
    place.password = m_password;
    const QString folder = m_folder;
    const QString port = m_port;
    place.fresh = [folder, port](const QString &name) {
        const QString file = folder + QLatin1Char('/') + name + ".fdb";
        QFile::remove(file);
        QFile::copy(TestEnvironment::installDir() + "/defUniformDB/Uniform.fdb", file);
        QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return QStringLiteral("127.0.0.1/%1:%2").arg(port, file);
    };
    return place;
}

void TestClientSyncServer::wrongPasswordGetsNothing() {
    SyncScenarios::Place p = place();
    const QString shared = p.fresh("guarded");
    Installation a(p.root + "/a", shared, "A", p.user, p.password);
    QVERIFY2(a.sync(), qPrintable(a.lastError()));
    a.add("Анна");
    QVERIFY(a.sync());
    Installation c(p.root + "/c", shared, "C", p.user, "wrong");
    QVERIFY(!c.sync());
    QVERIFY(c.names().isEmpty());
}

void TestClientSyncServer::twoProcessesMakeCardsAtOnce() {
    // Two workstations, each a process of its own, make 200 cards each at the same moment.
    SyncScenarios::Place p = place();
    const QString shared = p.fresh("rush");
    const QString maker = QCoreApplication::applicationDirPath() + "/sync_card_maker";
    QList<QProcess *> processes;
    QStringList profiles;
    for (const char *name : {"A", "B"}) {
        const QString profile = p.root + QStringLiteral("/rush") + name;
        profiles.append(profile);
        auto *process = new QProcess(this);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(maker, {profile, shared, name, p.user, p.password, "200"});
        processes.append(process);
    }
    for (QProcess *process : processes) {
        QVERIFY(process->waitForFinished(240000));
        QCOMPARE(process->exitCode(), 0);
    }
    QSet<QString> keys;
    std::vector<std::unique_ptr<Installation>> both;
    for (int i = 0; i < 2; ++i)
        both.push_back(std::make_unique<Installation>(profiles.at(i), shared, i ? "B" : "A", p.user,
                                                      p.password));
    for (auto &w : both)
        QVERIFY2(w->sync(), qPrintable(w->lastError()));
    for (auto &w : both) {
        const QHash<QString, QString> cards = w->cards();
        QCOMPARE(cards.size(), 400);
        QSet<QString> names;
        for (auto it = cards.cbegin(); it != cards.cend(); ++it) {
            QVERIFY(!ClientKeys::isProvisional(it.key()));
            names.insert(it.value());
            keys.insert(it.key());
        }
        QCOMPARE(names.size(), 400);
    }
    QCOMPARE(keys.size(), 400);
}

QTEST_GUILESS_MAIN(TestClientSyncServer)
#include "tst_clientsync_server.moc"
