// Damaged settings, language and catalogue files: told apart from whole ones, named at start
// with what is used instead, and a damaged Options.ini never opens the program without its
// start password.
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/PasswordCopy.h"
#include "app/StartFileCheck.h"
#include "common/IniFile.h"
#include "common/IniFileCheck.h"
#include "Damage.h"
#include "TestEnvironment.h"

#include <QDirIterator>
#include <QtTest>

using Problem = IniFileCheck::Problem;

namespace {

QString optionsPath()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

// Sets the start password the way the settings page stores it.
void setPassword(const QString &password, bool ask)
{
    IniFile options(optionsPath());
    options.writeString(QStringLiteral("password"), QStringLiteral("val"),
                        StartPassword::valueFor(password));
    options.writeString(QStringLiteral("password"), QStringLiteral("do"),
                        ask ? QStringLiteral("1") : QStringLiteral("0"));
    QVERIFY(options.save());
    QVERIFY(PasswordCopy::update(optionsPath()));
}

} // namespace

class TestDamagedFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void shippedFilesAreWhole();
    void damageIsRecognised_data();
    void damageIsRecognised();
    void passwordSurvivesADamagedOptionsFile_data();
    void passwordSurvivesADamagedOptionsFile();
    void passwordRemovedOnPurposeIsGone();
    void messageNamesEachDamagedFile();
};

void TestDamagedFiles::shippedFilesAreWhole()
{
    // A false alarm at every start would teach the practitioner to ignore the message.
    TestEnvironment env;
    DataFolderSetup::run();
    int checked = 0;
    for (const QString &root : {TestEnvironment::installDir(), env.dataFolder()}) {
        QDirIterator it(root, {QStringLiteral("*.ini"), QStringLiteral("*.lang")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const IniFileCheck::Result result = IniFileCheck::inspect(path);
            QVERIFY2(result.whole(), qPrintable(path + QStringLiteral(": ")
                                                + QString::number(int(result.problem))));
            ++checked;
        }
    }
    QVERIFY(checked >= 10);
    QVERIFY(StartFileCheck::run().isEmpty());
}

void TestDamagedFiles::damageIsRecognised_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("problem");
    const QString options = QStringLiteral("Options.ini");
    const QString russian = QStringLiteral("languages/Russian.lang");
    for (const QString &file : {options, russian}) {
        QTest::addRow("%s empty", qPrintable(file))
            << file << int(Damage::Empty) << int(Problem::Empty);
        QTest::addRow("%s random", qPrintable(file))
            << file << int(Damage::Random) << int(Problem::NotText);
        QTest::addRow("%s folder", qPrintable(file))
            << file << int(Damage::Folder) << int(Problem::Unreadable);
    }
    // Only Cyrillic text shows that it was saved in UTF-8.
    QTest::addRow("Russian.lang UTF-8")
        << russian << int(Damage::Utf8) << int(Problem::NotWindows1251);
}

void TestDamagedFiles::damageIsRecognised()
{
    QFETCH(QString, file);
    QFETCH(int, kind);
    QFETCH(int, problem);
    TestEnvironment env;
    DataFolderSetup::run();
    const QString path = env.dataFolder() + QStringLiteral("/check/") + file;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(QFile::copy(file == QStringLiteral("Options.ini")
                            ? optionsPath()
                            : TestEnvironment::installDir() + QStringLiteral("/Q7/") + file,
                        path));
    QVERIFY(Damage::apply(path, Damage::Kind(kind)));
    QCOMPARE(int(IniFileCheck::inspect(path).problem), problem);
}

void TestDamagedFiles::passwordSurvivesADamagedOptionsFile_data()
{
    QTest::addColumn<QByteArray>("content"); // what Options.ini holds afterwards
    QTest::addColumn<bool>("folder");
    QRandomGenerator random(7);
    QByteArray noise(3000, Qt::Uninitialized);
    for (char &c : noise)
        c = char(random.bounded(256));
    QTest::newRow("random") << noise << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("folder") << QByteArray() << true;
    QTest::newRow("hash cut short")
        << QByteArray("[password]\r\nval=pbkdf2-sha256$200000$abc\r\ndo=1\r\n") << false;
    QTest::newRow("fresh from the install folder")
        << Damage::bytesOf(TestEnvironment::installDir() + QStringLiteral("/Q7/Options.ini"))
        << false;
}

void TestDamagedFiles::passwordSurvivesADamagedOptionsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    TestEnvironment env;
    DataFolderSetup::run();
    setPassword(QStringLiteral("lotus"), true);
    QVERIFY(PasswordCopy::load(optionsPath()).required());

    const QString path = optionsPath();
    QVERIFY(QFile::remove(path));
    if (folder) {
        QVERIFY(QDir().mkpath(path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    bool fromCopy = false;
    const StartPassword password = PasswordCopy::load(path, &fromCopy);
    QVERIFY(fromCopy);
    QVERIFY(password.required());
    QVERIFY(password.matches(QStringLiteral("lotus")));
    QVERIFY(!password.matches(QString()));
    // The copy is never overwritten from a file that has lost the password.
    QVERIFY(PasswordCopy::update(path));
    QVERIFY(PasswordCopy::load(path).matches(QStringLiteral("lotus")));

    const QList<StartFileCheck::Finding> findings = StartFileCheck::run();
    QVERIFY(!findings.isEmpty());
    QCOMPARE(findings.first().path, path);
    QVERIFY(findings.first().passwordFromCopy);
    QVERIFY(StartFileCheck::message(findings).contains(QStringLiteral("StartPassword.ini")));
}

void TestDamagedFiles::passwordRemovedOnPurposeIsGone()
{
    TestEnvironment env;
    DataFolderSetup::run();
    setPassword(QStringLiteral("lotus"), true);
    // Options.ini with an empty password is what a fresh one from the install folder holds too:
    // it leaves the copy alone. The settings, clearing the password, remove the copy.
    IniFile options(optionsPath());
    options.writeString(QStringLiteral("password"), QStringLiteral("val"), QString());
    QVERIFY(options.save());
    QVERIFY(PasswordCopy::forget(optionsPath()));
    QVERIFY(!QFile::exists(PasswordCopy::pathFor(optionsPath())));
    QVERIFY(!PasswordCopy::load(optionsPath()).isSet());

    // A password not asked at start stays not asked in the copy.
    setPassword(QStringLiteral("moss"), false);
    QVERIFY(QFile::remove(optionsPath()));
    const StartPassword copy = PasswordCopy::load(optionsPath());
    QVERIFY(copy.isSet());
    QVERIFY(!copy.required());
}

void TestDamagedFiles::messageNamesEachDamagedFile()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const QString remember = AppPaths::dataFile(QStringLiteral("Remember.ini"));
    QVERIFY(Damage::apply(remember, Damage::Random));
    QVERIFY(Damage::apply(optionsPath(), Damage::Folder));
    const QList<StartFileCheck::Finding> findings = StartFileCheck::run();
    QCOMPARE(findings.size(), 2);
    const QString text = StartFileCheck::message(findings);
    QCOMPARE(text.count(QStringLiteral("Options.ini")), 1);
    QCOMPARE(text.count(QStringLiteral("Remember.ini")), 1);
    QVERIFY2(text.contains(QStringLiteral("is not a text file")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("the standard ones for the rest")), qPrintable(text));
    QVERIFY(StartFileCheck::message({}).isEmpty());
}

QTEST_GUILESS_MAIN(TestDamagedFiles)
#include "tst_damaged_files.moc"
