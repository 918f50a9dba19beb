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

    // Text another program wrote in UTF-8: a byte-order mark, or letters beyond ASCII that are
    // valid UTF-8 (Cyrillic in Windows-1251 almost never is).
    static bool isUtf8Text(const QByteArray &bytes);
    // The text of a file of either kind: UTF-8 as isUtf8Text() tells it (without the mark),
    // Windows-1251 otherwise.
    static QString decodeEither(const QByteArray &bytes);
};
