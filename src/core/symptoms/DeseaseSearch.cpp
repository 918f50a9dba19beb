#include "DeseaseSearch.h"

int DeseaseSearch::firstMatch(const QStringList &names, const QString &text)
{
    const QString wanted = text.trimmed().toLower();
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).toLower().contains(wanted))
            return i;
    }
    return -1;
}
