// Two installations share their client cards through a real Firebird server on 127.0.0.1,
// started for this test by scripts/firebird-test-server.sh.
#include "ClientSyncTestSupport.h"
#include "TestEnvironment.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

class TestClientSyncServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void twoInstallationsShareCardsThroughTheServer();

private:
    QString script() const {
        return TestEnvironment::sourceDir() + QStringLiteral("/scripts/firebird-test-server.sh");
    }

    std::unique_ptr<TestEnvironment> m_env;
    QString m_folder;
    QString m_password;
    QString m_port;
};

void TestClientSyncServer::initTestCase() {
    if (QProcess::execute(QStringLiteral("bash"), {script(), QStringLiteral("available")}) != 0)
        QSKIP("No Firebird server is installed (package firebird3.0-server).");
    m_env = std::make_unique<TestEnvironment>();
    m_folder = m_env->scratch(QStringLiteral("server"));
    m_password = QStringLiteral("t%1").arg(QRandomGenerator::global()->generate() % 1000000);
    QProcess start;
    start.start(QStringLiteral("bash"), {script(), QStringLiteral("start"), m_folder, m_password});
    QVERIFY(start.waitForFinished(60000));
    QVERIFY2(start.exitCode() == 0, start.readAllStandardError().constData());
    m_port = QString::fromLatin1(start.readAllStandardOutput()).trimmed();
    QVERIFY(!m_port.isEmpty());
}

void TestClientSyncServer::cleanupTestCase() {
    if (!m_folder.isEmpty())
        QProcess::execute(QStringLiteral("bash"), {script(), QStringLiteral("stop"), m_folder});
    m_env.reset();
}

void TestClientSyncServer::twoInstallationsShareCardsThroughTheServer() {
    const QString file = m_folder + QStringLiteral("/Uniform.fdb");
    QVERIFY(QFile::copy(TestEnvironment::installDir() + QStringLiteral("/defUniformDB/Uniform.fdb"),
                        file));
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QString shared = QStringLiteral("127.0.0.1/%1:%2").arg(m_port, file);
    const QString sysdba = QStringLiteral("SYSDBA");
    Installation a(m_env->scratch(QStringLiteral("profileA")), shared, sysdba, m_password);
    Installation b(m_env->scratch(QStringLiteral("profileB")), shared, sysdba, m_password);

    DataModule dataA;
    QVERIFY2(a.start(dataA), qPrintable(a.lastError()));
    a.activate();
    ClientCard anna;
    anna.name = QStringLiteral("Анна");
    anna.surname = QStringLiteral("Server");
    anna.birthday = QDate(1988, 8, 8);
    anna.sex = QStringLiteral("1");
    QVERIFY(ClientRepository(&dataA).addCard(anna, QString(), QDate(2026, 1, 1)));
    QVERIFY2(a.syncOne(anna.code), qPrintable(a.lastError()));

    DataModule dataB;
    QVERIFY2(b.start(dataB), qPrintable(b.lastError()));
    QCOMPARE(Installation::names(dataB), QStringList{QStringLiteral("Анна")});
    QCOMPARE(ClientRepository(&dataB).card(anna.code)->birthday, QDate(1988, 8, 8));
    b.activate();
    ClientCard boris = anna;
    boris.code.clear();
    boris.name = QStringLiteral("Boris");
    QVERIFY(ClientRepository(&dataB).addCard(boris, QString(), QDate(2026, 1, 2)));
    QVERIFY(b.syncOne(boris.code));

    dataA.close();
    QVERIFY(a.start(dataA));
    QCOMPARE(Installation::names(dataA),
             (QStringList{QStringLiteral("Анна"), QStringLiteral("Boris")}));

    // The cards went through the server: with a wrong password nothing gets through.
    Installation c(m_env->scratch(QStringLiteral("profileC")), shared, sysdba,
                   QStringLiteral("wrong"));
    DataModule dataC;
    QVERIFY(!c.start(dataC));
    QVERIFY(Installation::names(dataC).isEmpty());
    dataA.close();
    dataB.close();
    dataC.close();
}

QTEST_GUILESS_MAIN(TestClientSyncServer)
#include "tst_clientsync_server.moc"
