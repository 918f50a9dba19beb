#include "FreqAssignment.h"

#include "common/ErrorOut.h"

#include <cmath>

QString FreqAssignment::toText(const QStringList &frequencies)
{
    QString text;
    for (int i = 0; i < Channels; ++i)
        text += (i < frequencies.size() ? frequencies.at(i).trimmed() : QString()) + QLatin1Char('&');
    return text;
}

std::optional<QStringList> FreqAssignment::fromText(const QString &text)
{
    QStringList items = text.trimmed().split(QLatin1Char('&'));
    // Each item is closed by "&": 24 items leave one empty piece after the last.
    if (items.size() != Channels + 1 || !items.last().trimmed().isEmpty())
        return std::nullopt;
    items.removeLast();
    for (QString &item : items)
        item = item.trimmed();
    return items;
}

std::optional<double> FreqAssignment::parseHz(const QString &text, QString *error)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double hz = t.toDouble(&ok);
    if (t.isEmpty() || !ok || !std::isfinite(hz) || hz < 0 || hz > MaxHz) {
        setError(error, QStringLiteral("\"%1\" is not a frequency from 0 to 10000 Hz.").arg(text.trimmed()));
        return std::nullopt;
    }
    return hz;
}
