#pragma once

#include <QString>

#include <array>
#include <functional>

// One entry of the point catalogue Dots.INI.
struct DotRecord
{
    QString name;
    QString meridian;
    QString energy;
    QString comment;
    qint32 reserved = 0; // kept for the record layout; never read from the file
    qint32 cx = 1;
    qint32 cy = 1;
    qint32 col = 1;
    qint32 row = 1;
    bool inyan = true;
    bool leftright = true;
    QString picture;
};

// The 120 entries of Dots.INI beside the executable, indexed 1..120. Read once at start; a
// missing file or section gives the defaults, sections beyond 120 are ignored.
class DotCatalogue
{
public:
    static constexpr int Count = 120;

    void load(const QString &path);
    const DotRecord &entry(int index) const; // 1..120; anything else gives a default entry

    static QString defaultPath(); // <install folder>/Dots.INI

    // The shown form of a "meridian" or "energy" value: each ";"-separated part is looked up
    // as a language key (`lookup` gives "" for an unknown key) and stands as written when it
    // is none; the parts are joined by "; " and the first letter raised.
    static QString displayText(const QString &value,
                               const std::function<QString(const QString &)> &lookup);

private:
    std::array<DotRecord, Count + 1> m_entries{}; // slot 0 unused
};
