#pragma once

#include "Appointment.h"
#include "AppointmentCheck.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <optional>

class DataModule;

// The appointments of the base (table REMINDER). Every change is checked first and committed
// when it is made. Without an open base every call fails with a message.
class AppointmentBook
{
public:
    explicit AppointmentBook(DataModule *data);

    // The appointments of a day, earliest first, with the names of their clients.
    QList<Appointment> day(const QDate &day, QString *error = nullptr) const;
    std::optional<Appointment> find(const AppointmentKey &key, QString *error = nullptr) const;
    // The appointments whose reminder falls on `day`.
    QList<Appointment> remindersOn(const QDate &day, QString *error = nullptr) const;

    // Another appointment than `original` starts on that day at that time.
    bool isTimeTaken(const AppointmentKey &key, const std::optional<AppointmentKey> &original,
                     QString *error = nullptr) const;

    // Computes the reminder moment and checks the appointment as store() would, storing
    // nothing: the page can refuse before it asks.
    AppointmentCheck::Problem check(Appointment &appointment,
                                    const std::optional<AppointmentKey> &original = std::nullopt,
                                    QString *error = nullptr) const;
    // Computes the reminder moment, checks the appointment and stores it: a new row, or in
    // place of `original`. A changed reminder moment fires anew; an unchanged one keeps its
    // fired flag. Returns the check's problem (nothing stored), or the problem "Error" with
    // the database's message in `error`; an empty problem when stored.
    AppointmentCheck::Problem store(Appointment &appointment,
                                    const std::optional<AppointmentKey> &original = std::nullopt,
                                    QString *error = nullptr);
    bool remove(const AppointmentKey &key, QString *error = nullptr);
    bool setMade(const AppointmentKey &key, bool made, QString *error = nullptr);

private:
    bool ready(QString *error) const;
    QList<Appointment> select(const QString &where, const QList<QVariant> &values,
                              QString *error) const;

    QPointer<DataModule> m_data;
};
