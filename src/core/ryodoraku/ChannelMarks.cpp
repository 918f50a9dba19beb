#include "ChannelMarks.h"

#include "ChannelCatalogue.h"

namespace {

constexpr QChar kEnd = QLatin1Char('&');
constexpr QChar kNone = QLatin1Char('%');

QString markString(const QList<bool> &ticks)
{
    QString text;
    text.reserve(ticks.size() + 1);
    for (const bool tick : ticks)
        text += tick ? QLatin1Char('1') : QLatin1Char('0');
    return text + kEnd;
}

QString interleaved(const std::array<QList<bool>, 3> &lists)
{
    QString text;
    qsizetype rows = 0;
    for (const QList<bool> &list : lists)
        rows = qMax(rows, list.size());
    for (qsizetype row = 0; row < rows; ++row) {
        for (const QList<bool> &list : lists) {
            if (row < list.size())
                text += list.at(row) ? QLatin1Char('1') : QLatin1Char('0');
        }
    }
    return text + kEnd;
}

void applyString(const QString &marks, QList<bool> &ticks)
{
    for (qsizetype k = 0; k < marks.size() && marks.at(k) != kEnd; ++k) {
        if (k >= ticks.size())
            break;
        ticks[k] = marks.at(k) == QLatin1Char('1');
    }
}

} // namespace

QString ChannelMarks::dataText() const
{
    QString text;
    for (const ChannelMark &mark : m_marks) {
        // A name holding the separator would shift every channel after it when read back.
        QString name = mark.name;
        name.replace(kEnd, QLatin1Char('+'));
        text += name + kEnd;
        for (const QString *s : {&mark.first, &mark.second, &mark.other})
            text += s->isEmpty() ? QString(kNone) : *s;
    }
    return text;
}

void ChannelMarks::parseData(const QString &data)
{
    qsizetype pos = 0;
    const qsizetype size = data.size();
    for (ChannelMark &mark : m_marks) {
        const qsizetype nameEnd = data.indexOf(kEnd, pos);
        if (nameEnd < 0)
            return;
        pos = nameEnd + 1;
        QString strings[3];
        for (QString &s : strings) {
            if (pos >= size)
                return; // cut short: this channel and the rest keep what they had
            if (data.at(pos) == kNone) {
                ++pos;
                continue;
            }
            const qsizetype end = data.indexOf(kEnd, pos);
            if (end < 0)
                return;
            s = data.mid(pos, end - pos) + kEnd;
            pos = end + 1;
        }
        mark.first = strings[0];
        mark.second = strings[1];
        mark.other = strings[2];
    }
}

void loadCatalogueNames(ChannelMarks &marks, const ChannelCatalogue &catalogue)
{
    for (int c = 0; c < Channels::Count; ++c)
        marks[c] = ChannelMark{catalogue.entry(c).name, QString(), QString(), QString()};
}

void resetMarks(ChannelMarks &marks)
{
    const QString none = QStringLiteral("0&");
    for (int c = 0; c < Channels::Count; ++c) {
        marks[c].first = none;
        marks[c].second = none;
        marks[c].other = none;
    }
}

void captureMarks(ChannelMarks &marks, const QList<CardTicks> &shown)
{
    for (const CardTicks &card : shown) {
        if (card.channel < 0 || card.channel >= Channels::Count)
            continue;
        ChannelMark &mark = marks[card.channel];
        mark.first = markString(card.first);
        mark.second = markString(card.second);
        mark.other = interleaved(card.extra);
    }
}

void applyMarks(const ChannelMarks &marks, QList<CardTicks> &shown)
{
    bool known = false;
    for (int c = 0; c < Channels::Count && !known; ++c)
        known = !marks[c].first.isEmpty();
    if (!known)
        return;
    for (CardTicks &card : shown) {
        if (card.channel < 0 || card.channel >= Channels::Count)
            continue;
        applyString(marks[card.channel].first, card.first);
        applyString(marks[card.channel].second, card.second);
    }
}
