#pragma once

#include <QString>

class IniFile;

// The start password kept in Options.ini ([password] val, [password] do). A new password is
// stored as a salted, slow hash, recognisable by its prefix; a plain-text password found in an
// older file is still accepted and is replaced by its hash at the next save. An empty password
// means none.
class StartPassword
{
public:
    // Reads [password] val (trimmed) and [password] do.
    static StartPassword load(const IniFile &options);
    explicit StartPassword(const QString &stored = QString(), bool askAtStart = false);

    QString stored() const { return m_stored; }
    bool isSet() const { return !m_stored.isEmpty(); }
    // The dialog is needed when a password is set and [password] do is "1".
    bool required() const { return m_askAtStart && isSet(); }

    // Whether `entered` is the stored password (constant-time compare for either form).
    // An empty entry matches only when no password is set.
    bool matches(const QString &entered) const;
    bool isLegacyPlainText() const;

    // The value to write to [password] val for a new password: its hash, or empty.
    static QString valueFor(const QString &newPassword);
    static bool isHash(const QString &value);
    // A value that has the form of a hash but cannot be one (cut short, altered): no entry
    // can ever match it.
    static bool isDamagedHash(const QString &value);
    // The value to write back when the password is not being changed: a legacy plain-text
    // password becomes its hash, anything else stays as it is.
    QString valueToKeep() const;
    // A plain-text password from an older file is replaced by its hash in `options` (read
    // afresh, saved at once); nothing else there changes. False with `error` when the file
    // could not be written (the password then stays as it was, and still works).
    static bool hashPlainText(const QString &optionsPath, QString *error = nullptr);

    // Work factor of new hashes: about 50-100 ms on an ordinary machine. Stored hashes carry
    // their own count, so raising it later leaves them valid.
    static constexpr int defaultIterations = 200000;

private:
    QString m_stored;
    bool m_askAtStart = false;
};
