// A shared base on a server that takes connections and never answers: the workstation starts,
// saves and closes as if it were not there, and the status strip says what is wrong.
#include "app/MainWindow.h"
#include "DialogRecorder.h"
#include "Options.h"
#include "records/ClientRepository.h"
#include "records/ClientSync.h"
#include "records/DataModule.h"
#include "records/ServerAnswer.h"
#include "TestEnvironment.h"
#include "WebEngineTestMain.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QToolButton>
#include <QtTest>

namespace {

// Listens on a free local port; the kernel completes every connection, nobody ever reads.
struct SilentServer
{
    QTcpServer server;
    SilentServer() { server.listen(QHostAddress::LocalHost); }
    QString database() const
    {
        return QStringLiteral("127.0.0.1/%1:/srv/base/Uniform.fdb").arg(server.serverPort());
    }
};

// Replies to whatever arrives, from its own thread, as a live server would.
class AnsweringServer : public QThread
{
public:
    AnsweringServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        m_server.moveToThread(this);
        start();
    }
    ~AnsweringServer() override
    {
        quit();
        wait();
    }
    quint16 port() const { return m_server.serverPort(); }

protected:
    void run() override
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket *socket = m_server.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                socket->readAll();
                socket->write(QByteArray(16, '\0'));
            });
        });
        exec();
    }

private:
    QTcpServer m_server;
};

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when `probe` goes
}

} // namespace

class TestSilentSharedBase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void serverPartOfTheDatabasePath_data();
    void serverPartOfTheDatabasePath();
    void serversAreToldApart();
    void roundGivesUpOnASilentServer();
    void workstationStartsSavesAndClosesWithoutWaiting();
};

void TestSilentSharedBase::serverPartOfTheDatabasePath_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("host") << "fbhost:/srv/Uniform.fdb" << true << "fbhost" << 3050;
    QTest::newRow("host and port")
        << "10.0.0.5/3051:/srv/Uniform.fdb" << true << "10.0.0.5" << 3051;
    QTest::newRow("service name") << "fbhost/gds_db:/srv/U.fdb" << true << "fbhost" << 3050;
    QTest::newRow("windows path") << "fbhost:C:\\Base\\U.fdb" << true << "fbhost" << 3050;
    QTest::newRow("ipv6") << "[::1]/3052:/srv/U.fdb" << true << "::1" << 3052;
    QTest::newRow("url") << "inet://fbhost:3053/srv/U.fdb" << true << "fbhost" << 3053;
    QTest::newRow("url ipv6") << "inet6://[fe80::1]/srv/U.fdb" << true << "fe80::1" << 3050;
    QTest::newRow("local") << "/home/p/Uniform Base/Uniform.fdb" << false << "" << 0;
    QTest::newRow("local with colon") << "/home/p/a:b.fdb" << false << "" << 0;
    QTest::newRow("no host") << ":/srv/U.fdb" << false << "" << 0;
}

void TestSilentSharedBase::serverPartOfTheDatabasePath()
{
    QFETCH(QString, database);
    QFETCH(bool, server);
    ServerAnswer::Address address;
    QCOMPARE(ServerAnswer::parse(database, &address), server);
    if (!server)
        return;
    QFETCH(QString, host);
    QFETCH(int, port);
    QCOMPARE(address.host, host);
    QCOMPARE(int(address.port), port);
}

void TestSilentSharedBase::serversAreToldApart()
{
    SilentServer silent;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ServerAnswer::check(silent.database(), 700), ServerAnswer::Verdict::Silent);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

    AnsweringServer live;
    const QString liveBase = QStringLiteral("127.0.0.1/%1:/srv/U.fdb").arg(live.port());
    QCOMPARE(ServerAnswer::check(liveBase, 5000), ServerAnswer::Verdict::Answers);

    // Nothing listening: the attach fails at once by itself and says so.
    const QString closed = QStringLiteral("127.0.0.1/%1:/srv/U.fdb").arg(closedPort());
    QCOMPARE(ServerAnswer::check(closed, 5000), ServerAnswer::Verdict::Unreachable);
    QCOMPARE(ServerAnswer::check(QStringLiteral("/tmp/U.fdb")), ServerAnswer::Verdict::NotServer);
}

void TestSilentSharedBase::roundGivesUpOnASilentServer()
{
    TestEnvironment env;
    MainWindow w; // lays out the data folder and its base
    DialogRecorder dialogs;
    QVERIFY(w.start());
    const QString local = w.dataModule().path();
    w.close();

    SilentServer silent;
    ClientSync::Target target;
    target.database = silent.database();
    target.answerTimeoutMs = 500;
    ClientSync sync(local, target);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!sync.runRound());
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(sync.sharedSilent());
    QVERIFY(!sync.reachedShared());
    QVERIFY2(sync.lastError().contains(QStringLiteral("does not answer")),
             qPrintable(sync.lastError()));
}

void TestSilentSharedBase::workstationStartsSavesAndClosesWithoutWaiting()
{
    TestEnvironment env;
    DialogRecorder dialogs;
    SilentServer silent;
    {
        // Lay out the data folder first, then point it at the silent server.
        MainWindow first;
        QVERIFY(first.start());
        first.close();
    }
    QVERIFY(setOption(QStringLiteral("Uniform"), QStringLiteral("database"), silent.database()));
    QVERIFY(
        setOption(QStringLiteral("Uniform"), QStringLiteral("answerTimeout"), QStringLiteral("1")));

    QElapsedTimer clock;
    clock.start();
    auto *w = new MainWindow;
    QVERIFY(w->start());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));

    auto *sync = w->findChild<QToolButton *>(QStringLiteral("SyncButton"));
    QTRY_VERIFY_WITH_TIMEOUT(sync->text().contains(QStringLiteral("not answering")), 20000);

    // Saving a card, and asking for a round while one waits on the server, never wait for it.
    for (int i = 0; i < 3; ++i) {
        ClientCard card;
        card.name = QStringLiteral("Quiet%1").arg(i);
        card.surname = QStringLiteral("Server");
        card.birthday = QDate(1980, 1, 1);
        clock.restart();
        QVERIFY(ClientRepository(&w->dataModule())
                    .addCard(card, QString(), QDate(2026, 12, 7), nullptr,
                             ClientRepository::KeySource::SharedBase));
        QTest::mouseClick(sync, Qt::LeftButton);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }
    QTRY_VERIFY_WITH_TIMEOUT(sync->text().contains(QStringLiteral("waiting to go up: 3")), 20000);
    QVERIFY(sync->text().contains(QStringLiteral("not answering")));

    QTest::mouseClick(sync, Qt::LeftButton); // a round waiting on the server when closing
    clock.restart();
    w->close();
    delete w;
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(dialogs.requests().isEmpty());
}

VANDREL_WEBENGINE_TEST_MAIN(TestSilentSharedBase)
#include "tst_silent_shared_base.moc"
