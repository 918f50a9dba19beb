#pragma once

#include <QList>
#include <QString>

class DesDotsCatalogue;

// The points of a disease. Typed: point codes such as "LU7, GB20" (Latin letters, then the
// point number starting with 1..9), separated by anything that is not a Latin letter.
// Stored (column DOTS): for each point the index of its letter code in the point-picture
// catalogue and its number, each followed by "&", closed by "#": "0&7&10&20&#".
class DotsListCodec
{
public:
    // The width of the DOTS column.
    static constexpr int MaxStoredLength = 50;
    // Point numbers have at most this many digits.
    static constexpr int MaxNumberDigits = 3;

    enum class Status {
        Ok,
        NotLetterFirst, // the list is empty or does not begin with a Latin letter
        IncorrectName,  // a code is not followed by 1..9, or the catalogue lacks it
        TooLong,        // the stored text would not fit the column
    };

    struct Encoded
    {
        Status status = Status::Ok;
        QString dots;    // the stored text, "#"-closed (Ok only)
        QString code;    // IncorrectName: the code as typed, letters and digits
    };

    struct Point
    {
        int entry = -1;
        int number = 0;
    };

    // Blanks around the list are ignored.
    static Encoded encode(const QString &typed, const DesDotsCatalogue &catalogue);
    // The points of a stored text in their order; pairs that are not two numbers are left out.
    static QList<Point> decode(const QString &dots);

    static bool isLatinLetter(QChar c);
};
