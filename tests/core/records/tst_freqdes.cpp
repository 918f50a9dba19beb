// The disease frequency catalogue (FREQ_DES): names, frequency lists and comments stored and
// read back, committed at once, and the names and values it refuses.
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

using namespace RecordsTestSupport;
using AddResult = FreqDesRepository::AddResult;
Q_DECLARE_METATYPE(FreqDesRepository::AddResult)

class TestFreqDes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_path = openSeedBase(m_env, m_data); }
    void cleanupTestCase() { m_data.close(); }

    void catalogueRoundTrip() {
        FreqDesRepository repo(&m_data);
        for (const char *name : {"Gastritis", "  angina  ", "Crohn's disease", "Грипп"})
            QCOMPARE(repo.addDisease(name), AddResult::Added);
        QCOMPARE(repo.diseases(), QStringList({"angina", "Crohn's disease", "Gastritis", "Грипп"}));
        QVERIFY(repo.frequencies("Gastritis").isEmpty());

        const QStringList freqs = {"10", "12.5", "0.01"};
        QString error;
        QVERIFY2(repo.setFrequencies("Crohn's disease", freqs, &error), qPrintable(error));
        QVERIFY(repo.setComment("Crohn's disease", "  twice a week\nморковь  "));
        QVERIFY(repo.setFrequencies(" Грипп ", {"7.83"}));

        // Another connection sees the changes: they were committed when made.
        DataModule other;
        QVERIFY(other.open(m_path, &error));
        FreqDesRepository seen(&other);
        QCOMPARE(seen.frequencies("Crohn's disease"), freqs);
        QCOMPARE(seen.comment("Crohn's disease"), "twice a week\nморковь");
        QCOMPARE(seen.frequencies("Грипп"), QStringList{"7.83"});
        // Stored in the list format the therapy player reads.
        QSqlQuery query(other.database());
        QVERIFY(query.exec("SELECT DESEASE, FREQ FROM FREQ_DES WHERE DESEASE IN ('Gastritis', "
                           "'Crohn''s disease') ORDER BY DESEASE"));
        QVERIFY(query.next());
        QCOMPARE(DataModule::memoText(query.value(1)), "10&12.5&0.01&#");
        QVERIFY(query.next());
        QVERIFY(DataModule::memoText(query.value(1)).isEmpty());
        query.finish();
        other.close();

        // Every frequency removed leaves an empty list.
        QVERIFY(repo.setFrequencies("Грипп", {}));
        QVERIFY(repo.frequencies("Грипп").isEmpty());
    }

    void refusedNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<AddResult>("result");
        QTest::newRow("blanks") << "   " << AddResult::EmptyName;
        QTest::newRow("same name") << "Asthma" << AddResult::Duplicate;
        QTest::newRow("other letter case") << " ASTHMA " << AddResult::Duplicate;
        QTest::newRow("too long") << QString(201, QLatin1Char('x')) << AddResult::Unstorable;
        QTest::newRow("outside the code page") << "哮喘" << AddResult::Unstorable;
    }
    void refusedNames() {
        QFETCH(QString, name);
        FreqDesRepository repo(&m_data);
        if (!repo.contains("Asthma"))
            QCOMPARE(repo.addDisease("Asthma"), AddResult::Added);
        const QStringList before = repo.diseases();
        QString error;
        QTEST(repo.addDisease(name, &error), "result");
        QVERIFY(!error.isEmpty());
        QCOMPARE(repo.diseases(), before);
    }

    // Refused frequencies and unknown names change nothing; deleting takes one disease only.
    void refusedChangesAndDeletion() {
        FreqDesRepository repo(&m_data);
        QCOMPARE(repo.addDisease("Migraine"), AddResult::Added);
        QVERIFY(repo.setFrequencies("Migraine", {"3"}));
        QString error;
        QVERIFY(!repo.setFrequencies("Migraine", {"3", "4&5"}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!repo.setFrequencies("Migraine", {"1#"}));
        QCOMPARE(repo.frequencies("Migraine"), QStringList{"3"});
        // A disease that is not there is reported, not created.
        QVERIFY(!repo.setComment("Nothing", "x", &error));
        QVERIFY(!repo.contains("Nothing"));

        QCOMPARE(repo.addDisease("Migraine aura"), AddResult::Added);
        QVERIFY(repo.setFrequencies("Migraine aura", {"20"}));
        QVERIFY(repo.deleteDisease("Migraine"));
        QVERIFY(!repo.contains("Migraine"));
        QCOMPARE(repo.frequencies("Migraine aura"), QStringList{"20"});
        QVERIFY(!repo.deleteDisease("Migraine"));
        // The name can be used again.
        QCOMPARE(repo.addDisease("Migraine"), AddResult::Added);

        DataModule closed;
        for (FreqDesRepository none : {FreqDesRepository(&closed), FreqDesRepository(nullptr)}) {
            QVERIFY(!none.isAvailable());
            QVERIFY(none.diseases(&error).isEmpty());
            QVERIFY(!error.isEmpty());
            QCOMPARE(none.addDisease("Flu"), AddResult::Failed);
            QVERIFY(!none.setComment("Flu", QString()));
            QVERIFY(!none.deleteDisease("Flu"));
        }
    }

private:
    TestEnvironment m_env;
    DataModule m_data;
    QString m_path;
};

QTEST_GUILESS_MAIN(TestFreqDes)
#include "tst_freqdes.moc"
