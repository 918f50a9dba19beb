// INI files with Windows semantics, the Windows-1251 codec and text files.
#include "common/CaseInsensitivePath.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "common/TypedDate.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QtTest>

class TestCommon : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsLikeWindows_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        const QString basic = "[Main]\nName = Value \n";
        // clang-format off
        QTest::newRow("exact") << basic << "Main" << "Name" << "Value";
        QTest::newRow("section case") << basic << "MAIN" << "Name" << "Value";
        QTest::newRow("key case") << basic << "main" << "NAME" << "Value";
        QTest::newRow("missing key") << basic << "Main" << "Other" << "<default>";
        QTest::newRow("missing section") << basic << "Else" << "Name" << "<default>";
        QTest::newRow("first key wins") << QStringLiteral("[a]\nk=1\nk=2\n") << "a" << "k" << "1";
        QTest::newRow("first section wins")
            << QStringLiteral("[a]\nk=1\n[b]\nk=9\n[A]\nk=2\nj=3\n") << "a" << "k" << "1";
        QTest::newRow("key only in later duplicate section is not seen")
            << QStringLiteral("[a]\nk=1\n[A]\nj=3\n") << "a" << "j" << "<default>";
        QTest::newRow("blanks around names")
            << QStringLiteral("  [ sec ]  \n  key  =  v a l  \n") << "sec" << "key" << "v a l";
        QTest::newRow("comment ignored") << QStringLiteral("[s]\n;k=1\nk=2\n") << "s" << "k" << "2";
        QTest::newRow("value with equals sign")
            << QStringLiteral("[s]\nk=a=b\n") << "s" << "k" << "a=b";
        QTest::newRow("empty value is not the default")
            << QStringLiteral("[s]\nk=\n") << "s" << "k" << "";
        QTest::newRow("quotes stripped")
            << QStringLiteral("[s]\nk=\"quoted\"\n") << "s" << "k" << "quoted";
        QTest::newRow("keys before any section are not in a section")
            << QStringLiteral("k=1\n[s]\n") << "s" << "k" << "<default>";
        QTest::newRow("CRLF and LF in one file")
            << QStringLiteral("[s]\r\nk=1\nj=2\r\n") << "s" << "j" << "2";
        // clang-format on
    }
    void readsLikeWindows() {
        QFETCH(QString, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        const IniFile ini = IniFile::fromText(text);
        QTEST(ini.readString(section, key, "<default>"), "expected");
    }

    void integersAreLenient_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << "42" << 42;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("leading digits") << "12abc" << 12;
        QTest::newRow("not a number") << "abc" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("huge saturates") << "99999999999" << INT_MAX;
    }
    void integersAreLenient() {
        QFETCH(QString, value);
        const IniFile ini =
            IniFile::fromText(QStringLiteral("[s]\nk=") + value + QLatin1Char('\n'));
        QTEST(ini.readInteger("s", "k", -1), "expected");
        QCOMPARE(ini.readInteger("s", "missing", -1), -1);
    }

    void writingInMemory() {
        IniFile ini = IniFile::fromText("[a]\nx=1\n\n[b]\ny=2\n");
        ini.writeString("A", "z", "3");
        ini.writeInteger("Client", "Id", 7);
        QCOMPARE(ini.lines(),
                 (QStringList{"[a]", "x=1", "z=3", QString(), "[b]", "y=2", "[Client]", "Id=7"}));
        QCOMPARE(ini.readInteger("client", "ID", 0), 7);
        QCOMPARE(ini.keys("a"), (QStringList{"x", "z"}));

        // A repeated section is ignored after its first occurrence; every edit that moves lines
        // leaves each later section readable where it now stands.
        ini = IniFile::fromText("[a]\nx=1\n[B]\ny=2\n[a]\nx=9\nw=5\n[c]\nz=3\n");
        QCOMPARE(ini.readString("A", "x"), "1");
        QVERIFY(!ini.hasKey("a", "w"));
        for (int i = 0; i < 3; ++i)
            ini.writeInteger("a", QStringLiteral("k") + QString::number(i), i);
        QCOMPARE(ini.readString("b", "Y"), "2");
        QCOMPARE(ini.readString("c", "z"), "3");
        ini.removeKey("a", "x");
        ini.removeKey("b", "y");
        QVERIFY(!ini.hasKey("b", "y"));
        QCOMPARE(ini.readString("c", "z"), "3");
        QCOMPARE(ini.readInteger("a", "k2", -1), 2);
        ini.writeString("new", "n", "v");
        QCOMPARE(ini.sections(), (QStringList{"a", "B", "c", "new"}));
        QCOMPARE(ini.readString("NEW", "n"), "v");
        QCOMPARE(ini.keys("c"), QStringList{"z"});
    }

    // On disk: every other line, comment and order kept, CRLF written; a missing file reads the
    // defaults and a save makes it; a file spelt in other capitals is found; Cyrillic written
    // in Windows-1251; text the code page lacks refused, the file left as it was.
    void filesOnDisk() {
        const QString dir = m_env.scratch("ini");
        QVERIFY(TextFile::writeLines(dir + "/OPTIONS.INI", {"; settings", "[First]", "  Alpha = 1",
                                                            "Beta=2", QString(), "[Second]"}));
        QCOMPARE(CaseInsensitivePath::resolve(dir, "Options.ini"), dir + "/OPTIONS.INI");
        IniFile options(dir + "/Options.ini");
        QVERIFY(options.existed());
        options.writeString("first", "ALPHA", "10");
        QVERIFY(options.save());
        QCOMPARE(TextFile::readLines(dir + "/OPTIONS.INI"),
                 QStringList({"; settings", "[First]", "  Alpha =10", "Beta=2", "", "[Second]"}));
        QFile raw(dir + "/OPTIONS.INI");
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.readAll().contains("Beta=2\r\n"));

        IniFile ini(dir + "/new.ini");
        QVERIFY(!ini.existed());
        QCOMPARE(ini.readString("s", "k", "d"), "d");
        const QString text = "Меридиан лёгких — №1 «ёЁ»";
        ini.writeString("s", "k", text);
        QVERIFY(ini.save());
        QFile cp(dir + "/new.ini");
        QVERIFY(cp.open(QIODevice::ReadOnly));
        // One byte per letter, the Windows-1251 code of "М" is 0xCC.
        QVERIFY(cp.readAll().contains("k=\xCC\xE5\xF0"));
        QCOMPARE(IniFile(dir + "/new.ini").readString("s", "k"), text);

        ini.writeString("s", "k", "漢字");
        QString error;
        QVERIFY(!ini.save(&error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(IniFile(dir + "/new.ini").readString("s", "k"), text);
        QVERIFY(!Cp1251::canEncode("漢"));
        QVERIFY(Cp1251::canEncode("Привет, мир"));

        // Every byte except the one unassigned code decodes and encodes back to itself.
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != 0x98)
                all.append(char(b));
        }
        bool lossless = false;
        QCOMPARE(Cp1251::encode(Cp1251::decode(all), &lossless), all);
        QVERIFY(lossless);
    }

    void typedDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        const QDate march12(1975, 3, 12);
        // clang-format off
        QTest::newRow("dots") << "12.03.1975" << march12;
        QTest::newRow("digits only") << "12031975" << march12;
        QTest::newRow("short digits") << "120375" << march12;
        QTest::newRow("slashes, one-digit month") << "12/3/1975" << march12;
        QTest::newRow("dashes, short year") << " 12-03-75 " << march12;
        QTest::newRow("year first") << "1975-03-12" << march12;
        QTest::newRow("short year of this century") << "01.02.03" << QDate(2003, 2, 1);
        QTest::newRow("short year after this one is last century")
            << "01.02.99" << QDate(1999, 2, 1);
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("no such day") << "31.02.1975" << QDate();
        QTest::newRow("month 13") << "12.13.1975" << QDate();
        QTest::newRow("letters") << "12 march 1975" << QDate();
        QTest::newRow("two groups") << "12.03" << QDate();
        QTest::newRow("seven digits") << "1203197" << QDate();
        QTest::newRow("three-digit year") << "12.03.197" << QDate();
        // clang-format on
    }
    void typedDates() {
        QFETCH(QString, typed);
        QTEST(TypedDate::parse(typed, QDate(2026, 12, 7)), "expected");
    }

private:
    TestEnvironment m_env;
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
