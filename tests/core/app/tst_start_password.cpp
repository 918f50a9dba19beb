// The start password in Options.ini: new passwords kept only as salted slow hashes, older
// plain-text files still opening, and damaged values that never let anyone in.
#include "TestEnvironment.h"
#include "app/StartPassword.h"
#include "common/IniFile.h"
#include "common/TextFile.h"

#include <QElapsedTimer>
#include <QtTest>

namespace {
const QString kPrefix = QStringLiteral("pbkdf2-sha256$");

IniFile optionsWith(const QString &val, const QString &ask)
{
    return IniFile::fromText(QStringLiteral("[password]\r\nval=") + val + QStringLiteral("\r\ndo=")
                             + ask + QStringLiteral("\r\n"));
}
} // namespace

class TestStartPassword : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void hashRoundTrip_data();
    void hashRoundTrip();
    void hashIsSaltedAndSlow();
    void damagedHashNeverMatches_data();
    void damagedHashNeverMatches();
    void legacyPlainTextMatches_data();
    void legacyPlainTextMatches();
    void emptyNewPasswordDisablesIt();
    void required_data();
    void required();
};

void TestStartPassword::hashRoundTrip_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");   // what the user types at start: must match
    QTest::addColumn<QString>("wrong");   // a near miss: must not

    QTest::newRow("plain") << QStringLiteral("secret") << QStringLiteral("secret")
                           << QStringLiteral("Secret");
    QTest::newRow("cyrillic") << QStringLiteral("пароль") << QStringLiteral("пароль")
                              << QStringLiteral("парол");
    QTest::newRow("blanks around are no part of it")
        << QStringLiteral("  key 42  ") << QStringLiteral("key 42") << QStringLiteral("key42");
    QTest::newRow("ini and format characters")
        << QStringLiteral("a=b;c$d[e]") << QStringLiteral("a=b;c$d[e]") << QStringLiteral("a=b");
    QTest::newRow("long") << QString(300, QLatin1Char('x')) << QString(300, QLatin1Char('x'))
                          << QString(299, QLatin1Char('x'));
}

void TestStartPassword::hashRoundTrip()
{
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(QString, wrong);
    TestEnvironment env;

    const QString value = StartPassword::valueFor(password);
    QVERIFY(StartPassword::isHash(value));
    QVERIFY(!value.contains(password.trimmed()));

    // Through the real file: the value must survive the code page and the INI parser.
    const QString path = env.scratch(QStringLiteral("ini")) + QStringLiteral("/Options.ini");
    IniFile out(path);
    out.writeString(QStringLiteral("password"), QStringLiteral("val"), value);
    out.writeString(QStringLiteral("password"), QStringLiteral("do"), QStringLiteral("1"));
    QVERIFY(out.save());
    QVERIFY(!TextFile::readLines(path).join(QLatin1Char('\n')).contains(password.trimmed()));

    const StartPassword stored = StartPassword::load(IniFile(path));
    QCOMPARE(stored.stored(), value);
    QVERIFY(stored.required());
    QVERIFY(!stored.isLegacyPlainText());
    QVERIFY(stored.matches(typed));
    QVERIFY(stored.matches(QLatin1Char(' ') + typed + QLatin1Char('\t')));
    QVERIFY(!stored.matches(wrong));
    QVERIFY(!stored.matches(QString()));
    QCOMPARE(stored.valueToKeep(), value);
}

void TestStartPassword::hashIsSaltedAndSlow()
{
    const QString a = StartPassword::valueFor(QStringLiteral("secret"));
    const QString b = StartPassword::valueFor(QStringLiteral("secret"));
    QVERIFY(a != b);
    const QStringList pa = a.mid(kPrefix.size()).split(QLatin1Char('$'));
    const QStringList pb = b.mid(kPrefix.size()).split(QLatin1Char('$'));
    QCOMPARE(pa.size(), 3);
    QCOMPARE(pa.at(0).toInt(), StartPassword::defaultIterations);
    QVERIFY(pa.at(1) != pb.at(1));
    QVERIFY(pa.at(2) != pb.at(2));
    // A count that makes guessing cheap would defeat the point of hashing.
    QVERIFY(StartPassword::defaultIterations >= 100000);
}

void TestStartPassword::damagedHashNeverMatches_data()
{
    const QString good = StartPassword::valueFor(QStringLiteral("secret"));
    const QStringList parts = good.mid(kPrefix.size()).split(QLatin1Char('$'));
    const QString salt = parts.at(1);
    const QString hash = parts.at(2);
    QString flipped = hash;
    flipped[0] = flipped.at(0) == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');

    QTest::addColumn<QString>("value");
    QTest::newRow("prefix only") << kPrefix;
    QTest::newRow("empty fields") << kPrefix + QStringLiteral("$$");
    QTest::newRow("missing hash") << kPrefix + parts.at(0) + QLatin1Char('$') + salt;
    QTest::newRow("extra field") << good + QStringLiteral("$x");
    QTest::newRow("count not a number") << kPrefix + QStringLiteral("many$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("count zero") << kPrefix + QStringLiteral("0$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("count negative") << kPrefix + QStringLiteral("-5$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("count changed") << kPrefix + QStringLiteral("1000$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("count absurd") << kPrefix + QStringLiteral("2147483647$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("count overflows") << kPrefix + QStringLiteral("99999999999999$") + salt + QLatin1Char('$') + hash;
    QTest::newRow("salt not base64") << kPrefix + parts.at(0) + QStringLiteral("$!!!!$") + hash;
    QTest::newRow("hash not base64") << kPrefix + parts.at(0) + QLatin1Char('$') + salt + QStringLiteral("$#*#*");
    QTest::newRow("hash too short") << kPrefix + parts.at(0) + QLatin1Char('$') + salt + QStringLiteral("$AAAA");
    QTest::newRow("hash altered") << kPrefix + parts.at(0) + QLatin1Char('$') + salt + QLatin1Char('$') + flipped;
}

void TestStartPassword::damagedHashNeverMatches()
{
    QFETCH(QString, value);
    const StartPassword stored = StartPassword::load(optionsWith(value, QStringLiteral("1")));
    QVERIFY(StartPassword::isHash(stored.stored()));
    QVERIFY(!stored.isLegacyPlainText());
    // Still counts as set: a damaged file must not switch the password off.
    QVERIFY(stored.required());
    QElapsedTimer timer;
    timer.start();
    for (const QString &entry : {QStringLiteral("secret"), QString(), value, kPrefix})
        QVERIFY2(!stored.matches(entry), qPrintable(entry));
    QVERIFY2(timer.elapsed() < 5000, "a damaged count must not stall the start");
    QCOMPARE(stored.valueToKeep(), value);
}

void TestStartPassword::legacyPlainTextMatches_data()
{
    QTest::addColumn<QByteArray>("line"); // the val line as an older program wrote it, cp1251
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("wrong");
    QTest::newRow("latin") << QByteArray("val= secret ") << QStringLiteral("secret")
                           << QStringLiteral("secre");
    QTest::newRow("cyrillic") << QByteArray("val=\xEF\xE0\xF0\xEE\xEB\xFC")
                              << QStringLiteral("пароль") << QStringLiteral("ПАРОЛЬ");
}

void TestStartPassword::legacyPlainTextMatches()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, password);
    QFETCH(QString, wrong);
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("legacy")) + QStringLiteral("/Options.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("[language]\r\nvalue=English\r\n[password]\r\n") + line
               + QByteArray("\r\ndo=1\r\n"));
    file.close();

    const StartPassword stored = StartPassword::load(IniFile(path));
    QVERIFY(stored.isLegacyPlainText());
    QVERIFY(stored.required());
    QVERIFY(stored.matches(password));
    QVERIFY(stored.matches(QStringLiteral("  ") + password));
    QVERIFY(!stored.matches(wrong));
    QVERIFY(!stored.matches(QString()));

    // Saving without a change replaces the plain text by its hash.
    const QString kept = stored.valueToKeep();
    QVERIFY(StartPassword::isHash(kept));
    QVERIFY(!kept.contains(password));
    QVERIFY(StartPassword(kept, true).matches(password));
}

void TestStartPassword::emptyNewPasswordDisablesIt()
{
    QCOMPARE(StartPassword::valueFor(QString()), QString());
    QCOMPARE(StartPassword::valueFor(QStringLiteral("  \t ")), QString());
    const StartPassword none = StartPassword::load(optionsWith(QString(), QStringLiteral("1")));
    QVERIFY(!none.isSet());
    QVERIFY(!none.required());
    QVERIFY(!none.isLegacyPlainText());
    QVERIFY(none.matches(QString()));
    QVERIFY(none.matches(QStringLiteral("  ")));
    QVERIFY(!none.matches(QStringLiteral("anything")));
    QCOMPARE(none.valueToKeep(), QString());
}

void TestStartPassword::required_data()
{
    QTest::addColumn<QString>("val");
    QTest::addColumn<QString>("ask");
    QTest::addColumn<bool>("required");
    const QString hash = StartPassword::valueFor(QStringLiteral("secret"));
    QTest::newRow("hash, asked") << hash << QStringLiteral("1") << true;
    QTest::newRow("plain, asked") << QStringLiteral("secret") << QStringLiteral("1") << true;
    QTest::newRow("asked with blanks") << QStringLiteral("secret") << QStringLiteral(" 1 ") << true;
    QTest::newRow("not asked") << hash << QStringLiteral("0") << false;
    QTest::newRow("ask missing") << hash << QString() << false;
    QTest::newRow("ask other number") << hash << QStringLiteral("2") << false;
    QTest::newRow("blank password, asked") << QStringLiteral("   ") << QStringLiteral("1") << false;
}

void TestStartPassword::required()
{
    QFETCH(QString, val);
    QFETCH(QString, ask);
    QFETCH(bool, required);
    QCOMPARE(StartPassword::load(optionsWith(val, ask)).required(), required);
    QVERIFY(!StartPassword::load(IniFile()).required());
}

QTEST_GUILESS_MAIN(TestStartPassword)
#include "tst_start_password.moc"
