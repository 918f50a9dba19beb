#pragma once

// What the base and the settings files of a data folder hold now, record by record, read
// through the program's own classes and digested as the crash child digested what it saved.
// Reads only: the timers file is read from a copy, since reading it may set a damaged file
// aside.

#include "CrashContent.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"
#include "reports/PrintCatalogue.h"
#include "ryodoraku/SymptomMarksStore.h"
#include "schedule/AppointmentBook.h"
#include "schedule/ReminderTimerSet.h"
#include "symptoms/InquirerRepository.h"
#include "treatment/PunctTreatmentStore.h"
#include "treatment/TherapyStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <optional>

class CrashReadBack
{
public:
    explicit CrashReadBack(DataModule &data)
        : m_data(data)
    {}

    // The timers as the program would read them at its start; false when it would find the
    // file damaged and set it aside.
    static bool loadTimers(ReminderTimerSet *timers)
    {
        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QStringLiteral("Remember.ini"));
        QFile::copy(ReminderTimerSet::filePath(), copy);
        return timers->load(copy).isEmpty();
    }

    std::optional<QString> read(const QString &kind, const QString &key, QString *error)
    {
        namespace CC = CrashContent;
        const QStringList parts = CC::keyParts(key);
        if (kind == CC::Card)
            return card(key, error);
        if (kind == CC::Test)
            return test(key.toInt(), error);
        if (kind == CC::Inquirer && parts.size() == 3)
            return inquirer(parts, error);
        if (kind == CC::Marks && parts.size() == 2)
            return marks(parts.at(0), parts.at(1).toInt(), error);
        if (kind == CC::Punct && parts.size() == 2)
            return punct(parts.at(0), parts.at(1).toInt(), error);
        if (kind == CC::Color && parts.size() == 2)
            return therapy(TherapyStore::Table::Color, parts, false, error);
        if (kind == CC::Freq && parts.size() == 2)
            return therapy(TherapyStore::Table::Freq, parts, false, error);
        if (kind == CC::ColorComment && parts.size() == 2)
            return therapy(TherapyStore::Table::Color, parts, true, error);
        if (kind == CC::FreqDes)
            return freqDes(key, error);
        if (kind == CC::Recommendation && parts.size() == 2)
            return recommendation(parts.at(0), parts.at(1), error);
        if (kind == CC::Appointment && parts.size() == 2)
            return appointment(parts, error);
        if (kind == CC::Timer)
            return timer(key.toInt(), error);
        if (kind == CC::Settings)
            return CC::digest(SettingsValues::load(IniFile(optionsPath())));
        if (kind == CC::Playlist)
            return CC::digest(MusicPlaylist::load(IniFile(optionsPath())));
        *error = QStringLiteral("unknown record");
        return std::nullopt;
    }

private:
    static QString optionsPath() { return AppPaths::dataFile(QStringLiteral("Options.ini")); }

    // A value read, the record missing, or a failure with its message.
    static std::optional<QString> found(const std::optional<QString> &digest, const QString &error,
                                        QString *out)
    {
        if (!error.isEmpty()) {
            *out = error;
            return std::nullopt;
        }
        return digest.value_or(CrashContent::Absent);
    }

    std::optional<QString> card(const QString &code, QString *error)
    {
        QString problem;
        const std::optional<ClientCard> c = ClientRepository(&m_data).card(code, &problem);
        return found(c ? std::optional(CrashContent::digest(*c)) : std::nullopt, problem, error);
    }

    std::optional<QString> test(int codeTest, QString *error)
    {
        QString problem;
        const std::optional<TestRecord> t = m_data.test(codeTest, &problem);
        return found(t ? std::optional(CrashContent::digest(*t)) : std::nullopt, problem, error);
    }

    std::optional<QString> inquirer(const QStringList &parts, QString *error)
    {
        const QDateTime moment = QDateTime::fromString(parts.at(1), Qt::ISODate);
        QString problem;
        const std::optional<QString> result = InquirerRepository(&m_data).result(
            parts.at(0), InquirerRepository::dateText(moment), parts.at(2).toInt(), &problem);
        return found(result ? std::optional(CrashContent::digestText(*result)) : std::nullopt,
                     problem, error);
    }

    std::optional<QString> marks(const QString &client, int codeTest, QString *error)
    {
        // A test without a row leaves the marks empty, which no save writes.
        ChannelMarks marks = CrashContent::namedMarks();
        if (!SymptomMarksStore::loadMarks(m_data, client, codeTest, marks, error))
            return std::nullopt;
        return marks[0].first.isEmpty() ? CrashContent::Absent : CrashContent::digest(marks);
    }

    std::optional<QString> punct(const QString &client, int codeTest, QString *error)
    {
        std::optional<QString> state;
        if (!PunctTreatmentStore::load(m_data, client, codeTest, &state, error))
            return std::nullopt;
        return state ? CrashContent::digestText(*state) : CrashContent::Absent;
    }

    // The treatment and the comment share a row, made by whichever is saved first; the other
    // is empty then, which no save writes, so empty reads as never saved.
    std::optional<QString> therapy(TherapyStore::Table table, const QStringList &parts,
                                   bool comment, QString *error)
    {
        QString problem;
        const std::optional<TherapyStore::Row> row =
            TherapyStore(&m_data, table).load(parts.at(0), parts.at(1).toInt(), &problem);
        const QString text = row ? (comment ? row->comment : row->treatment) : QString();
        std::optional<QString> digest;
        if (!text.isEmpty())
            digest = CrashContent::digestText(text);
        return found(digest, problem, error);
    }

    // As the settings page shows it: the disease list, then the frequencies of the one chosen.
    std::optional<QString> freqDes(const QString &name, QString *error)
    {
        FreqDesRepository repo(&m_data);
        QString problem;
        const QStringList listed = repo.diseases(&problem);
        if (!problem.isEmpty() || !listed.contains(name))
            return found(std::nullopt, problem, error);
        const QStringList frequencies = repo.frequencies(name, &problem);
        if (!problem.isEmpty())
            problem = QStringLiteral("listed, but its frequencies cannot be read: ") + problem;
        return found(CrashContent::digestText(frequencies.join(QLatin1Char('&'))), problem, error);
    }

    std::optional<QString> recommendation(const QString &name, const QString &language,
                                          QString *error)
    {
        PrintCatalogue catalogue(&m_data);
        catalogue.setLanguage(language);
        QString problem;
        std::optional<QString> digest;
        for (const PrintCatalogue::Recommendation &r : catalogue.recommendations(&problem)) {
            if (r.name == name && r.language == language)
                digest = CrashContent::digestText(r.description);
        }
        return found(digest, problem, error);
    }

    std::optional<QString> appointment(const QStringList &parts, QString *error)
    {
        const AppointmentKey key{QDate::fromString(parts.at(0), Qt::ISODate),
                                 QTime::fromString(parts.at(1), Qt::ISODate)};
        QString problem;
        const std::optional<Appointment> a = AppointmentBook(&m_data).find(key, &problem);
        return found(a ? std::optional(CrashContent::digest(*a)) : std::nullopt, problem, error);
    }

    std::optional<QString> timer(int index, QString *error)
    {
        if (!m_timers) {
            m_timers.emplace();
            if (!loadTimers(&*m_timers)) {
                *error = QStringLiteral("the timers file is damaged");
                m_timers.reset();
                return std::nullopt;
            }
        }
        return CrashContent::digest(m_timers->row(index));
    }

    DataModule &m_data;
    std::optional<ReminderTimerSet> m_timers;
};
