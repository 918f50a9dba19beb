// The point catalogues of the install folder: Dots.INI (the measuring points), Dots24.INI (the
// channels and their symptom lists), DesDots.INI (the letter codes of disease points) and
// DesDotsNames.INI (where the atlas marks a point). The input stands for each of them. Disease
// point lists typed against the catalogue are stored and read back, and every mark the
// catalogues place is put on a body picture.

#include "FuzzScratch.h"

#include "app/DotCatalogue.h"
#include "common/SeparatedList.h"
#include "ryodoraku/ChannelCard.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "symptoms/DesDotsCatalogue.h"
#include "symptoms/DotsListCodec.h"
#include "treatment/AtlasPoints.h"
#include "treatment/BodyMarkGeometry.h"

#include <algorithm>

namespace {

void placeMarks(const AtlasPosition &position)
{
    using Geometry = BodyMarkGeometry;
    const Geometry::Picture picture = Geometry::pictureOf(position.image);
    for (const QSize &area : {QSize(300, 560), QSize(1200, 700)}) {
        const QRect shown = Geometry::fit(area, picture);
        for (const int correction : {Geometry::AtlasCorrection, Geometry::diseaseCorrection(shown)}) {
            Geometry::ringAt(Geometry::dotAt(shown, picture, position.left1, position.top1, correction));
            Geometry::ringAt(Geometry::dotAt(shown, picture, position.left2, position.top2, correction));
        }
    }
    Geometry::colorOf(position.color);
}

void checkPoints()
{
    DotCatalogue dots;
    dots.load(DotCatalogue::defaultPath());
    const auto lookup = [](const QString &key) { return key.size() % 2 ? key : QString(); };
    for (int i = 0; i <= DotCatalogue::Count + 1; ++i) {
        const DotRecord &record = dots.entry(i);
        DotCatalogue::displayText(record.meridian, lookup);
        DotCatalogue::displayText(record.energy, lookup);
    }
}

void checkChannels()
{
    const ChannelCatalogue catalogue = ChannelCatalogue::load();
    FUZZ_CHECK(catalogue.existed());
    for (int channel = 0; channel < Channels::Count; ++channel) {
        QString error;
        const int column = catalogue.columnOf(channel, &error);
        FUZZ_CHECK(column >= -1 && column < Channels::Count);
        FUZZ_CHECK(column >= 0 || !error.isEmpty());
        for (const int deviation : {-30, 0, 30}) {
            ChannelResult slot;
            slot.channel = channel;
            slot.text = QStringLiteral("62/55");
            slot.deviation = deviation;
            const ChannelCard card = cardFor(slot, catalogue, [](const QString &key) { return key; });
            FUZZ_CHECK(card.firstItems.size() == card.firstKeys.size());
            FUZZ_CHECK(card.secondItems.size() == card.secondKeys.size());
        }
    }
}

// A list typed from the catalogue's own codes is stored and read back as those points.
void checkDiseasePoints(const QString &firstLine)
{
    const DesDotsCatalogue catalogue;
    QString typed;
    QList<DotsListCodec::Point> expected;
    for (int k = 0; k < catalogue.count() && expected.size() < 4; ++k) {
        const QString name = catalogue.entry(k).name;
        const bool letters = !name.isEmpty() && std::all_of(name.begin(), name.end(), DotsListCodec::isLatinLetter);
        if (!letters)
            continue;
        typed += name + QString::number(k % 120 + 1) + QStringLiteral(", ");
        expected.append({catalogue.find(name), k % 120 + 1});
    }
    const DotsListCodec::Encoded encoded = DotsListCodec::encode(typed, catalogue);
    if (encoded.status == DotsListCodec::Status::Ok) {
        FUZZ_CHECK(encoded.dots.size() <= DotsListCodec::MaxStoredLength);
        const QList<DotsListCodec::Point> points = DotsListCodec::decode(encoded.dots);
        FUZZ_CHECK(points.size() == expected.size());
        for (qsizetype i = 0; i < points.size(); ++i) {
            FUZZ_CHECK(points.at(i).entry == expected.at(i).entry);
            FUZZ_CHECK(points.at(i).number == expected.at(i).number);
        }
    } else {
        FUZZ_CHECK(encoded.status == (expected.isEmpty() ? DotsListCodec::Status::NotLetterFirst
                                                         : DotsListCodec::Status::TooLong));
    }

    const DotsListCodec::Encoded line = DotsListCodec::encode(firstLine, catalogue);
    if (line.status == DotsListCodec::Status::Ok) {
        for (const DotsListCodec::Point &point : DotsListCodec::decode(line.dots))
            FUZZ_CHECK(catalogue.isValid(point.entry));
    }

    const AtlasPoints atlas;
    for (int k = 0; k < catalogue.count() && k < 50; ++k) {
        placeMarks(catalogue.entry(k).position);
        const QString code = catalogue.entry(k).name + QStringLiteral("1");
        if (AtlasPoints::linksTo(code) && atlas.contains(code))
            placeMarks(atlas.position(code));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    for (const char *name : {"Dots.INI", "Dots24.INI", "DesDots.INI", "DesDotsNames.INI"})
        FuzzScratch::writeFile(FuzzScratch::installFolder() + QLatin1Char('/') + QLatin1String(name), data, size);

    checkPoints();
    checkChannels();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    checkDiseasePoints(QString::fromLatin1(bytes.left(bytes.indexOf('\n'))));
    return 0;
}
