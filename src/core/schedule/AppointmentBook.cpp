#include "AppointmentBook.h"

#include "common/ErrorOut.h"
#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
// "DAY" is a reserved word of the engine: it is always spelt quoted.
const char kColumns[] =
    "R.ID, R.\"DAY\", R.BEGIN_TIME, R.END_TIME, R.REMEMBER_DAY, R.REMEMBER_TIME, "
    "R.REMEMBER_COUNT, R.SOUND, R.MESSAGE, R.COMMENT, R.MADE, R.TEXT, R.MELODY, "
    "C.NAME, C.SURNAME";

QVariant nullable(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QTime wholeSeconds(const QTime &time)
{
    return time.isValid() ? QTime(time.hour(), time.minute(), time.second()) : time;
}

Appointment readRow(const QSqlQuery &q)
{
    Appointment a;
    a.clientId = q.value(0).toString().trimmed();
    a.day = q.value(1).toDate();
    a.begin = wholeSeconds(q.value(2).toTime());
    a.end = wholeSeconds(q.value(3).toTime());
    const QDate remindDay = q.value(4).toDate();
    const QTime remindTime = wholeSeconds(q.value(5).toTime());
    a.remind = remindDay.isValid();
    if (a.remind)
        a.reminderAt = QDateTime(remindDay, remindTime.isValid() ? remindTime : QTime(0, 0));
    if (const auto lead = LeadTime::decode(q.value(6).toString()))
        a.lead = *lead;
    a.sound = q.value(7).toInt() != 0;
    a.message = q.value(8).toInt() != 0;
    a.comment = q.value(9).toString();
    a.made = q.value(10).toInt() != 0;
    a.text = q.value(11).toString();
    a.melody = q.value(12).toString();
    a.clientName = QString(q.value(13).toString().trimmed() + QLatin1Char(' ')
                           + q.value(14).toString().trimmed())
                       .trimmed();
    return a;
}

void bindValues(QSqlQuery &q, const Appointment &a)
{
    q.addBindValue(a.clientId.trimmed());
    q.addBindValue(a.day);
    q.addBindValue(a.begin);
    q.addBindValue(a.end);
    q.addBindValue(a.remind ? QVariant(a.reminderAt.date()) : QVariant(QMetaType(QMetaType::QDate)));
    q.addBindValue(a.remind ? QVariant(a.reminderAt.time()) : QVariant(QMetaType(QMetaType::QTime)));
    q.addBindValue(a.remind ? QVariant(a.lead.encode()) : QVariant(QMetaType(QMetaType::QString)));
    q.addBindValue(a.remind && a.sound ? 1 : 0);
    q.addBindValue(a.remind && a.message ? 1 : 0);
    q.addBindValue(nullable(a.comment));
    q.addBindValue(a.made ? 1 : 0);
    q.addBindValue(nullable(a.remind && a.message ? a.text : QString()));
    q.addBindValue(nullable(a.remind && a.sound ? a.melody : QString()));
}
} // namespace

AppointmentBook::AppointmentBook(DataModule *data)
    : m_data(data)
{
}

bool AppointmentBook::ready(QString *error) const
{
    if (m_data && m_data->isOpen())
        return true;
    setError(error, QStringLiteral("The database is not open."));
    return false;
}

QList<Appointment> AppointmentBook::select(const QString &where, const QList<QVariant> &values,
                                           QString *error) const
{
    QList<Appointment> rows;
    if (!ready(error))
        return rows;
    QSqlQuery q(m_data->database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + QLatin1String(kColumns)
              + QStringLiteral(" FROM REMINDER R LEFT JOIN CLIENTS C ON C.CODE_CLIENT = R.ID WHERE ")
              + where + QStringLiteral(" ORDER BY R.\"DAY\", R.BEGIN_TIME"));
    for (const QVariant &value : values)
        q.addBindValue(value);
    if (!q.exec()) {
        setError(error, QStringLiteral("Cannot read the appointments: ") + q.lastError().text());
        return rows;
    }
    while (q.next())
        rows.append(readRow(q));
    return rows;
}

QList<Appointment> AppointmentBook::day(const QDate &day, QString *error) const
{
    return select(QStringLiteral("R.\"DAY\" = ?"), {day}, error);
}

std::optional<Appointment> AppointmentBook::find(const AppointmentKey &key, QString *error) const
{
    const QList<Appointment> rows = select(QStringLiteral("R.\"DAY\" = ? AND R.BEGIN_TIME = ?"),
                                           {key.day, wholeSeconds(key.begin)}, error);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<Appointment> AppointmentBook::remindersOn(const QDate &day, QString *error) const
{
    return select(QStringLiteral("R.REMEMBER_DAY = ?"), {day}, error);
}

bool AppointmentBook::isTimeTaken(const AppointmentKey &key,
                                  const std::optional<AppointmentKey> &original,
                                  QString *error) const
{
    const AppointmentKey wanted{key.day, wholeSeconds(key.begin)};
    if (original && AppointmentKey{original->day, wholeSeconds(original->begin)} == wanted)
        return false; // the appointment keeps its own time
    if (!ready(error))
        return false;
    QSqlQuery q(m_data->database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM REMINDER WHERE \"DAY\" = ? AND BEGIN_TIME = ?"));
    q.addBindValue(wanted.day);
    q.addBindValue(wanted.begin);
    if (!q.exec() || !q.next()) {
        setError(error, QStringLiteral("Cannot read the appointments: ") + q.lastError().text());
        return false;
    }
    return q.value(0).toInt() > 0;
}

AppointmentCheck::Problem AppointmentBook::check(Appointment &a,
                                                 const std::optional<AppointmentKey> &original,
                                                 QString *error) const
{
    const AppointmentCheck::Problem failed{QStringLiteral("Error"), QString()};
    if (!ready(error))
        return failed;
    a.begin = wholeSeconds(a.begin);
    a.end = wholeSeconds(a.end);
    a.computeReminder();
    if (!a.remind) {
        a.sound = a.message = false;
    }

    QString readError;
    const bool taken = a.day.isValid() && a.begin.isValid()
                       && isTimeTaken(a.key(), original, &readError);
    if (!readError.isEmpty()) {
        setError(error, readError);
        return failed;
    }
    return AppointmentCheck::check(a, taken);
}

AppointmentCheck::Problem AppointmentBook::store(Appointment &a,
                                                 const std::optional<AppointmentKey> &original,
                                                 QString *error)
{
    const AppointmentCheck::Problem problem = check(a, original, error);
    if (!problem.ok())
        return problem;
    const AppointmentCheck::Problem failed{QStringLiteral("Error"), QString()};
    QString readError;

    std::optional<Appointment> stored;
    if (original) {
        stored = find(*original, &readError);
        if (!stored) {
            setError(error, readError.isEmpty()
                                ? QStringLiteral("The appointment is no longer in the base.")
                                : readError);
            return failed;
        }
    }
    // A reminder fires once; moving it makes it due again.
    a.made = stored && stored->remind && a.remind && stored->reminderAt == a.reminderAt
             && stored->made;

    QSqlQuery q(m_data->database());
    if (original) {
        q.prepare(QStringLiteral(
            "UPDATE REMINDER SET ID = ?, \"DAY\" = ?, BEGIN_TIME = ?, END_TIME = ?, REMEMBER_DAY = ?, "
            "REMEMBER_TIME = ?, REMEMBER_COUNT = ?, SOUND = ?, MESSAGE = ?, COMMENT = ?, MADE = ?, "
            "TEXT = ?, MELODY = ? WHERE \"DAY\" = ? AND BEGIN_TIME = ?"));
        bindValues(q, a);
        q.addBindValue(original->day);
        q.addBindValue(wholeSeconds(original->begin));
    } else {
        q.prepare(QStringLiteral(
            "INSERT INTO REMINDER (ID, \"DAY\", BEGIN_TIME, END_TIME, REMEMBER_DAY, REMEMBER_TIME, "
            "REMEMBER_COUNT, SOUND, MESSAGE, COMMENT, MADE, TEXT, MELODY) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        bindValues(q, a);
    }
    if (!q.exec()) {
        setError(error, QStringLiteral("Cannot store the appointment: ") + q.lastError().text());
        return failed;
    }
    return {};
}

bool AppointmentBook::remove(const AppointmentKey &key, QString *error)
{
    if (!ready(error))
        return false;
    QSqlQuery q(m_data->database());
    q.prepare(QStringLiteral("DELETE FROM REMINDER WHERE \"DAY\" = ? AND BEGIN_TIME = ?"));
    q.addBindValue(key.day);
    q.addBindValue(wholeSeconds(key.begin));
    if (!q.exec()) {
        setError(error, QStringLiteral("Cannot delete the appointment: ") + q.lastError().text());
        return false;
    }
    return true;
}

bool AppointmentBook::setMade(const AppointmentKey &key, bool made, QString *error)
{
    if (!ready(error))
        return false;
    QSqlQuery q(m_data->database());
    q.prepare(QStringLiteral("UPDATE REMINDER SET MADE = ? WHERE \"DAY\" = ? AND BEGIN_TIME = ?"));
    q.addBindValue(made ? 1 : 0);
    q.addBindValue(key.day);
    q.addBindValue(wholeSeconds(key.begin));
    if (!q.exec()) {
        setError(error, QStringLiteral("Cannot mark the reminder: ") + q.lastError().text());
        return false;
    }
    return true;
}
