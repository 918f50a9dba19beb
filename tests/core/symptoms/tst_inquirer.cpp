// The inquiry questionnaire without a window: which questions each category shows, the stored
// answer string, the shipped questionnaires in both languages, the answer sets in a real base
// and the workbook as a spreadsheet program would read it.
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"
#include "XlsxReader.h"
#include "common/TextFile.h"
#include "records/DataModule.h"
#include "symptoms/InquirerAnswers.h"
#include "symptoms/InquirerCategories.h"
#include "symptoms/InquirerFile.h"
#include "symptoms/InquirerRepository.h"
#include "symptoms/InquirerWorkbook.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

using Range = InquirerCategories::Range;

class TestInquirer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void categoryRanges_data();
    void categoryRanges();
    void answerStrings_data();
    void answerStrings();
    void shippedQuestionnaires_data();
    void shippedQuestionnaires();
    void translationMatchesOriginal();
    void questionnaireFollowsLanguage();
    void damagedFile();
    void dateTexts_data();
    void dateTexts();
    void answerSetsInBase();
    void refusedSetsChangeNothing();
    void workbookCells();
    void workbookFile();
    void workbookFailureKeepsOldFile();

private:
    int rows(const QString &where = QString());

    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
};

void TestInquirer::initTestCase()
{
    m_env = std::make_unique<TestEnvironment>();
    openSeedBase(*m_env, m_data);
}

int TestInquirer::rows(const QString &where)
{
    QSqlQuery q(m_data.database());
    q.exec(QStringLiteral("SELECT COUNT(*) FROM INQUIRER ") + where);
    return q.next() ? q.value(0).toInt() : -1;
}

void TestInquirer::categoryRanges_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("lo");
    QTest::addColumn<int>("hi");
    // Full questionnaire: 17 and 24 only under "All".
    QTest::newRow("observation") << 0 << 40 << 0 << 17;
    QTest::newRow("hearing") << 1 << 40 << 18 << 24;
    QTest::newRow("inquiry") << 2 << 40 << 25 << 40;
    QTest::newRow("all") << 3 << 40 << 0 << 40;
    QTest::newRow("exactly 25: inquiry empty") << 2 << 25 << 25 << 25;
    // Short files: the ranges stop at what exists.
    QTest::newRow("short observation") << 0 << 10 << 0 << 10;
    QTest::newRow("short hearing cut") << 1 << 20 << 18 << 20;
    QTest::newRow("no file") << 3 << 0 << 0 << 0;
    QTest::newRow("unknown category") << 4 << 40 << 0 << 0;
}

void TestInquirer::categoryRanges()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(int, lo);
    QFETCH(int, hi);
    const Range r = InquirerCategories::range(type, count);
    if (lo == hi) {
        QVERIFY(r.isEmpty());
        QVERIFY(r.hi <= count); // never a question past the file's end
    } else {
        QCOMPARE(r.lo, lo);
        QCOMPARE(r.hi, hi);
    }
}

void TestInquirer::answerStrings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<QList<int>>("answers");
    QTest::newRow("three questions") << "2&0&1&#" << QList<int>{3, 3, 3} << QList<int>{2, 0, 1};
    QTest::newRow("fewer tokens") << "2&#" << QList<int>{3, 3, 3} << QList<int>{2, 0, 0};
    QTest::newRow("more tokens") << "1&2&3&4&#" << QList<int>{4, 4} << QList<int>{1, 2};
    QTest::newRow("answer the question lacks") << "9&1&#" << QList<int>{3, 3} << QList<int>{0, 1};
    QTest::newRow("not a number") << "x&&-1&2&#" << QList<int>{3, 3, 3, 3} << QList<int>{0, 0, 0, 2};
    QTest::newRow("without closing mark") << "1&2&" << QList<int>{2, 2} << QList<int>{1, 2};
    QTest::newRow("text after the mark") << "1&#2&" << QList<int>{2, 2} << QList<int>{1, 0};
}

void TestInquirer::answerStrings()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, counts);
    QFETCH(QList<int>, answers);
    const QList<int> decoded = InquirerAnswers::decode(text, counts);
    QCOMPARE(decoded, answers);
    // What is written reads back the same.
    QCOMPARE(InquirerAnswers::decode(InquirerAnswers::encode(decoded), counts), decoded);
    QCOMPARE(InquirerAnswers::encode({2, 0, 1}), QStringLiteral("2&0&1&#"));
    QCOMPARE(InquirerAnswers::encode({}), QStringLiteral("#"));
}

void TestInquirer::shippedQuestionnaires_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("English") << "Inquirer.INI";
    QTest::newRow("Russian") << "Inquirer.Russian.INI";
}

void TestInquirer::shippedQuestionnaires()
{
    QFETCH(QString, file);
    const InquirerFile q = InquirerFile::load(TestEnvironment::installDir() + QLatin1Char('/') + file);
    QVERIFY(q.existed());
    QVERIFY2(q.count() >= 30, qPrintable(QString::number(q.count())));
    for (int type = 0; type < InquirerCategories::Count; ++type)
        QVERIFY(InquirerCategories::range(type, q.count()).size() >= 6);
    for (int i = 0; i < q.count(); ++i) {
        const InquirerItem item = q.item(i);
        const QString where = file + QStringLiteral(" question %1").arg(i + 1);
        QVERIFY2(!item.text.trimmed().isEmpty(), qPrintable(where));
        QVERIFY2(item.answers.size() >= 2 && item.answers.size() <= 5, qPrintable(where));
        QCOMPARE(item.interpretations.size(), item.answers.size());
        for (int k = 0; k < item.answers.size(); ++k) {
            QVERIFY2(!item.answers.at(k).trimmed().isEmpty(), qPrintable(where));
            QVERIFY2(!item.interpretations.at(k).trimmed().isEmpty(), qPrintable(where));
        }
        // "&" would turn into a keyboard mnemonic or break nothing here, but keeps texts plain.
        QVERIFY2(!item.text.contains(QChar(0xFFFD)), qPrintable(where));
    }
}

void TestInquirer::translationMatchesOriginal()
{
    // Stored answers are numbers: a translation must ask the same questions in the same order.
    const InquirerFile en = InquirerFile::load(TestEnvironment::installDir() + QStringLiteral("/Inquirer.INI"));
    const InquirerFile ru = InquirerFile::load(TestEnvironment::installDir() + QStringLiteral("/Inquirer.Russian.INI"));
    QCOMPARE(ru.count(), en.count());
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    static const QRegularExpression latinWord(QStringLiteral("^[A-Za-z ,()]+$"));
    for (int i = 0; i < en.count(); ++i) {
        QCOMPARE(ru.item(i).answers.size(), en.item(i).answers.size());
        // Read as Windows-1251: Russian letters, no English left untranslated.
        QVERIFY2(ru.item(i).text.contains(cyrillic), qPrintable(ru.item(i).text));
        for (const QString &a : ru.item(i).answers)
            QVERIFY2(!latinWord.match(a).hasMatch(), qPrintable(a));
    }
}

void TestInquirer::questionnaireFollowsLanguage()
{
    const QString install = TestEnvironment::installDir();
    QVERIFY(InquirerFile::pathFor(QStringLiteral("Russian"), install).endsWith(QStringLiteral("/Inquirer.Russian.INI")));
    for (const QString &other : {QStringLiteral("English"), QStringLiteral("German"), QString(),
                                 QStringLiteral("../Russian"), QStringLiteral("x/../../Russian")})
        QVERIFY2(InquirerFile::pathFor(other, install).endsWith(QStringLiteral("/Inquirer.INI")), qPrintable(other));

    // Files copied from elsewhere may be spelt in another case.
    const QString folder = m_env->scratch(QStringLiteral("spelling"));
    QVERIFY(TextFile::writeLines(folder + QStringLiteral("/inquirer.ini"), {QStringLiteral("[Options]")}));
    QVERIFY(TextFile::writeLines(folder + QStringLiteral("/INQUIRER.russian.ini"), {QStringLiteral("[Options]")}));
    QCOMPARE(QFileInfo(InquirerFile::pathFor(QStringLiteral("Russian"), folder)).fileName(),
             QStringLiteral("INQUIRER.russian.ini"));
    QCOMPARE(QFileInfo(InquirerFile::pathFor(QStringLiteral("Spanish"), folder)).fileName(),
             QStringLiteral("inquirer.ini"));
}

void TestInquirer::damagedFile()
{
    const QString folder = m_env->scratch(QStringLiteral("damaged"));
    const QString path = folder + QStringLiteral("/Inquirer.INI");
    QVERIFY(TextFile::writeLines(path, {
        QStringLiteral("[options]"), QStringLiteral("COUNT = 3"),
        QStringLiteral("[1]"), QStringLiteral("id= Pulse "), QStringLiteral("count=3"),
        QStringLiteral("1=Slow"), QStringLiteral("2=Rapid"),
        QStringLiteral("[1A]"), QStringLiteral("1=Cold"),
        QStringLiteral("[3]"), QStringLiteral("Id=Sleep"), QStringLiteral("count=-4"),
    }));
    const InquirerFile q = InquirerFile::load(path);
    QCOMPARE(q.count(), 3);
    QCOMPARE(q.item(0).text, QStringLiteral("Pulse"));
    // A stated answer without text is still an answer; missing texts read empty.
    QCOMPARE(q.item(0).answers, (QStringList{QStringLiteral("Slow"), QStringLiteral("Rapid"), QString()}));
    QCOMPARE(q.item(0).interpretations, (QStringList{QStringLiteral("Cold"), QString(), QString()}));
    QVERIFY(q.item(1).text.isEmpty()); // the section is missing
    QVERIFY(q.item(2).answers.isEmpty());
    QVERIFY(q.item(7).text.isEmpty());

    const InquirerFile missing = InquirerFile::load(folder + QStringLiteral("/none.INI"));
    QVERIFY(!missing.existed());
    QCOMPARE(missing.count(), 0);

    QVERIFY(TextFile::writeLines(path, {QStringLiteral("[Options]"), QStringLiteral("count=999999")}));
    QCOMPARE(InquirerFile::load(path).count(), InquirerFile::MaxQuestions);
}

void TestInquirer::dateTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("moment");
    const QDate d(2024, 3, 5);
    QTest::newRow("full") << "05.03.2024 14:07:09" << QDateTime(d, QTime(14, 7, 9));
    QTest::newRow("short figures") << "5.3.2024 14:07" << QDateTime(d, QTime(14, 7));
    QTest::newRow("blanks") << "  05.03.2024   14:07:09 " << QDateTime(d, QTime(14, 7, 9));
    QTest::newRow("date only") << "05.03.2024" << QDateTime(d, QTime(0, 0));
    QTest::newRow("no such day") << "31.02.2024 10:00:00" << QDateTime();
    QTest::newRow("words") << "yesterday" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
}

void TestInquirer::dateTexts()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, moment);
    const QDateTime parsed = InquirerRepository::parseDateText(text);
    QCOMPARE(parsed.isValid(), moment.isValid());
    if (moment.isValid()) {
        QCOMPARE(parsed, moment);
        QCOMPARE(InquirerRepository::parseDateText(InquirerRepository::dateText(parsed)), parsed);
    }
}

void TestInquirer::answerSetsInBase()
{
    InquirerRepository repo(&m_data);
    const QDateTime t1(QDate(2024, 5, 1), QTime(10, 0, 5, 400)); // parts of a second are dropped
    const QDateTime t2(QDate(2024, 5, 2), QTime(9, 30));
    const QString text1 = InquirerRepository::dateText(t1);
    QCOMPARE(text1, QStringLiteral("01.05.2024 10:00:05"));

    QVERIFY(repo.save(QStringLiteral("Q7-1"), t2, 0, QStringLiteral("1&#")));
    QVERIFY(repo.save(QStringLiteral("Q7-1"), t1, 0, QStringLiteral("2&0&1&#")));
    QCOMPARE(repo.result(QStringLiteral("Q7-1"), text1, 0), std::optional<QString>(QStringLiteral("2&0&1&#")));
    // Oldest first, so the last entry is the newest set.
    QCOMPARE(repo.dates(QStringLiteral("Q7-1"), 0), (QStringList{text1, InquirerRepository::dateText(t2)}));

    // The same date under another category is another set; "All" lists only its own.
    QVERIFY(repo.save(QStringLiteral("Q7-1"), t1, 3, QStringLiteral("3&#")));
    QCOMPARE(repo.dates(QStringLiteral("Q7-1"), 3), QStringList{text1});
    QCOMPARE(repo.result(QStringLiteral("Q7-1"), text1, 0), std::optional<QString>(QStringLiteral("2&0&1&#")));
    QCOMPARE(repo.result(QStringLiteral("Q7-1"), text1, 3), std::optional<QString>(QStringLiteral("3&#")));
    QVERIFY(repo.dates(QStringLiteral("Q7-1"), 1).isEmpty());

    // Saving again under the same date text changes the set instead of adding one.
    QVERIFY(repo.save(QStringLiteral("Q7-1"), InquirerRepository::parseDateText(text1), 0, QStringLiteral("1&1&1&#")));
    QCOMPARE(rows(QStringLiteral("WHERE ID = 'Q7-1' AND INQTYPE = '0'")), 2);
    QCOMPARE(repo.result(QStringLiteral("Q7-1"), text1, 0), std::optional<QString>(QStringLiteral("1&1&1&#")));

    // Another client's set of the same date and category is that client's own.
    QVERIFY(repo.save(QStringLiteral("Q7-2"), t1, 0, QStringLiteral("2&2&#")));
    QCOMPARE(repo.result(QStringLiteral("Q7-1"), text1, 0), std::optional<QString>(QStringLiteral("1&1&1&#")));
    QCOMPARE(repo.result(QStringLiteral("Q7-2"), text1, 0), std::optional<QString>(QStringLiteral("2&2&#")));

    // Client codes are compared without case; a date nobody saved finds nothing.
    QCOMPARE(repo.dates(QStringLiteral("q7-2"), 0), QStringList{text1});
    QVERIFY(!repo.result(QStringLiteral("Q7-1"), QStringLiteral("01.05.2024 10:00:06"), 0));
    QVERIFY(!repo.result(QStringLiteral("Q7-1"), QStringLiteral("not a date"), 0));

    // A client name with quotes is data, not SQL.
    const QString odd = QStringLiteral("O'Neil\"; --");
    QVERIFY(repo.save(odd, t1, 2, QStringLiteral("1&#")));
    QCOMPARE(repo.dates(odd, 2), QStringList{text1});
}

void TestInquirer::refusedSetsChangeNothing()
{
    InquirerRepository repo(&m_data);
    const int before = rows();
    const QDateTime t(QDate(2024, 6, 1), QTime(8, 0));
    QString error;
    QVERIFY(!repo.save(QString(), t, 0, QStringLiteral("1&#"), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!repo.save(QStringLiteral("Q7-1"), QDateTime(), 0, QStringLiteral("1&#")));
    QVERIFY(!repo.save(QStringLiteral("Q7-1"), t, 4, QStringLiteral("1&#")));
    QVERIFY(!repo.save(QStringLiteral("Q7-1"), t, 0, QString(1001, QLatin1Char('1'))));
    QVERIFY(!repo.save(QStringLiteral("A-CODE-LONGER-THAN-16"), t, 0, QStringLiteral("1&#")));
    QCOMPARE(rows(), before);

    DataModule closed;
    QVERIFY(!InquirerRepository(&closed).save(QStringLiteral("Q7-1"), t, 0, QStringLiteral("1&#"), &error));
    QVERIFY(InquirerRepository(&closed).dates(QStringLiteral("Q7-1"), 0).isEmpty());
}

void TestInquirer::workbookCells()
{
    ClientCard card;
    card.code = QStringLiteral("Q7-12");
    card.name = QStringLiteral("Anna");
    card.surname = QStringLiteral("Petrova");
    card.birthday = QDate(1980, 7, 14);
    card.country = QStringLiteral("Latvia");
    card.city = QStringLiteral("Riga");
    card.index1 = QStringLiteral("LV-1010");
    card.tel1 = QStringLiteral("home");
    card.tel2 = QStringLiteral("+371 6700000");
    card.tel3 = QStringLiteral("+371 2900000");
    card.eMail = QStringLiteral("anna@example.org");
    const QDateTime when(QDate(2024, 5, 1), QTime(10, 0, 5));
    const QList<InquirerItem> items = {
        {QStringLiteral("Q0"), {QStringLiteral("a0"), QStringLiteral("b0")}, {}},
        {QStringLiteral("Q1"), {QStringLiteral("a1"), QStringLiteral("b1")}, {}},
        {QStringLiteral("Q2"), {QStringLiteral("a2"), QStringLiteral("b2")}, {}},
    };
    const auto answers = InquirerWorkbook::answerRows(items, Range{1, 3}, {0, 2});
    const auto cells = InquirerWorkbook::cells(InquirerWorkbook::Labels(), card, when, answers);
    QHash<QPair<int, int>, QVariant> at;
    for (const auto &c : cells) {
        QVERIFY2(!at.contains({c.row, c.column}), "a cell written twice");
        at.insert({c.row, c.column}, c.value);
    }
    const QList<std::tuple<int, int, QVariant>> expected = {
        {1, 1, QStringLiteral("Inquirer Results")},
        {3, 1, QStringLiteral("Client ID")}, {3, 2, QStringLiteral("Q7-12")},
        {4, 1, QStringLiteral("Inquirer date")}, {4, 2, QDate(2024, 5, 1)},
        {5, 1, QStringLiteral("Inquirer time")}, {5, 2, QTime(10, 0, 5)},
        {7, 1, QStringLiteral("Client Name")}, {7, 2, QStringLiteral("Anna")},
        {8, 1, QStringLiteral("Surname")}, {8, 2, QStringLiteral("Petrova")},
        {9, 1, QStringLiteral("Birth date")}, {9, 2, QDate(1980, 7, 14)},
        {10, 1, QStringLiteral("Country")}, {10, 2, QStringLiteral("Latvia")},
        {11, 1, QStringLiteral("City")}, {11, 2, QStringLiteral("Riga")},
        {12, 1, QStringLiteral("Zip code")}, {12, 2, QStringLiteral("LV-1010")},
        {13, 1, QStringLiteral("Phone")}, {13, 2, QStringLiteral("+371 6700000")},
        {14, 1, QStringLiteral("Cell phone")}, {14, 2, QStringLiteral("+371 2900000")},
        {15, 1, QStringLiteral("Fax")},
        {16, 1, QStringLiteral("E-mail")}, {16, 2, QStringLiteral("anna@example.org")},
        {18, 1, QStringLiteral("ANSWERS")},
        {21, 1, QStringLiteral("Q1")}, // unanswered: no answer cell
        {22, 1, QStringLiteral("Q2")}, {22, 2, QStringLiteral("b2")},
    };
    for (const auto &[row, column, value] : expected)
        QCOMPARE(at.value({row, column}), value);
    QCOMPARE(at.size(), expected.size()); // nothing else, the fax number stays empty
}

void TestInquirer::workbookFile()
{
    ClientCard card;
    card.code = QStringLiteral("Q7-3");
    card.name = QStringLiteral("Иван");
    card.birthday = QDate(1850, 1, 2); // before the sheet's first date: written as text
    const QList<InquirerItem> items = {{QStringLiteral("Пульс"), {QStringLiteral("Редкий")}, {}}};
    InquirerWorkbook::Labels labels;
    const QString path = m_env->scratch(QStringLiteral("book")) + QStringLiteral("/answers.xlsx");
    const auto cells = InquirerWorkbook::cells(labels, card, QDateTime(QDate(2024, 5, 1), QTime(12, 0)),
                                               InquirerWorkbook::answerRows(items, Range{0, 1}, {1}));
    QString error;
    QVERIFY2(InquirerWorkbook::write(path, labels.sheet, cells, &error), qPrintable(error));

    const auto parts = XlsxReader::parts(path);
    QVERIFY2(parts.contains(QStringLiteral("xl/workbook.xml")), "not a workbook");
    QVERIFY(parts.value(QStringLiteral("xl/workbook.xml")).contains("name=\"Cleints answers\""));
    const QString strings = QString::fromUtf8(parts.value(QStringLiteral("xl/sharedStrings.xml")));
    for (const QString &s : {QStringLiteral("Inquirer Results"), QStringLiteral("Иван"), QStringLiteral("Пульс"),
                             QStringLiteral("Редкий"), QStringLiteral("02.01.1850"), QStringLiteral("ANSWERS")})
        QVERIFY2(strings.contains(s), qPrintable(s));
    const QByteArray sheet = parts.value(QStringLiteral("xl/worksheets/sheet1.xml"));
    // The date and time are real date cells: 1 May 2024 is day 45413, noon is .5.
    QVERIFY(sheet.contains("<c r=\"B4\" s=\"") && sheet.contains("<v>45413</v>"));
    QVERIFY(sheet.contains("<v>0.5</v>"));
    for (const char *ref : {"r=\"A1\"", "r=\"A18\"", "r=\"A21\"", "r=\"B21\""})
        QVERIFY2(sheet.contains(ref), ref);
    QVERIFY(!sheet.contains("r=\"B15\"")); // no fax number
    QVERIFY(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Hidden | QDir::Files).size() == 1);

    // Sheet names the spreadsheet refuses are made acceptable.
    QCOMPARE(InquirerWorkbook::sheetName(QStringLiteral("a/b:c[1]")), QStringLiteral("a b c 1"));
    QCOMPARE(InquirerWorkbook::sheetName(QString(40, QLatin1Char('x'))).size(), 31);
    QCOMPARE(InquirerWorkbook::sheetName(QStringLiteral("''")), QStringLiteral("Sheet1"));
}

void TestInquirer::workbookFailureKeepsOldFile()
{
    const QString folder = m_env->scratch(QStringLiteral("keep"));
    QString error;
    QVERIFY(!InquirerWorkbook::write(folder + QStringLiteral("/missing/x.xlsx"), QStringLiteral("S"), {}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!InquirerWorkbook::write(folder, QStringLiteral("S"), {}, &error)); // a folder, not a file

    // A cell past the sheet's last column fails the workbook; the old file stays as it was.
    const QString path = folder + QStringLiteral("/old.xlsx");
    QVERIFY(TextFile::writeLines(path, {QStringLiteral("old")}));
    QVERIFY(!InquirerWorkbook::write(path, QStringLiteral("S"), {{1, 20000, QStringLiteral("x")}}, &error));
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QVERIFY(old.readAll().startsWith("old"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1); // no scratch file left

    // Written over when all goes well.
    QVERIFY(InquirerWorkbook::write(path, QStringLiteral("S"), {{1, 1, QStringLiteral("x")}}, &error));
    QVERIFY(XlsxReader::parts(path).contains(QStringLiteral("xl/workbook.xml")));
}

QTEST_GUILESS_MAIN(TestInquirer)
#include "tst_inquirer.moc"
