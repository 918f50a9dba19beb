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

class TestFreqDes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void catalogueRoundTrip();
    void refusedNames_data();
    void refusedNames();
    void refusedFrequencyChangesNothing();
    void deleteRemovesOnlyThatDisease();
    void closedBaseFailsCleanly();

private:
    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
    QString m_path;
};

void TestFreqDes::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    m_path = openSeedBase(*m_env, m_data);
}

void TestFreqDes::cleanupTestCase()
{
    m_data.close();
    m_env.reset();
}

void TestFreqDes::catalogueRoundTrip()
{
    FreqDesRepository repo(&m_data);
    QString error;
    QCOMPARE(repo.addDisease(QStringLiteral("Gastritis"), &error), AddResult::Added);
    QCOMPARE(repo.addDisease(QStringLiteral("  angina  ")), AddResult::Added);
    QCOMPARE(repo.addDisease(QStringLiteral("Crohn's disease")), AddResult::Added);
    QCOMPARE(repo.addDisease(QStringLiteral("Грипп")), AddResult::Added);
    QCOMPARE(repo.diseases(),
             (QStringList{QStringLiteral("angina"), QStringLiteral("Crohn's disease"),
                          QStringLiteral("Gastritis"), QStringLiteral("Грипп")}));
    QVERIFY(repo.frequencies(QStringLiteral("Gastritis")).isEmpty());

    const QStringList freqs
        = {QStringLiteral("10"), QStringLiteral("12.5"), QStringLiteral("0.01")};
    QVERIFY2(repo.setFrequencies(QStringLiteral("Crohn's disease"), freqs, &error),
             qPrintable(error));
    QVERIFY(repo.setComment(QStringLiteral("Crohn's disease"),
                            QStringLiteral("  twice a week\nморковь  ")));
    QVERIFY(repo.setFrequencies(QStringLiteral(" Грипп "), {QStringLiteral("7.83")}));

    // Another connection sees the changes: they were committed when made.
    DataModule other;
    QVERIFY(other.open(m_path, &error));
    FreqDesRepository seen(&other);
    QCOMPARE(seen.frequencies(QStringLiteral("Crohn's disease")), freqs);
    QCOMPARE(seen.comment(QStringLiteral("Crohn's disease")),
             QStringLiteral("twice a week\nморковь"));
    QCOMPARE(seen.frequencies(QStringLiteral("Грипп")), QStringList{QStringLiteral("7.83")});
    // Stored in the list format the therapy player reads.
    QSqlQuery query(other.database());
    QVERIFY(query.exec(QStringLiteral("SELECT FREQ FROM FREQ_DES WHERE DESEASE = 'Gastritis'")));
    QVERIFY(query.next());
    QVERIFY(DataModule::memoText(query.value(0)).isEmpty());
    query.finish();
    QVERIFY(query.exec(
        QStringLiteral("SELECT FREQ FROM FREQ_DES WHERE DESEASE STARTING WITH 'Crohn'")));
    QVERIFY(query.next());
    QCOMPARE(DataModule::memoText(query.value(0)), QStringLiteral("10&12.5&0.01&#"));
    query.finish();
    other.close();

    // Every frequency removed leaves an empty list.
    QVERIFY(repo.setFrequencies(QStringLiteral("Грипп"), {}));
    QVERIFY(repo.frequencies(QStringLiteral("Грипп")).isEmpty());
}

void TestFreqDes::refusedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<AddResult>("result");
    QTest::newRow("blanks") << QStringLiteral("   ") << AddResult::EmptyName;
    QTest::newRow("same name") << QStringLiteral("Asthma") << AddResult::Duplicate;
    QTest::newRow("other letter case") << QStringLiteral(" ASTHMA ") << AddResult::Duplicate;
    QTest::newRow("too long") << QString(201, QLatin1Char('x')) << AddResult::Unstorable;
    QTest::newRow("outside the code page") << QStringLiteral("哮喘") << AddResult::Unstorable;
}

void TestFreqDes::refusedNames()
{
    QFETCH(QString, name);
    QFETCH(AddResult, result);
    FreqDesRepository repo(&m_data);
    if (!repo.contains(QStringLiteral("Asthma")))
        QCOMPARE(repo.addDisease(QStringLiteral("Asthma")), AddResult::Added);
    const QStringList before = repo.diseases();
    QString error;
    QCOMPARE(repo.addDisease(name, &error), result);
    QVERIFY(!error.isEmpty());
    QCOMPARE(repo.diseases(), before);
}

void TestFreqDes::refusedFrequencyChangesNothing()
{
    FreqDesRepository repo(&m_data);
    QCOMPARE(repo.addDisease(QStringLiteral("Migraine")), AddResult::Added);
    QVERIFY(repo.setFrequencies(QStringLiteral("Migraine"), {QStringLiteral("3")}));
    QString error;
    QVERIFY(!repo.setFrequencies(QStringLiteral("Migraine"),
                                 {QStringLiteral("3"), QStringLiteral("4&5")}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!repo.setFrequencies(QStringLiteral("Migraine"), {QStringLiteral("1#")}));
    QCOMPARE(repo.frequencies(QStringLiteral("Migraine")), QStringList{QStringLiteral("3")});
    // A disease that is not there is reported, not created.
    QVERIFY(!repo.setComment(QStringLiteral("Nothing"), QStringLiteral("x"), &error));
    QVERIFY(!repo.contains(QStringLiteral("Nothing")));
}

void TestFreqDes::deleteRemovesOnlyThatDisease()
{
    FreqDesRepository repo(&m_data);
    QCOMPARE(repo.addDisease(QStringLiteral("Otitis")), AddResult::Added);
    QCOMPARE(repo.addDisease(QStringLiteral("Otitis media")), AddResult::Added);
    QVERIFY(repo.setFrequencies(QStringLiteral("Otitis media"), {QStringLiteral("20")}));
    QVERIFY(repo.deleteDisease(QStringLiteral("Otitis")));
    QVERIFY(!repo.contains(QStringLiteral("Otitis")));
    QCOMPARE(repo.frequencies(QStringLiteral("Otitis media")), QStringList{QStringLiteral("20")});
    QVERIFY(!repo.deleteDisease(QStringLiteral("Otitis")));
    // The name can be used again.
    QCOMPARE(repo.addDisease(QStringLiteral("Otitis")), AddResult::Added);
}

void TestFreqDes::closedBaseFailsCleanly()
{
    DataModule closed;
    for (FreqDesRepository repo : {FreqDesRepository(&closed), FreqDesRepository(nullptr)}) {
        QString error;
        QVERIFY(!repo.isAvailable());
        QVERIFY(repo.diseases(&error).isEmpty());
        QVERIFY(!error.isEmpty());
        QCOMPARE(repo.addDisease(QStringLiteral("Flu")), AddResult::Failed);
        QVERIFY(!repo.setComment(QStringLiteral("Flu"), QString()));
        QVERIFY(!repo.deleteDisease(QStringLiteral("Flu")));
    }
}

QTEST_GUILESS_MAIN(TestFreqDes)
#include "tst_freqdes.moc"
