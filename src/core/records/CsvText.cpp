#include "CsvText.h"

namespace CsvText {

QString field(const QString &text)
{
    const bool quoted = text.contains(QLatin1Char('"')) || text.contains(QLatin1Char(','))
                        || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quoted)
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString inert(const QString &text)
{
    static const QString starts = QStringLiteral("=+-@\t\r\n");
    if (!text.isEmpty() && starts.contains(text.at(0)))
        return QLatin1Char('\'') + text;
    return text;
}

QString line(const QStringList &fields)
{
    QString out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += field(fields.at(i));
    }
    out += QStringLiteral("\r\n");
    return out;
}

} // namespace CsvText
