#pragma once

#include "ClientCard.h"

#include <QDate>
#include <QString>

// The checks a card passes before anything is written. The first failing check wins; its
// language key names the message, and for the storage checks `field` is the language key of
// the field's label (the message text holds "%1" for it).
class ClientValidation {
public:
    struct Problem {
        QString key;   // empty when the card is fine
        QString field; // label key of the field, storage checks only
        int limit = 0; // the field's width, "FieldTooLong" only

        bool ok() const { return key.isEmpty(); }
    };

    // The longest height and weight the card accepts.
    static constexpr int MaxMeasureLength = 9;

    // In this order: name, surname, birth date (set and before today), sex, height (length,
    // then digits only; empty is fine), weight likewise; then every text must fit its column
    // and the base's code page ("FieldTooLong", "FieldNotStorable").
    static Problem check(const ClientCard &card, const QDate &today);

    // The width of a text column of CLIENTS; 0 for memos and unknown columns.
    static int columnWidth(const QString &column);
};
