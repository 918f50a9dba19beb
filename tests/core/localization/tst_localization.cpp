// The text lookup: messages looked up when they are shown (current language, else English,
// else empty), the current language in Options.ini, the language list, and the texts a
// language gives the windows when it is applied.
#include "TestEnvironment.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "localization/LanguageDefaults.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

void writeLanguage(const QString &name, const QStringList &lines)
{
    const QString folder = AppPaths::GetDataPath() + QStringLiteral("languages");
    QDir().mkpath(folder);
    QVERIFY(TextFile::writeLines(folder + QLatin1Char('/') + name + QStringLiteral(".lang"), lines));
}

void chooseLanguage(const QString &name)
{
    IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    options.writeString(QStringLiteral("language"), QStringLiteral("value"), name);
    QVERIFY(options.save());
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestLocalization : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void translateFallsBackToEnglish_data();
    void translateFallsBackToEnglish();
    void translateWithoutCurrentFile();
    void nameCannotLeaveLanguagesFolder();
    void editsTakeEffectAtOnce();
    void currentLanguage_data();
    void currentLanguage();
    void shippedRussianMessages();
    void availableLanguages();
    void setCurrentLanguage();
    void setCurrentLanguageRefusesBadNames_data();
    void setCurrentLanguageRefusesBadNames();
    void textsFromFontOnlyFile();
    void textsFallBackPerKey();
    void textsWithoutFile();
    void textsOfShippedRussian();
};

void TestLocalization::translateFallsBackToEnglish_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("in the current file") << QStringLiteral("Error") << QStringLiteral("Fehler");
    QTest::newRow("only in English") << QStringLiteral("ErrorConnect")
                                     << QStringLiteral("English connect");
    QTest::newRow("empty in the current file") << QStringLiteral("SettingsChanged")
                                               << QStringLiteral("English settings");
    QTest::newRow("outside [language] in the current file")
        << QStringLiteral("IncorrectOrder") << QStringLiteral("Falsche Reihenfolge");
    QTest::newRow("only outside [language] in English")
        << QStringLiteral("DayN") << QStringLiteral("Day");
    QTest::newRow("other letter case") << QStringLiteral("error") << QStringLiteral("Fehler");
    QTest::newRow("[language] before a same-named settings line")
        << QStringLiteral("Name") << QStringLiteral("Vorname");
    QTest::newRow("in neither file") << QStringLiteral("NoSuchKey") << QString();
}

void TestLocalization::translateFallsBackToEnglish()
{
    QFETCH(QString, key);
    TestEnvironment env;
    writeLanguage(QStringLiteral("English"),
                  {QStringLiteral("[settings]"), QStringLiteral("name=English"),
                   QStringLiteral("DayN=Day"), QStringLiteral("[language]"),
                   QStringLiteral("Error=English error"),
                   QStringLiteral("ErrorConnect=English connect"),
                   QStringLiteral("SettingsChanged=English settings"),
                   QStringLiteral("IncorrectOrder=English order")});
    writeLanguage(QStringLiteral("Deutsch"),
                  {QStringLiteral("IncorrectOrder=Falsche Reihenfolge"),
                   QStringLiteral("[settings]"), QStringLiteral("name=Deutsch"),
                   QStringLiteral("[language]"), QStringLiteral("Error=Fehler"),
                   QStringLiteral("SettingsChanged="), QStringLiteral("Name=Vorname")});
    chooseLanguage(QStringLiteral("Deutsch"));

    QTEST(Localization::Translate(key), "expected");
}

void TestLocalization::translateWithoutCurrentFile()
{
    TestEnvironment env;
    writeLanguage(QStringLiteral("English"),
                  {QStringLiteral("[language]"), QStringLiteral("Error=English error")});
    chooseLanguage(QStringLiteral("Klingon"));
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QStringLiteral("English error"));

    // Neither file: an empty text, no failure.
    QVERIFY(QFile::remove(Localization::languageFilePath(QStringLiteral("English"))));
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QString());
}

void TestLocalization::nameCannotLeaveLanguagesFolder()
{
    TestEnvironment env;
    writeLanguage(QStringLiteral("English"),
                  {QStringLiteral("[language]"), QStringLiteral("Error=English error")});
    // A file beside the languages folder must not be taken for a language.
    QVERIFY(TextFile::writeLines(AppPaths::GetDataPath() + QStringLiteral("Evil.lang"),
                                 {QStringLiteral("Error=from outside")}));
    chooseLanguage(QStringLiteral("../Evil"));
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QStringLiteral("English error"));
    QVERIFY(Localization::languageFilePath(QStringLiteral("../Evil")).isEmpty());
    QVERIFY(Localization::languageFilePath(QString()).isEmpty());
}

void TestLocalization::editsTakeEffectAtOnce()
{
    TestEnvironment env;
    writeLanguage(QStringLiteral("English"),
                  {QStringLiteral("[language]"), QStringLiteral("Error=first")});
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QStringLiteral("first"));
    writeLanguage(QStringLiteral("English"),
                  {QStringLiteral("[language]"), QStringLiteral("Error=again")});
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QStringLiteral("again"));
}

void TestLocalization::currentLanguage_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no settings file") << QStringList() << QStringLiteral("English");
    QTest::newRow("no language section")
        << QStringList{QStringLiteral("[medium]"), QStringLiteral("val=10")}
        << QStringLiteral("English");
    QTest::newRow("empty value") << QStringList{QStringLiteral("[language]"),
                                                QStringLiteral("value=")}
                                 << QStringLiteral("English");
    QTest::newRow("chosen") << QStringList{QStringLiteral("[Language]"),
                                           QStringLiteral("Value = Russian ")}
                            << QStringLiteral("Russian");
}

void TestLocalization::currentLanguage()
{
    QFETCH(QStringList, options);
    TestEnvironment env;
    if (!options.isEmpty())
        QVERIFY(TextFile::writeLines(AppPaths::GetDataPath() + QStringLiteral("Options.INI"),
                                     options));
    QTEST(Localization::currentLanguage(), "expected");
}

void TestLocalization::shippedRussianMessages()
{
    TestEnvironment env;
    DataFolderSetup::run();
    QCOMPARE(Localization::currentLanguage(), QStringLiteral("English"));
    QCOMPARE(Localization::Translate(QStringLiteral("ErrorConnect")),
             QStringLiteral("The client database cannot be opened."));

    chooseLanguage(QStringLiteral("Russian"));
    QCOMPARE(Localization::Translate(QStringLiteral("Error")), QStringLiteral("Ошибка"));
    QCOMPARE(Localization::Translate(QStringLiteral("SettingsChanged")),
             QStringLiteral("Настройки сохранены."));

    // A message the Russian file lacks comes from the English file.
    const QString russian = Localization::languageFilePath(QStringLiteral("Russian"));
    QStringList lines = TextFile::readLines(russian);
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("Tolerable=")); });
    QVERIFY(TextFile::writeLines(russian, lines));
    QCOMPARE(Localization::Translate(QStringLiteral("Tolerable")), QStringLiteral("Tolerable"));
}

void TestLocalization::availableLanguages()
{
    TestEnvironment env;
    DataFolderSetup::run();
    writeLanguage(QStringLiteral("deutsch"), {QStringLiteral("[settings]")});
    const QString folder = Localization::languagesFolder();
    QVERIFY(TextFile::writeLines(folder + QStringLiteral("/French.LANG"), {QStringLiteral("[Font]")}));
    QVERIFY(TextFile::writeLines(folder + QStringLiteral("/notes.txt"), {QStringLiteral("x")}));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/Old.lang")));

    QCOMPARE(Localization::availableLanguages(),
             QStringList({QStringLiteral("deutsch"), QStringLiteral("English"),
                          QStringLiteral("French"), QStringLiteral("Russian")}));
    // A name from the list finds its file whatever the case of the extension.
    QVERIFY(QFile::exists(Localization::languageFilePath(QStringLiteral("French"))));
}

void TestLocalization::setCurrentLanguage()
{
    TestEnvironment env;
    DataFolderSetup::run();
    QString error;
    QVERIFY2(Localization::setCurrentLanguage(QStringLiteral("Russian"), &error), qPrintable(error));
    QCOMPARE(Localization::currentLanguage(), QStringLiteral("Russian"));
    // The rest of the settings stays as it was.
    const IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    QCOMPARE(options.readString(QStringLiteral("medium"), QStringLiteral("val")),
             QStringLiteral("10"));
    QCOMPARE(options.readString(QStringLiteral("Order"), QStringLiteral("2")), QStringLiteral("3"));
}

void TestLocalization::setCurrentLanguageRefusesBadNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank") << QStringLiteral("  ");
    QTest::newRow("path") << QStringLiteral("../Options");
    QTest::newRow("backslash") << QStringLiteral("..\\Options");
    QTest::newRow("no such file") << QStringLiteral("Klingon");
}

void TestLocalization::setCurrentLanguageRefusesBadNames()
{
    QFETCH(QString, name);
    TestEnvironment env;
    DataFolderSetup::run();
    const QString options = AppPaths::dataFile(QStringLiteral("Options.ini"));
    const QByteArray before = contentOf(options);
    QString error;
    QVERIFY(!Localization::setCurrentLanguage(name, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(contentOf(options), before);
}

void TestLocalization::textsFromFontOnlyFile()
{
    TestEnvironment env;
    writeLanguage(QStringLiteral("Plain"),
                  {QStringLiteral("[Font]"), QStringLiteral("name=Liberation Serif"),
                   QStringLiteral("charset=x"), QStringLiteral("size=11")});
    const LanguageTexts texts = LanguageTexts::load(QStringLiteral("Plain"));
    QVERIFY(texts.fileFound());
    QCOMPARE(texts.languageName(), QStringLiteral("Plain"));
    QCOMPARE(texts.font(), (LanguageFont{QStringLiteral("Liberation Serif"), 1, 11}));
    for (const QString &key : LanguageDefaults::keys())
        QCOMPARE(texts.text(key), LanguageDefaults::defaultText(key));
}

void TestLocalization::textsFallBackPerKey()
{
    TestEnvironment env;
    writeLanguage(QStringLiteral("Mixed"),
                  {QStringLiteral("WriteName=outside the section"), QStringLiteral("[language]"),
                   QStringLiteral("Save=Speichern"), QStringLiteral("SAVE=second, never read"),
                   QStringLiteral("Cancel="), QStringLiteral("Error=Fehler")});
    const LanguageTexts texts = LanguageTexts::load(QStringLiteral("Mixed"));
    QCOMPARE(texts.text(QStringLiteral("Save")), QStringLiteral("Speichern"));
    QCOMPARE(texts.text(QStringLiteral("save")), QStringLiteral("Speichern"));
    QCOMPARE(texts.text(QStringLiteral("Cancel")), LanguageDefaults::defaultText(QStringLiteral("Cancel")));
    // Applied texts come from [language] only.
    QCOMPARE(texts.text(QStringLiteral("WriteName")),
             LanguageDefaults::defaultText(QStringLiteral("WriteName")));
    // A key without a built-in text still gives the file's text.
    QCOMPARE(texts.text(QStringLiteral("Error")), QStringLiteral("Fehler"));
    QCOMPARE(texts.text(QStringLiteral("NoSuchKey")), QString());
}

void TestLocalization::textsWithoutFile()
{
    TestEnvironment env;
    const LanguageTexts texts = LanguageTexts::load(QStringLiteral("Missing"));
    QVERIFY(!texts.fileFound());
    QCOMPARE(texts.font(), LanguageFont{});
    QCOMPARE(texts.displayName(), QStringLiteral("Missing"));
    for (const QString &key : LanguageDefaults::keys())
        QVERIFY(!texts.text(key).isEmpty());
    QCOMPARE(texts.text(QStringLiteral("TimeOut")), QStringLiteral("Time Out"));
}

void TestLocalization::textsOfShippedRussian()
{
    TestEnvironment env;
    DataFolderSetup::run();
    chooseLanguage(QStringLiteral("Russian"));
    const LanguageTexts texts = LanguageTexts::loadCurrent();
    QVERIFY(texts.fileFound());
    QCOMPARE(texts.languageName(), QStringLiteral("Russian"));
    QCOMPARE(texts.displayName(), QStringLiteral("Русский"));
    QCOMPARE(texts.font().charset, 204);
    QCOMPARE(texts.text(QStringLiteral("WriteName")), QStringLiteral("Введите имя."));
    QCOMPARE(texts.text(QStringLiteral("ClientsList")), QStringLiteral("Список клиентов"));
}

QTEST_GUILESS_MAIN(TestLocalization)
#include "tst_localization.moc"
