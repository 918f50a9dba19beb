#include "PowerRules.h"

#include "common/IniFile.h"

#include <QStringList>

namespace {
const QString kSection = QStringLiteral("Algoritm");
const QString kCount = QStringLiteral("count");
} // namespace

PowerRules::Problem PowerRules::check(const Rule &rule)
{
    if (rule.from >= rule.to)
        return Problem::FromNotBelowTo;
    if (rule.percent < 0 || rule.percent > 100)
        return Problem::PercentOutOfRange;
    return Problem::None;
}

QString PowerRules::ruleText(const Rule &rule)
{
    return QStringLiteral("%1-%2 Hz=%3 %").arg(rule.from).arg(rule.to).arg(rule.percent);
}

PowerRules::Problem PowerRules::add(const Rule &rule)
{
    const Problem problem = check(rule);
    if (problem == Problem::None)
        m_rules.append(rule);
    return problem;
}

void PowerRules::remove(int index)
{
    if (index >= 0 && index < m_rules.size())
        m_rules.removeAt(index);
}

std::optional<int> PowerRules::coveringPercent(double hz) const
{
    for (const Rule &rule : m_rules)
        if (rule.from <= hz && hz <= rule.to)
            return rule.percent;
    return std::nullopt;
}

PowerRules PowerRules::load(const IniFile &options)
{
    PowerRules table;
    const int count = options.readInteger(kSection, kCount, 0);
    for (int i = 1; i <= count && i <= 1000; ++i) {
        const QStringList parts = options.readString(kSection, QString::number(i)).split(QLatin1Char('#'));
        if (parts.size() < 3)
            continue;
        bool ok[3] = {false, false, false};
        Rule rule;
        rule.from = parts.at(0).trimmed().toInt(&ok[0]);
        rule.to = parts.at(1).trimmed().toInt(&ok[1]);
        rule.percent = parts.at(2).trimmed().toInt(&ok[2]);
        if (ok[0] && ok[1] && ok[2])
            table.add(rule);
    }
    return table;
}

void PowerRules::save(IniFile &options) const
{
    const int before = options.readInteger(kSection, kCount, 0);
    options.writeInteger(kSection, kCount, int(m_rules.size()));
    for (int i = 0; i < m_rules.size(); ++i) {
        const Rule &rule = m_rules.at(i);
        options.writeString(kSection, QString::number(i + 1),
                            QStringLiteral("%1#%2#%3#").arg(rule.from).arg(rule.to).arg(rule.percent));
    }
    for (int i = int(m_rules.size()) + 1; i <= before && i <= 1000; ++i)
        options.removeKey(kSection, QString::number(i));
}
