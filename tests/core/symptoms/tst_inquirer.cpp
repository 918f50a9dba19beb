// The inquiry questionnaire without a window: which questions each category shows, the stored
// answer string, the shipped questionnaires in both languages, the answer sets in a real base
// and the workbook as a spreadsheet program would read it.
#include "common/TextFile.h"
#include "records/DataModule.h"
#include "RecordsTestSupport.h"
#include "symptoms/InquirerAnswers.h"
#include "symptoms/InquirerCategories.h"
#include "symptoms/InquirerFile.h"
#include "symptoms/InquirerRepository.h"
#include "symptoms/InquirerWorkbook.h"
#include "TestEnvironment.h"
#include "XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QtTest>

using Range = InquirerCategories::Range;

class TestInquirer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        m_env = std::make_unique<TestEnvironment>();
        openSeedBase(*m_env, m_data);
    }

    void categoryRanges_data() {
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
    void categoryRanges() {
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

    void answerStrings_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QList<int>>("answers");
        // clang-format off
        QTest::newRow("three questions") << "2&0&1&#" << QList<int>{3, 3, 3} << QList<int>{2, 0, 1};
        QTest::newRow("fewer tokens") << "2&#" << QList<int>{3, 3, 3} << QList<int>{2, 0, 0};
        QTest::newRow("more tokens") << "1&2&3&4&#" << QList<int>{4, 4} << QList<int>{1, 2};
        QTest::newRow("answer the question lacks")
            << "9&1&#" << QList<int>{3, 3} << QList<int>{0, 1};
        QTest::newRow("not a number")
            << "x&&-1&2&#" << QList<int>{3, 3, 3, 3} << QList<int>{0, 0, 0, 2};
        QTest::newRow("without closing mark") << "1&2&" << QList<int>{2, 2} << QList<int>{1, 2};
        QTest::newRow("text after the mark") << "1&#2&" << QList<int>{2, 2} << QList<int>{1, 0};
        // clang-format on
    }
    void answerStrings() {
        QFETCH(QString, text);
        QFETCH(QList<int>, counts);
        const QList<int> decoded = InquirerAnswers::decode(text, counts);
        QTEST(decoded, "answers");
        // What is written reads back the same.
        QCOMPARE(InquirerAnswers::decode(InquirerAnswers::encode(decoded), counts), decoded);
        QCOMPARE(InquirerAnswers::encode({2, 0, 1}), "2&0&1&#");
        QCOMPARE(InquirerAnswers::encode({}), "#");
    }

    // Complete questions in both languages; the translation asks the same questions in the same
    // order (stored answers are numbers), in Russian letters read as Windows-1251.
    void shippedQuestionnaires() {
        const InquirerFile en = InquirerFile::load(TestEnvironment::installDir() + "/Inquirer.INI");
        const InquirerFile ru =
            InquirerFile::load(TestEnvironment::installDir() + "/Inquirer.Russian.INI");
        QVERIFY(en.existed() && ru.existed());
        QVERIFY2(en.count() >= 30, qPrintable(QString::number(en.count())));
        QCOMPARE(ru.count(), en.count());
        for (int type = 0; type < InquirerCategories::Count; ++type)
            QVERIFY(InquirerCategories::range(type, en.count()).size() >= 6);
        static const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
        static const QRegularExpression latinWord("^[A-Za-z ,()]+$");
        for (int i = 0; i < en.count(); ++i) {
            for (const InquirerItem &item : {en.item(i), ru.item(i)}) {
                const QByteArray where = QByteArray::number(i + 1) + ": " + item.text.toUtf8();
                QVERIFY2(!item.text.trimmed().isEmpty() && !item.text.contains(QChar(0xFFFD)),
                         where);
                QVERIFY2(item.answers.size() >= 2 && item.answers.size() <= 5, where);
                QCOMPARE(item.interpretations.size(), item.answers.size());
                for (int k = 0; k < item.answers.size(); ++k) {
                    QVERIFY2(!item.answers.at(k).trimmed().isEmpty(), where);
                    QVERIFY2(!item.interpretations.at(k).trimmed().isEmpty(), where);
                }
            }
            QCOMPARE(ru.item(i).answers.size(), en.item(i).answers.size());
            QVERIFY2(ru.item(i).text.contains(cyrillic), qPrintable(ru.item(i).text));
            for (const QString &a : ru.item(i).answers)
                QVERIFY2(!latinWord.match(a).hasMatch(), qPrintable(a));
        }
    }

    void questionnaireFollowsLanguage() {
        const QString install = TestEnvironment::installDir();
        QVERIFY(InquirerFile::pathFor("Russian", install).endsWith("/Inquirer.Russian.INI"));
        for (const QString &other :
             QStringList{"English", "German", QString(), "../Russian", "x/../../Russian"})
            QVERIFY2(InquirerFile::pathFor(other, install).endsWith("/Inquirer.INI"),
                     qPrintable(other));

        // Files copied from elsewhere may be spelt in another case.
        const QString folder = m_env->scratch("spelling");
        QVERIFY(TextFile::writeLines(folder + "/inquirer.ini", {"[Options]"}));
        QVERIFY(TextFile::writeLines(folder + "/INQUIRER.russian.ini", {"[Options]"}));
        QCOMPARE(QFileInfo(InquirerFile::pathFor("Russian", folder)).fileName(),
                 "INQUIRER.russian.ini");
        QCOMPARE(QFileInfo(InquirerFile::pathFor("Spanish", folder)).fileName(), "inquirer.ini");
    }

    void damagedFile() {
        const QString folder = m_env->scratch("damaged");
        const QString path = folder + "/Inquirer.INI";
        QVERIFY(TextFile::writeLines(path, {
                                               "[options]",
                                               "COUNT = 3",
                                               "[1]",
                                               "id= Pulse ",
                                               "count=3",
                                               "1=Slow",
                                               "2=Rapid",
                                               "[1A]",
                                               "1=Cold",
                                               "[3]",
                                               "Id=Sleep",
                                               "count=-4",
                                           }));
        const InquirerFile q = InquirerFile::load(path);
        QCOMPARE(q.count(), 3);
        QCOMPARE(q.item(0).text, "Pulse");
        // A stated answer without text is still an answer; missing texts read empty.
        QCOMPARE(q.item(0).answers, (QStringList{"Slow", "Rapid", QString()}));
        QCOMPARE(q.item(0).interpretations, (QStringList{"Cold", QString(), QString()}));
        QVERIFY(q.item(1).text.isEmpty()); // the section is missing
        QVERIFY(q.item(2).answers.isEmpty());
        QVERIFY(q.item(7).text.isEmpty());

        const InquirerFile missing = InquirerFile::load(folder + "/none.INI");
        QVERIFY(!missing.existed());
        QCOMPARE(missing.count(), 0);

        QVERIFY(TextFile::writeLines(path, {"[Options]", "count=999999"}));
        QCOMPARE(InquirerFile::load(path).count(), InquirerFile::MaxQuestions);
    }

    void dateTexts_data() {
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
    void dateTexts() {
        QFETCH(QString, text);
        QFETCH(QDateTime, moment);
        const QDateTime parsed = InquirerRepository::parseDateText(text);
        QCOMPARE(parsed.isValid(), moment.isValid());
        if (moment.isValid()) {
            QCOMPARE(parsed, moment);
            QCOMPARE(InquirerRepository::parseDateText(InquirerRepository::dateText(parsed)),
                     parsed);
        }
    }

    void answerSetsInBase() {
        InquirerRepository repo(&m_data);
        const QDateTime t1(QDate(2024, 5, 1),
                           QTime(10, 0, 5, 400)); // parts of a second are dropped
        const QDateTime t2(QDate(2024, 5, 2), QTime(9, 30));
        const QString text1 = InquirerRepository::dateText(t1);
        QCOMPARE(text1, "01.05.2024 10:00:05");

        QVERIFY(repo.save("Q7-1", t2, 0, "1&#"));
        QVERIFY(repo.save("Q7-1", t1, 0, "2&0&1&#"));
        QCOMPARE(repo.result("Q7-1", text1, 0), std::optional<QString>("2&0&1&#"));
        // Oldest first, so the last entry is the newest set.
        QCOMPARE(repo.dates("Q7-1", 0), (QStringList{text1, InquirerRepository::dateText(t2)}));

        // The same date under another category is another set; "All" lists only its own.
        QVERIFY(repo.save("Q7-1", t1, 3, "3&#"));
        QCOMPARE(repo.dates("Q7-1", 3), QStringList{text1});
        QCOMPARE(repo.result("Q7-1", text1, 0), std::optional<QString>("2&0&1&#"));
        QCOMPARE(repo.result("Q7-1", text1, 3), std::optional<QString>("3&#"));
        QVERIFY(repo.dates("Q7-1", 1).isEmpty());

        // Saving again under the same date text changes the set instead of adding one.
        QVERIFY(repo.save("Q7-1", InquirerRepository::parseDateText(text1), 0, "1&1&1&#"));
        QCOMPARE(rows("WHERE ID = 'Q7-1' AND INQTYPE = '0'"), 2);
        QCOMPARE(repo.result("Q7-1", text1, 0), std::optional<QString>("1&1&1&#"));

        // Another client's set of the same date and category is that client's own.
        QVERIFY(repo.save("Q7-2", t1, 0, "2&2&#"));
        QCOMPARE(repo.result("Q7-1", text1, 0), std::optional<QString>("1&1&1&#"));
        QCOMPARE(repo.result("Q7-2", text1, 0), std::optional<QString>("2&2&#"));

        // Client codes are compared without case; a date nobody saved finds nothing.
        QCOMPARE(repo.dates("q7-2", 0), QStringList{text1});
        QVERIFY(!repo.result("Q7-1", "01.05.2024 10:00:06", 0));
        QVERIFY(!repo.result("Q7-1", "not a date", 0));

        // A client name with quotes is data, not SQL.
        const QString odd = "O'Neil\"; --";
        QVERIFY(repo.save(odd, t1, 2, "1&#"));
        QCOMPARE(repo.dates(odd, 2), QStringList{text1});
    }

    void refusedSetsChangeNothing() {
        InquirerRepository repo(&m_data);
        const int before = rows();
        const QDateTime t(QDate(2024, 6, 1), QTime(8, 0));
        QString error;
        QVERIFY(!repo.save(QString(), t, 0, "1&#", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!repo.save("Q7-1", QDateTime(), 0, "1&#"));
        QVERIFY(!repo.save("Q7-1", t, 4, "1&#"));
        QVERIFY(!repo.save("Q7-1", t, 0, QString(1001, QLatin1Char('1'))));
        QVERIFY(!repo.save("A-CODE-LONGER-THAN-16", t, 0, "1&#"));
        QCOMPARE(rows(), before);

        DataModule closed;
        QVERIFY(!InquirerRepository(&closed).save("Q7-1", t, 0, "1&#", &error));
        QVERIFY(InquirerRepository(&closed).dates("Q7-1", 0).isEmpty());
    }

    void workbookCells() {
        ClientCard card;
        card.code = "Q7-12";
        card.name = "Anna";
        card.surname = "Petrova";
        card.birthday = QDate(1980, 7, 14);
        card.country = "Latvia";
        card.city = "Riga";
        card.index1 = "LV-1010";
        card.tel1 = "home";
        card.tel2 = "+371 6700000";
        card.tel3 = "+371 2900000";
        card.eMail = "anna@example.org";
        const QDateTime when(QDate(2024, 5, 1), QTime(10, 0, 5));
        const QList<InquirerItem> items = {
            {"Q0", {"a0", "b0"}, {}},
            {"Q1", {"a1", "b1"}, {}},
            {"Q2", {"a2", "b2"}, {}},
        };
        const auto answers = InquirerWorkbook::answerRows(items, Range{1, 3}, {0, 2});
        const auto cells = InquirerWorkbook::cells(InquirerWorkbook::Labels(), card, when, answers);
        QHash<QPair<int, int>, QVariant> at;
        for (const auto &c : cells) {
            QVERIFY2(!at.contains({c.row, c.column}), "a cell written twice");
            at.insert({c.row, c.column}, c.value);
        }
        const QList<std::tuple<int, int, QVariant>> expected = {
            {1, 1, "Inquirer Results"},
            {3, 1, "Client ID"},
            {3, 2, "Q7-12"},
            {4, 1, "Inquirer date"},
            {4, 2, QDate(2024, 5, 1)},
            {5, 1, "Inquirer time"},
            {5, 2, QTime(10, 0, 5)},
            {7, 1, "Client Name"},
            {7, 2, "Anna"},
            {8, 1, "Surname"},
            {8, 2, "Petrova"},
            {9, 1, "Birth date"},
            {9, 2, QDate(1980, 7, 14)},
            {10, 1, "Country"},
            {10, 2, "Latvia"},
            {11, 1, "City"},
            {11, 2, "Riga"},
            {12, 1, "Zip code"},
            {12, 2, "LV-1010"},
            {13, 1, "Phone"},
            {13, 2, "+371 6700000"},
            {14, 1, "Cell phone"},
            {14, 2, "+371 2900000"},
            {15, 1, "Fax"},
            {16, 1, "E-mail"},
            {16, 2, "anna@example.org"},
            {18, 1, "ANSWERS"},
            {21, 1, "Q1"}, // unanswered: no answer cell
            {22, 1, "Q2"},
            {22, 2, "b2"},
        };
        for (const auto &[row, column, value] : expected)
            QCOMPARE(at.value({row, column}), value);
        QCOMPARE(at.size(), expected.size()); // nothing else, the fax number stays empty
    }

    void workbookFile() {
        ClientCard card;
        card.code = "Q7-3";
        card.name = "Иван";
        card.birthday = QDate(1850, 1, 2); // before the sheet's first date: written as text
        const QList<InquirerItem> items = {{"Пульс", {"Редкий"}, {}}};
        InquirerWorkbook::Labels labels;
        const QString path = m_env->scratch("book") + "/answers.xlsx";
        const auto cells =
            InquirerWorkbook::cells(labels, card, QDateTime(QDate(2024, 5, 1), QTime(12, 0)),
                                    InquirerWorkbook::answerRows(items, Range{0, 1}, {1}));
        QString error;
        QVERIFY2(InquirerWorkbook::write(path, labels.sheet, cells, &error), qPrintable(error));

        const auto parts = XlsxReader::parts(path);
        QVERIFY2(parts.contains("xl/workbook.xml"), "not a workbook");
        QVERIFY(parts.value("xl/workbook.xml").contains("name=\"Cleints answers\""));
        const QString strings = QString::fromUtf8(parts.value("xl/sharedStrings.xml"));
        for (const char *s :
             {"Inquirer Results", "Иван", "Пульс", "Редкий", "02.01.1850", "ANSWERS"})
            QVERIFY2(strings.contains(QString::fromUtf8(s)), s);
        const QByteArray sheet = parts.value("xl/worksheets/sheet1.xml");
        // The date and time are real date cells: 1 May 2024 is day 45413, noon is .5.
        QVERIFY(sheet.contains("<c r=\"B4\" s=\"") && sheet.contains("<v>45413</v>"));
        QVERIFY(sheet.contains("<v>0.5</v>"));
        for (const char *ref : {"r=\"A1\"", "r=\"A18\"", "r=\"A21\"", "r=\"B21\""})
            QVERIFY2(sheet.contains(ref), ref);
        QVERIFY(!sheet.contains("r=\"B15\"")); // no fax number
        QVERIFY(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Hidden | QDir::Files).size() ==
                1);

        // Sheet names the spreadsheet refuses are made acceptable.
        QCOMPARE(InquirerWorkbook::sheetName("a/b:c[1]"), "a b c 1");
        QCOMPARE(InquirerWorkbook::sheetName(QString(40, QLatin1Char('x'))).size(), 31);
        QCOMPARE(InquirerWorkbook::sheetName("''"), "Sheet1");
    }

    void workbookFailureKeepsOldFile() {
        const QString folder = m_env->scratch("keep");
        QString error;
        QVERIFY(!InquirerWorkbook::write(folder + "/missing/x.xlsx", "S", {}, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!InquirerWorkbook::write(folder, "S", {}, &error)); // a folder, not a file

        // A cell past the sheet's last column fails the workbook; the old file stays as it was.
        const QString path = folder + "/old.xlsx";
        QVERIFY(TextFile::writeLines(path, {"old"}));
        QVERIFY(!InquirerWorkbook::write(path, "S", {{1, 20000, "x"}}, &error));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QVERIFY(old.readAll().startsWith("old"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(),
                 1); // no scratch file left

        // Written over when all goes well.
        QVERIFY(InquirerWorkbook::write(path, "S", {{1, 1, "x"}}, &error));
        QVERIFY(XlsxReader::parts(path).contains("xl/workbook.xml"));
    }

private:
    int rows(const QString &where = QString()) {
        QSqlQuery q(m_data.database());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM INQUIRER ") + where);
        return q.next() ? q.value(0).toInt() : -1;
    }

    std::unique_ptr<TestEnvironment> m_env;
    DataModule m_data;
};

QTEST_GUILESS_MAIN(TestInquirer)
#include "tst_inquirer.moc"
