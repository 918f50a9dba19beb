#pragma once

#include "Questionnaire.h"

#include <QList>
#include <QString>
#include <QStringList>

// What the practitioner ticked on a questionnaire: the chosen nosological group and the
// symptom checkboxes page by page. Stored per test as one character per control in display
// order, "1" checked and "0" not: the group radio buttons first, then the symptoms of every
// page in order.
struct QuestionnaireAnswers
{
    int group = -1;            // index into Questionnaire::groups(), -1 when none is chosen
    QList<QList<bool>> ticked; // per page, per symptom

    // All unchecked, shaped like the questionnaire.
    static QuestionnaireAnswers empty(const Questionnaire &questionnaire);
    // A state string applied: characters beyond the string leave their controls unchecked,
    // characters beyond the controls are ignored. Of several chosen groups the last one
    // stays chosen, as radio buttons behave.
    static QuestionnaireAnswers fromState(const Questionnaire &questionnaire, const QString &state);
    QString state() const;

    bool isTicked(int page, int symptom) const;
    void setTicked(int page, int symptom, bool on);
    bool pageAnswered(int page) const;
    // The course number of the chosen group, 0 when none is chosen.
    int groupCourse(const Questionnaire &questionnaire) const;
    // The weight strings of the ticked symptoms, in display order.
    QStringList weightStrings(const Questionnaire &questionnaire) const;

    int groupCount = 0; // radio buttons the state string begins with
};
