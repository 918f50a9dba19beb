#pragma once

#include "ReminderTimer.h"

#include <QList>
#include <QString>

#include <array>

// The fifteen count-down reminders of the reminder timers window and their file Remember.ini
// in the data folder (section "0".."14" per row). A running row fires once, at the first tick
// after its end, and stops.
class ReminderTimerSet
{
public:
    static constexpr int Count = 15;

    ReminderTimer &row(int index) { return m_rows.at(size_t(index)); }
    const ReminderTimer &row(int index) const { return m_rows.at(size_t(index)); }

    // The duration as typed: hours 0..23, minutes 0..59 (blanks around the digits allowed).
    static bool validHours(const QString &text);
    static bool validMinutes(const QString &text);
    // The end of a count-down begun at `begin`: on the next day when it passes midnight.
    static QDateTime endOf(const QDateTime &begin, int hours, int minutes);

    // Starts row `index` at `now` with its typed duration; false (and nothing changes) when
    // the duration is not valid.
    bool start(int index, const QDateTime &now);
    void stop(int index);
    // The running rows whose end has passed at `now`; they are stopped.
    QList<int> due(const QDateTime &now);

    // The file in the data folder (found whatever the case of its name).
    static QString filePath();
    // Reads the rows; a missing file or section leaves a row idle. A row saved as running
    // without a readable begin and end stays idle.
    // A file that is not Windows-1251 text (a folder in its place, NUL bytes, a byte the code
    // page lacks, text another program wrote in UTF-8 with its byte-order mark) is set aside
    // under a new name, so the timers start afresh and their next save does not fail for ever;
    // the name it was kept under is returned (empty when the file was sound or missing). UTF-8
    // without the mark cannot be told from Windows-1251 for sure (a file this program saved
    // may happen to be valid UTF-8), so it is read as Windows-1251 and its timers are kept.
    QString load(const QString &path);
    bool save(const QString &path, QString *error = nullptr) const;

    // How begin and end are written in the file.
    static QString dateTimeText(const QDateTime &moment);
    static QDateTime parseDateTime(const QString &text);

private:
    std::array<ReminderTimer, Count> m_rows;
};
