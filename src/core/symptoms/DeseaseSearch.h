#pragma once

#include <QString>
#include <QStringList>

// The search of the disease list: the first name that contains the text, letter case aside.
class DeseaseSearch
{
public:
    // -1 for an empty (or blank) text and when nothing matches.
    static int firstMatch(const QStringList &names, const QString &text);
};
