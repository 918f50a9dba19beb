#pragma once

#include <QString>

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
};
