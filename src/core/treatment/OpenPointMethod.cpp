#include "OpenPointMethod.h"

#include <array>

const OpenPointMethod &OpenPointMethod::byIndex(int index)
{
    // The sacred tortoise reckons with the day's stem and branch, so it needs the whole
    // sixty-day cycle; the soaring method follows the hour's stem alone, which repeats every
    // ten days.
    static const std::array<OpenPointMethod, Count> methods = {{
        {SacredTortoise, 60, {QStringLiteral("Table2.dat")}, QStringLiteral("OpenPointMethod0"),
         QStringLiteral("Eightfold method of the sacred tortoise")},
        {Soaring, 10, {QStringLiteral("Table1.dat")}, QStringLiteral("OpenPointMethod1"),
         QStringLiteral("Soaring Eightfold Method")},
        {MiddayMidnight, 5,
         {QStringLiteral("Table30.dat"), QStringLiteral("Table31.dat"), QStringLiteral("Table32.dat"),
          QStringLiteral("Table33.dat")},
         QStringLiteral("OpenPointMethod2"),
         QStringLiteral("Midday-Midnight ebb and flow point selection")},
    }};
    if (index < 0 || index >= Count)
        index = 0;
    return methods[size_t(index)];
}
