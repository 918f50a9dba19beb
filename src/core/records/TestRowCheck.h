#pragma once

#include "common/ErrorOut.h"
#include "records/DataModule.h"

// Rows kept per client and test (symptom marks, questionnaire states) can be read or written
// only with an open base, a client code that fits the CODE_CLIENT column and a stored test.
namespace TestRowCheck {

constexpr int ClientWidth = 16; // the CODE_CLIENT column

// False, with `needs` as the message, when the row cannot be addressed.
inline bool usable(DataModule &data, const QString &client, int codeTest, const QString &needs,
                   QString *error)
{
    if (!data.isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    if (client.isEmpty() || client.size() > ClientWidth || codeTest <= 0) {
        setError(error, needs);
        return false;
    }
    return true;
}

} // namespace TestRowCheck
