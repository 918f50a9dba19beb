#include "IniFileCheck.h"

#include "CaseInsensitivePath.h"
#include "Cp1251.h"
#include "IniFile.h"
#include "TextFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isBinary(const QByteArray &bytes)
{
    // Text holds tabs and line ends among its control characters, and perhaps the old
    // end-of-file mark; a few stray others are tolerated.
    qsizetype control = 0;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == 0)
            return true;
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n' && u != 0x1a)
            ++control;
    }
    return control > 8 && control * 100 > bytes.size();
}

bool isIniLine(const QString &line)
{
    const QString trimmed = line.trimmed();
    QString key;
    return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))
           || trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1String("//"))
           || IniFile::parseSectionHeader(trimmed, nullptr)
           || IniFile::parseKeyLine(trimmed, &key, nullptr);
}

} // namespace

IniFileCheck::Result IniFileCheck::inspectBytes(const QByteArray &bytes)
{
    Result result;
    if (bytes.trimmed().isEmpty())
        result.problem = Problem::Empty;
    else if (isBinary(bytes))
        result.problem = Problem::NotText;
    else if (bytes.contains('\x98') || Cp1251::isUtf8Text(bytes))
        result.problem = Problem::NotWindows1251;
    if (!result.whole())
        return result;
    for (const QString &line : TextFile::splitLines(Cp1251::decode(bytes))) {
        if (!isIniLine(line))
            ++result.badLines;
    }
    if (result.badLines > 0)
        result.problem = Problem::Garbled;
    return result;
}

IniFileCheck::Result IniFileCheck::inspect(const QString &path)
{
    const QString resolved = CaseInsensitivePath::resolve(path);
    const QFileInfo info(resolved);
    if (!info.exists())
        return {Problem::Missing, 0};
    QFile file(resolved);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return {Problem::Unreadable, 0};
    return inspectBytes(file.read(MaxCheckedBytes));
}
