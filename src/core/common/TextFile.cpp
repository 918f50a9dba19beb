#include "TextFile.h"

#include "Cp1251.h"

#include <QFile>
#include <QSaveFile>

QStringList TextFile::splitLines(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // A closing line end does not start another line.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

bool TextFile::readLines(const QString &path, QStringList *lines, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        lines->clear();
        return false;
    }
    *lines = splitLines(Cp1251::decode(file.readAll()));
    return true;
}

QStringList TextFile::readLines(const QString &path)
{
    QStringList lines;
    readLines(path, &lines);
    return lines;
}

bool TextFile::writeLines(const QString &path, const QStringList &lines, QString *error)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    bool lossless = true;
    const QByteArray bytes = Cp1251::encode(text, &lossless);
    if (!lossless) {
        if (error)
            *error = QStringLiteral("The text holds characters that Windows-1251 cannot store.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
