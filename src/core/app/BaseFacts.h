#pragma once

#include <QMap>
#include <QString>

#include <functional>

class QSqlDatabase;

// Figures about an open client base that the practitioner is shown and that a backup is
// checked against.
class BaseFacts
{
public:
    struct Counts
    {
        int clients = 0;
        int tests = 0;
        bool operator==(const Counts &) const = default;
    };

    // How many client cards and tests the base holds; false with a message when it cannot
    // be read.
    static bool count(const QSqlDatabase &db, Counts *counts, QString *error = nullptr);
    // The Firebird engine's version as the engine itself reports it; empty when it does not.
    static QString engineVersion(const QSqlDatabase &db);

    // Opens the client base file on a connection of its own (the embedded engine), counts
    // and closes it again. Used for a base that the program does not hold open.
    static bool countFile(const QString &path, Counts *counts, QString *error = nullptr);

    // The rows of each of the program's tables (DataModule::tableNames()), by table name.
    using TableRows = QMap<QString, int>;
    static bool countTables(const QSqlDatabase &db, TableRows *rows, QString *error = nullptr);

    // Opens the base file at `path` on a connection of its own, hands it to `read` and closes
    // it again; false when it does not open (with the message in `error`) or `read` fails.
    static bool onFile(const QString &path, const std::function<bool(const QSqlDatabase &)> &read,
                       QString *error = nullptr);
};
