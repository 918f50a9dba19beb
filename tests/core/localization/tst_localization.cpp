// The text lookup: messages looked up when they are shown (current language, else English,
// else empty), the current language in Options.ini, the language list, and the texts a
// language gives the windows when it is applied.
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "common/IniFile.h"
#include "common/TextFile.h"
#include "Damage.h"
#include "localization/LanguageDefaults.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "Options.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

void writeLanguage(const QString &name, const QStringList &lines) {
    const QString folder = AppPaths::GetDataPath() + "languages";
    QDir().mkpath(folder);
    QVERIFY(TextFile::writeLines(folder + QLatin1Char('/') + name + ".lang", lines));
}

void chooseLanguage(const QString &name) {
    QVERIFY(setOption("language", "value", name));
}

} // namespace

class TestLocalization : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void translate_data() {
        QTest::addColumn<QString>("language"); // the current language
        QTest::addColumn<bool>("english");     // English.lang there
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString de = "Deutsch";
        const QString none = "Klingon";
        // clang-format off
        QTest::newRow("in the current file") << de << true << "Error" << "Fehler";
        QTest::newRow("only in English") << de << true << "ErrorConnect" << "English connect";
        QTest::newRow("empty in the current file")
            << de << true << "SettingsChanged" << "English settings";
        QTest::newRow("outside [language] in the current file")
            << de << true << "IncorrectOrder" << "Falsche Reihenfolge";
        QTest::newRow("only outside [language] in English") << de << true << "DayN" << "Day";
        QTest::newRow("other letter case") << de << true << "error" << "Fehler";
        QTest::newRow("[language] before a same-named settings line")
            << de << true << "Name" << "Vorname";
        QTest::newRow("in neither file") << de << true << "NoSuchKey" << "";
        QTest::newRow("no file for the language") << none << true << "Error" << "English error";
        QTest::newRow("no language file at all") << none << false << "Error" << "";
        QTest::newRow("name leaving the folder") << "../Evil" << true << "Error" << "English error";
        // clang-format on
    }
    void translate() {
        QFETCH(QString, language);
        QFETCH(bool, english);
        QFETCH(QString, key);
        TestEnvironment env;
        if (english)
            writeLanguage("English",
                          {"[settings]", "name=English", "DayN=Day", "[language]",
                           "Error=English error", "ErrorConnect=English connect",
                           "SettingsChanged=English settings", "IncorrectOrder=English order"});
        writeLanguage("Deutsch",
                      {"IncorrectOrder=Falsche Reihenfolge", "[settings]", "name=Deutsch",
                       "[language]", "Error=Fehler", "SettingsChanged=", "Name=Vorname"});
        // A file beside the languages folder must never be taken for a language.
        QVERIFY(
            TextFile::writeLines(AppPaths::GetDataPath() + "Evil.lang", {"Error=from outside"}));
        chooseLanguage(language);
        QTEST(Localization::Translate(key), "expected");
    }

    void editsTakeEffectAtOnce() {
        TestEnvironment env;
        writeLanguage("English", {"[language]", "Error=first"});
        QCOMPARE(Localization::Translate("Error"), "first");
        writeLanguage("English", {"[language]", "Error=again"});
        QCOMPARE(Localization::Translate("Error"), "again");
    }

    void currentLanguage_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no settings file") << QStringList() << "English";
        QTest::newRow("empty value") << QStringList{"[language]", "value="} << "English";
        QTest::newRow("chosen") << QStringList{"[Language]", "Value = Russian "} << "Russian";
    }
    void currentLanguage() {
        QFETCH(QStringList, options);
        TestEnvironment env;
        if (!options.isEmpty())
            QVERIFY(TextFile::writeLines(AppPaths::GetDataPath() + "Options.INI", options));
        QTEST(Localization::currentLanguage(), "expected");
    }

    void availableLanguages() {
        TestEnvironment env;
        DataFolderSetup::run();
        writeLanguage("deutsch", {"[settings]"});
        const QString folder = Localization::languagesFolder();
        QVERIFY(TextFile::writeLines(folder + "/French.LANG", {"[Font]"}));
        QVERIFY(TextFile::writeLines(folder + "/notes.txt", {"x"}));
        QVERIFY(QDir().mkpath(folder + "/Old.lang"));
        QCOMPARE(Localization::availableLanguages(),
                 QStringList({"deutsch", "English", "French", "Russian"}));
        // A name from the list finds its file whatever the case of the extension.
        QVERIFY(QFile::exists(Localization::languageFilePath("French")));
    }

    void setCurrentLanguage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("shipped language") << "Russian" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << "  " << false;
        QTest::newRow("path") << "../Options" << false;
        QTest::newRow("backslash") << "..\\Options" << false;
        QTest::newRow("no such file") << "Klingon" << false;
    }
    void setCurrentLanguage() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        TestEnvironment env;
        DataFolderSetup::run();
        const QString options = optionsFile();
        const QByteArray before = Damage::bytesOf(options);
        QString error;
        QCOMPARE(Localization::setCurrentLanguage(name, &error), accepted);
        if (!accepted) {
            QVERIFY(!error.isEmpty());
            QCOMPARE(Damage::bytesOf(options), before);
            return;
        }
        QCOMPARE(Localization::currentLanguage(), name);
        // The rest of the settings stays as it was.
        const IniFile ini(options);
        QCOMPARE(ini.readString("medium", "val"), "10");
        QCOMPARE(ini.readString("Order", "2"), "3");
    }

    void textsOfFontOnlyOrNoFile_data() {
        QTest::addColumn<bool>("file");
        QTest::newRow("[Font] only, charset not a number") << true;
        QTest::newRow("no file") << false;
    }
    void textsOfFontOnlyOrNoFile() {
        QFETCH(bool, file);
        TestEnvironment env;
        if (file)
            writeLanguage("Plain", {"[Font]", "name=Liberation Serif", "charset=x", "size=11"});
        const LanguageTexts texts = LanguageTexts::load("Plain");
        QCOMPARE(texts.fileFound(), file);
        QCOMPARE(texts.displayName(), "Plain");
        const LanguageFont font = file ? LanguageFont{"Liberation Serif", 1, 11} : LanguageFont{};
        QCOMPARE(texts.font(), font);
        for (const QString &key : LanguageDefaults::keys())
            QCOMPARE(texts.text(key), LanguageDefaults::defaultText(key));
    }

    void textsFallBackPerKey() {
        TestEnvironment env;
        writeLanguage("Mixed", {"WriteName=outside the section", "[language]", "Save=Speichern",
                                "SAVE=second, never read", "Cancel=", "Error=Fehler"});
        chooseLanguage("Mixed");
        const LanguageTexts texts = LanguageTexts::loadCurrent();
        QCOMPARE(texts.text("save"), "Speichern");
        QCOMPARE(texts.text("Cancel"), "Cancel");
        // Applied texts come from [language] only.
        QCOMPARE(texts.text("WriteName"), LanguageDefaults::defaultText("WriteName"));
        // A key without a built-in text still gives the file's text.
        QCOMPARE(texts.text("Error"), "Fehler");
        QCOMPARE(texts.text("NoSuchKey"), QString());
    }

    void localeFollowsTheLanguage_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("language");
        // clang-format off
        QTest::newRow("file named in English")
            << "Russian" << QStringList{"[settings]", "name=x"} << int(QLocale::Russian);
        QTest::newRow("native name only")
            << "Mine" << QStringList{"[settings]", "name=Deutsch"} << int(QLocale::German);
        QTest::newRow("character set only")
            << "Mine" << QStringList{"[Font]", "charset=204"} << int(QLocale::Russian);
        // clang-format on
    }
    void localeFollowsTheLanguage() {
        QFETCH(QString, fileName);
        QFETCH(QStringList, lines);
        QFETCH(int, language);
        TestEnvironment env;
        writeLanguage(fileName, lines);
        const QLocale locale = LanguageTexts::load(fileName).locale();
        QCOMPARE(int(locale.language()), language);
        // A name that tells nothing keeps the system's conventions.
        writeLanguage("Plain", {"[settings]", "name=Plain"});
        QCOMPARE(LanguageTexts::load("Plain").locale(), QLocale::system());
    }
};

QTEST_GUILESS_MAIN(TestLocalization)
#include "tst_localization.moc"
