// Editing language files: rows beside the English texts, finding, saving a new language and
// refusing what a language file cannot hold; fetching languages from the download service
// (a folder reached through file:// stands in for the maker's server).
#include "app/DataFolderSetup.h"
#include "common/Cp1251.h"
#include "Damage.h"
#include "localization/LanguageDraft.h"
#include "localization/LanguageFile.h"
#include "localization/LanguageService.h"
#include "localization/Localization.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>

class TestLanguageDraft : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_env = std::make_unique<TestEnvironment>();
        DataFolderSetup::run();
    }

    void cleanup() { m_env.reset(); }

    void rowsStandBesideTheEnglishTexts() {
        const LanguageDraft russian = LanguageDraft::load("Russian");
        QCOMPARE(russian.languageName(), "Russian");
        QCOMPARE(russian.charset(), 204);
        const int save = rowOf(russian, "Save");
        QVERIFY(save >= 0);
        QCOMPARE(russian.rows().at(save).englishText, "Save");
        QCOMPARE(russian.rows().at(save).text, "Сохранить");
        // A new language starts from the English texts, one row per key.
        const LanguageDraft fresh = LanguageDraft::fromEnglish();
        QCOMPARE(fresh.rows().size(), russian.rows().size());
        for (const LanguageDraft::Row &row : fresh.rows())
            QCOMPARE(row.text, row.englishText);
        QVERIFY(!fresh.isChanged());
    }

    void findWrapsAroundAndIgnoresCase() {
        const LanguageDraft draft = LanguageDraft::load("English");
        const int first = draft.findNext("PASSWORD", -1);
        QVERIFY(first >= 0);
        const int second = draft.findNext("password", first);
        QVERIFY(second > first);
        // From the last row the search starts again at the top.
        QCOMPARE(draft.findNext("password", int(draft.rows().size()) - 1), first);
        QCOMPARE(draft.findNext("no text has this", 0), -1);
        QCOMPARE(draft.findNext("  ", 0), -1);
    }

    void savedLanguageReadsBack() {
        LanguageDraft draft = LanguageDraft::fromEnglish();
        draft.setText(rowOf(draft, "Save"), "Speichern");
        QVERIFY(draft.isChanged());
        QString error;
        QVERIFY2(draft.saveAs(" Deutsch ", 0, &error), qPrintable(error));
        QVERIFY(!draft.isChanged());
        QVERIFY(Localization::availableLanguages().contains("Deutsch"));

        const LanguageFile file(Localization::languageFilePath("Deutsch"));
        QCOMPARE(file.text("Save"), "Speichern");
        QCOMPARE(file.text("Cancel"), "Cancel");
        QCOMPARE(file.displayName(), "Deutsch");
        QCOMPARE(file.font().name, "Arial");
        QCOMPARE(file.font().charset, 0);
        QVERIFY(Localization::setCurrentLanguage("Deutsch"));
        QCOMPARE(Localization::Translate("Save"), "Speichern");
    }

    void refusedSaveWritesNothing_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("empty name") << "  " << "Speichern";
        QTest::newRow("path in name") << "../Deutsch" << "Speichern";
        QTest::newRow("slash in name") << "de/at" << "Speichern";
        QTest::newRow("hidden name") << ".Deutsch" << "Speichern";
        QTest::newRow("text outside Windows-1251") << "Chinese" << QStringLiteral("保存");
        QTest::newRow("text on two lines") << "Deutsch" << "Spei\nchern";
        QTest::newRow("tab in name") << "Tab\tinside" << "Speichern";
        QTest::newRow("control character in name")
            << QStringLiteral("De\u0001utsch") << "Speichern";
        QTest::newRow("name outside Windows-1251") << QStringLiteral("中文") << "Speichern";
        // clang-format on
    }
    void refusedSaveWritesNothing() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        LanguageDraft draft = LanguageDraft::fromEnglish();
        draft.setText(0, text);
        const QStringList before = QDir(Localization::languagesFolder()).entryList(QDir::Files);
        QString error;
        QVERIFY(!draft.saveAs(name, 1, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(Localization::languagesFolder()).entryList(QDir::Files), before);
        QVERIFY(draft.isChanged());
        // The name the editor refuses is the name nothing else takes either.
        if (!name.trimmed().isEmpty() && text == QLatin1String("Speichern")) {
            QVERIFY(!Localization::isLanguageName(name));
            QVERIFY(!Localization::setCurrentLanguage(name));
            QVERIFY(LanguageService::parseList(Cp1251::encode(name)).isEmpty());
        }
    }

    void charsets_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // -1: refused
        QTest::newRow("name") << "RUSSIAN_CHARSET" << 204;
        QTest::newRow("name, small letters") << "turkish_charset" << 162;
        QTest::newRow("number") << " 238 " << 238;
        QTest::newRow("too large") << "256" << -1;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("not a number") << "Cyrillic" << -1;
    }
    void charsets() {
        QFETCH(QString, text);
        const std::optional<int> parsed = LanguageDraft::parseCharset(text);
        QTEST(parsed.value_or(-1), "value");
    }

    void serviceInstallsALanguage() {
        offer("languages.txt", "; offered languages\r\nDeutsch\r\n\r\ndeutsch\r\n../evil\r\n");
        offer("Deutsch.lang", "[settings]\r\nname=Deutsch\r\n[Font]\r\nname=Arial\r\n[language]"
                              "\r\nSave=Speichern\r\n");
        LanguageService service;
        service.setUrl(QUrl::fromLocalFile(serviceFolder()));
        QSignalSpy listed(&service, &LanguageService::listed);
        service.fetchList();
        QVERIFY(listed.wait(5000));
        QCOMPARE(listed.first().first().toStringList(), QStringList{"Deutsch"});

        QSignalSpy downloaded(&service, &LanguageService::downloaded);
        service.download("Deutsch");
        QVERIFY(downloaded.wait(5000));
        const LanguageFile file(Localization::languageFilePath("Deutsch"));
        QCOMPARE(file.text("Save"), "Speichern");
    }

    void serviceFailuresWriteNothing_data() {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // what the service has as <name>.lang
        QTest::newRow("no service set up") << false << "Deutsch" << QByteArray("[language]\nA=B\n");
        QTest::newRow("file missing there") << true << "Deutsch" << QByteArray();
        QTest::newRow("not a language file")
            << true << "Deutsch" << QByteArray("<html>Not found</html>");
        QTest::newRow("binary") << true << "Deutsch" << QByteArray("[language]\nA=\0B\n", 16);
        QTest::newRow("name leading out")
            << true << "../Options" << QByteArray("[language]\nA=B\n");
    }
    void serviceFailuresWriteNothing() {
        QFETCH(bool, configured);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        if (!content.isEmpty() && !name.contains(QLatin1Char('/')))
            offer(name + ".lang", content);
        LanguageService service;
        if (configured)
            service.setUrl(QUrl::fromLocalFile(serviceFolder()));
        QCOMPARE(service.url().isEmpty(), !configured);
        const QStringList before = QDir(Localization::languagesFolder()).entryList(QDir::Files);
        QSignalSpy failed(&service, &LanguageService::failed);
        service.download(name);
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QVERIFY(!failed.first().first().toString().isEmpty());
        QCOMPARE(QDir(Localization::languagesFolder()).entryList(QDir::Files), before);
    }

    void serviceConvertsAndAsksBeforeReplacing() {
        LanguageService service;
        service.setUrl(QUrl::fromLocalFile(serviceFolder()));
        QSignalSpy downloaded(&service, &LanguageService::downloaded);
        QSignalSpy installed(&service, &LanguageService::alreadyInstalled);
        QSignalSpy failed(&service, &LanguageService::failed);

        // Sent in UTF-8: stored in the language files' own code page, read back as sent.
        offer("Russkiy.lang", QStringLiteral("[language]\r\nSave=Сохранить\r\n").toUtf8());
        service.download("Russkiy");
        QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 1, 5000);
        const QString path = Localization::languageFilePath("Russkiy");
        QCOMPARE(LanguageFile(path).text("Save"), "Сохранить");

        // Installed already: nothing is written until the practitioner says so.
        offer("Russkiy.lang", QStringLiteral("[language]\r\nSave=Записать\r\n").toUtf8());
        service.download("Russkiy");
        QTRY_COMPARE_WITH_TIMEOUT(installed.size(), 1, 5000);
        QCOMPARE(LanguageFile(path).text("Save"), "Сохранить");
        service.download("Russkiy", true);
        QTRY_COMPARE_WITH_TIMEOUT(downloaded.size(), 2, 5000);
        QCOMPARE(LanguageFile(path).text("Save"), "Записать");

        // The shipped English file is never replaced, asked or not.
        const QString english = Localization::languageFilePath("English");
        const QByteArray before = Damage::bytesOf(english);
        offer("English.lang", "[language]\r\nSave=One key\r\n");
        service.download("English", true);
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 5000);
        QVERIFY(!before.isEmpty());
        QCOMPARE(Damage::bytesOf(english), before);

        // Characters the code page lacks, and a file far too large, are refused with the reason.
        offer("Zhongwen.lang", QStringLiteral("[language]\r\nSave=保存\r\n").toUtf8());
        service.download("Zhongwen");
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 2, 5000);
        QVERIFY(failed.last().first().toString().contains("1251"));
        QVERIFY(!QFileInfo::exists(Localization::languagesFolder() + "/Zhongwen.lang"));
        offer("Huge.lang", "[language]\r\n" + QByteArray(2 * 1024 * 1024, 'x'));
        service.download("Huge");
        QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 3, 5000);
        QVERIFY2(failed.last().first().toString().contains("1024 KB"),
                 qPrintable(failed.last().first().toString()));
    }

private:
    static int rowOf(const LanguageDraft &draft, const QString &key)
    {
        for (int i = 0; i < draft.rows().size(); ++i) {
            if (draft.rows().at(i).key == key)
                return i;
        }
        return -1;
    }
    QString serviceFolder() const { return m_env->scratch("service"); }

    void offer(const QString &file, const QByteArray &content) {
        QFile out(serviceFolder() + QLatin1Char('/') + file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(content);
    }

    std::unique_ptr<TestEnvironment> m_env;
};

QTEST_GUILESS_MAIN(TestLanguageDraft)
#include "tst_language_draft.moc"
