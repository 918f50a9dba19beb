#pragma once

#include <QByteArray>
#include <QString>

// Tells whether a settings, language or catalogue file of the INI kind is whole, as far as
// that can be told without knowing what it should hold: it can be read, it is Windows-1251
// text, and its lines are sections, settings, comments or blanks. The readers themselves are
// lenient and take what they can; this says when they had to.
class IniFileCheck
{
public:
    enum class Problem {
        None,
        Missing,
        Unreadable, // a folder in its place, or no permission to read it
        Empty,
        NotText,        // binary bytes: a file overwritten with something else
        NotWindows1251, // UTF-8 or bytes the code page does not have
        Garbled,        // lines that are neither sections, settings nor comments
    };
    struct Result
    {
        Problem problem = Problem::None;
        int badLines = 0; // Garbled: how many
        bool whole() const { return problem == Problem::None; }
    };

    // Larger files are read only this far for the check.
    static constexpr qint64 MaxCheckedBytes = 8 * 1024 * 1024;

    static Result inspect(const QString &path);
    static Result inspectBytes(const QByteArray &bytes);
};
