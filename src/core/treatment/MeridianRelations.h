#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The relation file main/lo01.txt: line k (1..12) describes meridian k in the classical order
// (lung .. liver) as "own#coupled#related#related#LO point#source point". The line's position,
// not its first field, says which meridian it is. A number that is not one of 1..12 counts as
// no relation; a missing or short line leaves its meridian without relations.
class MeridianRelations
{
public:
    static constexpr int Count = 12;

    struct Row
    {
        int own = 0;
        std::array<int, 3> related{}; // coupled (interior-exterior) first, then two more
        QString loPoint;              // connecting point, stimulated
        QString sourcePoint;          // source point, dispersed
    };

    static QString fileName() { return QStringLiteral("main/lo01.txt"); }

    // The file of the install folder; an unreadable file gives empty rows and `error`.
    static MeridianRelations load(QString *error = nullptr);
    static MeridianRelations fromLines(const QStringList &lines);

    // Meridian 1..12; an empty row outside that range.
    const Row &row(int meridian) const;
    // Whether any line was read at all.
    bool isEmpty() const { return m_empty; }

private:
    std::array<Row, Count> m_rows{};
    bool m_empty = true;
};
