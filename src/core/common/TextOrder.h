#pragma once

#include <QString>

// The order people expect in a list of names: alphabetical with letter case aside, and a
// stable order between names that differ only in case. (The base sorts by code-page bytes,
// capitals before small letters.)
inline bool alphabeticalLess(const QString &a, const QString &b)
{
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}
