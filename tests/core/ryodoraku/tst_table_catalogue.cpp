// The reference tables as the practitioner meets them: which language's tables are read, what
// the list holds and in which order, searching, and the tables we ship.
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "ryodoraku/TableCatalogue.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QStringList baseNames(const QList<TableEntry> &entries) {
    QStringList names;
    for (const TableEntry &entry : entries)
        names << QString::number(entry.number) + QLatin1Char(' ') + entry.baseName;
    return names;
}

const QStringList kEnglish{"1 Dose 5% table", "2 Organ clock", "3 Patient's chart",
                           "4 Table 2",       "5 Table 10",    "6 Untitled.v2"};

} // namespace

class TestTableCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        m_root = m_env.scratch("Tables");
        const QString english = m_root + "/English/";
        writeFile(english + "FullNames/Names.INI",
                  "[Names]\r\nOrgan clock=Meridian activity hours\r\nTable 2=The second table\r\n");
        // Listed: pages only, whatever the case of the extension; "Table 2" before "Table 10".
        for (const char *name :
             {"Organ clock.htm", "Table 10.htm", "Table 2.HTM", "Dose 5% table.htm",
              "Patient's chart.htm", "Untitled.v2.html", "readme.txt", "Thumbs.db"})
            writeFile(english + QLatin1String(name), "<html></html>");
        QDir().mkpath(english + "pictures.htm"); // a folder, whatever its name

        // German has tables but no title file; Russian spells its title file in other cases.
        writeFile(m_root + "/German/Tabelle.htm", "<html></html>");
        writeFile(m_root + "/russian/fullnames/names.ini",
                  Cp1251::encode("[Names]\r\nЧасы=Органные часы\r\n"));
        writeFile(m_root + "/russian/Часы.htm", "<html></html>");
        // A title file one level up must not be reached through the language name.
        writeFile(m_env.scratch("FullNames") + "/Names.INI", "[Names]\r\n");
    }

    void languageAndListing_data() {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("tables");

        // clang-format off
        QTest::newRow("own title file, other case")
            << "Russian" << "Russian" << QStringList{"1 Часы"};
        QTest::newRow("tables without a title file") << "German" << "English" << kEnglish;
        QTest::newRow("no folder") << "French" << "English" << kEnglish;
        QTest::newRow("empty name") << "" << "English" << kEnglish;
        QTest::newRow("name leading out") << ".." << "English" << kEnglish;
        QTest::newRow("name with a path") << "../Tables/Russian" << "English" << kEnglish;
        // clang-format on
    }
    void languageAndListing() {
        QFETCH(QString, requested);
        QFETCH(QString, expected);
        QFETCH(QStringList, tables);
        const TableCatalogue catalogue = TableCatalogue::load(requested, m_root);
        QCOMPARE(catalogue.language(), expected);
        QCOMPARE(baseNames(catalogue.tables()), tables);
        for (const TableEntry &table : catalogue.tables())
            QVERIFY(QFileInfo(table.path).isFile());
        // A table the title file does not name is titled by its name.
        QCOMPARE(catalogue.tables().last().title,
                 expected == QLatin1String("Russian") ? "Органные часы" : "Untitled.v2");
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("hits");

        // clang-format off
        QTest::newRow("part of the name, other case") << "CLOCK" << QStringList{"1 Organ clock"};
        QTest::newRow("the title is not searched") << "activity HOURS" << QStringList{};
        QTest::newRow("per cent sign is plain") << "%" << QStringList{"1 Dose 5% table"};
        QTest::newRow("quote is plain") << "'" << QStringList{"1 Patient's chart"};
        QTest::newRow("underscore is plain") << "_" << QStringList{};
        QTest::newRow("blank lists all") << "   " << kEnglish;
        QTest::newRow("hits renumbered")
            << "table" << QStringList{"1 Dose 5% table", "2 Table 2", "3 Table 10"};
        // clang-format on
    }
    void search() {
        QFETCH(QString, text);
        QTEST(baseNames(TableCatalogue::load("English", m_root).search(text)), "hits");
    }

    void shippedTables_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "English";
        QTest::newRow("Russian") << "Russian";
    }
    void shippedTables() {
        QFETCH(QString, language);
        const TableCatalogue catalogue =
            TableCatalogue::load(language, TestEnvironment::installDir() + "/Tables");
        QCOMPARE(catalogue.language(), language);
        // Points, hours, elements, couplings and the corridor, in both languages.
        QCOMPARE(catalogue.tables().size(), 5);
        const IniFile titles(catalogue.folder() + "/FullNames/Names.INI");
        for (const TableEntry &table : catalogue.tables()) {
            QVERIFY2(titles.hasKey("Names", table.baseName), qPrintable(table.baseName));
            QFile file(table.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString html = utf8.decode(file.readAll());
            QVERIFY2(!utf8.hasError(), qPrintable(table.baseName));
            QVERIFY(html.contains("<meta charset=\"utf-8\">"));
            // The one look of all tables is found beside the language folders.
            QVERIFY(html.contains("<link rel=\"stylesheet\" href=\"../tables.css\">"));
            QCOMPARE(html.count("<table"), html.count("</table>"));
        }
        QVERIFY(QFileInfo::exists(catalogue.folder() + "/../tables.css"));
    }

private:
    TestEnvironment m_env;
    QString m_root;
};

QTEST_GUILESS_MAIN(TestTableCatalogue)
#include "tst_table_catalogue.moc"
