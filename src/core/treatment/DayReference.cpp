#include "DayReference.h"

#include "common/CaseInsensitivePath.h"
#include "common/TextFile.h"

std::optional<int> DayReference::parse(const QStringList &lines)
{
    if (lines.size() < 2)
        return std::nullopt;
    const QString digits = lines.at(1).left(2).trimmed();
    bool ok = false;
    const int n0 = digits.toInt(&ok);
    // toInt() would take "+5" or "-3"; the file holds plain digits.
    if (!ok || digits.isEmpty() || !digits.at(0).isDigit() || !digits.back().isDigit())
        return std::nullopt;
    return n0;
}

std::optional<int> DayReference::read(const QString &folder)
{
    QStringList lines;
    if (!TextFile::readLines(CaseInsensitivePath::resolve(folder, fileName()), &lines))
        return std::nullopt;
    return parse(lines);
}
