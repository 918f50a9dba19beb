#include "ClientConflicts.h"

#include "DataModule.h"
#include "common/ErrorOut.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ClientConflicts {

QString deletedField()
{
    return QStringLiteral("*DELETED*");
}

bool add(const QSqlDatabase &db, const ConflictNote &note, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral(
        "INSERT INTO CLIENT_CONFLICTS (CODE_CLIENT, FIELD_NAME, LOST_TEXT, LOST_PHOTO, LOST_AT, "
        "LOST_BY, KEPT_BY, NOTED_AT) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    query.addBindValue(note.code);
    query.addBindValue(note.field);
    query.addBindValue(note.lostText.isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                               : QVariant(note.lostText));
    query.addBindValue(note.lostPhoto.isEmpty() ? QVariant(QMetaType(QMetaType::QByteArray))
                                                : QVariant(note.lostPhoto));
    query.addBindValue(note.lostAt.isValid() ? QVariant(note.lostAt)
                                             : QVariant(QMetaType(QMetaType::QDateTime)));
    query.addBindValue(note.lostBy.left(60));
    query.addBindValue(note.keptBy.left(60));
    query.addBindValue(note.notedAt.isValid() ? note.notedAt : QDateTime::currentDateTime());
    if (query.exec())
        return true;
    setError(error, QStringLiteral("Cannot keep the overwritten value of the card %1: %2")
                        .arg(note.code, query.lastError().text()));
    return false;
}

namespace {

QList<ConflictNote> readNotes(const QSqlDatabase &db, const QString &where,
                              const QVariantList &bound, QString *error)
{
    QList<ConflictNote> notes;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT CODE_CLIENT, FIELD_NAME, LOST_TEXT, LOST_PHOTO, LOST_AT, LOST_BY, KEPT_BY, "
        "NOTED_AT FROM CLIENT_CONFLICTS ") + where);
    for (const QVariant &value : bound)
        query.addBindValue(value);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the notes of the cards: ")
                            + query.lastError().text());
        return notes;
    }
    while (query.next()) {
        ConflictNote note;
        note.code = query.value(0).toString();
        note.field = query.value(1).toString();
        note.lostText = DataModule::memoText(query.value(2));
        note.lostPhoto = query.value(3).toByteArray();
        note.lostAt = query.value(4).toDateTime();
        note.lostBy = query.value(5).toString();
        note.keptBy = query.value(6).toString();
        note.notedAt = query.value(7).toDateTime();
        notes.append(note);
    }
    return notes;
}

} // namespace

QList<ConflictNote> forClient(const QSqlDatabase &db, const QString &code, QString *error)
{
    return readNotes(db, QStringLiteral("WHERE CODE_CLIENT = ? ORDER BY NOTED_AT DESC"), {code},
                     error);
}

QList<ConflictNote> unsent(const QSqlDatabase &db, QString *error)
{
    return readNotes(db, QStringLiteral("WHERE SYNC_STAMP IS NULL"), {}, error);
}

} // namespace ClientConflicts
