#include "FirebirdStatus.h"

#include <QStringList>

QString firebirdStatusText(const ISC_STATUS *status)
{
    QStringList parts;
    char buffer[512];
    const ISC_STATUS *cursor = status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        parts << QString::fromLocal8Bit(buffer);
    return parts.join(QLatin1Char(' '));
}
