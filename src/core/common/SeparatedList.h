#pragma once

#include <QString>
#include <QStringList>

// Lists kept in one text: every item followed by "&", the whole list closed by "#"
// ("2&0&1&#"). Stored answers, frequency lists, symptom and point lists use it.
class SeparatedList
{
public:
    // Each item + "&", then "#". An empty list gives "#".
    static QString join(const QStringList &items);
    // The items up to the first "#" (or to the end of a text without one), split at "&".
    // Empty items between separators keep their place; the empty piece after the last "&"
    // is no item. An empty text has no items.
    static QStringList split(const QString &text);
    // Whether `item` can be stored without breaking the list (it holds no "&" or "#").
    static bool canHold(const QString &item);
};
