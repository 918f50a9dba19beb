#include "OpenPointListing.h"

#include <algorithm>

#include "OpenPointCodes.h"

namespace {
OpenPoint makePoint(OpenPoint::Source source, OpenPoint::Qualifier qualifier,
                    const QString &tableCode)
{
    OpenPoint point;
    point.source = source;
    point.qualifier = qualifier;
    point.tableCode = tableCode;
    point.code = OpenPointCodes::listedCode(tableCode);
    point.meridian = OpenPointCodes::meridianOf(point.code);
    return point;
}
} // namespace

QString OpenPoint::meridianNameKey() const
{
    return QStringLiteral("MerName") + OpenPointCodes::channelCodeOf(meridian);
}

QList<OpenPoint> OpenPointListing::list(const OpenPointMethod &method,
                                        const OpenPointTables &tables, int column, int day,
                                        QStringList *unknown)
{
    QList<OpenPoint> points;
    const QString a = tables.grid(0).cell(column, day);
    if (method.listsConfluentPairs()) {
        for (const auto &[first, second] : OpenPointCodes::confluentPairs()) {
            if (OpenPointCodes::cellIs(a, first) || OpenPointCodes::cellIs(a, second)) {
                points.append(makePoint(OpenPoint::Confluent, OpenPoint::NoQualifier, first));
                points.append(makePoint(OpenPoint::Confluent, OpenPoint::NoQualifier, second));
            }
        }
    }
    if (method.listsTransportPoints()) {
        const QString b = tables.grid(1).cell(column, day);
        const QString c = tables.grid(2).cell(column, day);
        const QString d = tables.grid(3).cell(column, day);
        for (const QString &point : OpenPointCodes::transportPoints()) {
            if (OpenPointCodes::cellIs(a, point) || OpenPointCodes::cellIs(b, point))
                points.append(makePoint(OpenPoint::Transport, OpenPoint::ByDayStem, point));
            if (OpenPointCodes::cellIs(c, point) || OpenPointCodes::cellIs(d, point))
                points.append(makePoint(OpenPoint::Transport, OpenPoint::ByHourBranch, point));
        }
        if (unknown) {
            for (const QString &cell : {a, b, c, d}) {
                const QString code = cell.trimmed();
                const bool known = std::any_of(OpenPointCodes::transportPoints().begin(),
                                               OpenPointCodes::transportPoints().end(),
                                               [&code](const QString &p) { return OpenPointCodes::cellIs(code, p); });
                if (!code.isEmpty() && code != QLatin1String("nonono") && !known && !unknown->contains(code))
                    unknown->append(code);
            }
        }
    }
    return points;
}
