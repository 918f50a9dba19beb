// Moving in from another installation: a data folder copied from a Windows machine (names in
// any case, Windows-1251 text with CRLF, a gbak backup of a base with narrow client codes)
// arrives whole; a source that cannot be used changes nothing here.
#include "app/DataFolderSetup.h"
#include "app/Gbak.h"
#include "app/InstallationImport.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "OldBases.h"
#include "records/DataModule.h"
#include "SeedBase.h"
#include "TestEnvironment.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSqlQuery>
#include <QtTest>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Windows-1251 text with CRLF line ends, as the other machine wrote it.
QByteArray windowsText(const QStringList &lines)
{
    return Cp1251::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// Every file of a folder and a digest of its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(path, QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5));
    }
    return files;
}

} // namespace

class TestInstallationImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        DataFolderSetup::run();
        m_base = m_env->dataFolder() + "/BASE.fdb";
        QVERIFY(QFile::exists(m_base));
    }
    void cleanup() { m_env.reset(); }

    void windowsFolderArrivesWhole()
    {
        // The Windows data folder: a gbak backup of a base with 4-wide client codes.
        const QString old = m_env->scratch("old") + "/BASE.fdb";
        QCOMPARE(OldBases::runIsql(OldBases::narrowBaseScript(old)), QString());
        const QString windows = m_env->scratch("windows/Quillane/Q7");
        QString error;
        QVERIFY2(Gbak().backup(old, windows + "/BASE.FBK", &error), qPrintable(error));
        writeBytes(windows + "/OPTIONS.INI",
                   windowsText({"[language]", "value=Deutsch", "[meridian]", "1=Лёгкие",
                                "[medium]", "val=15", "[Client]", "Id=800", "[test]",
                                "info=C:\\Users\\doc\\info.txt", "sound=0", "[Uniform]",
                                "path=\\\\server\\base.fdb"}));
        writeBytes(windows + "/REMEMBER.INI", windowsText({"[timer]", "count=0"}));
        writeBytes(windows + "/LANGUAGES/Deutsch.LANG",
                   windowsText({"[language]", "PdfSaved=Gespeichert"}));
        QFile ours(m_env->dataFolder() + "/languages/English.lang");
        QVERIFY(ours.open(QIODevice::ReadOnly));
        writeBytes(windows + "/LANGUAGES/ENGLISH.LANG", ours.readAll() + "Mine=mine\r\n");
        const QString uniformBefore = IniFile(m_env->dataFolder() + "/Options.ini")
                                          .readString("Uniform", "path");

        // Pointed at the folder above the data folder, as copied.
        InstallationImport::Prepared prepared =
            InstallationImport::prepare(m_env->scratch("windows"), m_base);
        QVERIFY2(prepared.ok, qPrintable(prepared.error));
        QCOMPARE(prepared.counts, (BaseFacts::Counts{2, 2}));
        QVERIFY2(InstallationImport::apply(prepared, m_base, &error), qPrintable(error));
        QVERIFY(!QFile::exists(prepared.preparedBase));

        DataModule data;
        QVERIFY2(data.open(m_base, &error), qPrintable(error));
        const QList<TestRecord> tests = data.testsOfClient("Q799");
        QCOMPARE(tests.size(), 1);
        QCOMPARE(tests.first().values[23], 83);
        QCOMPARE(data.testsOfClient("q71").size(), 1);
        QSqlQuery names(data.database());
        QVERIFY(names.exec("SELECT NAME FROM CLIENTS WHERE CODE_CLIENT = 'Q71'") && names.next());
        QCOMPARE(names.value(0).toString(), "Анна");
        data.close();

        const IniFile options(m_env->dataFolder() + "/Options.ini");
        QCOMPARE(options.readString("meridian", "1"), "Лёгкие");
        QCOMPARE(options.readString("medium", "val"), "15");
        QCOMPARE(options.readString("Client", "Id"), "800");
        QCOMPARE(options.readString("test", "sound"), "0");
        QCOMPARE(options.readString("language", "value"), "Deutsch");
        // Paths of the other machine and this machine's shared base stay as they were.
        QCOMPARE(options.readString("test", "info"), QString());
        QCOMPARE(options.readString("Uniform", "path"), uniformBefore);
        QCOMPARE(IniFile(m_env->dataFolder() + "/Remember.ini").readString("timer", "count"),
                 "0");
        // The practitioner's own language files: a new one added, a changed one beside ours.
        QVERIFY(QFile::exists(m_env->dataFolder() + "/languages/Deutsch.lang"));
        QVERIFY(QFile::exists(m_env->dataFolder() + "/languages/ENGLISH (imported).lang"));
        QCOMPARE(IniFile(m_env->dataFolder() + "/languages/English.lang").readString("language",
                                                                                      "Mine"),
                 QString());
        bool pathNoted = false;
        for (const ImportSource::Note &note : std::as_const(prepared.found.notes))
            pathNoted = pathNoted || note.text().contains("info.txt");
        QVERIFY(pathNoted);
    }

    void unusableSourceChangesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");
        QTest::newRow("truncated backup") << "truncated" << "cannot be restored";
        QTest::newRow("folder without a base") << "nobase" << "No client base";
        QTest::newRow("base of another program") << "foreign" << "another program";
        QTest::newRow("not a database") << "garbage" << "not a Firebird database";
        QTest::newRow("older on-disk format") << "ods11" << "gbak -b";
    }
    void unusableSourceChangesNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, said);
        const QString source = m_env->scratch("source");
        writeBytes(source + "/OPTIONS.INI", windowsText({"[medium]", "val=33"}));
        QString error;
        if (kind == "truncated") {
            const QString full = m_env->scratch("full") + "/full.fbk";
            QVERIFY2(Gbak().backup(copySeedBase(*m_env), full, &error), qPrintable(error));
            QFile file(full);
            QVERIFY(file.open(QIODevice::ReadOnly));
            writeBytes(source + "/BASE.FBK", file.read(file.size() / 2));
        } else if (kind == "foreign") {
            QCOMPARE(OldBases::runIsql(QString("CREATE DATABASE '%1' USER 'SYSDBA';\n"
                                               "CREATE TABLE INVOICES (ID INTEGER);\nCOMMIT;\n")
                                           .arg(source + "/BASE.FDB")),
                     QString());
        } else if (kind == "garbage") {
            writeBytes(source + "/Base.fdb", QByteArray(64 * 1024, 'x'));
        } else if (kind == "ods11") {
            QFile seed(copySeedBase(*m_env));
            QVERIFY(seed.open(QIODevice::ReadOnly));
            QByteArray bytes = seed.readAll();
            bytes[18] = 11; // the header of a Firebird 2 base
            writeBytes(source + "/BASE.FDB", bytes);
        }
        const auto before = snapshot(m_env->dataFolder());

        const InstallationImport::Prepared prepared = InstallationImport::prepare(source, m_base);
        QVERIFY(!prepared.ok);
        QVERIFY2(prepared.error.contains(said), qPrintable(prepared.error));
        QVERIFY(!InstallationImport::apply(prepared, m_base, &error));
        QCOMPARE(snapshot(m_env->dataFolder()), before);
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    QString m_base;
};

QTEST_GUILESS_MAIN(TestInstallationImport)
#include "tst_installation_import.moc"
