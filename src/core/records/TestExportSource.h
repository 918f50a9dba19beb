#pragma once

#include "TestExportColumns.h"
#include "TestRecord.h"

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>

#include <memory>

// The tests to export, read through a connection of its own (the export runs off the window's
// thread) in one snapshot: the count, the clients' personal columns, then the tests in chunks,
// by client and date.
class TestExportSource {
public:
    // `client` empty: the tests of every client; otherwise of that client only (compared
    // without case, as the test list does).
    TestExportSource(const QString &basePath, const QString &client);
    ~TestExportSource();
    TestExportSource(const TestExportSource &) = delete;
    TestExportSource &operator=(const TestExportSource &) = delete;

    bool open(QString *error);
    qint64 count(QString *error);
    // The personal columns by upper-case client key.
    QHash<QString, ExportPerson> people(QString *error);
    // The next tests, at most `limit`; an empty list at the end. False on a read failure.
    bool next(QList<TestRecord> &chunk, int limit, QString *error);

private:
    QString filter() const;
    bool startTests(QString *error);

    QString m_path;
    QString m_client;
    QString m_connection;
    std::unique_ptr<QSqlQuery> m_tests;
    bool m_none = false; // a client key too long for the column has no tests
};
