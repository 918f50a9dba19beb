#pragma once

#include <QString>

// One line of the client list: what the list shows, without the rest of the card.
struct ClientListEntry {
    QString code;
    QString name;
    QString surname;
};
