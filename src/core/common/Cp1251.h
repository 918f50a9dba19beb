#pragma once

#include <QByteArray>
#include <QString>

// Windows-1251, the code page of every text file and database string the program shares
// with older installations. Implemented here so it does not depend on ICU being present.
class Cp1251
{
public:
    static QString decode(const QByteArray &bytes);
    // Characters the code page cannot hold become '?'; `lossless` tells whether any did.
    static QByteArray encode(const QString &text, bool *lossless = nullptr);
    static bool canEncode(const QString &text);
};
