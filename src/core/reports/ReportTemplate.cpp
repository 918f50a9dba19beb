#include "ReportTemplate.h"

#include "app/AppPaths.h"
#include "common/TextFile.h"

ReportTemplate ReportTemplate::load()
{
    return fromLines(TextFile::readLines(AppPaths::installFile(QStringLiteral("Q7/Print.html"))));
}

ReportTemplate ReportTemplate::fromLines(const QStringList &lines)
{
    ReportTemplate t;
    t.m_lines = lines;
    return t;
}

void ReportTemplate::setCharsetLine(const QString &declaration)
{
    while (m_lines.size() <= CharsetLine)
        m_lines.append(QString());
    m_lines[CharsetLine] = declaration;
}
