#include "SeparatedList.h"

namespace {
constexpr QChar kItemEnd = QLatin1Char('&');
constexpr QChar kListEnd = QLatin1Char('#');
} // namespace

QString SeparatedList::join(const QStringList &items)
{
    QString text;
    for (const QString &item : items) {
        text += item;
        text += kItemEnd;
    }
    text += kListEnd;
    return text;
}

QStringList SeparatedList::split(const QString &text)
{
    const qsizetype end = text.indexOf(kListEnd);
    const QString body = end < 0 ? text : text.left(end);
    if (body.isEmpty())
        return {};
    QStringList items = body.split(kItemEnd);
    if (items.last().isEmpty())
        items.removeLast();
    return items;
}

bool SeparatedList::canHold(const QString &item)
{
    return !item.contains(kItemEnd) && !item.contains(kListEnd);
}
