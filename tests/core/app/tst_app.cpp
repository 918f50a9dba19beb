// Start-up: the data folder seeded from the install folder, the point catalogue, the fixed
// order of the start-up and close-down steps.
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/DotCatalogue.h"
#include "app/SingleInstance.h"
#include "app/StartupSequence.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

class TestApp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dataFolderSeeding();
    void installFolderChanges();
    void dotCatalogueReadsEntriesOrDefaults();
    void dotTextsAreShownInTheLanguage_data();
    void dotTextsAreShownInTheLanguage();
    void shippedDotTextsExistInEveryLanguage();
    void shippedPointsSitOnPicturesOfTheirSide();
    void shippedChannelsAgreeWithThePointCatalogue();
    void startupStepsRunInFixedOrder();
    void oneWorkstationPerDataFolder();
};

// The first start copies the seeds; a later one keeps the user's files and brings back the
// ones that were deleted.
void TestApp::dataFolderSeeding() {
    TestEnvironment env;
    DataFolderSetup::run();
    const QString data = AppPaths::GetDataPath();
    QCOMPARE(data, env.profile() + "/Quillane/Q7/");
    for (const QString &file : DataFolderSetup::seedFiles())
        QVERIFY2(QFile::exists(data + file), qPrintable(file));
    for (const char *file : {"languages/English.lang", "languages/Russian.lang", "print_pict",
                             "Data", "../Data/device1.so"})
        QVERIFY2(QFileInfo::exists(data + QLatin1String(file)), file);
    // The copy is the user's own: it can be written.
    QVERIFY(QFileInfo(data + "BASE.fdb").isWritable());

    IniFile ini(data + "Options.ini");
    ini.writeString("medium", "val", "37");
    QVERIFY(ini.save());
    QVERIFY(QFile::remove(data + "BASE.fdb"));
    QVERIFY(TextFile::writeLines(data + "BASE.fdb", {"user data"}));
    QVERIFY(QFile::remove(data + "languages/Russian.lang"));
    DataFolderSetup::run();
    QCOMPARE(IniFile(data + "Options.ini").readString("medium", "val"), "37");
    QCOMPARE(TextFile::readLines(data + "BASE.fdb"), QStringList{"user data"});
    QVERIFY(QFile::exists(data + "languages/Russian.lang"));
}

// A language file added to the install folder arrives at the next start; an install folder
// that is gone copies nothing and reports nothing.
void TestApp::installFolderChanges() {
    TestEnvironment env;
    const QString install = env.scratch("install");
    QDir().mkpath(install + "/Q7/languages");
    QVERIFY(QFile::copy(TestEnvironment::installDir() + "/Q7/Options.ini",
                        install + "/Q7/Options.ini"));
    AppPaths::setInstallFolder(install);
    DataFolderSetup::run();
    const QString data = AppPaths::GetDataPath();
    QVERIFY(!QFile::exists(data + "languages/Deutsch.lang"));
    QVERIFY(TextFile::writeLines(install + "/Q7/languages/Deutsch.lang",
                                 {"[language]", "Save=Speichern"}));
    DataFolderSetup::run();
    QVERIFY(QFile::exists(data + "languages/Deutsch.lang"));

    TestEnvironment other;
    AppPaths::setInstallFolder(other.scratch("nothing-here"));
    DataFolderSetup::run();
    QVERIFY(QDir(AppPaths::GetDataPath() + "languages").exists());
    QVERIFY(!QFile::exists(AppPaths::GetDataPath() + "BASE.fdb"));
    AppPaths::setInstallFolder(TestEnvironment::installDir());
}

void TestApp::dotCatalogueReadsEntriesOrDefaults() {
    TestEnvironment env;
    const QString path = env.scratch("dots") + "/Dots.INI";
    QVERIFY(TextFile::writeLines(path, {"[7]", "name=LU9 Тайюань", "cx=120", "cy=abc", "inyan=0",
                                        "leftright=2", "picture=hand1", "[121]", "name=extra"}));
    DotCatalogue dots;
    dots.load(path);
    const DotRecord &d = dots.entry(7);
    QCOMPARE(d.name, "LU9 Тайюань");
    QCOMPARE(d.cx, 120);
    QCOMPARE(d.cy, 1); // not a number: the default
    QVERIFY(!d.inyan && d.leftright);
    QCOMPARE(d.picture, "hand1");
    QCOMPARE(dots.entry(121).name, QString());

    // Without the file every entry has the defaults; out-of-range indexes give a default entry
    // instead of reading past the table.
    dots.load(path + ".missing");
    for (int i : {0, 1, 7, 120, 121}) {
        const DotRecord &e = dots.entry(i);
        QVERIFY(e.name.isEmpty() && e.meridian.isEmpty() && e.picture.isEmpty());
        QCOMPARE(QList<int>({e.cx, e.cy, e.col, e.row}), QList<int>({1, 1, 1, 1}));
        QVERIFY(e.inyan && e.leftright);
    }
}

void TestApp::dotTextsAreShownInTheLanguage_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("one key") << "MerLU" << "Канал лёгких";
    QTest::newRow("several keys") << "EnSource;EnSedation" << "Источник; седация";
    QTest::newRow("plain text stays") << "Lung (LU)" << "Lung (LU)";
    QTest::newRow("mixed, blanks trimmed") << " EnSedation ; fire point" << "Седация; fire point";
    QTest::newRow("empty") << "" << "";
    // clang-format on
}

void TestApp::dotTextsAreShownInTheLanguage() {
    QFETCH(QString, value);
    const QHash<QString, QString> texts{
        {"MerLU", "Канал лёгких"}, {"EnSource", "источник"}, {"EnSedation", "седация"}};
    QTEST(DotCatalogue::displayText(value, [&](const QString &k) { return texts.value(k); }),
          "shown");
}

void TestApp::shippedDotTextsExistInEveryLanguage() {
    TestEnvironment env;
    DataFolderSetup::run();
    const IniFile ini(DotCatalogue::defaultPath());
    QSet<QString> keys;
    for (const QString &section : ini.sections()) {
        for (const char *item : {"meridian", "energy"}) {
            for (const QString &part : ini.readString(section, item).split(QLatin1Char(';')))
                keys.insert(part.trimmed());
        }
    }
    keys.remove(QString());
    QVERIFY(keys.size() > 30);
    for (const char *language : {"English", "Russian"}) {
        const LanguageFile file(Localization::languageFilePath(language));
        for (const QString &key : keys)
            QVERIFY2(!file.text(key).isEmpty(), qPrintable(language + QLatin1Char(' ') + key));
    }
}

// Every point of the catalogue is drawn on a picture of its own side of the body, inside it,
// and every hand picture is drawn as its title says (the thumb on the side it is on when the
// hand is seen with its fingers up).
void TestApp::shippedPointsSitOnPicturesOfTheirSide() {
    struct Drawing {
        QString title;
        QSize size;
    };
    QHash<QString, Drawing> drawings;
    const QDir pictures(AppPaths::installFolder() + "/pictures");
    static const QRegularExpression sizeRe("width=\"(\\d+)\" height=\"(\\d+)\"");
    static const QRegularExpression titleRe("<title>([^<]*)</title>");
    static const QRegularExpression lineRe(
        "<line x1=\"([\\d.]+)\" y1=\"[\\d.]+\" x2=\"([\\d.]+)\"");
    for (const QString &file : pictures.entryList({"hand*.svg", "foot*.svg"})) {
        QFile f(pictures.filePath(file));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString svg = QString::fromUtf8(f.readAll());
        const auto size = sizeRe.match(svg);
        const Drawing d{titleRe.match(svg).captured(1),
                        QSize(size.captured(1).toInt(), size.captured(2).toInt())};
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
            const bool thumbOnTheLeft = tip < d.size.width() / 2.0;
            const bool left = d.title.startsWith(QLatin1String("Left"));
            const bool palm = d.title.contains(QLatin1String("palm"));
            QVERIFY2(thumbOnTheLeft == (palm ? left : !left), qPrintable(file + ": " + d.title));
        }
        drawings.insert(QFileInfo(file).completeBaseName(), d);
    }
    QCOMPARE(drawings.size(), 12);

    const IniFile dots(DotCatalogue::defaultPath());
    int placed = 0;
    for (const QString &section : dots.sections()) {
        const QString picture = dots.readString(section, "picture");
        if (!drawings.contains(picture))
            continue;
        const Drawing &d = drawings.value(picture);
        const bool leftSide = dots.readBool(section, "leftright", true);
        QVERIFY2(d.title.startsWith(leftSide ? QLatin1String("Left") : QLatin1String("Right")),
                 qPrintable(section + " on " + d.title));
        const int cx = dots.readInteger(section, "cx", -1);
        const int cy = dots.readInteger(section, "cy", -1);
        QVERIFY2(cx >= 0 && cy >= 0 && cx + 12 <= d.size.width() && cy + 12 <= d.size.height(),
                 qPrintable(section));
        ++placed;
    }
    QCOMPARE(placed, DotCatalogue::Count);
}

// The 24 measured channels and the point catalogue tell the same story: each channel's
// measuring point is in the catalogue on the same meridian and side, its side and meridian
// follow from its column, and its hours of greatest activity are those of the organ clock.
void TestApp::shippedChannelsAgreeWithThePointCatalogue() {
    // The organ clock as the classical texts give it.
    const QHash<QString, QString> organClock = {
        {"LU", "3-5"},   {"LI", "5-7"},   {"ST", "7-9"},   {"SP", "9-11"},
        {"HT", "11-13"}, {"SI", "13-15"}, {"BL", "15-17"}, {"KI", "17-19"},
        {"PC", "19-21"}, {"TH", "21-23"}, {"GB", "23-1"},  {"LV", "1-3"},
    };
    const IniFile channels(AppPaths::installFile("Dots24.INI"));
    const IniFile dots(DotCatalogue::defaultPath());
    int checked = 0;
    for (const QString &section : channels.sections()) {
        const QString id = channels.readString(section, "id");
        if (id.size() != 3)
            continue;
        const QString meridian = id.mid(1);
        const bool left = id.startsWith(QLatin1Char('L'));
        QCOMPARE(channels.readBool(section, "left", !left), left);
        QCOMPARE(channels.readString(section, "meridian"), "Mer" + meridian);
        QVERIFY2(organClock.contains(meridian), qPrintable(id));
        QCOMPARE(channels.readString(section, "activ"), organClock.value(meridian));
        const QString point = channels.readString(section, "name");
        bool found = false;
        for (const QString &entry : dots.sections()) {
            if (dots.readString(entry, "name") == point &&
                dots.readBool(entry, "leftright", true) == left) {
                QCOMPARE(dots.readString(entry, "meridian"), "Mer" + meridian);
                found = true;
            }
        }
        QVERIFY2(found, qPrintable(id + ": " + point));
        ++checked;
    }
    QCOMPARE(checked, 24);
}

// Steps registered out of order, as features that come later would, run in the fixed order;
// a failed step stops the start-up.
void TestApp::startupStepsRunInFixedOrder() {
    using S = StartupSequence::ShowStep;
    using C = StartupSequence::CloseStep;
    StartupSequence seq;
    seq.onShow(S::ApplyLanguage, "language", [] { return true; });
    seq.onShow(S::OpenDatabase, "database", [] { return true; });
    seq.onShow(S::StartPassword, "password", [] { return true; });
    seq.onShow(S::ApplyLanguage, "language 2", [] { return true; });
    seq.onShow(S::StartClock, "clock", [] { return true; });
    QVERIFY(seq.runShow());
    QCOMPARE(seq.trace(), QStringList({"clock", "password", "database", "language", "language 2"}));

    StartupSequence closing;
    closing.onClose(C::StopMeasurement, "device", [] {});
    closing.onClose(C::SaveReminders, "reminders", [] {});
    closing.onClose(C::DisconnectDatabase, "database", [] {});
    closing.runClose();
    QCOMPARE(closing.trace(), QStringList({"reminders", "database", "device"}));

    StartupSequence failing;
    bool languageRan = false;
    failing.onShow(S::OpenDatabase, "database", [] { return false; });
    failing.onShow(S::ApplyLanguage, "language", [&] { return languageRan = true; });
    QString failed;
    QVERIFY(!failing.runShow(&failed));
    QCOMPARE(failed, "database");
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
