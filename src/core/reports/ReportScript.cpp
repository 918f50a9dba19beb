#include "ReportScript.h"

#include <QSaveFile>

void ReportScript::add(const QString &name, const QString &value)
{
    m_lines.append(QStringLiteral("var ") + name + QLatin1Char('=') + quoted(value) + QLatin1Char(';'));
}

QString ReportScript::text() const
{
    return m_lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

QString ReportScript::quoted(const QString &value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\'': out += QLatin1String("\\'"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        // "<" and ">" as escapes keep "</script>" and "<!--" from ever closing a script block.
        case '<': out += QLatin1String("\\x3C"); break;
        case '>': out += QLatin1String("\\x3E"); break;
        case 0x2028: out += QLatin1String("\\u2028"); break;
        case 0x2029: out += QLatin1String("\\u2029"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('\'');
    return out;
}

bool ReportScript::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("\xEF\xBB\xBF");
        file.write(text().toUtf8());
        if (file.commit())
            return true;
    }
    if (error)
        *error = file.errorString();
    return false;
}
