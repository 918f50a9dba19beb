// The open points' time tables in the data folder's Data/: the column titles (TimeInt.dat),
// the tables of the three methods and the day reference (LastDay.dat). The input stands for
// every one of those files; each method's tables are read and listed for every hour and day.

#include "FuzzScratch.h"

#include "treatment/DayReference.h"
#include "treatment/OpenPointCalendar.h"
#include "treatment/OpenPointCodes.h"
#include "treatment/OpenPointListing.h"
#include "treatment/OpenPointMethod.h"
#include "treatment/OpenPointTables.h"

#include <QDate>

namespace {

void checkLoaded(const OpenPointTables &tables, const OpenPointMethod &method)
{
    FUZZ_CHECK(tables.columnTitles().size() == OpenPointTables::Columns);
    for (const QString &title : tables.columnTitles())
        FUZZ_CHECK(title.size() == OpenPointTables::TitleWidth);
    FUZZ_CHECK(tables.gridCount() == method.tables.size());
    for (int g = 0; g < tables.gridCount(); ++g) {
        const OpenPointTables::Grid &grid = tables.grid(g);
        FUZZ_CHECK(grid.rows.size() == method.cycle);
        for (const QStringList &row : grid.rows) {
            FUZZ_CHECK(row.size() == OpenPointTables::Columns);
            for (const QString &cell : row)
                FUZZ_CHECK(cell.size() == OpenPointTables::CellWidth);
        }
    }
}

void checkListing(const OpenPointTables &tables, const OpenPointMethod &method)
{
    for (int period = 0; period < OpenPointCalendar::Periods; ++period) {
        const int column = OpenPointCalendar::columnOfPeriod(period);
        for (int day = 1; day <= method.cycle; ++day) {
            QStringList unknown;
            for (const OpenPoint &point : OpenPointListing::list(method, tables, column, day, &unknown)) {
                FUZZ_CHECK(!point.code.isEmpty());
                FUZZ_CHECK(point.meridian == OpenPointCodes::meridianOf(point.code));
                point.meridianNameKey();
                OpenPointCodes::channelCodeOf(point.meridian);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    const QString folder = FuzzScratch::dataFolder() + QStringLiteral("Data");
    QStringList files{OpenPointTables::titlesFile(), DayReference::fileName()};
    for (int m = 0; m < OpenPointMethod::Count; ++m)
        files += OpenPointMethod::byIndex(m).tables;
    for (const QString &file : files)
        FuzzScratch::writeFile(folder + QLatin1Char('/') + file, data, size);

    if (const std::optional<int> n0 = DayReference::read(folder)) {
        FUZZ_CHECK(*n0 >= 0 && *n0 <= 99);
        for (int m = 0; m < OpenPointMethod::Count; ++m) {
            const int cycle = OpenPointMethod::byIndex(m).cycle;
            const int day = OpenPointCalendar::cycleDay(QDate(2024, 2, 29), *n0, cycle);
            FUZZ_CHECK(day >= 1 && day <= cycle);
        }
    }

    for (int m = 0; m < OpenPointMethod::Count; ++m) {
        const OpenPointMethod &method = OpenPointMethod::byIndex(m);
        OpenPointTables tables;
        QString error;
        if (!tables.load(folder, method, &error)) {
            FUZZ_CHECK(!error.isEmpty());
            continue;
        }
        checkLoaded(tables, method);
        checkListing(tables, method);
    }
    return 0;
}
