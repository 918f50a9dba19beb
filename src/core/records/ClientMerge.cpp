#include "ClientMerge.h"

namespace ClientMerge {

Result merge(const QStringList &columns, const ClientRows::Row &local,
             const ClientRows::Row &shared, const QHash<QString, QString> *base,
             const QDateTime &localTime, const QDateTime &sharedTime)
{
    Result result;
    result.values = shared.values;
    const bool localWinsTies = localTime.isValid()
                               && (!sharedTime.isValid() || localTime > sharedTime);
    for (int i = 1; i < columns.size(); ++i) {
        const QString &column = columns.at(i);
        const QVariant &mine = local.values.at(i);
        const QVariant &theirs = shared.values.at(i);
        const QString dm = ClientRows::digest(mine);
        const QString dt = ClientRows::digest(theirs);
        if (dm == dt)
            continue;
        bool takeMine = false;
        bool conflict = false;
        if (base && base->contains(column)) {
            const QString db = base->value(column);
            if (dt == db)
                takeMine = true; // changed here only
            else if (dm != db)
                conflict = true; // changed on both sides
        } else if (ClientRows::isBlank(theirs)) {
            takeMine = true;
        } else if (!ClientRows::isBlank(mine)) {
            conflict = true;
        }
        if (conflict) {
            takeMine = localWinsTies;
            result.conflicts.append({column, takeMine ? theirs : mine, !takeMine});
        }
        if (takeMine) {
            result.values[i] = mine;
            result.sharedChange.append(column);
        } else {
            result.localChange.append(column);
        }
    }
    return result;
}

bool samePerson(const QStringList &columns, const ClientRows::Row &a, const ClientRows::Row &b)
{
    for (const QString &column : {QStringLiteral("NAME"), QStringLiteral("SURNAME"),
                                 QStringLiteral("BIRTHDAY")}) {
        const int i = int(columns.indexOf(column));
        if (i < 0)
            continue;
        const QVariant &x = a.values.at(i);
        const QVariant &y = b.values.at(i);
        if (x.typeId() == QMetaType::QDate || y.typeId() == QMetaType::QDate) {
            if (x.toDate() != y.toDate())
                return false;
        } else if (x.toString().trimmed().compare(y.toString().trimmed(), Qt::CaseInsensitive)
                   != 0) {
            return false;
        }
    }
    return true;
}

} // namespace ClientMerge
