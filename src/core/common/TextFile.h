#pragma once

#include <QString>
#include <QStringList>

// Windows-1251 text files: read with CRLF or LF line ends, written with CRLF, atomically.
class TextFile
{
public:
    // Lines of the file without their line ends; false when the file cannot be read.
    static bool readLines(const QString &path, QStringList *lines, QString *error = nullptr);
    static QStringList readLines(const QString &path);
    // Writes the lines joined by CRLF (and a closing CRLF). Replaces the file only once the new
    // content is complete on disk. Refuses text the code page cannot hold.
    static bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
    static QStringList splitLines(const QString &text);
};
