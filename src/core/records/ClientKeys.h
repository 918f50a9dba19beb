#pragma once

#include <QSqlDatabase>
#include <QString>

#include "SchemaUpgrade.h"

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

    // Keys of cards made while no final key is at hand: "Q7~" + a number of this base. They
    // never leave this base: the first synchronisation renames such a card to a final key.
    static QString provisionalPrefix() { return QStringLiteral("Q7~"); }
    static bool isProvisional(const QString &key);

    // A key for a new card of an installation that uses the shared base: a key reserved from
    // the shared base's generator when one is at hand, else a provisional key. Call inside the
    // transaction that stores the card.
    static QString takeForNewCard(const QSqlDatabase &db, QString *error = nullptr);

    // Renames a card's key in every table of the base that carries it, in one transaction,
    // and remembers the rename so that a row still written under the old key lands under the
    // new one (for a final key only until acknowledgeRenames()).
    static bool rename(const QSqlDatabase &db, const QString &oldKey, const QString &newKey,
                       QString *error = nullptr);
    // The highest number of the keys "Q7" + digits that these columns hold; 0 when none; -1
    // when the base cannot be asked.
    static qint64 highestUsedNumber(const QSqlDatabase &db,
                                    const QList<SchemaUpgrade::Column> &columns,
                                    QString *error = nullptr);
    // The key a card has now: `key`, or the key it was renamed to.
    static QString currentKey(const QSqlDatabase &db, const QString &key);
    // The program has moved every window to the new keys: a final key renamed away may now
    // name the shared base's card of that key.
    static bool acknowledgeRenames(const QSqlDatabase &db, QString *error = nullptr);

    // True when no card and no test uses the key. `ok` tells whether the base could be asked.
    static bool isFree(const QSqlDatabase &db, const QString &key, bool *ok = nullptr,
                       QString *error = nullptr);
};
