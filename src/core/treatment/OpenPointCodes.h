#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Point codes as the time tables spell them ("Liv 2 ", "Per 6 ", "Ll 4  ") and as the list
// shows them ("Lv 2", "Pc 6", "Li 4"), and the points the tables can name.
class OpenPointCodes
{
public:
    // The listed spelling of a table cell; the cell's padding does not matter.
    static QString listedCode(const QString &tableCode);
    // The two-letter meridian of a listed code: the letters before the first blank, "Lj"
    // counting as "Li" and "Sj" as "Si".
    static QString meridianOf(const QString &listedCode);
    // The meridian's code as the rest of the program writes it ("LV", "PC", "TH").
    static QString channelCodeOf(const QString &meridian);

    // The four confluent pairs, table spelling without padding, in the order they are tested.
    static const QList<std::pair<QString, QString>> &confluentPairs();
    // The transport points of the midday-midnight method, table spelling without padding, in
    // the order they are tested and listed.
    static const QStringList &transportPoints();

    // A table cell names `code` (table spelling) whatever its padding.
    static bool cellIs(const QString &cell, const QString &code);
};
