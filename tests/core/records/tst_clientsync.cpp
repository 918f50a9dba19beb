// The shared client base with the embedded engine: the everyday sequences of two
// workstations, a base made before synchronisation kept anything, and a seeded random run of
// three workstations that checks after every step that no card is lost and no record changes
// owner.
#include "records/AutomaticSweep.h"
#include "records/DataModule.h"
#include "records/SyncSchema.h"
#include "records/TimedTransaction.h"
#include "RecordsTestSupport.h"
#include "SyncScenarios.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTcpServer>
#include <QtTest>

#include <chrono>
#include <future>

class TestClientSync : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        m_place.root = m_env->scratch("profiles");
        const QString offices = m_env->scratch("offices");
        m_place.fresh = [offices](const QString &name) {
            const QString file = offices + QLatin1Char('/') + name + ".fdb";
            QFile::copy(TestEnvironment::installDir() + "/defUniformDB/Uniform.fdb", file);
            QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            return file;
        };
    }
    void cleanup() { m_env.reset(); }
    void savedOffline() { SyncScenarios::savedOffline(m_place); }
    void editsOfBothKept() { SyncScenarios::editsOfBothKept(m_place); }
    void editWinsOverDeletion() { SyncScenarios::editWinsOverDeletion(m_place); }
    void deletedKeyNeverReused() { SyncScenarios::deletedKeyNeverReused(m_place); }
    void joiningMerges() { SyncScenarios::joiningMerges(m_place); }
    void offlineCardsNeverCollide() { SyncScenarios::offlineCardsNeverCollide(m_place); }
    void newSharedBaseTakesLocalCards();
    void keysOfLeftoverTestsAreNeverGivenOut();
    void datesAndPhotosTravel();
    void basesOfTheFormerLayoutAreUpgraded();
    void randomWorkstations();
    void upgradersOfANewSharedBaseTakeTurns();
    void aWorkstationGoneMidTurnCostsOthersSecondsOnly();
    void closingNeverWaitsForASilentServer();

private:
    std::unique_ptr<TestEnvironment> m_env;
    SyncScenarios::Place m_place;
};

void TestClientSync::newSharedBaseTakesLocalCards() {
    // The default shared base does not exist yet: it is made from its seed and takes the
    // cards this installation already has.
    Installation a(m_env->profile(), QString(), "A");
    {
        IniFile ini(AppPaths::dataFile("Options.ini"));
        ini.writeString("Uniform", "database", QString());
        ini.save();
    }
    ClientCard c;
    c.name = "Alma";
    c.surname = "Local";
    c.birthday = QDate(1970, 1, 1);
    QVERIFY(ClientRepository(&a.data()).addCard(c, QString(), QDate(2026, 1, 1)));
    QCOMPARE(c.code, "Q71"); // the running number of an installation alone
    QVERIFY(!QFile::exists(ClientSync::defaultSharedPath()));
    ClientSync sync(a.base());
    QVERIFY2(sync.runRound(), qPrintable(sync.lastError()));
    QVERIFY(sync.createdSharedBase());
    QCOMPARE(sync.stats().pushed, 1);
    QCOMPARE(a.names(), QStringList{"Alma"});
    // The generator went past the key, so the next card never takes it.
    QCOMPARE(a.add("Berta"), "Q72");
}

void TestClientSync::keysOfLeftoverTestsAreNeverGivenOut() {
    // Tests of a card deleted before this installation ever joined a shared base still carry
    // its key: no card of another workstation may take that key and so take those tests.
    const QString shared = m_place.fresh("leftover");
    Installation c(m_place.root + "/c", "127.0.0.1/1:/nowhere.fdb", "C");
    const int test = c.measure("Q75", 9);
    c.moveTo(shared);
    QVERIFY2(c.sync(), qPrintable(c.lastError()));
    Installation b(m_place.root + "/b", shared, "B");
    QVERIFY(b.sync());
    for (int i = 0; i < 6; ++i)
        QVERIFY(b.add(QStringLiteral("New%1").arg(i)) != "Q75");
    QVERIFY(b.sync());
    QVERIFY(c.sync());
    QVERIFY(!c.card("Q75").has_value());
    QCOMPARE(c.testOwners().value(test), "Q75");
}

void TestClientSync::datesAndPhotosTravel() {
    const QString shared = m_place.fresh("photos");
    Installation a(m_place.root + "/a", shared, "A");
    Installation b(m_place.root + "/b", shared, "B");
    QVERIFY(a.sync());
    const QString key = a.add("Anna");
    QVERIFY(a.sync());
    QVERIFY(b.sync());
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(Qt::green);
    const QString jpeg = m_env->scratch("photos") + "/face.jpg";
    QVERIFY(face.save(jpeg, "JPG"));
    a.activate();
    ClientCard card = *a.card(key);
    const ClientCard before = card;
    card.birthday = QDate(1969, 12, 31);
    QVERIFY(ClientRepository(&a.data()).updateCard(card, jpeg, nullptr, &before));
    QVERIFY(a.sync());
    QVERIFY(b.sync());
    QCOMPARE(b.card(key)->birthday, QDate(1969, 12, 31));
    QVERIFY(b.card(key)->hasPhoto());
    QCOMPARE(b.card(key)->foto, a.card(key)->foto);
}

void TestClientSync::basesOfTheFormerLayoutAreUpgraded() {
    // Two bases as the former program left them: the same cards in both (its start made them
    // equal), a test, no synchronisation tables.
    const QString shared = m_place.fresh("former");
    const QString profile = m_place.root + "/former";
    QDir().mkpath(profile);
    qputenv("XDG_DATA_HOME", profile.toUtf8());
    DataFolderSetup::run();
    const QString local = AppPaths::GetDataPath() + "BASE.fdb";
    const QString cards = QStringLiteral(
        "INSERT INTO CLIENTS (CODE_CLIENT, NAME, SURNAME, BIRTHDAY, TEL1) VALUES ('Q71', 'Olga', "
        "'Old', '1960-05-05', '111');\n"
        "INSERT INTO CLIENTS (CODE_CLIENT, NAME, SURNAME, BIRTHDAY) VALUES ('Q72', 'Pavel', "
        "'Old', '1961-06-06');\nCOMMIT;\n");
    QCOMPARE(RecordsTestSupport::runIsql(cards, shared), QString());
    QCOMPARE(RecordsTestSupport::runIsql(
                 cards + QStringLiteral(
                             "INSERT INTO TESTS (CODE_TEST, CODE_CLIENT, TEST_DATE, LLU, LPC, "
                             "LHT, LSI, LTH, LLI, LSP, LLV, LKI, LBL, LGB, LST, RLU, RPC, RHT, "
                             "RSI, RTH, RLI, RSP, RLV, RKI, RBL, RGB, RST) VALUES (5, 'Q72', "
                             "'2025-01-01 10:00', 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,"
                             "18,19,20,21,22,23,24);\nCOMMIT;\n"),
                 local),
             QString());

    // The former program's bases let the engine sweep them by itself, which can bring back a
    // save that a kill cut off; the first round stops that.
    QCOMPARE(QProcess::execute("gfix", {"-user", "SYSDBA", "-housekeeping", "20000", shared}), 0);

    Installation a(profile, shared, "A");
    QVERIFY2(a.sync(), qPrintable(a.lastError()));
    {
        QSqlDatabase db = DataModule::addConnection("interval", shared);
        QVERIFY(db.open());
        QCOMPARE(AutomaticSweep::interval(db), std::optional<qint64>(0));
    }
    QSqlDatabase::removeDatabase("interval");
    QVERIFY(a.takeRenames().isEmpty());
    QCOMPARE(a.names(), (QStringList{"Olga", "Pavel"}));
    QCOMPARE(a.testOwners().value(5), "Q72");
    QCOMPARE(a.card("Q71")->tel1, "111");
    QVERIFY(a.notes("Q71").isEmpty());
    // The key generator starts past the former keys.
    QCOMPARE(a.add("Rita"), "Q73");
    Installation b(m_place.root + "/second", shared, "B");
    QVERIFY(a.sync());
    QVERIFY(b.sync());
    QCOMPARE(b.names(), (QStringList{"Olga", "Pavel", "Rita"}));
}

// Three workstations doing what a practice does, in a seeded random order. The name of each
// card is its person ("P<n>") and each test's values carry the person it was measured for.
void TestClientSync::randomWorkstations() {
    const auto setting = [](const char *name, int otherwise) {
        return qEnvironmentVariableIntValue(name) > 0 ? qEnvironmentVariableIntValue(name)
                                                      : otherwise;
    };
    const int steps = setting("VANDREL_SYNC_STEPS", 120);
    const quint32 seed = quint32(setting("VANDREL_SYNC_SEED", 20261207));
    QRandomGenerator random(seed);
    const QString shared = m_place.fresh("random");
    std::vector<std::unique_ptr<Installation>> ws;
    std::vector<bool> online(3, true);
    for (const QString name : {"A", "B", "C"})
        ws.push_back(std::make_unique<Installation>(m_place.root + '/' + name, shared, name));
    int people = 0;
    QSet<int> deletedSomewhere; // persons someone deleted (they may come back by an edit)
    const QList<QString ClientCard::*> fields = {&ClientCard::tel1, &ClientCard::city,
                                                 &ClientCard::comment, &ClientCard::surname};

    auto person = [](const QString &name) { return name.mid(1).toInt(); };
    auto check = [&](int step) {
        for (auto &w : ws) {
            const QHash<QString, QString> cards = w->cards();
            const auto where = [&](const QString &what) {
                return (QStringLiteral("step %1: %2 ").arg(step).arg(w->name()) + what).toUtf8();
            };
            QSet<int> seen;
            for (const QString &name : cards) {
                QVERIFY2(!seen.contains(person(name)),
                         where(name + QStringLiteral(" twice")).constData());
                seen.insert(person(name));
            }
            // No record under another person's card.
            for (const TestRecord &test : w->allTests()) {
                const int marker = Installation::marker(test);
                const QString owner = cards.value(test.codeClient);
                QVERIFY2(owner.isEmpty() ? deletedSomewhere.contains(marker)
                                         : person(owner) == marker,
                         where(QStringLiteral("shows a test of P%1 under %2 (%3)")
                                   .arg(marker)
                                   .arg(owner, test.codeClient))
                             .constData());
            }
        }
    };

    for (int step = 0; step < steps; ++step) {
        const int i = int(random.bounded(3));
        Installation &w = *ws[size_t(i)];
        const QHash<QString, QString> cards = w.cards();
        const QStringList keys = cards.keys();
        const int action = int(random.bounded(100));
        if (action < 25 || keys.isEmpty()) {
            const QString name = QStringLiteral("P%1").arg(++people);
            const QString key = w.add(name);
            QVERIFY(!key.isEmpty());
            if (random.bounded(2))
                w.measure(key, people);
        } else if (action < 50) {
            const QString key = keys.at(int(random.bounded(qsizetype(keys.size()))));
            QString ClientCard::*field = fields.at(int(random.bounded(qsizetype(fields.size()))));
            const QString value = QStringLiteral("%1-%2").arg(w.name()).arg(step);
            QVERIFY(w.edit(key, [&](ClientCard &c) { c.*field = value; }));
        } else if (action < 58) {
            const QString key = keys.at(int(random.bounded(qsizetype(keys.size()))));
            deletedSomewhere.insert(person(cards.value(key)));
            QVERIFY(w.remove(key));
        } else if (action < 70) {
            const QString key = keys.at(int(random.bounded(qsizetype(keys.size()))));
            w.measure(key, person(cards.value(key)));
        } else if (action < 78) {
            online[size_t(i)] = !online[size_t(i)];
            w.setOnline(online[size_t(i)]);
        } else if (action < 82) {
            w.restart();
        } else {
            const bool ok = w.sync();
            if (online[size_t(i)])
                QVERIFY2(ok,
                         qPrintable(QStringLiteral("step %1: %2").arg(step).arg(w.lastError())));
        }
        check(step);
        if (QTest::currentTestFailed())
            return;
    }

    // A full round: everyone online, each synchronises twice in turn; then all agree.
    for (size_t i = 0; i < ws.size(); ++i)
        ws[i]->setOnline(true);
    for (int round = 0; round < 2; ++round)
        for (auto &w : ws)
            QVERIFY2(w->sync(), qPrintable(w->lastError()));
    check(steps);
    QMap<QString, QString> first;
    for (size_t i = 0; i < ws.size(); ++i) {
        QMap<QString, QString> view;
        for (const ClientListEntry &entry : ClientRepository(&ws[i]->data()).list()) {
            const ClientCard c = *ws[i]->card(entry.code);
            view.insert(entry.code, QStringList{c.name, c.surname, c.tel1, c.city, c.comment}.join(
                                        QLatin1Char('|')));
            QVERIFY(!ClientKeys::isProvisional(entry.code));
        }
        QCOMPARE(ws[i]->waiting(), 0);
        if (i == 0)
            first = view;
        else
            QCOMPARE(view, first);
    }
    // Every person nobody deleted is there.
    QSet<int> present;
    for (const QString &name : std::as_const(first))
        present.insert(person(name.section(QLatin1Char('|'), 0, 0)));
    for (int p = 1; p <= people; ++p)
        if (!deletedSomewhere.contains(p))
            QVERIFY2(present.contains(p), qPrintable(QStringLiteral("P%1 was lost").arg(p)));
    qInfo("%d steps, %d persons, %d cards at the end (seed %u)", steps, people, int(first.size()),
          seed);
}

static bool finished(const std::future<QString> &work) {
    return work.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void TestClientSync::upgradersOfANewSharedBaseTakeTurns() {
    // Two workstations meet a new shared base at the same moment. Had both changed CLIENTS
    // side by side, the engine could leave both waiting on each other for good; the second
    // waits for the first's turn, then finds its work done and makes the rest.
    const QString file = m_place.fresh("turns");
    QSqlDatabase first = DataModule::addConnection("turns-first", file);
    QVERIFY(first.open());
    TimedTransaction turn;
    QString error;
    QVERIFY2(turn.begin(first, 5, &error, "CLIENTS"), qPrintable(error));

    std::future<QString> second = std::async(std::launch::async, [file] {
        QString failure;
        {
            QSqlDatabase db = DataModule::addConnection("turns-second", file);
            if (!db.open())
                failure = "not opened";
            else if (!SyncSchema::upgradeShared(db, &failure) && failure.isEmpty())
                failure = "failed without a word";
        }
        QSqlDatabase::removeDatabase("turns-second");
        return failure;
    });
    QTest::qWait(1500);
    QVERIFY(!finished(second));
    QVERIFY2(turn.execute("ALTER TABLE CLIENTS ADD SYNC_STAMP BIGINT", &error), qPrintable(error));
    QVERIFY2(turn.commit(&error), qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(finished(second), 30000);
    QCOMPARE(second.get(), QString());

    // A turn that never comes ends in a word within the wait, and keeps nothing of the turn.
    QVERIFY(turn.begin(first, 5, &error, "CLIENTS"));
    QElapsedTimer waited;
    waited.start();
    std::future<QString> stuck = std::async(std::launch::async, [file] {
        QString failure;
        {
            QSqlDatabase db = DataModule::addConnection("turns-stuck", file);
            if (db.open()
                && TimedTransaction::runReserved(db, "CLIENTS", {"CREATE SEQUENCE GEN_NEVER_MADE"},
                                                 1, &failure))
                failure.clear();
        }
        QSqlDatabase::removeDatabase("turns-stuck");
        return failure;
    });
    QTRY_VERIFY_WITH_TIMEOUT(finished(stuck), 10000);
    QVERIFY(waited.elapsed() < 5000);
    QVERIFY(stuck.get().contains("CLIENTS"));
    QVERIFY(turn.commit(&error));
    QSqlQuery made(first);
    QVERIFY(made.exec("SELECT (SELECT COUNT(*) FROM RDB$GENERATORS WHERE RDB$GENERATOR_NAME = "
                      "'GEN_NEVER_MADE'), (SELECT COUNT(*) FROM SYNC_INFO WHERE NAME = 'BASE_ID'), "
                      "(SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = "
                      "'CLIENTS' AND RDB$FIELD_NAME = 'CHANGED_BY') FROM RDB$DATABASE"));
    QVERIFY(made.next());
    QCOMPARE(made.value(0).toInt(), 0);
    QCOMPARE(made.value(1).toInt(), 1);
    QCOMPARE(made.value(2).toInt(), 1);
    made.clear();
    first.close();
    first = QSqlDatabase();
    QSqlDatabase::removeDatabase("turns-first");
}

void TestClientSync::aWorkstationGoneMidTurnCostsOthersSecondsOnly() {
    // A workstation that dropped off while writing keeps its turn on the shared base until the
    // server notices, which can take hours. A round of another gives up after its wait with a
    // word, its card kept waiting, and carries the card once the turn is free.
    const QString shared = m_place.fresh("held");
    Installation a(m_place.root + "/a", shared, "A");
    QVERIFY2(a.sync(), qPrintable(a.lastError()));
    const QString key = a.add("Patient");
    QSqlDatabase gone = DataModule::addConnection("held-gone", shared);
    QVERIFY(gone.open());
    QVERIFY(gone.transaction());
    QSqlQuery turn(gone);
    QVERIFY(turn.exec("UPDATE SYNC_INFO SET VAL = VAL WHERE NAME = 'LOCK'"));

    a.activate();
    ClientSync::Target target = ClientSync::configuredTarget();
    target.turnWaitMs = 3000;
    ClientSync round(a.base(), target);
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!round.runRound());
    QVERIFY2(waited.elapsed() < 15000, qPrintable(QString::number(waited.elapsed())));
    QVERIFY2(round.lastError().contains("busy"), qPrintable(round.lastError()));
    QCOMPARE(a.waiting(), 1);

    turn.clear();
    gone.rollback();
    gone.close();
    gone = QSqlDatabase();
    QSqlDatabase::removeDatabase("held-gone");
    QVERIFY2(a.sync(), qPrintable(a.lastError()));
    QCOMPARE(a.waiting(), 0);
    Installation b(m_place.root + "/b", shared, "B");
    QVERIFY2(b.sync(), qPrintable(b.lastError()));
    QCOMPARE(b.cards().value(key), "Patient");
}

void TestClientSync::closingNeverWaitsForASilentServer() {
    // A shared base on a server that accepts the connection and never answers: the program,
    // told to close while its round waits there, still ends within seconds.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QString profile = m_env->scratch("silent");
    const QString data = profile + "/Quillane/Q7";
    QVERIFY(QDir().mkpath(data));
    {
        IniFile ini(data + "/Options.ini");
        ini.writeString(
            "Uniform", "database",
            QStringLiteral("127.0.0.1/%1:/nowhere/Uniform.fdb").arg(silent.serverPort()));
        QVERIFY(ini.save());
    }
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", profile);
    program.setProcessEnvironment(env);
    program.start(TestEnvironment::installDir() + "/vandrel", {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(silent.hasPendingConnections(), 30000);
    QElapsedTimer closing;
    closing.start();
    program.terminate();
    QVERIFY(program.waitForFinished(15000));
    QVERIFY2(closing.elapsed() < 10000, qPrintable(QString::number(closing.elapsed())));
}

QTEST_GUILESS_MAIN(TestClientSync)
#include "tst_clientsync.moc"
