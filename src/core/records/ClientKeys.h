#pragma once

#include <QSqlDatabase>
#include <QString>

class DataModule;

// Keys of new client cards: "Q7" followed by the running number kept in Options.ini,
// section [Client], key Id. Each key handed out advances the number in the file at once.
class ClientKeys
{
public:
    static QString prefix() { return QStringLiteral("Q7"); }

    // The next key for the base of `data`, with Options.ini of the data folder.
    static QString next(const DataModule &data, QString *error = nullptr);
    // The same with a given base and settings file.
    //
    // A stored number that is not a plain decimal number (empty, "abc", "-3", too large)
    // counts as 1, so the key always has the form "Q7" + digits. A key that CLIENTS already
    // holds (compared without case), or that tests of a deleted card still carry, is skipped:
    // the number advances until the key is free. Returns an empty string with a message when
    // the base cannot be asked.
    static QString next(const QSqlDatabase &db, const QString &optionsPath,
                        QString *error = nullptr);

    // True when no card and no test uses the key. `ok` tells whether the base could be asked.
    static bool isFree(const QSqlDatabase &db, const QString &key, bool *ok = nullptr,
                       QString *error = nullptr);
};
