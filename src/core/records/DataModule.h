#pragma once

#include "TestRecord.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

class QSqlQuery;

// The one connection to the client base BASE.fdb for the whole run of the program.
//
// A plain path opens the file with the embedded engine; "host/port:path" or "host:path"
// reaches a Firebird server. Never open one file both ways at once.
//
// Every change is committed when it is made: a statement run on database() outside an
// explicit transaction commits at once, and a caller that opens a transaction with
// database().transaction() must commit it before returning to the event loop. A SELECT keeps
// its snapshot until its QSqlQuery is destroyed, so keep queries local to one operation.
//
// Text goes to the base only as bound parameters. The driver speaks UTF-8 to the engine,
// which converts to and from the WIN1251 columns; text blobs (memos) come back as UTF-8
// bytes, see memoText(). Binary blobs (CLIENTS.FOTO, DESEASE.PLANT_PIC) take a QByteArray.
class DataModule : public QObject
{
    Q_OBJECT
public:
    explicit DataModule(QObject *parent = nullptr);
    ~DataModule() override;

    // The tables checked at opening, in this order.
    static const QStringList &tableNames();
    // The test-date query: the dates of one client's tests, newest first.
    static QString testDateQueryText();
    // True when the path names a server ("host:path", "host/port:path"), false for a file.
    static bool isServerPath(const QString &path);
    // A connection named `name` to the base at `path` with the program's account, not opened
    // yet (each thread that reads on its own makes one).
    static QSqlDatabase addConnection(const QString &name, const QString &path);
    // The text of a memo column as QSqlQuery hands it over (UTF-8 bytes, or a string).
    static QString memoText(const QVariant &value);

    // Connects, widens narrow client-code columns, checks every table, the procedure TEST_PROC
    // and the test-date query. On any failure returns false with a message in `error` and
    // leaves the module closed.
    bool open(const QString &path, QString *error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    QSqlDatabase database() const;
    QString connectionName() const { return m_connectionName; }

    // A new test key from TEST_PROC; 0 on failure.
    int newTestKey(QString *error = nullptr);
    // Stores a test and commits it at once. A test without key (codeTest 0) takes a new key,
    // written back into `test`. A test without client or date is refused and nothing stored.
    bool saveTest(TestRecord &test, QString *error = nullptr);
    // The tests of a client, newest first; the client code is compared without case.
    QList<TestRecord> testsOfClient(const QString &codeClient, QString *error = nullptr) const;
    std::optional<TestRecord> test(int codeTest, QString *error = nullptr) const;
    // The dates of a client's tests, newest first (the test-date query).
    QList<QDateTime> testDates(const QString &codeClient, QString *error = nullptr) const;

Q_SIGNALS:
    void opened();
    void aboutToClose();
    // A client's tests changed (a test was stored).
    void testsChanged(const QString &codeClient);

private:
    QString connectAndCheck(const QString &path);
    // Whether the base has the layout this program needs.
    static bool isCurrent(const QSqlDatabase &db);
    // Brings the open base up to date where it is: a no-op for a current one.
    static QString upgrade(QSqlDatabase &db);
    // Brings a closed base file up to date on a copy that then takes its place.
    QString upgradeCopyOf(const QString &path);
    static QString testColumns();
    static TestRecord readTest(const QSqlQuery &query);

    QString m_connectionName;
    QString m_path;
};
