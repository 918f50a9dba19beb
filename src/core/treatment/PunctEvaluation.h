#pragma once

#include "LoSourceRecipe.h"
#include "MeridianRelations.h"
#include "MeridianScoring.h"
#include "RecipeLine.h"
#include "TreatmentCourse.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// From the ticked questionnaire to the acupuncture result: scores and marks, the LO/source
// recipe, the course of the nosological group and, for a meridian in excess with the highest
// score, its course; all laid out as recipe lines for the page and the printed report.
class PunctEvaluation
{
public:
    using TextLookup = std::function<QString(const QString &key)>;
    using CourseLookup = std::function<std::optional<TreatmentCourse>(int number)>;

    struct Result
    {
        MeridianScoring::Scores scores{};
        MeridianScoring::Marks marks{};
        QList<LoSourceRecipe::Entry> recipe;
        bool pairFound = false;
        int groupCourse = 0;
        int meridianCourse = 0; // 0: no meridian course
        RecipeLines lines;
        QString message; // set (and no lines) when no nosological group is chosen
    };

    // `groupCourse` 0 means no nosological group is chosen.
    static Result evaluate(const QStringList &weightStrings, int groupCourse,
                           const MeridianRelations &relations, const CourseLookup &courses,
                           const TextLookup &text);

    // A course as lines: the title, then every session's header, items and point lists. A
    // missing course gives one attention line.
    static void appendCourse(RecipeLines &lines, const std::optional<TreatmentCourse> &course,
                             int number, const TextLookup &text);

    static QString separator() { return QStringLiteral("------------------------------------"); }
};
