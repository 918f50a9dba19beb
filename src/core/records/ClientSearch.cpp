#include "ClientSearch.h"

#include "common/Cp1251.h"

#include <QVariant>

namespace {

// Wider than every searchable column, so a text that fits no column still casts cleanly.
constexpr int SearchTextWidth = 64;

QString prefix(const char *column) {
    return QStringLiteral("UPPER(%1) STARTING WITH UPPER(CAST(? AS VARCHAR(%2)))")
        .arg(QLatin1String(column))
        .arg(SearchTextWidth);
}

} // namespace

QString ClientSearch::condition() const {
    switch (criterion) {
    case Criterion::Id:
        return prefix("CODE_CLIENT");
    case Criterion::Name:
        return prefix("NAME");
    case Criterion::Surname:
        return prefix("SURNAME");
    case Criterion::Birth:
        return QStringLiteral("BIRTHDAY = ?");
    case Criterion::City:
        return prefix("CITY");
    case Criterion::Address:
        return prefix("ADRESS") +
               QStringLiteral(" OR UPPER(ADRESS2) CONTAINING UPPER(CAST(? AS VARCHAR(%1)))")
                   .arg(SearchTextWidth);
    case Criterion::Phone:
        return prefix("TEL2") + QStringLiteral(" OR ") + prefix("TEL1") + QStringLiteral(" OR ") +
               prefix("TEL3");
    case Criterion::Mail:
        return prefix("E_MAIL");
    }
    return QString();
}

QList<QVariant> ClientSearch::values() const {
    if (criterion == Criterion::Birth)
        return {QVariant(birthday)};
    const QVariant upper(text.toUpper());
    const int count = criterion == Criterion::Address ? 2 : criterion == Criterion::Phone ? 3 : 1;
    return QList<QVariant>(count, upper);
}

bool ClientSearch::canMatch() const {
    if (criterion == Criterion::Birth)
        return birthday.isValid();
    return text.size() <= SearchTextWidth && Cp1251::canEncode(text);
}

int ClientSearch::quickFind(const QList<ClientListEntry> &rows, const QString &text,
                            bool alsoSurname, int from) {
    if (text.isEmpty())
        return -1;
    for (int row = qMax(0, from); row < rows.size(); ++row) {
        const ClientListEntry &entry = rows.at(row);
        if (entry.name.contains(text, Qt::CaseInsensitive) ||
            (alsoSurname && entry.surname.contains(text, Qt::CaseInsensitive)))
            return row;
    }
    return -1;
}
