#include "DotsListCodec.h"

#include "common/SeparatedList.h"
#include "DesDotsCatalogue.h"

#include <QStringList>

bool DotsListCodec::isLatinLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

DotsListCodec::Encoded DotsListCodec::encode(const QString &typed,
                                             const DesDotsCatalogue &catalogue)
{
    Encoded result;
    const QString text = typed.trimmed();
    if (text.isEmpty() || !isLatinLetter(text.at(0))) {
        result.status = Status::NotLetterFirst;
        return result;
    }
    QStringList items;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        const int codeStart = i;
        while (i < n && isLatinLetter(text.at(i)))
            ++i;
        const QString code = text.mid(codeStart, i - codeStart);
        const int numberStart = i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128)
            ++i;
        const QString number = text.mid(numberStart, i - numberStart);
        const int entry = catalogue.find(code);
        if (number.isEmpty() || number.at(0) == QLatin1Char('0')
            || number.size() > MaxNumberDigits || entry < 0) {
            result.status = Status::IncorrectName;
            result.code = code + number;
            return result;
        }
        items << QString::number(entry) << number;
        while (i < n && !isLatinLetter(text.at(i)))
            ++i;
    }
    const QString dots = SeparatedList::join(items);
    if (dots.size() > MaxStoredLength) {
        result.status = Status::TooLong;
        return result;
    }
    result.dots = dots;
    return result;
}

QList<DotsListCodec::Point> DotsListCodec::decode(const QString &dots)
{
    QList<Point> points;
    const QStringList items = SeparatedList::split(dots);
    for (int i = 0; i + 1 < items.size(); i += 2) {
        bool okEntry = false;
        bool okNumber = false;
        const int entry = items.at(i).trimmed().toInt(&okEntry);
        const int number = items.at(i + 1).trimmed().toInt(&okNumber);
        if (okEntry && okNumber && entry >= 0)
            points.append({entry, number});
    }
    return points;
}
