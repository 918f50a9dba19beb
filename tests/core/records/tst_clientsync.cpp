// The shared client base with the embedded engine: a new shared base takes the local cards,
// cards and deletions travel between two installations, dates stay dates, failures are logged.
#include "ClientSyncTestSupport.h"
#include "TestEnvironment.h"

#include <QImage>
#include <QSqlQuery>
#include <QtTest>

namespace {

ClientCard card(const QString &name, const QDate &birthday = QDate(1975, 1, 2)) {
    ClientCard c;
    c.name = name;
    c.surname = QStringLiteral("Sync");
    c.birthday = birthday;
    c.sex = QStringLiteral("0");
    return c;
}

QString add(DataModule &data, const QString &name) {
    ClientCard c = card(name);
    ClientRepository(&data).addCard(c, QString(), QDate(2026, 1, 1));
    return c.code;
}

} // namespace

class TestClientSync : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newSharedBaseKeepsLocalCards();
    void twoInstallationsShareCards();
    void unreachableSharedBaseIsLoggedAndChangesNothing();
};

void TestClientSync::newSharedBaseKeepsLocalCards() {
    TestEnvironment env;
    Installation a(env.profile(), QString()); // the default shared base, not made yet
    DataModule data;
    QVERIFY(data.open(a.base()));
    add(data, QStringLiteral("Alma"));
    add(data, QStringLiteral("Boris"));
    data.close();

    QVERIFY(!QFile::exists(ClientSync::defaultSharedPath()));
    ClientSync sync(a.base());
    QVERIFY2(sync.synchroniseAll(), qPrintable(sync.lastError()));
    QVERIFY(sync.createdSharedBase());
    QCOMPARE(sync.stats().copiedToShared, 2);
    QCOMPARE(sync.stats().deleted, 0);
    QVERIFY(a.start(data));
    QCOMPARE(Installation::names(data),
             (QStringList{QStringLiteral("Alma"), QStringLiteral("Boris")}));
}

void TestClientSync::twoInstallationsShareCards() {
    TestEnvironment env;
    const QString shared = env.scratch(QStringLiteral("office")) + QStringLiteral("/Uniform.fdb");
    QVERIFY(QFile::copy(TestEnvironment::installDir() + QStringLiteral("/defUniformDB/Uniform.fdb"),
                        shared));
    QFile(shared).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    Installation a(env.scratch(QStringLiteral("profileA")), shared);
    Installation b(env.scratch(QStringLiteral("profileB")), shared);

    DataModule dataA;
    QVERIFY2(a.start(dataA), qPrintable(a.lastError()));
    const QString anna = add(dataA, QStringLiteral("Anna"));
    const QString gone = add(dataA, QStringLiteral("Gone"));
    QVERIFY2(a.syncOne(anna), qPrintable(a.lastError()));
    QVERIFY(a.syncOne(gone));

    // B's next start brings both; B's new card reaches A at A's next start.
    DataModule dataB;
    QVERIFY2(b.start(dataB), qPrintable(b.lastError()));
    QCOMPARE(Installation::names(dataB),
             (QStringList{QStringLiteral("Anna"), QStringLiteral("Gone")}));
    // A makes a card B has not seen yet; B's next key must not take its key.
    a.activate();
    const QString clara = add(dataA, QStringLiteral("Clara"));
    QVERIFY(a.syncOne(clara));
    b.activate();
    ClientCard borisCard = card(QStringLiteral("Boris"));
    const QString bBase = b.base();
    QVERIFY(ClientRepository(&dataB).addCard(
        borisCard, QString(), QDate(2026, 1, 1), nullptr,
        [bBase](const QString &key) { return ClientSync(bBase).isKeyFree(key); }));
    const QString boris = borisCard.code;
    QCOMPARE(clara, QStringLiteral("Q73"));
    QCOMPARE(boris, QStringLiteral("Q74"));
    QVERIFY(b.syncOne(boris));

    // A deletes a card: the deletion travels, and A's own next start does not bring it back.
    a.activate();
    QVERIFY(ClientRepository(&dataA).removeCard(gone));
    QVERIFY(a.syncOne(gone));
    // A changed birth date arrives as a date.
    ClientCard changed = *ClientRepository(&dataA).card(anna);
    changed.birthday = QDate(1969, 12, 31);
    QVERIFY(ClientRepository(&dataA).updateCard(changed, ClientRepository::keepPhoto()));
    QVERIFY(a.syncOne(anna));
    dataA.close();
    QVERIFY(a.start(dataA));
    const QStringList everyone = {QStringLiteral("Anna"), QStringLiteral("Clara"),
                                  QStringLiteral("Boris")};
    QCOMPARE(Installation::names(dataA), everyone);

    dataB.close();
    QVERIFY(b.start(dataB));
    QCOMPARE(Installation::names(dataB), everyone);
    QCOMPARE(ClientRepository(&dataB).card(anna)->birthday, QDate(1969, 12, 31));
    {
        QSqlQuery query(dataB.database());
        QVERIFY(query.exec(QStringLiteral(
            "SELECT F.RDB$FIELD_TYPE FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON "
            "F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = 'CLIENTS' AND "
            "RF.RDB$FIELD_NAME = 'BIRTHDAY'")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 12); // DATE
    }

    // A new photo travels too, though nothing else of the card changed.
    a.activate();
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(Qt::green);
    const QString jpeg = env.scratch(QStringLiteral("photos")) + QStringLiteral("/face.jpg");
    QVERIFY(face.save(jpeg, "JPG"));
    QVERIFY(ClientRepository(&dataA).updateCard(changed, jpeg));
    QVERIFY(a.syncOne(anna));
    dataB.close();
    QVERIFY(b.start(dataB));
    QVERIFY(ClientRepository(&dataB).card(anna)->hasPhoto());
    QCOMPARE(ClientRepository(&dataB).card(anna)->foto, ClientRepository(&dataA).card(anna)->foto);
    dataA.close();
    dataB.close();
}

void TestClientSync::unreachableSharedBaseIsLoggedAndChangesNothing() {
    TestEnvironment env;
    Installation a(env.profile(), QStringLiteral("127.0.0.1/1:/nowhere/Uniform.fdb"));
    DataModule data;
    QVERIFY(data.open(a.base()));
    add(data, QStringLiteral("Stays"));
    data.close();
    QVERIFY(!a.start(data)); // the sync failed, the base opened
    QVERIFY(data.isOpen());
    QCOMPARE(Installation::names(data), QStringList{QStringLiteral("Stays")});
    QFile log(ClientSync::logPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("nowhere"));
}

QTEST_GUILESS_MAIN(TestClientSync)
#include "tst_clientsync.moc"
