#include "MeridianRelations.h"

#include "app/AppPaths.h"
#include "common/ErrorOut.h"
#include "common/TextFile.h"

#include <QFileInfo>

namespace {

int meridianNumber(const QString &field)
{
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= MeridianRelations::Count ? value : 0;
}

} // namespace

MeridianRelations MeridianRelations::load(QString *error)
{
    const QString path = AppPaths::installFile(fileName());
    QStringList lines;
    if (!QFileInfo::exists(path) || !TextFile::readLines(path, &lines)) {
        setError(error, path);
        return {};
    }
    return fromLines(lines);
}

MeridianRelations MeridianRelations::fromLines(const QStringList &lines)
{
    MeridianRelations relations;
    for (int i = 0; i < Count && i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).split(QLatin1Char('#'));
        Row &row = relations.m_rows[size_t(i)];
        row.own = i + 1;
        for (int c = 0; c < 3; ++c)
            row.related[size_t(c)] = fields.size() > c + 1 ? meridianNumber(fields.at(c + 1)) : 0;
        row.loPoint = fields.value(4).trimmed();
        row.sourcePoint = fields.value(5).trimmed();
        relations.m_empty = false;
    }
    return relations;
}

const MeridianRelations::Row &MeridianRelations::row(int meridian) const
{
    static const Row none;
    return meridian >= 1 && meridian <= Count ? m_rows[size_t(meridian - 1)] : none;
}
