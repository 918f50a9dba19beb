#pragma once

#include <QString>
#include <QStringList>

// The report data as the page reads it: one JavaScript statement per line, every value a
// single-quoted string. Values are escaped, so a quote, a backslash, a line break or a
// "</script>" in a client's name or a recommendation stays text and never breaks the page.
class ReportScript
{
public:
    // var name='value';
    void add(const QString &name, const QString &value);
    void add(const QString &name, int value) { add(name, QString::number(value)); }
    void addFlag(const QString &name, bool on) { add(name, on ? QStringLiteral("1") : QStringLiteral("0")); }
    // A statement written as it stands (the page's helper functions).
    void addStatement(const QString &statement) { m_lines.append(statement); }

    const QStringList &lines() const { return m_lines; }
    QString text() const;

    // The value as a single-quoted JavaScript string literal.
    static QString quoted(const QString &value);

    // Writes the lines (UTF-8 with a byte-order mark, which the browser honours whatever the
    // page declares) so that a reader sees either the old file or the whole new one.
    bool save(const QString &path, QString *error = nullptr) const;

private:
    QStringList m_lines;
};
