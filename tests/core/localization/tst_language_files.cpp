// Language files: the [Font] section, the two ways a text is found, the built-in English texts,
// and the two language files the program ships.
#include "app/DataFolderSetup.h"
#include "common/Cp1251.h"
#include "localization/LanguageDefaults.h"
#include "localization/LanguageFile.h"
#include "localization/Localization.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <algorithm>

namespace {

LanguageFile fileOf(const QStringList &lines) {
    return LanguageFile::fromText(lines.join(QLatin1Char('\n')));
}

bool hasCyrillic(const QString &text) {
    static const QRegularExpression cyrillic("[\\x{0400}-\\x{04FF}]");
    return cyrillic.match(text).hasMatch();
}

// A Russian text is translated when it has Cyrillic letters, or no letters at all ("%").
bool readsRussian(const QString &text) {
    return hasCyrillic(text) ||
           std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

class TestLanguageFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fontSection_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("charset");
        QTest::addColumn<int>("size");
        QTest::newRow("no font section")
            << QStringList{"[language]", "Save=Save"} << "Arial" << 1 << 1;
        QTest::newRow("complete") << QStringList{"[Font]", "name=DejaVu Sans", "charset=204",
                                                 "size=9"}
                                  << "DejaVu Sans" << 204 << 9;
        QTest::newRow("charset not a number")
            << QStringList{"[font]", "charset=RUSSIAN_CHARSET"} << "Arial" << 1 << 1;
        QTest::newRow("charset empty, name empty")
            << QStringList{"[Font]", "name=", "charset="} << "Arial" << 1 << 1;
    }
    void fontSection() {
        QFETCH(QStringList, lines);
        const LanguageFont font = fileOf(lines).font();
        QTEST(font.name, "name");
        QTEST(font.charset, "charset");
        QTEST(font.size, "size");
    }

    void fontKeepsStyleAndIgnoresUnreadableSize() {
        QFont bold("Sans", 11);
        bold.setBold(true);
        bold.setItalic(true);
        const QFont applied = LanguageFont{"DejaVu Sans", 204, 9}.applyTo(bold);
        QCOMPARE(applied.family(), "DejaVu Sans");
        QCOMPARE(applied.pointSize(), 9);
        QVERIFY(applied.bold() && applied.italic());
        // A file without a size reads 1: the control keeps its own size.
        QCOMPARE(LanguageFont{}.applyTo(bold).pointSize(), 11);
    }

    void textAndFindAnywhere_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");     // text(): section [language] only
        QTest::addColumn<QString>("anywhere"); // findAnywhere(): the first line of the whole file
        QTest::addColumn<bool>("found");
        // clang-format off
        QTest::newRow("in two sections")
            << "Error"        << "in language" << "in settings" << true;
        QTest::newRow("before any section") << "Stray"        << "" << "before any section" << true;
        QTest::newRow("outside [language]") << "Open"         << "" << "settings only"      << true;
        QTest::newRow("other letter case")
            << "ERRORCONNECT" << "spaced out"  << "spaced out" << true;
        QTest::newRow("a prefix is no key")
            << "Err"          << ""            << ""           << false;
        QTest::newRow("present but empty")
            << "Empty"        << ""            << ""           << true;
        // clang-format on
    }
    void textAndFindAnywhere() {
        QFETCH(QString, key);
        const LanguageFile file =
            fileOf({"; Error=commented out", "Stray=before any section", "[settings]", "name=Test",
                    "Error=in settings", "Open=settings only", "[language]", "Error=in language",
                    "  ErrorConnect  =  spaced out  ", "Empty="});
        bool found = false;
        QTEST(file.findAnywhere(key, &found), "anywhere");
        QTEST(found, "found");
        QTEST(file.text(key), "text");
    }

    void everyAppliedKeyHasADefault() {
        for (const QString &key : LanguageDefaults::keys())
            QVERIFY2(!LanguageDefaults::defaultText(key).isEmpty(), qPrintable(key));
        // Keys compare without case everywhere, so no two keys may differ only in case.
        QSet<QString> folded;
        for (const QString &key : LanguageDefaults::allKeys())
            folded.insert(key.toCaseFolded());
        QCOMPARE(folded.size(), LanguageDefaults::allKeys().size());
        QCOMPARE(LanguageDefaults::defaultText("CLIENTSLIST"), "List of clients");
    }

    void shippedFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("displayName");
        QTest::addColumn<int>("charset");
        // clang-format off
        QTest::newRow("English") << "English" << "English" << 1;
        QTest::newRow("Russian") << "Russian" << "Русский" << 204;
        // clang-format on
    }
    void shippedFile() {
        QFETCH(QString, name);
        TestEnvironment env;
        DataFolderSetup::run();
        const QString path = Localization::languageFilePath(name);
        QFile raw(path);
        QVERIFY2(raw.open(QIODevice::ReadOnly), qPrintable(path));
        const QByteArray bytes = raw.readAll();
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n")); // Windows line ends throughout
        const bool russian = name == QLatin1String("Russian");
        // Windows-1251, not UTF-8: "Русский" is seven single bytes.
        QVERIFY(!russian || bytes.contains(Cp1251::encode("name=Русский\r\n")));

        const LanguageFile file(path);
        QTEST(file.displayName(), "displayName");
        QTEST(file.font().charset, "charset");
        QCOMPARE(file.font().name, "DejaVu Sans");
        QVERIFY(file.font().size >= LanguageFont::smallestReadableSize);
        // Every built-in key with a text; in English the built-in text.
        for (const QString &key : LanguageDefaults::allKeys()) {
            const QString text = file.text(key);
            QVERIFY2(!text.isEmpty(), qPrintable(name + QLatin1Char(' ') + key));
            if (!russian)
                QVERIFY2(!hasCyrillic(text), qPrintable(key));
            if (!russian && LanguageDefaults::hasDefault(key))
                QCOMPARE(text, LanguageDefaults::defaultText(key));
        }
        // Both files carry the same keys, each once: the built-in ones and those of later windows;
        // every Russian text is Cyrillic ("OK" and the number sign are shown as they are).
        const LanguageFile english(Localization::languageFilePath("English"));
        QSet<QString> keys, englishKeys;
        for (const auto &line : file.textLines())
            keys.insert(line.first.toCaseFolded());
        for (const auto &line : english.textLines())
            englishKeys.insert(line.first.toCaseFolded());
        QCOMPARE(keys.size(), int(file.textLines().size()));
        QCOMPARE(keys, englishKeys);
        for (const QString &key : englishKeys) {
            if (russian && key != QLatin1String("ok") && key != QLatin1String("nummer"))
                QVERIFY2(readsRussian(file.text(key)),
                         qPrintable(key + QLatin1Char('=') + file.text(key)));
        }
    }
};

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_language_files.moc"
