#include "PunctEvaluation.h"

namespace {

using Kind = RecipeLine::Kind;

RecipeLine line(const QString &text, Kind kind, bool endsLine = true)
{
    return RecipeLine{text, kind, endsLine};
}

} // namespace

PunctEvaluation::Result PunctEvaluation::evaluate(const QStringList &weightStrings,
                                                  int groupCourse,
                                                  const MeridianRelations &relations,
                                                  const CourseLookup &courses,
                                                  const TextLookup &text)
{
    Result result;
    result.scores = MeridianScoring::score(weightStrings);
    result.marks = MeridianScoring::classify(result.scores);
    if (groupCourse <= 0) {
        result.message = text(QStringLiteral("Pngns"));
        return result;
    }
    result.groupCourse = groupCourse;
    result.recipe = LoSourceRecipe::build(relations, result.marks, &result.pairFound);
    const int top = MeridianScoring::maxMeridian(result.marks);
    if (top > 0 && result.marks[size_t(top - 1)].excess)
        result.meridianCourse = TreatmentCourse::excessCourse(top);

    RecipeLines &lines = result.lines;
    lines.append(line(separator(), Kind::Plain));
    if (result.pairFound) {
        lines.append(line(text(QStringLiteral("LoItem")), Kind::Heading));
        lines.append(line(text(QStringLiteral("PmerPass")), Kind::Heading));
        for (const LoSourceRecipe::Entry &entry : result.recipe) {
            lines.append(line(entry.point, Kind::Point, false));
            lines.append(line(text(entry.action == LoSourceRecipe::Action::Dispersion
                                       ? QStringLiteral("Dispersion")
                                       : QStringLiteral("Stimulation")),
                              Kind::Plain));
        }
    }
    lines.append(line(separator(), Kind::Plain));
    lines.append(line(text(QStringLiteral("AcupunctureRecipe")), Kind::Heading));
    appendCourse(lines, courses(groupCourse), groupCourse, text);
    if (result.meridianCourse > 0)
        appendCourse(lines, courses(result.meridianCourse), result.meridianCourse, text);
    return result;
}

void PunctEvaluation::appendCourse(RecipeLines &lines, const std::optional<TreatmentCourse> &course,
                                   int number, const TextLookup &text)
{
    if (!course) {
        QString missing = text(QStringLiteral("PunctCourseMissing"));
        if (missing.isEmpty())
            missing = QStringLiteral("The course file %1 was not found.");
        const QString file = QStringLiteral("%1.txt").arg(number);
        missing = missing.contains(QLatin1String("%1"))
                      ? missing.replace(QStringLiteral("%1"), file)
                      : missing + QLatin1Char(' ') + file;
        lines.append(line(missing, Kind::Attention));
        return;
    }
    lines.append(line(course->title, Kind::Heading));
    const QString session = text(QStringLiteral("Sess"));
    for (int i = 0; i < course->sessions.size(); ++i) {
        const TreatmentCourse::Session &s = course->sessions.at(i);
        lines.append(line(QStringLiteral("%1-%2").arg(i + 1).arg(session), Kind::Heading));
        for (const TreatmentCourse::Item &item : s.items) {
            // An item without a point code is an instruction alone, never an empty point.
            if (item.point.trimmed().isEmpty()) {
                if (!item.instruction.isEmpty())
                    lines.append(line(item.instruction, Kind::Plain));
                continue;
            }
            const bool alone = item.instruction.isEmpty();
            lines.append(line(item.point, Kind::Point, alone));
            if (!alone)
                lines.append(line(item.instruction, Kind::Plain));
        }
        if (s.hasValue2) {
            lines.append(line(s.text, Kind::Plain, s.points.isEmpty()));
            for (int p = 0; p < s.points.size(); ++p)
                lines.append(line(s.points.at(p), Kind::Point, p == s.points.size() - 1));
        }
    }
}
