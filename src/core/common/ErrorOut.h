#pragma once

#include <QString>

// Hands a failure's text to a caller that asked for it; `error` may be null.
inline void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}
