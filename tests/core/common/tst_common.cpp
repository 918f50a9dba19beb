// INI files with Windows semantics, the Windows-1251 codec and text files.
#include "TestEnvironment.h"
#include "common/CaseInsensitivePath.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "common/TypedDate.h"

#include <QFile>
#include <QtTest>

class TestCommon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsLikeWindows_data();
    void readsLikeWindows();
    void integersAreLenient_data();
    void integersAreLenient();
    void writingKeepsEverythingElse();
    void writingAddsMissingSectionAndKey();
    void lookupsFollowEveryEdit();
    void missingFileGivesDefaultsAndSaveCreatesIt();
    void fileFoundWhateverItsCase();
    void cyrillicRoundTripThroughFile();
    void unrepresentableTextIsRefused();
    void crlfAndLfBothRead();
    void typedDates_data();
    void typedDates();
};

void TestCommon::readsLikeWindows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString basic = QStringLiteral("[Main]\nName = Value \n");
    QTest::newRow("exact") << basic << "Main" << "Name" << "Value";
    QTest::newRow("section case") << basic << "MAIN" << "Name" << "Value";
    QTest::newRow("key case") << basic << "main" << "NAME" << "Value";
    QTest::newRow("missing key") << basic << "Main" << "Other" << "<default>";
    QTest::newRow("missing section") << basic << "Else" << "Name" << "<default>";
    QTest::newRow("first key wins")
        << QStringLiteral("[a]\nk=1\nk=2\n") << "a" << "k" << "1";
    QTest::newRow("first section wins")
        << QStringLiteral("[a]\nk=1\n[b]\nk=9\n[A]\nk=2\nj=3\n") << "a" << "k" << "1";
    QTest::newRow("key only in later duplicate section is not seen")
        << QStringLiteral("[a]\nk=1\n[A]\nj=3\n") << "a" << "j" << "<default>";
    QTest::newRow("blanks around names")
        << QStringLiteral("  [ sec ]  \n  key  =  v a l  \n") << "sec" << "key" << "v a l";
    QTest::newRow("comment ignored")
        << QStringLiteral("[s]\n;k=1\nk=2\n") << "s" << "k" << "2";
    QTest::newRow("value with equals sign")
        << QStringLiteral("[s]\nk=a=b\n") << "s" << "k" << "a=b";
    QTest::newRow("empty value is not the default")
        << QStringLiteral("[s]\nk=\n") << "s" << "k" << "";
    QTest::newRow("quotes stripped")
        << QStringLiteral("[s]\nk=\"quoted\"\n") << "s" << "k" << "quoted";
    QTest::newRow("keys before any section are not in a section")
        << QStringLiteral("k=1\n[s]\n") << "s" << "k" << "<default>";
}

void TestCommon::readsLikeWindows()
{
    QFETCH(QString, text);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini = IniFile::fromText(text);
    QCOMPARE(ini.readString(section, key, QStringLiteral("<default>")), expected);
}

void TestCommon::integersAreLenient_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "42" << 42;
    QTest::newRow("negative") << "-7" << -7;
    QTest::newRow("leading digits") << "12abc" << 12;
    QTest::newRow("not a number") << "abc" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("huge saturates") << "99999999999" << INT_MAX;
}

void TestCommon::integersAreLenient()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    const IniFile ini = IniFile::fromText(QStringLiteral("[s]\nk=") + value + QLatin1Char('\n'));
    QCOMPARE(ini.readInteger(QStringLiteral("s"), QStringLiteral("k"), -1), expected);
    QCOMPARE(ini.readInteger(QStringLiteral("s"), QStringLiteral("missing"), -1), -1);
}

void TestCommon::writingKeepsEverythingElse()
{
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("ini")) + QStringLiteral("/Options.ini");
    QVERIFY(TextFile::writeLines(path, {QStringLiteral("; settings"), QStringLiteral("[First]"),
                                        QStringLiteral("  Alpha = 1"), QStringLiteral("Beta=2"),
                                        QString(), QStringLiteral("[Second]"),
                                        QStringLiteral("Gamma=3")}));
    IniFile ini(path);
    ini.writeString(QStringLiteral("first"), QStringLiteral("ALPHA"), QStringLiteral("10"));
    QVERIFY(ini.save());

    const QStringList lines = TextFile::readLines(path);
    QCOMPARE(lines, (QStringList{QStringLiteral("; settings"), QStringLiteral("[First]"),
                                 QStringLiteral("  Alpha =10"), QStringLiteral("Beta=2"), QString(),
                                 QStringLiteral("[Second]"), QStringLiteral("Gamma=3")}));
    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    QVERIFY(raw.readAll().contains("Beta=2\r\n"));
}

void TestCommon::writingAddsMissingSectionAndKey()
{
    IniFile ini = IniFile::fromText(QStringLiteral("[a]\nx=1\n\n[b]\ny=2\n"));
    ini.writeString(QStringLiteral("A"), QStringLiteral("z"), QStringLiteral("3"));
    ini.writeInteger(QStringLiteral("Client"), QStringLiteral("Id"), 7);
    QCOMPARE(ini.lines(), (QStringList{QStringLiteral("[a]"), QStringLiteral("x=1"),
                                       QStringLiteral("z=3"), QString(), QStringLiteral("[b]"),
                                       QStringLiteral("y=2"), QStringLiteral("[Client]"),
                                       QStringLiteral("Id=7")}));
    QCOMPARE(ini.readInteger(QStringLiteral("client"), QStringLiteral("ID"), 0), 7);
    QCOMPARE(ini.keys(QStringLiteral("a")), (QStringList{QStringLiteral("x"), QStringLiteral("z")}));
}

void TestCommon::lookupsFollowEveryEdit()
{
    // A repeated section is ignored after its first occurrence; every edit that moves lines
    // leaves each later section readable where it now stands.
    IniFile ini = IniFile::fromText(QStringLiteral("[a]\nx=1\n[B]\ny=2\n[a]\nx=9\nw=5\n[c]\nz=3\n"));
    QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("x")), QStringLiteral("1"));
    QVERIFY(!ini.hasKey(QStringLiteral("a"), QStringLiteral("w")));
    for (int i = 0; i < 3; ++i)
        ini.writeInteger(QStringLiteral("a"), QStringLiteral("k") + QString::number(i), i);
    QCOMPARE(ini.readString(QStringLiteral("b"), QStringLiteral("Y")), QStringLiteral("2"));
    QCOMPARE(ini.readString(QStringLiteral("c"), QStringLiteral("z")), QStringLiteral("3"));
    ini.removeKey(QStringLiteral("a"), QStringLiteral("x"));
    ini.removeKey(QStringLiteral("b"), QStringLiteral("y"));
    QVERIFY(!ini.hasKey(QStringLiteral("b"), QStringLiteral("y")));
    QCOMPARE(ini.readString(QStringLiteral("c"), QStringLiteral("z")), QStringLiteral("3"));
    QCOMPARE(ini.readInteger(QStringLiteral("a"), QStringLiteral("k2"), -1), 2);
    ini.writeString(QStringLiteral("new"), QStringLiteral("n"), QStringLiteral("v"));
    QCOMPARE(ini.sections(), (QStringList{QStringLiteral("a"), QStringLiteral("B"),
                                          QStringLiteral("c"), QStringLiteral("new")}));
    QCOMPARE(ini.readString(QStringLiteral("NEW"), QStringLiteral("n")), QStringLiteral("v"));
    QCOMPARE(ini.keys(QStringLiteral("c")), QStringList{QStringLiteral("z")});
}

void TestCommon::missingFileGivesDefaultsAndSaveCreatesIt()
{
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("new")) + QStringLiteral("/none.ini");
    IniFile ini(path);
    QVERIFY(!ini.existed());
    QCOMPARE(ini.readString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));
    ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v"));
    QVERIFY(ini.save());
    QCOMPARE(IniFile(path).readString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("v"));
}

void TestCommon::fileFoundWhateverItsCase()
{
    TestEnvironment env;
    const QString dir = env.scratch(QStringLiteral("case"));
    QVERIFY(TextFile::writeLines(dir + QStringLiteral("/OPTIONS.INI"),
                                 {QStringLiteral("[language]"), QStringLiteral("value=Russian")}));
    QCOMPARE(CaseInsensitivePath::resolve(dir, QStringLiteral("Options.ini")),
             dir + QStringLiteral("/OPTIONS.INI"));
    const IniFile ini(dir + QStringLiteral("/Options.ini"));
    QVERIFY(ini.existed());
    QCOMPARE(ini.readString(QStringLiteral("language"), QStringLiteral("value")),
             QStringLiteral("Russian"));
}

void TestCommon::cyrillicRoundTripThroughFile()
{
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("cp")) + QStringLiteral("/t.ini");
    const QString text = QStringLiteral("Меридиан лёгких — №1 «ёЁ»");
    IniFile ini(path);
    ini.writeString(QStringLiteral("s"), QStringLiteral("k"), text);
    QVERIFY(ini.save());

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    // One byte per letter, the Windows-1251 code of "М" is 0xCC.
    QVERIFY(bytes.contains("k=\xCC\xE5\xF0"));
    QCOMPARE(IniFile(path).readString(QStringLiteral("s"), QStringLiteral("k")), text);

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

void TestCommon::unrepresentableTextIsRefused()
{
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("bad")) + QStringLiteral("/t.ini");
    QVERIFY(TextFile::writeLines(path, {QStringLiteral("[s]"), QStringLiteral("k=old")}));
    IniFile ini(path);
    ini.writeString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("漢字"));
    QString error;
    QVERIFY(!ini.save(&error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(IniFile(path).readString(QStringLiteral("s"), QStringLiteral("k")), QStringLiteral("old"));
    QVERIFY(!Cp1251::canEncode(QStringLiteral("漢")));
    QVERIFY(Cp1251::canEncode(QStringLiteral("Привет, мир")));
}

void TestCommon::crlfAndLfBothRead()
{
    QCOMPARE(TextFile::splitLines(QStringLiteral("a\r\nb\nc\r\n")),
             (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    QCOMPARE(TextFile::splitLines(QStringLiteral("a\n\nb")),
             (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
}

void TestCommon::typedDates_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("expected");
    const QDate march12(1975, 3, 12);
    QTest::newRow("dots") << "12.03.1975" << march12;
    QTest::newRow("digits only") << "12031975" << march12;
    QTest::newRow("short digits") << "120375" << march12;
    QTest::newRow("slashes, one-digit month") << "12/3/1975" << march12;
    QTest::newRow("dashes, short year") << " 12-03-75 " << march12;
    QTest::newRow("year first") << "1975-03-12" << march12;
    QTest::newRow("short year of this century") << "01.02.03" << QDate(2003, 2, 1);
    QTest::newRow("short year after this one is last century") << "01.02.99" << QDate(1999, 2, 1);
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("no such day") << "31.02.1975" << QDate();
    QTest::newRow("month 13") << "12.13.1975" << QDate();
    QTest::newRow("letters") << "12 march 1975" << QDate();
    QTest::newRow("two groups") << "12.03" << QDate();
    QTest::newRow("seven digits") << "1203197" << QDate();
    QTest::newRow("three-digit year") << "12.03.197" << QDate();
}

void TestCommon::typedDates()
{
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    QCOMPARE(TypedDate::parse(typed, QDate(2026, 12, 7)), expected);
}

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
