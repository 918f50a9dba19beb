// A disease frequency file chosen for import: read in either encoding and parsed with both
// separators the import offers. What the parse accepts must be storable as it stands.

#include "FuzzScratch.h"

#include "common/Cp1251.h"
#include "records/FreqDesRepository.h"
#include "treatment/FreqAssignment.h"
#include "treatment/FreqImport.h"

#include <QSet>

namespace {

void checkAccepted(const QList<FreqImport::Entry> &entries)
{
    QSet<QString> names;
    for (const FreqImport::Entry &entry : entries) {
        FUZZ_CHECK(!entry.disease.isEmpty());
        FUZZ_CHECK(entry.disease == entry.disease.trimmed());
        FUZZ_CHECK(entry.disease.size() <= FreqDesRepository::MaxNameLength);
        FUZZ_CHECK(Cp1251::canEncode(entry.disease));
        FUZZ_CHECK(!names.contains(entry.disease.toCaseFolded()));
        names.insert(entry.disease.toCaseFolded());
        FUZZ_CHECK(!entry.frequencies.isEmpty());
        for (const QString &frequency : entry.frequencies) {
            bool ok = false;
            frequency.toDouble(&ok);
            FUZZ_CHECK(ok);
            for (const QChar c : frequency)
                FUZZ_CHECK(c.isDigit() || c == QLatin1Char('.'));
            FreqAssignment::parseHz(frequency);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    const QString path = FuzzScratch::dataFolder() + QStringLiteral("import.txt");
    FuzzScratch::writeFile(path, data, size);

    QStringList lines;
    FUZZ_CHECK(FreqImport::readFile(path, &lines));
    for (const QChar separator : {QLatin1Char(','), QLatin1Char('\'')}) {
        QList<FreqImport::Entry> entries;
        FreqImport::LineError error;
        if (FreqImport::parseLines(lines, separator, &entries, &error)) {
            FUZZ_CHECK(error.problem == FreqImport::Problem::None);
            checkAccepted(entries);
        } else {
            FUZZ_CHECK(error.problem != FreqImport::Problem::None);
            FUZZ_CHECK(error.line >= 1 && error.line <= lines.size());
        }
    }
    return 0;
}
