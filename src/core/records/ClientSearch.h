#pragma once

#include "ClientListEntry.h"

#include <QDate>
#include <QList>
#include <QString>

// The searches of the client list. Text is matched without regard to letter case from the
// start of a column (the second address line anywhere); the text reaches the base only as a
// bound parameter and is compared with STARTING WITH / CONTAINING, which know no wildcards, so
// "%", "_" and quotes are plain characters.
class ClientSearch {
public:
    enum class Criterion { Id, Name, Surname, Birth, City, Address, Phone, Mail };

    Criterion criterion = Criterion::Name;
    QString text;   // every criterion but Birth
    QDate birthday; // Birth

    // The WHERE condition with "?" for each bound value, and the values in order.
    QString condition() const;
    QList<QVariant> values() const;
    // False when nothing can match (text the base cannot hold, or longer than any column):
    // then the base need not be asked.
    bool canMatch() const;

    // The first row from `from` on whose name contains `text`, letter case aside; with
    // `alsoSurname` the surname may hold it instead. -1 when none does or the text is empty.
    static int quickFind(const QList<ClientListEntry> &rows, const QString &text, bool alsoSurname,
                         int from = 0);
};
