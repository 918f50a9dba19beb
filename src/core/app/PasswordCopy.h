#pragma once

#include "StartPassword.h"

#include <QString>

// A copy of the start password ([password] val and do of Options.ini) kept in a small file of
// its own beside it. Options.ini is rewritten by many windows; should it be damaged, lost, or
// replaced by a fresh one from the install folder, the copy keeps the start password asked
// instead of letting the program open unprotected.
class PasswordCopy
{
public:
    static QString pathFor(const QString &optionsPath);

    // The password in force: Options.ini's when it holds a password that can be checked, else
    // the copy's, else none. `fromCopy` tells when the copy was used.
    static StartPassword load(const QString &optionsPath, bool *fromCopy = nullptr);

    // Makes the copy match Options.ini when Options.ini holds a password; nothing changes
    // while it holds none (it may be damaged, or a fresh one from the install folder).
    static bool update(const QString &optionsPath, QString *error = nullptr);
    // The password was removed in the settings: the copy goes too.
    static bool forget(const QString &optionsPath, QString *error = nullptr);
};
