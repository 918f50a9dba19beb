#include "CorridorPercent.h"

#include "app/AppPaths.h"
#include "common/IniFile.h"

QString CorridorPercent::stored()
{
    const IniFile options(AppPaths::dataFile(QStringLiteral("Options.ini")));
    return options.readString(QStringLiteral("medium"), QStringLiteral("val"), QStringLiteral("1"));
}
