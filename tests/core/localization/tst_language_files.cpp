// Language files: the [Font] section, the two ways a text is found, the built-in English texts,
// and the two language files the program ships.
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/Cp1251.h"
#include "localization/LanguageDefaults.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

namespace {

// The keys the windows read when a language is applied, as the interface uses them.
const char kAppliedKeys[] =
    "3D AboutClient Accept AcceptButton AcupunctureRecipe Add AddAns Address AllCond "
    "AnalysisFormCaption AutoNext Begin BirthDay Browse Calculate Cancel Cansel CanselButton "
    "Cell CellPhoneMustBeDigit CellPhoneMustBeLess ChoosFreq CircleDiag City Clear ClearAll "
    "ClearButton ClientsBtnHint ClientsList Close Color ColorLabel Comment ConfirmPassword "
    "Country CreateRecomendation CreateStencil CustomColor Day DefaultOrder DeleteButton "
    "DeleteClient DeseaseBtnHint DeseaseDots DeseaseList DeseaseName Dispersion DopInfo Dots "
    "EditButton End Exit FIO Female FileName FixPassword Footer Formula FreqLabel FreqList "
    "FreqSlash Frequency FrequencyTreatment GeneralGraph GraphBtnHint Header Height "
    "HeigthMustBeDigit HeigthMustBeLess HightCond Histogram HomePhone HomePhoneMustBeDigit "
    "HomePhoneMustBeLess Hour Hour2 ID ID3sym IDExist In IncorRecord InetClientLabel "
    "InetHelpLabel InetManualLabel InetUpdateLabel Info InfoLabel InquirerBtnHint "
    "InternetBtnHint KindOfGraphics KindOfTest LawCond Left Left2 LoItem LoadButton Mail Male "
    "Message Method Method3D MiddleName Minute Monitoring NValDate Name Name2 NameMer NewButton "
    "NewNameMer NewPassword NewStenc Next NextToGraph No NoData NosGroup NotesDate NumMer OK "
    "OldPassword OpenPointBtnHint Order Other Pause PlanBtnHint Planing PlantRecomendation Play "
    "PmerPass Pngns Pnone PressLabel Previous Print PrintBtnHint PrintOrder PrintPreview "
    "PunctLabel RecomList Recomendations RegistrationDate Remember Reminder Return "
    "ReturnToMainWindow RidorakuBtnHint Right Right2 Riodoraku SafeFile Save Schedule "
    "SelectLanguage SelectStenc Sess SetTime SettingsBtnHint Sex Show Signal SkypeMustBeDigit "
    "SkypeMustBeLess SlashBoxItem0 SlashBoxItem1 SortOfGraphics Sound Sound2 SoundSignal "
    "StencilList Stimulation Stop Surname TableLabel TableList TablesBtnHint TestBtnHint "
    "TestDate TestDateTime TestFinished TestSection Testing TestingDate Time TimeOut TreatCompl "
    "Treatment TreatmentBtnHint TreatmentPart TwoColorBox Use UseTable WaitingTime WebPage "
    "Weight WeightMustBeDigit WeightMustBeLess WorkPhone WorkPhoneMustBeDigit "
    "WorkPhoneMustBeLess WriteBirthDate WriteID WriteName WriteSex WriteSurname Yang Yes Zip c "
    "from sec to"
    ;

LanguageFile fileOf(const QStringList &lines)
{
    return LanguageFile::fromText(lines.join(QLatin1Char('\n')));
}

bool hasCyrillic(const QString &text)
{
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return cyrillic.match(text).hasMatch();
}

} // namespace

class TestLanguageFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSection_data();
    void fontSection();
    void fontKeepsStyleAndIgnoresUnreadableSize();
    void textReadsOnlyLanguageSection();
    void findAnywhere_data();
    void findAnywhere();
    void defaultsCoverEveryAppliedKey();
    void tellingDefaults_data();
    void tellingDefaults();
    void showTimeKeysHaveNoDefault();
    void shippedFile_data();
    void shippedFile();
    void shippedEnglishMatchesDefaults();
};

void TestLanguageFiles::fontSection_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("size");

    QTest::newRow("no font section") << QStringList{QStringLiteral("[language]"),
                                                    QStringLiteral("Save=Save")}
                                     << QStringLiteral("Arial") << 1 << 1;
    QTest::newRow("complete") << QStringList{QStringLiteral("[Font]"),
                                             QStringLiteral("name=DejaVu Sans"),
                                             QStringLiteral("charset=204"),
                                             QStringLiteral("size=9")}
                              << QStringLiteral("DejaVu Sans") << 204 << 9;
    QTest::newRow("charset not a number") << QStringList{QStringLiteral("[font]"),
                                                         QStringLiteral("charset=RUSSIAN_CHARSET")}
                                          << QStringLiteral("Arial") << 1 << 1;
    QTest::newRow("charset empty, name empty") << QStringList{QStringLiteral("[Font]"),
                                                              QStringLiteral("name="),
                                                              QStringLiteral("charset=")}
                                               << QStringLiteral("Arial") << 1 << 1;
}

void TestLanguageFiles::fontSection()
{
    QFETCH(QStringList, lines);
    const LanguageFont font = fileOf(lines).font();
    QTEST(font.name, "name");
    QTEST(font.charset, "charset");
    QTEST(font.size, "size");
}

void TestLanguageFiles::fontKeepsStyleAndIgnoresUnreadableSize()
{
    QFont bold(QStringLiteral("Sans"), 11);
    bold.setBold(true);
    bold.setItalic(true);

    const QFont applied = LanguageFont{QStringLiteral("DejaVu Sans"), 204, 9}.applyTo(bold);
    QCOMPARE(applied.family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(applied.pointSize(), 9);
    QVERIFY(applied.bold());
    QVERIFY(applied.italic());

    // A file without a size reads 1: the control keeps its own size.
    QCOMPARE(LanguageFont{}.applyTo(bold).pointSize(), 11);

    QCOMPARE(LanguageFont{}.htmlCharsetDeclaration(),
             QStringLiteral("<META http-equiv=Content-Type content=\"text/html; charset=1\">"));
}

void TestLanguageFiles::textReadsOnlyLanguageSection()
{
    const LanguageFile file = fileOf({QStringLiteral("Save=outside"), QStringLiteral("[settings]"),
                                      QStringLiteral("name=Test"), QStringLiteral("Open=settings"),
                                      QStringLiteral("[language]"), QStringLiteral("save = Keep ")});
    QCOMPARE(file.text(QStringLiteral("Save")), QStringLiteral("Keep"));
    QVERIFY(!file.hasText(QStringLiteral("Open")));
    QCOMPARE(file.text(QStringLiteral("Open"), QStringLiteral("fallback")),
             QStringLiteral("fallback"));
    QCOMPARE(file.displayName(), QStringLiteral("Test"));
}

void TestLanguageFiles::findAnywhere_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");

    const QStringList file = {
        QStringLiteral("; Error=commented out"),
        QStringLiteral("Stray=before any section"),
        QStringLiteral("[settings]"),
        QStringLiteral("name=Test"),
        QStringLiteral("Error=in settings"),
        QStringLiteral("[language]"),
        QStringLiteral("Error=in language"),
        QStringLiteral("  ErrorConnect  =  spaced out  "),
        QStringLiteral("Quoted=\"a quoted text\""),
        QStringLiteral("Formula=a=b"),
        QStringLiteral("Empty="),
    };
    QTest::newRow("first line wins, whatever its section")
        << file << QStringLiteral("Error") << true << QStringLiteral("in settings");
    QTest::newRow("before any section") << file << QStringLiteral("Stray") << true
                                        << QStringLiteral("before any section");
    QTest::newRow("other letter case") << file << QStringLiteral("ERRORCONNECT") << true
                                       << QStringLiteral("spaced out");
    QTest::newRow("a prefix is not the key") << file << QStringLiteral("Err") << false << QString();
    QTest::newRow("quotes dropped") << file << QStringLiteral("Quoted") << true
                                    << QStringLiteral("a quoted text");
    QTest::newRow("text holding =") << file << QStringLiteral("Formula") << true
                                    << QStringLiteral("a=b");
    QTest::newRow("present but empty") << file << QStringLiteral("Empty") << true << QString();
    QTest::newRow("missing") << file << QStringLiteral("Missing") << false << QString();
}

void TestLanguageFiles::findAnywhere()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, key);
    bool found = false;
    const QString text = fileOf(lines).findAnywhere(key, &found);
    QTEST(found, "found");
    QTEST(text, "text");
}

void TestLanguageFiles::defaultsCoverEveryAppliedKey()
{
    const QStringList expected = QString::fromLatin1(kAppliedKeys).split(QLatin1Char(' '),
                                                                         Qt::SkipEmptyParts);
    QCOMPARE(expected.size(), 212);
    QCOMPARE(LanguageDefaults::keys(), expected);
    for (const QString &key : expected)
        QVERIFY2(!LanguageDefaults::defaultText(key).isEmpty(), qPrintable(key));

    // Keys compare without case everywhere, so no two keys may differ only in case.
    QSet<QString> folded;
    for (const QString &key : LanguageDefaults::allKeys())
        folded.insert(key.toCaseFolded());
    QCOMPARE(folded.size(), LanguageDefaults::allKeys().size());
}

void TestLanguageFiles::tellingDefaults_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    const QList<std::pair<const char *, const char *>> rows = {
        {"TestFinished", "TestFinished"},
        {"TimeOut", "Time Out"},
        {"SafeFile", "Safe file"},
        {"AddAns", "Add ans"},
        {"Pngns", "Parameter nosological groups is not selected"},
        {"ReturnToMainWindow", "Return to main window"},
        {"ClientsList", "List of clients"},
        {"SlashBoxItem0", "comma"},
        {"SlashBoxItem1", "apostrophe"},
        {"sec", "sec."},
        {"Right2", "Right"},
        {"Sess", "session"},
        {"TreatCompl", "Treatment is completed"},
        {"NosGroup", "Nosological group"},
        {"AcupunctureRecipe", "Acupuncture recipe"},
        {"Dispersion", "Dispersion"},
        {"Stimulation", "Stimulation"},
        {"LoItem", "1 to 3 sessions of acupuncture using LO-items"},
        {"PmerPass", "paired meridians and points-associates"},
        {"CLIENTSLIST", "List of clients"}, // keys compare without case
    };
    for (const auto &[key, text] : rows)
        QTest::newRow(key) << QString::fromLatin1(key) << QString::fromLatin1(text);
}

void TestLanguageFiles::tellingDefaults()
{
    QFETCH(QString, key);
    QTEST(LanguageDefaults::defaultText(key), "text");
}

void TestLanguageFiles::showTimeKeysHaveNoDefault()
{
    QCOMPARE(LanguageDefaults::showTimeKeys().size(), 26);
    for (const QString &key : LanguageDefaults::showTimeKeys() + LanguageDefaults::windowWordKeys()) {
        QVERIFY2(!LanguageDefaults::hasDefault(key), qPrintable(key));
        QVERIFY(LanguageDefaults::defaultText(key).isEmpty());
    }
    QVERIFY(LanguageDefaults::showTimeKeys().contains(QStringLiteral("ErrorConnect")));
    QVERIFY(LanguageDefaults::showTimeKeys().contains(QStringLiteral("IncorrectPassword")));
}

void TestLanguageFiles::shippedFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<int>("charset");
    QTest::newRow("English") << QStringLiteral("English") << QStringLiteral("English") << 1;
    QTest::newRow("Russian") << QStringLiteral("Russian") << QStringLiteral("Русский") << 204;
}

void TestLanguageFiles::shippedFile()
{
    QFETCH(QString, name);
    TestEnvironment env;
    DataFolderSetup::run();
    const QString path = Localization::languageFilePath(name);
    QVERIFY2(QFile::exists(path), qPrintable(path));

    QFile raw(path);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    // Windows line ends throughout.
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));

    const LanguageFile file(path);
    QVERIFY(file.exists());
    QTEST(file.displayName(), "displayName");
    QTEST(file.font().charset, "charset");
    QCOMPARE(file.font().name, QStringLiteral("DejaVu Sans"));
    QVERIFY(file.font().size >= LanguageFont::smallestReadableSize);

    const bool russian = name == QLatin1String("Russian");
    if (russian) {
        // Windows-1251, not UTF-8: "Русский" is seven single bytes.
        QVERIFY(bytes.contains(Cp1251::encode(QStringLiteral("name=Русский\r\n"))));
    }

    // Every key, each once, with a text; shown-time messages as well.
    for (const QString &key : LanguageDefaults::allKeys()) {
        QVERIFY2(file.hasText(key), qPrintable(name + QLatin1Char(' ') + key));
        const QString text = file.text(key);
        QVERIFY2(!text.isEmpty(), qPrintable(name + QLatin1Char(' ') + key));
        QCOMPARE(file.lookup(key), text);
        // "OK" and the number sign are what Russian interfaces show too.
        if (russian && key != QLatin1String("OK") && key != QLatin1String("NumMer"))
            QVERIFY2(hasCyrillic(text), qPrintable(key + QLatin1Char('=') + text));
        if (!russian)
            QVERIFY2(!hasCyrillic(text), qPrintable(key));
    }
    QCOMPARE(file.textKeys().size(), LanguageDefaults::allKeys().size());
    const int keyLines = int(file.textKeys().size());
    int lines = 0;
    bool inLanguage = false;
    for (const QString &line : QString(Cp1251::decode(bytes)).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1Char('[')))
            inLanguage = line == QLatin1String("[language]");
        else if (inLanguage && line.contains(QLatin1Char('=')))
            ++lines;
    }
    QCOMPARE(lines, keyLines); // no key written twice
}

void TestLanguageFiles::shippedEnglishMatchesDefaults()
{
    TestEnvironment env;
    DataFolderSetup::run();
    const LanguageFile english(Localization::languageFilePath(QStringLiteral("English")));
    for (const QString &key : LanguageDefaults::keys())
        QCOMPARE(english.text(key), LanguageDefaults::defaultText(key));
    QCOMPARE(english.text(QStringLiteral("ErrorConnect")),
             QStringLiteral("The client database cannot be opened."));
    QCOMPARE(english.text(QStringLiteral("NotFoundFile")), QStringLiteral("File not found:"));

    const LanguageFile russian(Localization::languageFilePath(QStringLiteral("Russian")));
    QCOMPARE(russian.text(QStringLiteral("Save")), QStringLiteral("Сохранить"));
    QCOMPARE(russian.text(QStringLiteral("Error")), QStringLiteral("Ошибка"));
}

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_language_files.moc"
