#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

// A value of a card that lost when the same field was changed on two workstations, or a
// deletion that was undone because the card had been changed elsewhere meanwhile. Kept in the
// shared base and copied into every installation's base, so the card shows it.
struct ConflictNote
{
    QString code;
    QString field;      // a column of CLIENTS, or deletedField()
    QString lostText;   // the value that lost, as text
    QByteArray lostPhoto; // FOTO only: the picture that lost
    QDateTime lostAt;   // when the losing value (or the deletion) was saved, when known
    QString lostBy;     // the workstation it came from
    QString keptBy;     // the workstation whose value (or edit) was kept
    QDateTime notedAt;
};

namespace ClientConflicts {

QString deletedField();

// Writes a note into a base (this installation's notes wait there to go up).
bool add(const QSqlDatabase &db, const ConflictNote &note, QString *error = nullptr);
// The notes of a card, newest first.
QList<ConflictNote> forClient(const QSqlDatabase &db, const QString &code,
                              QString *error = nullptr);

// Notes made in this base that have not gone up to the shared base yet.
QList<ConflictNote> unsent(const QSqlDatabase &db, QString *error = nullptr);

} // namespace ClientConflicts
