#pragma once

#include "Appointment.h"

#include <QString>

// The checks an appointment passes before it is stored, in the order the user meets them.
// Each failure names the language key of its message; `field` names the key of the field a
// length or code-page failure concerns (the message then says which).
class AppointmentCheck
{
public:
    struct Problem
    {
        QString key;
        QString field;
        int limit = 0; // "FieldTooLong": the field's width
        bool ok() const { return key.isEmpty(); }
    };

    // `timeTaken`: another appointment of the same day starts at the same time.
    static Problem check(const Appointment &appointment, bool timeTaken);
};
