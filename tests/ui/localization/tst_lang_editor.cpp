// The translation editor: a text edited in the grid and saved as a new language, a refused
// character set, accepting a language, and a language fetched through the download service.
#include "app/DataFolderSetup.h"
#include "ChildWidget.h"
#include "DialogRecorder.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageFile.h"
#include "localization/LanguageService.h"
#include "localization/Localization.h"
#include "localization/TFormSelect.h"
#include "localization/TLangFormMain.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {
int rowOf(QTableWidget *grid, const QString &key)
{
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (grid->item(row, TLangFormMain::KeyColumn)->text() == key)
            return row;
    }
    return -1;
}
} // namespace

class TestLangEditor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void editSaveAndAccept();
    void languageFromTheService();

private:
    std::unique_ptr<TestEnvironment> m_env;
};

void TestLangEditor::init()
{
    m_env = std::make_unique<TestEnvironment>();
    DataFolderSetup::run();
    LanguageApplier::instance().apply(LanguageTexts::load(QStringLiteral("English")));
}

void TestLangEditor::cleanup()
{
    m_env.reset();
}

void TestLangEditor::editSaveAndAccept()
{
    DialogRecorder dialogs;
    TLangFormMain editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    auto *grid = child<QTableWidget>(&editor, "Strings");
    const int save = rowOf(grid, QStringLiteral("Save"));
    QVERIFY(save >= 0);
    QVERIFY(!(grid->item(save, TLangFormMain::DefaultColumn)->flags() & Qt::ItemIsEditable));
    grid->item(save, TLangFormMain::CurrentColumn)->setText(QStringLiteral("Speichern"));
    QVERIFY(editor.draft().isChanged());

    // Finding moves to the row; Enter in the field finds the next one.
    child<QLineEdit>(&editor, "ToFind")->setText(QStringLiteral("speichern"));
    QTest::mouseClick(child<QPushButton>(&editor, "ButFindLan"), Qt::LeftButton);
    QCOMPARE(grid->currentRow(), save);

    child<QLineEdit>(&editor, "LanguageNameEdit")->setText(QStringLiteral("Deutsch"));
    auto *charset = child<QComboBox>(&editor, "BoxCharset");
    charset->setEditText(QStringLiteral("West"));
    QTest::mouseClick(child<QPushButton>(&editor, "ButSaveLan"), Qt::LeftButton);
    QCOMPARE(dialogs.requests().size(), 1);
    QCOMPARE(dialogs.requests().first().text, QStringLiteral("Not Integer value"));
    QVERIFY(Localization::languageFilePath(QStringLiteral("Deutsch")).isEmpty()
            || !QFile::exists(Localization::languageFilePath(QStringLiteral("Deutsch"))));

    charset->setCurrentIndex(charset->findText(QStringLiteral("ANSI_CHARSET")));
    QTest::mouseClick(child<QPushButton>(&editor, "ButSaveLan"), Qt::LeftButton);
    QCOMPARE(LanguageFile(Localization::languageFilePath(QStringLiteral("Deutsch")))
                 .text(QStringLiteral("Save")),
             QStringLiteral("Speichern"));
    QCOMPARE(child<QComboBox>(&editor, "Languages")->currentData().toString(),
             QStringLiteral("Deutsch"));

    QSignalSpy accepted(&editor, &TLangFormMain::languageAccepted);
    QTest::mouseClick(child<QPushButton>(&editor, "ButAcceptLan"), Qt::LeftButton);
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(Localization::currentLanguage(), QStringLiteral("Deutsch"));
    QVERIFY(!editor.isVisible());
}

void TestLangEditor::languageFromTheService()
{
    const QString folder = m_env->scratch(QStringLiteral("service"));
    for (const auto &[name, content] :
         {std::pair<QString, QByteArray>{QStringLiteral("languages.txt"), "Deutsch\r\n"},
          {QStringLiteral("Deutsch.lang"),
           "[settings]\r\nname=Deutsch\r\n[language]\r\nSave=Speichern\r\n"}}) {
        QFile file(folder + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    DialogRecorder dialogs;
    TLangFormMain editor;
    editor.service()->setUrl(QUrl::fromLocalFile(folder));
    // The list of offered languages comes up as its own window: choose the first.
    bool chose = false;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto *select = qobject_cast<TFormSelect *>(QApplication::activeModalWidget())) {
            QCOMPARE(child<QListWidget>(select, "List")->count(), 1);
            QTest::mouseClick(child<QPushButton>(select, "OkButton"), Qt::LeftButton);
            chose = true;
        }
    });
    answer.start(20);
    QTest::mouseClick(child<QPushButton>(&editor, "ButLoadURL"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialogs.requests().isEmpty(), 5000);
    QVERIFY(chose);
    QCOMPARE(dialogs.requests().first().text,
             Localization::Translate(QStringLiteral("LanguageLoaded")));
    QCOMPARE(editor.draft().languageName(), QStringLiteral("Deutsch"));
    QVERIFY(Localization::availableLanguages().contains(QStringLiteral("Deutsch")));
}

QTEST_MAIN(TestLangEditor)
#include "tst_lang_editor.moc"
