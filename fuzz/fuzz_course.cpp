// Treatment course files (main/<language>/<N>.txt) and the meridian relation file
// (main/lo01.txt) of the install folder, read the way the acupuncture recipe reads them. The
// input stands for both files.

#include "FuzzScratch.h"

#include "treatment/MeridianRelations.h"
#include "treatment/PunctEvaluation.h"
#include "treatment/TreatmentCourse.h"

namespace {

void checkCourse(const TreatmentCourse &course)
{
    FUZZ_CHECK(course.sessions.size() == TreatmentCourse::SessionCount);
    for (const TreatmentCourse::Session &session : course.sessions) {
        FUZZ_CHECK(session.hasValue || session.items.isEmpty());
        FUZZ_CHECK(session.hasValue2 || (session.text.isEmpty() && session.points.isEmpty()));
        for (const QString &point : session.points)
            FUZZ_CHECK(!point.isEmpty() && !point.contains(QLatin1Char('#')));
    }
}

void checkRelations(const MeridianRelations &relations)
{
    for (int m = 0; m <= MeridianRelations::Count + 1; ++m) {
        for (const int related : relations.row(m).related)
            FUZZ_CHECK(related >= 0 && related <= MeridianRelations::Count);
    }
}

// Scores that put meridian m in excess and the meridians the file relates to it in
// deficiency, so the recipe takes every relation the file gives.
QStringList weightsFor(const MeridianRelations &relations, int m)
{
    QStringList weights{QStringLiteral("1;%1,5").arg(m)};
    for (const int related : relations.row(m).related) {
        if (related > 0)
            weights.append(QStringLiteral("1;%1,-5").arg(related));
    }
    return weights;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    FuzzScratch::writeFile(FuzzScratch::installFolder() + QStringLiteral("/main/Fuzz/1.txt"), data, size);
    FuzzScratch::writeFile(FuzzScratch::installFolder() + QLatin1Char('/') + MeridianRelations::fileName(),
                           data, size);

    const std::optional<TreatmentCourse> course = TreatmentCourse::load(QStringLiteral("Fuzz"), 1);
    FUZZ_CHECK(course.has_value());
    checkCourse(*course);

    QString error;
    const MeridianRelations relations = MeridianRelations::load(&error);
    FUZZ_CHECK(error.isEmpty());
    checkRelations(relations);

    // Every course number the recipe asks for gives the input's course.
    const auto courses = [&course](int) { return course; };
    const auto text = [](const QString &key) { return key; };
    for (int m = 1; m <= MeridianRelations::Count; ++m) {
        const PunctEvaluation::Result result =
            PunctEvaluation::evaluate(weightsFor(relations, m), 1, relations, courses, text);
        FUZZ_CHECK(result.message.isEmpty());
        for (const LoSourceRecipe::Entry &entry : result.recipe)
            FUZZ_CHECK(entry.meridian >= 1 && entry.meridian <= MeridianRelations::Count);
    }
    return 0;
}
