#pragma once

#include <QStringList>

// The page template of the report, kept in memory for the whole run and written beside the
// report data when a report is made. Its third line declares the character set, which follows
// the interface language.
class ReportTemplate
{
public:
    static constexpr int CharsetLine = 2;

    // The program's template, from the install folder's seed.
    static ReportTemplate load();
    static ReportTemplate fromLines(const QStringList &lines);

    // Replaces the third line by the character-set declaration (adding lines when the
    // template is shorter).
    void setCharsetLine(const QString &declaration);

    const QStringList &lines() const { return m_lines; }

private:
    QStringList m_lines;
};
