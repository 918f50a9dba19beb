#include "ReminderTimerSet.h"

#include "app/AppPaths.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>


namespace {
const QString kFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");

bool inRange(const QString &text, int max)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 2)
        return false;
    for (const QChar c : t) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return t.toInt() <= max;
}

// A value is one line of the file: line breaks of a message become blanks.
QString oneLine(const QString &text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line;
}

QString section(int index)
{
    return QString::number(index);
}
} // namespace

bool ReminderTimerSet::validHours(const QString &text)
{
    return inRange(text, 23);
}

bool ReminderTimerSet::validMinutes(const QString &text)
{
    return inRange(text, 59);
}

QDateTime ReminderTimerSet::endOf(const QDateTime &begin, int hours, int minutes)
{
    const QTime beginTime = begin.time();
    const QTime endTime = beginTime.addSecs(hours * 3600 + minutes * 60);
    QDateTime end(begin.date(), endTime);
    // Past midnight the count-down ends on the next day, at the time it shows.
    if (endTime < beginTime)
        end = end.addDays(1);
    return end;
}

bool ReminderTimerSet::start(int index, const QDateTime &now)
{
    ReminderTimer &r = row(index);
    if (!validHours(r.hours) || !validMinutes(r.minutes))
        return false;
    r.begin = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
    r.end = endOf(r.begin, r.hours.trimmed().toInt(), r.minutes.trimmed().toInt());
    r.active = true;
    return true;
}

void ReminderTimerSet::stop(int index)
{
    row(index).active = false;
}

QList<int> ReminderTimerSet::due(const QDateTime &now)
{
    QList<int> fired;
    for (int i = 0; i < Count; ++i) {
        ReminderTimer &r = row(i);
        // A count-down that ended while the program was closed fires at the next start.
        if (r.active && r.end.isValid() && r.end < now) {
            r.active = false;
            fired.append(i);
        }
    }
    return fired;
}

QString ReminderTimerSet::filePath()
{
    return AppPaths::dataFile(QStringLiteral("Remember.ini"));
}

QString ReminderTimerSet::dateTimeText(const QDateTime &moment)
{
    return moment.toString(kFormat);
}

QDateTime ReminderTimerSet::parseDateTime(const QString &text)
{
    const QString t = text.trimmed();
    QDateTime moment = QDateTime::fromString(t, kFormat);
    if (!moment.isValid())
        moment = QDateTime::fromString(t, QStringLiteral("dd.MM.yyyy H:mm:ss"));
    if (!moment.isValid())
        moment = QDateTime::fromString(t, Qt::ISODate);
    return moment;
}

namespace {

bool readableAsWindows1251(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    if (!info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0') || bytes.contains(char(0x98))) // 0x98 is no character in 1251
        return false;
    return !bytes.startsWith("\xEF\xBB\xBF");
}

} // namespace

QString ReminderTimerSet::load(const QString &path)
{
    QString keptAs;
    if (!readableAsWindows1251(path)) {
        const QString aside = path + QStringLiteral(".damaged-")
                              + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (QDir().rename(path, aside))
            keptAs = aside;
    }
    const IniFile ini(path);
    for (int i = 0; i < Count; ++i) {
        ReminderTimer r;
        const QString s = section(i);
        if (ini.readInteger(s, QStringLiteral("Var"), 0) == 1) {
            r.begin = parseDateTime(ini.readString(s, QStringLiteral("Btime")));
            r.end = parseDateTime(ini.readString(s, QStringLiteral("Etime")));
            r.active = r.begin.isValid() && r.end.isValid();
        }
        if (r.active) {
            r.name = ini.readString(s, QStringLiteral("Variant"));
            r.message = ini.readString(s, QStringLiteral("Message"));
            r.sound = ini.readString(s, QStringLiteral("Sound"));
            const QString hours = ini.readString(s, QStringLiteral("Hour"));
            const QString minutes = ini.readString(s, QStringLiteral("Minute"));
            r.hours = validHours(hours) ? hours.trimmed() : QStringLiteral("00");
            r.minutes = validMinutes(minutes) ? minutes.trimmed() : QStringLiteral("00");
        }
        m_rows.at(size_t(i)) = r;
    }
    return keptAs;
}

bool ReminderTimerSet::save(const QString &path, QString *error) const
{
    IniFile ini(path);
    for (int i = 0; i < Count; ++i) {
        const ReminderTimer &r = row(i);
        const QString s = section(i);
        const bool on = r.active;
        ini.writeString(s, QStringLiteral("Variant"), on ? oneLine(r.name) : QString());
        ini.writeString(s, QStringLiteral("Btime"), on ? dateTimeText(r.begin) : QString());
        ini.writeString(s, QStringLiteral("Etime"), on ? dateTimeText(r.end) : QString());
        ini.writeString(s, QStringLiteral("Var"), on ? QStringLiteral("1") : QStringLiteral("0"));
        ini.writeString(s, QStringLiteral("Message"), on ? oneLine(r.message) : QString());
        ini.writeString(s, QStringLiteral("Sound"), on ? oneLine(r.sound) : QString());
        ini.writeString(s, QStringLiteral("Hour"), on ? r.hours : QString());
        ini.writeString(s, QStringLiteral("Minute"), on ? r.minutes : QString());
    }
    return ini.save(error);
}
