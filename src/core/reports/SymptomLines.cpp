#include "SymptomLines.h"

#include "ryodoraku/ChannelMarks.h"
#include "ryodoraku/ChannelResultsBuilder.h"

QList<SymptomGroup> symptomGroups(const ChannelCatalogue &catalogue, const TestRecord &test,
                                  const QString &percentText, const ChannelMarks &marks,
                                  const TextLookup &texts, QString *error)
{
    QList<SymptomGroup> groups;
    const std::optional<ChannelResults> results =
        buildChannelResults(catalogue, test, percentText, ChannelFilter(), error);
    if (!results)
        return groups;

    QList<ChannelCard> cards;
    QList<CardTicks> ticks;
    for (const ChannelResult &slot : *results) {
        if (!slot.filled())
            continue;
        const ChannelCard card = cardFor(slot, catalogue, texts);
        CardTicks t;
        t.channel = card.channel;
        t.first = QList<bool>(card.firstItems.size(), false);
        t.second = QList<bool>(card.secondItems.size(), false);
        cards.append(card);
        ticks.append(t);
    }
    // The same rule that puts the stored ticks on the cards on screen.
    applyMarks(marks, ticks);

    for (qsizetype i = 0; i < cards.size(); ++i) {
        SymptomGroup group{cards.at(i).meridianName, cards.at(i).pointName, {}};
        for (qsizetype k = 0; k < ticks.at(i).first.size(); ++k) {
            if (ticks.at(i).first.at(k))
                group.entries.append(cards.at(i).firstItems.at(k));
        }
        for (qsizetype k = 0; k < ticks.at(i).second.size(); ++k) {
            if (ticks.at(i).second.at(k))
                group.entries.append(cards.at(i).secondItems.at(k));
        }
        if (!group.entries.isEmpty())
            groups.append(group);
    }
    return groups;
}
