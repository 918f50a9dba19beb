// Start-up: the data folder seeded from the install folder, the point catalogue, the fixed
// order of the start-up and close-down steps.
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/DotCatalogue.h"
#include "app/SingleInstance.h"
#include "app/StartupSequence.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSignalSpy>
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
    void shippedPointsSitOnPicturesOfTheirSide();
    void shippedChannelsAgreeWithThePointCatalogue();
    void startupStepsRunInFixedOrder();
    void failedStepStopsStartup();
    void oneWorkstationPerDataFolder();
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

// Every point of the catalogue is drawn on a picture of its own side of the body, inside it,
// and every hand picture is drawn as its title says (the thumb on the side it is on when the
// hand is seen with its fingers up).
void TestApp::shippedPointsSitOnPicturesOfTheirSide()
{
    struct Drawing
    {
        QString title;
        QSize size;
        bool thumbOnTheLeft = false;
    };
    QHash<QString, Drawing> drawings;
    const QDir pictures(AppPaths::installFolder() + QStringLiteral("/pictures"));
    static const QRegularExpression sizeRe(QStringLiteral("width=\"(\\d+)\" height=\"(\\d+)\""));
    static const QRegularExpression titleRe(QStringLiteral("<title>([^<]*)</title>"));
    static const QRegularExpression lineRe(
        QStringLiteral("<line x1=\"([\\d.]+)\" y1=\"[\\d.]+\" x2=\"([\\d.]+)\""));
    for (const QString &file : pictures.entryList({QStringLiteral("hand*.svg"), QStringLiteral("foot*.svg")})) {
        QFile f(pictures.filePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString svg = QString::fromUtf8(f.readAll());
        Drawing d;
        d.title = titleRe.match(svg).captured(1);
        const auto size = sizeRe.match(svg);
        d.size = QSize(size.captured(1).toInt(), size.captured(2).toInt());
        if (file.startsWith(QLatin1String("hand"))) {
            // The thumb is the finger drawn most aslant; its tip is its far end.
            double widest = -1, tip = 0;
            for (auto it = lineRe.globalMatch(svg); it.hasNext();) {
                const auto m = it.next();
                const double x1 = m.captured(1).toDouble(), x2 = m.captured(2).toDouble();
                if (qAbs(x2 - x1) > widest) {
                    widest = qAbs(x2 - x1);
                    tip = x2;
                }
            }
            // A mirrored drawing shows its coordinates through a horizontal flip.
            if (svg.contains(QLatin1String("matrix(-1 0 0 1")))
                tip = d.size.width() - tip;
            d.thumbOnTheLeft = tip < d.size.width() / 2.0;
            const bool left = d.title.startsWith(QLatin1String("Left"));
            const bool palm = d.title.contains(QLatin1String("palm"));
            QVERIFY2(d.thumbOnTheLeft == (palm ? left : !left), qPrintable(file + QStringLiteral(": ") + d.title));
        }
        drawings.insert(QFileInfo(file).completeBaseName(), d);
    }
    QCOMPARE(drawings.size(), 12);

    const IniFile dots(DotCatalogue::defaultPath());
    int placed = 0;
    for (const QString &section : dots.sections()) {
        const QString picture = dots.readString(section, QStringLiteral("picture"));
        if (!drawings.contains(picture))
            continue;
        const Drawing &d = drawings.value(picture);
        const bool leftSide = dots.readBool(section, QStringLiteral("leftright"), true);
        QVERIFY2(d.title.startsWith(leftSide ? QLatin1String("Left") : QLatin1String("Right")),
                 qPrintable(section + QStringLiteral(" on ") + d.title));
        const int cx = dots.readInteger(section, QStringLiteral("cx"), -1);
        const int cy = dots.readInteger(section, QStringLiteral("cy"), -1);
        QVERIFY2(cx >= 0 && cy >= 0 && cx + 12 <= d.size.width() && cy + 12 <= d.size.height(),
                 qPrintable(section));
        ++placed;
    }
    QCOMPARE(placed, DotCatalogue::Count);
}

// The 24 measured channels and the point catalogue tell the same story: each channel's
// measuring point is in the catalogue on the same meridian and side, its side and meridian
// follow from its column, and its hours of greatest activity are those of the organ clock.
void TestApp::shippedChannelsAgreeWithThePointCatalogue()
{
    // The organ clock as the classical texts give it.
    const QHash<QString, QString> organClock = {
        {QStringLiteral("LU"), QStringLiteral("3-5")},   {QStringLiteral("LI"), QStringLiteral("5-7")},
        {QStringLiteral("ST"), QStringLiteral("7-9")},   {QStringLiteral("SP"), QStringLiteral("9-11")},
        {QStringLiteral("HT"), QStringLiteral("11-13")}, {QStringLiteral("SI"), QStringLiteral("13-15")},
        {QStringLiteral("BL"), QStringLiteral("15-17")}, {QStringLiteral("KI"), QStringLiteral("17-19")},
        {QStringLiteral("PC"), QStringLiteral("19-21")}, {QStringLiteral("TH"), QStringLiteral("21-23")},
        {QStringLiteral("GB"), QStringLiteral("23-1")},  {QStringLiteral("LV"), QStringLiteral("1-3")},
    };
    const IniFile channels(AppPaths::installFile(QStringLiteral("Dots24.INI")));
    const IniFile dots(DotCatalogue::defaultPath());
    int checked = 0;
    for (const QString &section : channels.sections()) {
        const QString id = channels.readString(section, QStringLiteral("id"));
        if (id.size() != 3)
            continue;
        const QString meridian = id.mid(1);
        const bool left = id.startsWith(QLatin1Char('L'));
        QCOMPARE(channels.readBool(section, QStringLiteral("left"), !left), left);
        QCOMPARE(channels.readString(section, QStringLiteral("meridian")), QStringLiteral("Mer") + meridian);
        QVERIFY2(organClock.contains(meridian), qPrintable(id));
        QCOMPARE(channels.readString(section, QStringLiteral("activ")), organClock.value(meridian));
        const QString point = channels.readString(section, QStringLiteral("name"));
        bool found = false;
        for (const QString &entry : dots.sections()) {
            if (dots.readString(entry, QStringLiteral("name")) == point
                && dots.readBool(entry, QStringLiteral("leftright"), true) == left) {
                QCOMPARE(dots.readString(entry, QStringLiteral("meridian")), QStringLiteral("Mer") + meridian);
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(id + QStringLiteral(": ") + point));
        ++checked;
    }
    QCOMPARE(checked, 24);
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

// A second start on the same data folder is refused and asks the first to come forward; a
// lock left by a program that died is taken over, and another folder is another workstation.
void TestApp::oneWorkstationPerDataFolder()
{
    TestEnvironment env;
    const QString folder = env.scratch(QStringLiteral("data"));
    auto first = std::make_unique<SingleInstance>(folder);
    QVERIFY(first->acquire());
    QSignalSpy raised(first.get(), &SingleInstance::raiseRequested);
    SingleInstance second(folder + QStringLiteral("/./"));
    QVERIFY(!second.acquire());
    QTRY_COMPARE(raised.size(), 1);
    SingleInstance elsewhere(env.scratch(QStringLiteral("other")));
    QVERIFY(elsewhere.acquire());

    first.reset();
    SingleInstance third(folder);
    QVERIFY(third.acquire());

    // The lock of a program that is no longer running.
    const QString lockPath = env.scratch(QStringLiteral("dead")) + QStringLiteral("/.workstation.lock");
    QFile stale(lockPath);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("999999\nvandrel\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance afterCrash(QFileInfo(lockPath).path());
    QVERIFY(afterCrash.acquire());
}

QTEST_GUILESS_MAIN(TestApp)
#include "tst_app.moc"
