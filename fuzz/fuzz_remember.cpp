// Remember.ini in the data folder: the reminder timers as the schedule reads them at start.
// A damaged file is set aside and the timers start afresh; what is saved reads back the same.

#include "FuzzScratch.h"

#include "schedule/ReminderTimerSet.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    FuzzScratch::clearFolder(FuzzScratch::dataFolder());
    const QString path = ReminderTimerSet::filePath();
    FuzzScratch::writeFile(path, data, size);

    ReminderTimerSet timers;
    const QString keptAs = timers.load(path);
    if (!keptAs.isEmpty()) {
        FUZZ_CHECK(QFileInfo::exists(keptAs));
        FUZZ_CHECK(!QFileInfo::exists(path));
    }

    for (int i = 0; i < ReminderTimerSet::Count; ++i) {
        const ReminderTimer &row = timers.row(i);
        FUZZ_CHECK(!row.active || (row.begin.isValid() && row.end.isValid()));
        FUZZ_CHECK(ReminderTimerSet::validHours(row.hours));
        FUZZ_CHECK(ReminderTimerSet::validMinutes(row.minutes));
    }

    QString error;
    FUZZ_CHECK(timers.save(path, &error));
    ReminderTimerSet again;
    FUZZ_CHECK(again.load(path).isEmpty());
    for (int i = 0; i < ReminderTimerSet::Count; ++i) {
        const ReminderTimer &before = timers.row(i);
        const ReminderTimer &after = again.row(i);
        FUZZ_CHECK(after.active == before.active);
        if (!before.active)
            continue;
        FUZZ_CHECK(after.hours == before.hours && after.minutes == before.minutes);
        FUZZ_CHECK(ReminderTimerSet::dateTimeText(after.end) == ReminderTimerSet::dateTimeText(before.end));
    }

    // The timers that are due at start fire once.
    const QDateTime now(QDate(2024, 6, 1), QTime(12, 0));
    const QList<int> due = timers.due(now);
    for (const int i : due)
        FUZZ_CHECK(!timers.row(i).active);
    FUZZ_CHECK(timers.due(now).isEmpty());
    return 0;
}
