#pragma once

// What the journal promises, record by record: the value of the last confirmed save, and the
// values of saves that were under way (announced, never confirmed) when a child was killed.
// A record must hold its confirmed value or one of those in flight; once the harness has read
// which, that is what it must hold from then on, until the next save of the record.

#include "CrashJournal.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>

class CrashLedger
{
public:
    // The digest a record has now (CrashContent::Absent when there is none), or nothing with a
    // message in `error` when it could not be read.
    using Reader = std::function<std::optional<QString>(const QString &kind, const QString &key,
                                                        QString *error)>;

    struct Reading
    {
        QString kind;
        QString key;
        QString digest;
    };

    struct Outcome
    {
        QStringList losses;     // records holding neither the confirmed value nor one in flight
        QStringList unreadable; // records that could not be read
        QList<Reading> settled; // what records with an open question were found to hold
    };

    void add(const JournalEntry &entry)
    {
        Record &record = m_records[entry.kind + QLatin1Char('\t') + entry.key];
        record.kind = entry.kind;
        record.key = entry.key;
        switch (entry.type) {
        case JournalEntry::Type::Intent:
        case JournalEntry::Type::Failed:
            // A failed save counts as under way: the promise is for successes only.
            record.inFlight.insert(entry.digest);
            break;
        case JournalEntry::Type::Confirmed:
        case JournalEntry::Type::Observed:
            record.confirmed = entry.digest;
            record.inFlight.clear();
            break;
        }
    }

    // Reads every record the journal says something about and compares.
    Outcome verify(const Reader &read) const
    {
        Outcome outcome;
        for (const Record &record : m_records) {
            QString error;
            const std::optional<QString> now = read(record.kind, record.key, &error);
            if (!now) {
                outcome.unreadable.append(record.kind + QLatin1Char(' ') + record.key
                                          + QStringLiteral(": ") + error);
                continue;
            }
            const bool lost =
                record.confirmed && *now != *record.confirmed && !record.inFlight.contains(*now);
            if (lost) {
                outcome.losses.append(QStringLiteral("%1 %2: saved %3, found %4")
                                          .arg(record.kind, record.key, *record.confirmed, *now));
            }
            if (lost || !record.inFlight.isEmpty())
                outcome.settled.append({record.kind, record.key, *now});
        }
        return outcome;
    }

    int records() const { return int(m_records.size()); }

private:
    struct Record
    {
        QString kind;
        QString key;
        std::optional<QString> confirmed;
        QSet<QString> inFlight;
    };
    QMap<QString, Record> m_records;
};
