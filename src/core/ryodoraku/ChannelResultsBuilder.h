#pragma once

#include "ChannelFilter.h"
#include "ChannelResult.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

class ChannelCatalogue;
struct TestRecord;

// The evaluated, filtered and sorted channels of one test, one card each in slot order.
// No value (and a message in `error`) when the catalogue names no usable test column for a
// channel that passed the side and group filters; the caller keeps what it showed before.
std::optional<ChannelResults> buildChannelResults(const ChannelCatalogue &catalogue,
                                                  const TestRecord &test, int percent,
                                                  const ChannelFilter &filter,
                                                  QString *error = nullptr);
// The same with the percentage as the settings field's text; a text that is not a whole
// number from 1 to 99 gives no value and a message.
std::optional<ChannelResults> buildChannelResults(const ChannelCatalogue &catalogue,
                                                  const TestRecord &test,
                                                  const QString &percentText,
                                                  const ChannelFilter &filter,
                                                  QString *error = nullptr);

// Orders the cells by deviation, whole records moving: the filled cells come first, in an
// exchange pass (stable: equal deviations keep their channel order), then the empty ones.
void sortChannelResults(ChannelResults &cells, bool descending);

// The first test whose moment, to the second, is `moment` (the date the practitioner chose);
// nullptr when none carries it.
const TestRecord *findTestByDate(const QList<TestRecord> &tests, const QDateTime &moment);
