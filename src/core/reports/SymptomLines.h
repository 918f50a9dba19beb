#pragma once

#include "ryodoraku/ChannelCard.h"

#include <QList>
#include <QString>
#include <QStringList>

class ChannelCatalogue;
class ChannelMarks;
struct TestRecord;

// The symptoms ticked on one channel card, as the report prints them.
struct SymptomGroup
{
    QString meridian;
    QString point;
    QStringList entries;
    bool operator==(const SymptomGroup &) const = default;
};

// The channels of a test in the order the cards show them (largest deviation first), each
// with the symptoms its stored marks tick; channels without a ticked symptom are left out.
// Empty, with a message in `error`, when the cards cannot be built (a bad percentage or
// catalogue).
QList<SymptomGroup> symptomGroups(const ChannelCatalogue &catalogue, const TestRecord &test,
                                  const QString &percentText, const ChannelMarks &marks,
                                  const TextLookup &texts, QString *error = nullptr);
