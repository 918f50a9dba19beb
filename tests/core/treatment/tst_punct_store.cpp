// The questionnaire answers kept per test in PUNCT_TREATMENT of a real Firebird file: each test
// of a client keeps its own answers, the client code is matched whole and without case, a
// second save rewrites the one row, and nothing is written without a stored test.
#include "../records/RecordsTestSupport.h"
#include "records/DataModule.h"
#include "TestEnvironment.h"
#include "treatment/PunctTreatmentStore.h"

#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;

class TestPunctStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_env = new TestEnvironment;
        m_data = new DataModule;
        QString error;
        QVERIFY2(m_data->open(copySeedBase(*m_env), &error), qPrintable(error));
    }

    void cleanup() {
        delete m_data;
        delete m_env;
    }

    void keptPerTestAndClient() {
        QVERIFY(PunctTreatmentStore::save(*m_data, "Q71", 5, "0100"));
        QVERIFY(PunctTreatmentStore::save(*m_data, "Q71", 6, "1001"));
        QVERIFY(PunctTreatmentStore::save(*m_data, "Q710", 5, "0011"));
        // A quote in a client code is data, not SQL.
        QVERIFY(PunctTreatmentStore::save(*m_data, "O'Q", 5, "1"));
        // Saved again (client spelt in another case): the row is rewritten, not doubled.
        QVERIFY(PunctTreatmentStore::save(*m_data, "q71", 5, "0110"));
        QCOMPARE(rows(), 4);
        QCOMPARE(rows("WHERE COMMENT = ''"), 4);

        // Read back from the file by a new connection: everything was committed.
        const QString path = m_data->path();
        m_data->close();
        QVERIFY(m_data->open(path));
        const auto stored = [this](const QString &client, int test) -> QString {
            std::optional<QString> state;
            QString error;
            if (!PunctTreatmentStore::load(*m_data, client, test, &state, &error))
                return QStringLiteral("error: ") + error;
            return state.value_or("none");
        };
        QCOMPARE(stored("Q71", 5), "0110");
        QCOMPARE(stored("Q71", 6), "1001");
        QCOMPARE(stored("Q710", 5), "0011");
        QCOMPARE(stored("O'Q", 5), "1");
        QCOMPARE(stored("Q7%", 5), "none");
        QCOMPARE(stored("Q71", 7), "none");
    }

    void refusedWithoutTest_data() {
        QTest::addColumn<QString>("client");
        QTest::addColumn<int>("test");
        QTest::newRow("no test key") << "Q71" << 0;
        QTest::newRow("no client") << "" << 5;
        QTest::newRow("client code too long") << "Q71234567890123456" << 5;
    }
    void refusedWithoutTest() {
        QFETCH(QString, client);
        QFETCH(int, test);
        QString error;
        QVERIFY(!PunctTreatmentStore::save(*m_data, client, test, "1", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(rows(), 0);
    }

private:
    int rows(const QString &where = QString()) const {
        QSqlQuery q(m_data->database());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM PUNCT_TREATMENT ") + where);
        return q.next() ? q.value(0).toInt() : -1;
    }

    TestEnvironment *m_env = nullptr;
    DataModule *m_data = nullptr;
};

QTEST_GUILESS_MAIN(TestPunctStore)
#include "tst_punct_store.moc"
