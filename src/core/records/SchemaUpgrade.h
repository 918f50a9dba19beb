#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

// Brings an older client base up to the layout this program needs. Older bases kept client
// codes in 3- or 4-character columns, which leaves room for keys up to "Q799" only; every
// column that holds a client code is widened to VARCHAR(16) with its data kept.
class SchemaUpgrade
{
public:
    static constexpr int ClientCodeWidth = 16;

    struct Column
    {
        QString table;
        QString column;
    };
    // The columns that hold a client code.
    static const QList<Column> &clientCodeColumns();

    // Widens every client-code column of the open base that is narrower than ClientCodeWidth
    // (CHAR or VARCHAR) to VARCHAR(16), keeping its character set, collation, NOT NULL and the
    // primary, unique and foreign keys that use it (Firebird refuses to change a column under
    // a key, so those are dropped and made again in the same transaction). Values of a former
    // CHAR column lose the padding blanks. Tables that do not exist are skipped. Returns false
    // with a message when the base could not be changed; then nothing is changed. `changed`
    // tells whether anything was widened: the connection must then be opened again, since an
    // attachment keeps the old layout of indexes on expressions until it is closed.
    static bool widenClientCodes(const QSqlDatabase &db, QString *error = nullptr,
                                 bool *changed = nullptr);

    // Phone numbers in international form with their spaces and dashes ("+7 916 123-45-67")
    // need more than the 15 characters older bases keep: the three phone columns of CLIENTS are
    // widened to PhoneWidth the same way.
    static constexpr int PhoneWidth = 30;
    static bool widenPhones(const QSqlDatabase &db, QString *error = nullptr, bool *changed = nullptr);

    // The index that lets the tests of a client be found without regard to case
    // (UPPER(CODE_CLIENT)); made when a base lacks it.
    static QString clientLookupIndex() { return QStringLiteral("IX_TESTS_CLIENT_CI"); }
    static bool ensureClientLookupIndex(const QSqlDatabase &db, QString *error = nullptr);

    // Whether the open base already has everything the three upgrades above would make.
    static bool isCurrent(const QSqlDatabase &db);

    // The declared width in characters of a string column; 0 when there is no such column or
    // it is not a string.
    static int columnWidth(const QSqlDatabase &db, const QString &table, const QString &column);

private:
    static bool widenColumns(const QSqlDatabase &db, const QList<Column> &columns, int width,
                             QString *error, bool *changed);
};
