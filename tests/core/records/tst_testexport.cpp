// Tests written out for the practitioner's statistics: every cell read back from the CSV and
// the workbook equals what the base holds, personal columns go when left out, awkward names
// survive, a client's export holds only that client's tests, and a cancelled or failed export
// leaves nothing under the chosen name.
#include "records/CsvText.h"
#include "records/DataModule.h"
#include "records/TestExport.h"
#include "RecordsTestSupport.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace RecordsTestSupport;

namespace {

using Table = QList<QStringList>;

// Reads CSV as RFC 4180 writes it; independent of the writer's own code.
Table parseCsv(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    Table rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << field;
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

// The workbook's first sheet as text, through openpyxl, and the type openpyxl gave each cell
// (str, int, datetime); empty when python3 or openpyxl is missing.
Table readXlsx(const QString &path, QString *skip, Table *types)
{
    const QString script = QStringLiteral(
        "import sys, json, datetime, openpyxl\n"
        "ws = openpyxl.load_workbook(sys.argv[1], read_only=True).worksheets[0]\n"
        "def text(v):\n"
        "    if v is None: return ''\n"
        "    if isinstance(v, datetime.datetime):\n"
        "        v = (v + datetime.timedelta(microseconds=500000)).replace(microsecond=0)\n"
        "        return v.strftime('%Y-%m-%d' if v.time() == datetime.time() else '%Y-%m-%d "
        "%H:%M:%S')\n"
        "    if isinstance(v, float) and v.is_integer(): return str(int(v))\n"
        "    return str(v)\n"
        "print(json.dumps([[[text(v), type(v).__name__] for v in row]\n"
        "                  for row in ws.iter_rows(values_only=True)]))\n");
    // The Debian package installs openpyxl for the system's python, which a python of the
    // user's own in PATH may not see.
    QString interpreter =
        QStandardPaths::findExecutable(QStringLiteral("python3"), {QStringLiteral("/usr/bin")});
    if (interpreter.isEmpty())
        interpreter = QStringLiteral("python3");
    QProcess python;
    python.start(interpreter, {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        *skip = QStringLiteral("python3 with openpyxl is needed: ")
                + QString::fromUtf8(python.readAllStandardError()).left(200);
        return {};
    }
    Table rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList cells, kinds;
        for (const QJsonValue &cell : row.toArray()) {
            cells << cell.toArray().at(0).toString();
            kinds << cell.toArray().at(1).toString();
        }
        rows << cells;
        types->append(kinds);
    }
    return rows;
}

Table readBack(TestExport::Format format, const QString &path, QString *skip,
               Table *types = nullptr)
{
    Table ignored;
    if (format == TestExport::Format::Xlsx)
        return readXlsx(path, skip, types ? types : &ignored);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return {};
    return parseCsv(bytes.mid(3));
}

// A test whose mean and classes are worked out by hand: 22 channels at 100, LLU at 150 and
// RST at 40 give a mean of 2390 / 24 = 99; 10 % of it is 9, so the corridor is 90..108.
TestRecord handWorked(const QString &client, const QDateTime &when)
{
    TestRecord test = makeTest(client, when);
    test.values.fill(100);
    test.values[0] = 150;
    test.values[23] = 40;
    return test;
}

struct Base
{
    TestEnvironment env;
    DataModule data;
    QString path;
    QString folder;
    Base()
    {
        path = openSeedBase(env, data);
        folder = env.scratch(QStringLiteral("out"));
    }
    TestExport::Request request(TestExport::Format format, const QString &file) const
    {
        TestExport::Request r;
        r.basePath = path;
        r.target = folder + QLatin1Char('/') + file;
        r.format = format;
        r.percent = 10;
        return r;
    }
};

QString nameOf(TestExport::Format format)
{
    return format == TestExport::Format::Csv ? QStringLiteral("tests.csv")
                                             : QStringLiteral("tests.xlsx");
}

} // namespace

class TestTestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quotingFollowsTheRfc()
    {
        QCOMPARE(CsvText::line({"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "Ёлка"}),
                 QStringLiteral("plain,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",,Ёлка\r\n"));
    }

    void cellsReadBackAsStored_data()
    {
        QTest::addColumn<TestExport::Format>("format");
        QTest::addColumn<bool>("withPersonal");
        QTest::newRow("csv, with names") << TestExport::Format::Csv << true;
        QTest::newRow("csv, names left out") << TestExport::Format::Csv << false;
        QTest::newRow("xlsx, with names") << TestExport::Format::Xlsx << true;
        QTest::newRow("xlsx, names left out") << TestExport::Format::Xlsx << false;
    }

    void cellsReadBackAsStored()
    {
        QFETCH(TestExport::Format, format);
        QFETCH(bool, withPersonal);
        Base base;
        // Quotes, a comma, a line break and Cyrillic in one name, a formula for a surname.
        const QString awkward = QStringLiteral("Анна \"Ю\", 2\nЁ");
        ClientCard card;
        card.name = awkward;
        card.surname = QStringLiteral("=HYPERLINK(\"http://x\",\"Ё\")");
        card.birthday = QDate(1961, 3, 4);
        card.city = QStringLiteral("Тверь");
        card.tel1 = QStringLiteral("555-1");
        card.tel3 = QStringLiteral("555-3");
        card.eMail = QStringLiteral("anna@example.org");
        QVERIFY(ClientRepository(&base.data).addCard(card, QString(), QDate(2026, 1, 1)));
        const QString other = addClient(base.data, QStringLiteral("Boris"), QStringLiteral("Lind"));
        TestRecord first = handWorked(card.code, QDateTime(QDate(2024, 5, 6), QTime(9, 15, 30)));
        TestRecord second = makeTest(card.code, QDateTime(QDate(2024, 5, 7), QTime(18, 0, 1)));
        TestRecord boris = makeTest(other, QDateTime(QDate(2023, 1, 2), QTime(8, 0)), 70);
        for (TestRecord *t : {&first, &second, &boris})
            QVERIFY(base.data.saveTest(*t));

        TestExport::Request request = base.request(format, nameOf(format));
        request.withPersonal = withPersonal;
        const TestExport::Result result = TestExport::run(request);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.rows, 3);
        QString skip;
        Table types;
        const Table rows = readBack(format, request.target, &skip, &types);
        if (!skip.isEmpty())
            QSKIP(qPrintable(skip));
        QCOMPARE(rows.size(), 4);

        const QStringList header = rows.at(0);
        const int personal = withPersonal ? 8 : 0;
        const int firstValue = 2 + personal;
        QCOMPARE(header.size(), firstValue + 2 * 24 + 2);
        QCOMPARE(header.mid(firstValue, 24), Channels::names());
        QVERIFY(header.contains(QStringLiteral("RST class")));
        // Rows come by client, then date.
        const QList<const TestRecord *> order = {&first, &second, &boris};
        for (int r = 0; r < 3; ++r) {
            const QStringList &row = rows.at(r + 1);
            const TestRecord &stored = *order.at(r);
            QCOMPARE(row.size(), header.size());
            QCOMPARE(row.at(0), stored.codeClient);
            QCOMPARE(row.at(1 + personal),
                     stored.testDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            for (int i = 0; i < 24; ++i)
                QCOMPARE(row.at(firstValue + i).toInt(), stored.values[size_t(i)]);
            QCOMPARE(row.at(firstValue + 25), QStringLiteral("10"));
        }
        const QStringList &anna = rows.at(1);
        QCOMPARE(anna.at(firstValue + 24), QStringLiteral("99")); // the mean
        QStringList classes = anna.mid(firstValue + 26);
        QCOMPARE(classes.takeFirst(), QStringLiteral("1"));
        QCOMPARE(classes.takeLast(), QStringLiteral("-1"));
        QCOMPARE(classes, QStringList(22, QStringLiteral("0")));

        const QString everything = [&rows] {
            QStringList all;
            for (const QStringList &row : rows)
                all << row;
            return all.join(u'|');
        }();
        const bool csv = format == TestExport::Format::Csv;
        if (withPersonal) {
            // In a CSV file the formula is kept from running by an apostrophe; a workbook's text
            // cell is text anyway.
            const QString surname = csv ? QLatin1Char('\'') + card.surname : card.surname;
            QCOMPARE(anna.mid(1, 8), QStringList({awkward, surname, QStringLiteral("1961-03-04"),
                                                  QString(), card.city, QString(),
                                                  QStringLiteral("555-1, 555-3"), card.eMail}));
            QCOMPARE(rows.at(3).at(1), QStringLiteral("Boris"));
        } else {
            for (const QString &personalText :
                 {QStringLiteral("Анна"), QStringLiteral("HYPERLINK"), QStringLiteral("Boris"),
                  QStringLiteral("Тверь"), QStringLiteral("555-1"), QStringLiteral("1961")})
                QVERIFY2(!everything.contains(personalText), qPrintable(personalText));
        }
        if (csv)
            return;
        // The workbook's cells have their own types: text, whole numbers, and dates that a
        // spreadsheet can count with.
        QCOMPARE(types.at(0), QStringList(header.size(), QStringLiteral("str")));
        QStringList expected{QStringLiteral("str")};
        if (withPersonal)
            expected << QStringLiteral("str") << QStringLiteral("str") << QStringLiteral("datetime")
                     << QStringLiteral("NoneType") << QStringLiteral("str")
                     << QStringLiteral("NoneType") << QStringLiteral("str")
                     << QStringLiteral("str");
        expected << QStringLiteral("datetime") << QStringList(2 * 24 + 2, QStringLiteral("int"));
        QCOMPARE(types.at(1), expected);
    }

    void clientExportHoldsOnlyThatClient()
    {
        Base base;
        // Keys that share a beginning, and one in other case: only the asked key counts.
        for (const QString &client : {QStringLiteral("Q71"), QStringLiteral("q71"),
                                      QStringLiteral("Q710"), QStringLiteral("Q7")}) {
            TestRecord test = makeTest(client, QDateTime(QDate(2024, 1, 1), QTime(10, 0)));
            QVERIFY(base.data.saveTest(test));
        }
        TestExport::Request request = base.request(TestExport::Format::Csv, "one.csv");
        request.client = QStringLiteral("Q71");
        QList<qint64> totals;
        const TestExport::Result result = TestExport::run(request, [&](qint64, qint64 total) {
            totals << total;
            return true;
        });
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(result.rows, 2);
        QVERIFY(!totals.isEmpty() && totals.first() == 2);
        QString skip;
        const Table rows = readBack(request.format, request.target, &skip);
        QCOMPARE(rows.size(), 3);
        for (const QStringList &row : rows.mid(1))
            QCOMPARE(row.at(0).toUpper(), QStringLiteral("Q71"));
    }

    void cancelledOrFailedLeavesNoFile_data()
    {
        QTest::addColumn<TestExport::Format>("format");
        QTest::newRow("csv") << TestExport::Format::Csv;
        QTest::newRow("xlsx") << TestExport::Format::Xlsx;
    }

    void cancelledOrFailedLeavesNoFile()
    {
        QFETCH(TestExport::Format, format);
        Base base;
        for (int day = 1; day <= 3; ++day) {
            TestRecord test = makeTest("Q71", QDateTime(QDate(2024, 2, day), QTime(10, 0)));
            QVERIFY(base.data.saveTest(test));
        }
        TestExport::Request request = base.request(format, nameOf(format));
        const TestExport::Result cancelled =
            TestExport::run(request, [](qint64, qint64) { return false; });
        QVERIFY(cancelled.cancelled && !cancelled.ok);
        QVERIFY(QDir(base.folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

        // An earlier export under the name stays as it was.
        QFile earlier(request.target);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
        earlier.close();
        int calls = 0;
        TestExport::run(request, [&calls](qint64, qint64) { return ++calls < 2; });
        QCOMPARE(calls, 2);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier"));
        QCOMPARE(QDir(base.folder).entryList(QDir::Files | QDir::Hidden).size(), 1);

        request.target = base.folder + QStringLiteral("/missing/") + nameOf(format);
        const TestExport::Result failed = TestExport::run(request);
        QVERIFY(!failed.ok && !failed.cancelled);
        QVERIFY2(failed.error.contains(QStringLiteral("missing")), qPrintable(failed.error));
        QVERIFY(!QFileInfo::exists(request.target));
    }
};

QTEST_GUILESS_MAIN(TestTestExport)
#include "tst_testexport.moc"
