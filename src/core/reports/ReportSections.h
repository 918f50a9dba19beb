#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The sections a report can hold, in their natural order; the numbers are written into the
// report data, so they never change.
namespace ReportSections {

enum Id {
    Fio = 0,
    BirthDay = 1,
    RegistrDate = 2,
    TestingDate = 3,
    CircleDiag = 4,
    Histogram = 5,
    GeneralGraph = 6,
    Recomendation = 7,
    Monitoring = 8,
    Treatment = 9,
    Acupress = 10,
    Symptom = 11,
    Progress = 12,
    Count = 13,
    // Sections from here on came after print orders were first stored: their flag is written
    // only when on, so an order stored earlier composes the same data as it always did.
    FirstLater = Progress
};

struct Info
{
    const char *box;     // objectName of the section's check box
    const char *key;     // language key of its caption
    const char *english; // caption while the language lacks the key
};

const Info &info(int id);
QList<int> naturalOrder();
// Whether the section is ticked in the default order: monitoring is never printed, and the
// progress over the tests is asked for when wanted.
bool onByDefault(int id);

// The pictures a report can show and their files in print_pict/.
enum Picture {
    CirclePicture,
    HistogramPicture,
    GeneralPicture,
    ColourPicture,
    FrequencyPicture,
    ProgressPicture
};
QString pictureFile(Picture picture);

} // namespace ReportSections

// One entry of the print order list: a section caption and whether it is ticked.
struct QueueEntry
{
    QString caption;
    bool ticked = true;
    bool operator==(const QueueEntry &) const = default;
};

// The texts a print template keeps in STENCILS: the order list ("A#1#B#0#&": caption, tick,
// each followed by "#", the whole closed by "&") and the ticked recommendations ("A#B#&").
namespace PrintQueue {

QString build(const QList<QueueEntry> &entries);
// A stored text read back; a damaged tail (a caption without its tick) is left out.
QList<QueueEntry> parse(const QString &text);

QString buildNames(const QStringList &names);
QStringList parseNames(const QString &text);
// Whether a recommendation name survives the name list unchanged.
bool canHoldName(const QString &name);

// The section of every ticked entry, in list order, found by its caption among `captions`
// (indexed by section). An entry whose caption names no section (a template stored in
// another language) is skipped, and so is a second entry of the same section.
QList<int> order(const QList<QueueEntry> &entries, const QStringList &captions);

} // namespace PrintQueue
