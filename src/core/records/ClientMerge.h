#pragma once

#include "ClientRows.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// Merges a card changed here with its copy in the shared base, field by field.
//
// With the digests of the card as both sides last agreed on it (`base`), a field changed on
// one side only takes that side's value; a field changed on both sides to different values
// is a conflict. Without a common copy (a card of an installation that joins a shared base in
// use), a field that is blank on one side takes the other side's value and any other
// difference is a conflict.
//
// A conflict goes to the later edit: the card's save time here against the time the shared
// row was last written. A save time that is not known counts as earlier; on a tie the shared
// base keeps its value, since it got there first. The value that lost is handed back so that
// it can be kept where the practitioner sees it.
namespace ClientMerge {

struct Conflict
{
    QString column;
    QVariant lost;
    bool localLost = false; // true: the value made here lost; false: the shared one
};

struct Result
{
    QList<QVariant> values;   // the merged card, the key first
    QStringList sharedChange; // columns the shared base must take
    QStringList localChange;  // columns the local card must take
    QList<Conflict> conflicts;
};

Result merge(const QStringList &columns, const ClientRows::Row &local,
             const ClientRows::Row &shared, const QHash<QString, QString> *base,
             const QDateTime &localTime, const QDateTime &sharedTime);

// Whether two rows describe the same person: name, surname and date of birth agree (letter
// case and surrounding blanks aside).
bool samePerson(const QStringList &columns, const ClientRows::Row &a, const ClientRows::Row &b);

} // namespace ClientMerge
