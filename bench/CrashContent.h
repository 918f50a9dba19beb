#pragma once

// What the crash child journals about each kind of record and what the harness compares it
// with: the key that names a record and a digest of the fields that reach the disk. The child
// digests the value it saved, the harness the value it reads back, both through these
// functions, so only the fields that go to the disk and come back may enter a digest.

#include "app/SettingsValues.h"
#include "records/ClientCard.h"
#include "records/TestRecord.h"
#include "ryodoraku/ChannelMarks.h"
#include "schedule/Appointment.h"
#include "schedule/ReminderTimer.h"
#include "treatment/MusicPlaylist.h"

#include <QCryptographicHash>
#include <QStringList>

namespace CrashContent {

// Record kinds, as journalled.
inline const QString Card = QStringLiteral("card");
inline const QString Test = QStringLiteral("test");
inline const QString Inquirer = QStringLiteral("inquirer");
inline const QString Marks = QStringLiteral("marks");
inline const QString Punct = QStringLiteral("punct");
inline const QString Color = QStringLiteral("color");
inline const QString Freq = QStringLiteral("freq");
inline const QString ColorComment = QStringLiteral("color-comment");
inline const QString FreqDes = QStringLiteral("freq-des");
inline const QString Recommendation = QStringLiteral("recommendation");
inline const QString Appointment = QStringLiteral("appointment");
inline const QString Timer = QStringLiteral("timer");
inline const QString Settings = QStringLiteral("settings");
inline const QString Playlist = QStringLiteral("playlist");

// Stands for a record the base or file does not hold.
inline const QString Absent = QStringLiteral("-");

// The names written into the stored marks; the harness reads back into marks of the same names.
inline ChannelMarks namedMarks()
{
    ChannelMarks marks;
    for (int c = 0; c < Channels::Count; ++c)
        marks[c].name = Channels::names().at(c);
    return marks;
}

inline QString digestOf(const QStringList &fields)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(fields.join(QChar(0x1f)).toUtf8(), QCryptographicHash::Md5)
            .toHex()
            .left(16));
}

inline QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

inline QString digest(const ClientCard &c)
{
    return digestOf({c.name, c.surname, c.birthday.toString(Qt::ISODate), c.weight, c.height, c.sex,
                     c.city, c.adress, c.eMail, c.tel1, c.tel2, c.comment, c.country,
                     QString::number(c.skypeType)});
}

inline QString digest(const TestRecord &t)
{
    QStringList fields{t.codeClient.trimmed(), t.testDate.toString(Qt::ISODate)};
    for (const int value : t.values)
        fields.append(QString::number(value));
    return digestOf(fields);
}

inline QString digest(const ChannelMarks &marks)
{
    return digestOf({marks.dataText()});
}

inline QString digest(const ::Appointment &a)
{
    return digestOf({a.clientId.trimmed(), a.day.toString(Qt::ISODate),
                     a.begin.toString(Qt::ISODate), a.end.toString(Qt::ISODate), flag(a.remind),
                     a.remind ? a.reminderAt.toString(Qt::ISODate) : QString(),
                     a.remind ? a.lead.encode() : QString(), flag(a.sound), flag(a.message),
                     a.comment, a.remind && a.message ? a.text : QString(),
                     a.remind && a.sound ? a.melody : QString()});
}

inline QString digest(const ReminderTimer &r)
{
    if (!r.active)
        return digestOf({QStringLiteral("idle")});
    return digestOf({r.name, r.begin.toString(Qt::ISODate), r.end.toString(Qt::ISODate), r.hours,
                     r.minutes, r.message, r.sound});
}

inline QString digest(const SettingsValues &v)
{
    QStringList fields(v.meridianNames.begin(), v.meridianNames.end());
    fields << QString::number(v.middlePercent) << flag(v.askPassword) << flag(v.soundSignal)
           << v.testInfo << v.treatmentInfo;
    return digestOf(fields);
}

inline QString digest(const MusicPlaylist &p)
{
    return digestOf({p.paths().join(QLatin1Char('\n')), QString::number(p.current()),
                     QString::number(p.volume()), flag(p.repeat()), p.folder()});
}

// A text of the base or the files as it stands.
inline QString digestText(const QString &text)
{
    return digestOf({text});
}

// Keys of several parts; no part holds a tab, a line end or the separator.
inline QString key(const QStringList &parts)
{
    return parts.join(QLatin1Char('|'));
}

inline QStringList keyParts(const QString &key)
{
    return key.split(QLatin1Char('|'));
}

} // namespace CrashContent
