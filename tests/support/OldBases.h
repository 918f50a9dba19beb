#pragma once

#include "records/Channels.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// Bases as older installations left them, made with isql-fb (which the build needs anyway to
// make the seed bases).
namespace OldBases {

// Runs an isql-fb script with the embedded engine; returns its error output, empty on success.
inline QString runIsql(const QString &script, const QString &database = QString()) {
    QProcess process;
    QStringList args = QStringLiteral("-q -b -ch UTF8 -user SYSDBA").split(QLatin1Char(' '));
    if (!database.isEmpty())
        args.append(database);
    process.start("isql-fb", args);
    if (!process.waitForStarted())
        return "isql-fb did not start";
    process.write(script.toUtf8());
    process.closeWriteChannel();
    process.waitForFinished(60000);
    const QString err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return err.isEmpty() ? "isql-fb failed" : err;
    return QString();
}

// A base of the older layout: client codes in CHAR(4), VARCHAR(4) and 3-character columns, an
// unnamed primary key that a named foreign key points at, the index on UPPER(CODE_CLIENT)
// already there, and clients up to Q799.
inline QString narrowBaseScript(const QString &path) {
    QString script = QStringLiteral(
        "CREATE DATABASE '%1' USER 'SYSDBA' DEFAULT CHARACTER SET WIN1251;\n"
        "CREATE TABLE CLIENTS (CODE_CLIENT CHAR(4) NOT NULL PRIMARY KEY, NAME VARCHAR(30));\n"
        "CREATE TABLE TESTS (CODE_TEST INTEGER NOT NULL PRIMARY KEY, CODE_CLIENT VARCHAR(4) NOT "
        "NULL CONSTRAINT FK_TESTS_1 REFERENCES CLIENTS ON DELETE CASCADE, TEST_DATE TIMESTAMP");
    QString values;
    for (int i = 0; i < Channels::Count; ++i) {
        script += QStringLiteral(", %1 INTEGER").arg(Channels::name(i));
        values += QStringLiteral(", %1").arg(60 + i);
    }
    script += QStringLiteral(");\nCREATE INDEX IX_TESTS_CLIENT_CI ON TESTS COMPUTED BY "
                             "(UPPER(CODE_CLIENT));\n"
                             "CREATE TABLE REMINDER (ID VARCHAR(3) NOT NULL);\n"
                             "CREATE INDEX FK_REMINDER_1 ON REMINDER (ID);\n"
                             "CREATE TABLE INQUIRER (ID CHAR(3));\n");
    for (const char *table : {"SYMPTOMS", "PUNCT_TREATMENT", "COLOR_TREATMENT", "FREQ_TREATMENT"})
        script += QStringLiteral("CREATE TABLE %1 (CODE_CLIENT VARCHAR(4));\n").arg(table);
    for (const char *table : {"DESEASE", "FREQ_DES", "RECOMENDATION", "STENCILS"})
        script += QStringLiteral("CREATE TABLE %1 (NAME VARCHAR(30));\n").arg(table);
    script += QStringLiteral("CREATE SEQUENCE GEN_TEST_ID;\n"
                             "SET TERM ^ ;\n"
                             "CREATE PROCEDURE TEST_PROC RETURNS (ID INTEGER) AS\n"
                             "BEGIN ID = GEN_ID(GEN_TEST_ID, 1); END^\n"
                             "SET TERM ; ^\n"
                             "COMMIT;\n"
                             "INSERT INTO CLIENTS VALUES ('Q71', 'Анна');\n"
                             "INSERT INTO CLIENTS VALUES ('Q799', 'Boris');\n"
                             "INSERT INTO TESTS VALUES (1, 'Q71', '2019-03-04 10:20'%2);\n"
                             "INSERT INTO TESTS VALUES (2, 'Q799', '2019-03-05 11:00'%2);\n"
                             "INSERT INTO REMINDER VALUES ('Q71');\n"
                             "INSERT INTO INQUIRER VALUES ('Q71');\n"
                             "COMMIT;\n");
    return script.arg(path, values);
}

} // namespace OldBases
