// Start-up: the data folder seeded from the install folder, the point catalogue, the fixed
// order of the start-up and close-down steps.
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/DotCatalogue.h"
#include "app/StartupSequence.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFile>
#include <QtTest>

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataFolderIsSeeded();
    void reseedingKeepsFilesAndBringsBackDeletedOnes();
    void newLanguageInInstallFolderArrives();
    void missingInstallFolderIsNotAnError();
    void dotCatalogueReadsEntriesOrDefaults();
    void dotTextsAreShownInTheLanguage_data();
    void dotTextsAreShownInTheLanguage();
    void shippedDotTextsExistInEveryLanguage();
    void startupStepsRunInFixedOrder();
    void failedStepStopsStartup();
};

void TestApp::dataFolderIsSeeded()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const QString data = AppPaths::GetDataPath();
    QVERIFY(data.endsWith(QLatin1Char('/')));
    QCOMPARE(data, env.profile() + QStringLiteral("/Quillane/Q7/"));
    for (const QString &file : DataFolderSetup::seedFiles())
        QVERIFY2(QFile::exists(data + file), qPrintable(file));
    QVERIFY(QFile::exists(data + QStringLiteral("languages/English.lang")));
    QVERIFY(QFile::exists(data + QStringLiteral("languages/Russian.lang")));
    QVERIFY(QDir(data + QStringLiteral("print_pict")).exists());
    QVERIFY(QDir(data + QStringLiteral("Data")).exists());
    QVERIFY(QFile::exists(AppPaths::makerFolder() + QStringLiteral("/Data/device1.so")));
    // The copy is the user's own: it can be written.
    QVERIFY(QFileInfo(data + QStringLiteral("BASE.fdb")).isWritable());
}

void TestApp::reseedingKeepsFilesAndBringsBackDeletedOnes()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const QString options = AppPaths::GetDataPath() + QStringLiteral("Options.ini");
    IniFile ini(options);
    ini.writeString(QStringLiteral("medium"), QStringLiteral("val"), QStringLiteral("37"));
    QVERIFY(ini.save());
    const QString base = AppPaths::GetDataPath() + QStringLiteral("BASE.fdb");
    QFile::remove(base);
    QVERIFY(TextFile::writeLines(base, {QStringLiteral("user data")}));
    const QString russian = AppPaths::GetDataPath() + QStringLiteral("languages/Russian.lang");
    QVERIFY(QFile::remove(russian));

    DataFolderSetup::run();
    QCOMPARE(IniFile(options).readString(QStringLiteral("medium"), QStringLiteral("val")),
             QStringLiteral("37"));
    QCOMPARE(TextFile::readLines(base), QStringList{QStringLiteral("user data")});
    QVERIFY(QFile::exists(russian));
}

void TestApp::newLanguageInInstallFolderArrives()
{
    TestEnvironment env;
    // A private install folder: a copy of the seeds plus one new language file.
    const QString install = env.scratch(QStringLiteral("install"));
    QDir().mkpath(install + QStringLiteral("/Q7/languages"));
    QVERIFY(QFile::copy(TestEnvironment::installDir() + QStringLiteral("/Q7/Options.ini"),
                        install + QStringLiteral("/Q7/Options.ini")));
    AppPaths::setInstallFolder(install);
    DataFolderSetup::run();
    const QString data = AppPaths::GetDataPath();
    QVERIFY(!QFile::exists(data + QStringLiteral("languages/Deutsch.lang")));

    QVERIFY(TextFile::writeLines(install + QStringLiteral("/Q7/languages/Deutsch.lang"),
                                 {QStringLiteral("[language]"), QStringLiteral("Save=Speichern")}));
    DataFolderSetup::run();
    QVERIFY(QFile::exists(data + QStringLiteral("languages/Deutsch.lang")));
    AppPaths::setInstallFolder(TestEnvironment::installDir());
}

void TestApp::missingInstallFolderIsNotAnError()
{
    TestEnvironment env;
    AppPaths::setInstallFolder(env.scratch(QStringLiteral("nothing-here")));
    DataFolderSetup::run(); // copy failures are not reported
    QVERIFY(QDir(AppPaths::GetDataPath() + QStringLiteral("languages")).exists());
    QVERIFY(!QFile::exists(AppPaths::GetDataPath() + QStringLiteral("BASE.fdb")));
    AppPaths::setInstallFolder(TestEnvironment::installDir());
}

void TestApp::dotCatalogueReadsEntriesOrDefaults()
{
    TestEnvironment env;
    const QString path = env.scratch(QStringLiteral("dots")) + QStringLiteral("/Dots.INI");
    QVERIFY(TextFile::writeLines(
        path, {QStringLiteral("[7]"), QStringLiteral("name=LU9 Тайюань"), QStringLiteral("cx=120"),
               QStringLiteral("cy=abc"), QStringLiteral("inyan=0"), QStringLiteral("leftright=2"),
               QStringLiteral("picture=hand1"), QStringLiteral("[121]"), QStringLiteral("name=extra")}));
    DotCatalogue dots;
    dots.load(path);
    const DotRecord &d = dots.entry(7);
    QCOMPARE(d.name, QStringLiteral("LU9 Тайюань"));
    QCOMPARE(d.cx, 120);
    QCOMPARE(d.cy, 1); // not a number: the default
    QVERIFY(!d.inyan);
    QVERIFY(d.leftright);
    QCOMPARE(d.picture, QStringLiteral("hand1"));
    QCOMPARE(dots.entry(121).name, QString());

    // Without the file every entry has the defaults; out-of-range indexes give a default entry
    // instead of reading past the table.
    dots.load(path + QStringLiteral(".missing"));
    for (int i : {0, 1, 7, 120, 121}) {
        const DotRecord &e = dots.entry(i);
        QVERIFY(e.name.isEmpty() && e.meridian.isEmpty() && e.picture.isEmpty());
        QCOMPARE(QList<int>({e.cx, e.cy, e.col, e.row}), QList<int>({1, 1, 1, 1}));
        QVERIFY(e.inyan && e.leftright);
    }
}

void TestApp::dotTextsAreShownInTheLanguage_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one key") << "MerLU" << "Канал лёгких";
    QTest::newRow("several keys") << "EnSource;EnSedation" << "Источник; седация";
    QTest::newRow("plain text stays") << "Lung (LU)" << "Lung (LU)";
    QTest::newRow("mixed, blanks trimmed") << " EnSedation ; fire point" << "Седация; fire point";
    QTest::newRow("empty") << "" << "";
}

void TestApp::dotTextsAreShownInTheLanguage()
{
    QFETCH(QString, value);
    const QHash<QString, QString> texts{{QStringLiteral("MerLU"), QStringLiteral("Канал лёгких")},
                                        {QStringLiteral("EnSource"), QStringLiteral("источник")},
                                        {QStringLiteral("EnSedation"), QStringLiteral("седация")}};
    QTEST(DotCatalogue::displayText(value, [&](const QString &k) { return texts.value(k); }),
          "shown");
}

void TestApp::shippedDotTextsExistInEveryLanguage()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const IniFile ini(DotCatalogue::defaultPath());
    QSet<QString> keys;
    for (const QString &section : ini.sections()) {
        for (const QString &item : {QStringLiteral("meridian"), QStringLiteral("energy")}) {
            for (const QString &part : ini.readString(section, item).split(QLatin1Char(';')))
                keys.insert(part.trimmed());
        }
    }
    keys.remove(QString());
    QVERIFY(keys.size() > 30);
    for (const QString &language : {QStringLiteral("English"), QStringLiteral("Russian")}) {
        const LanguageFile file(Localization::languageFilePath(language));
        for (const QString &key : keys)
            QVERIFY2(!file.text(key).isEmpty(), qPrintable(language + QLatin1Char(' ') + key));
    }
}

void TestApp::startupStepsRunInFixedOrder()
{
    using S = StartupSequence::ShowStep;
    using C = StartupSequence::CloseStep;
    StartupSequence seq;
    // Registered out of order, as features that come later would.
    seq.onShow(S::ApplyLanguage, QStringLiteral("language"), [] { return true; });
    seq.onShow(S::OpenDatabase, QStringLiteral("database"), [] { return true; });
    seq.onShow(S::StartPassword, QStringLiteral("password"), [] { return true; });
    seq.onShow(S::ApplyLanguage, QStringLiteral("language 2"), [] { return true; });
    seq.onShow(S::StartClock, QStringLiteral("clock"), [] { return true; });
    QVERIFY(seq.runShow());
    QCOMPARE(seq.trace(), (QStringList{QStringLiteral("clock"), QStringLiteral("password"),
                                       QStringLiteral("database"), QStringLiteral("language"),
                                       QStringLiteral("language 2")}));

    StartupSequence closing;
    closing.onClose(C::StopMeasurement, QStringLiteral("device"), [] {});
    closing.onClose(C::SaveReminders, QStringLiteral("reminders"), [] {});
    closing.onClose(C::DisconnectDatabase, QStringLiteral("database"), [] {});
    closing.runClose();
    QCOMPARE(closing.trace(), (QStringList{QStringLiteral("reminders"), QStringLiteral("database"),
                                           QStringLiteral("device")}));
}

void TestApp::failedStepStopsStartup()
{
    using S = StartupSequence::ShowStep;
    StartupSequence seq;
    bool languageRan = false;
    seq.onShow(S::OpenDatabase, QStringLiteral("database"), [] { return false; });
    seq.onShow(S::ApplyLanguage, QStringLiteral("language"), [&] { return languageRan = true; });
    QString failed;
    QVERIFY(!seq.runShow(&failed));
    QCOMPARE(failed, QStringLiteral("database"));
    QVERIFY(!languageRan);
}

QTEST_GUILESS_MAIN(TestApp)
#include "tst_app.moc"
