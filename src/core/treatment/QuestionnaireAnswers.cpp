#include "QuestionnaireAnswers.h"

QuestionnaireAnswers QuestionnaireAnswers::empty(const Questionnaire &questionnaire)
{
    QuestionnaireAnswers answers;
    answers.groupCount = int(questionnaire.groups().size());
    for (const Questionnaire::Page &page : questionnaire.pages())
        answers.ticked.append(QList<bool>(page.symptoms.size(), false));
    return answers;
}

QuestionnaireAnswers QuestionnaireAnswers::fromState(const Questionnaire &questionnaire,
                                                     const QString &state)
{
    QuestionnaireAnswers answers = empty(questionnaire);
    int i = 0;
    const auto on = [&state](int index) {
        return index < state.size() && state.at(index) == QLatin1Char('1');
    };
    for (; i < answers.groupCount; ++i) {
        if (on(i))
            answers.group = i;
    }
    for (QList<bool> &page : answers.ticked) {
        for (qsizetype s = 0; s < page.size(); ++s)
            page[s] = on(i++);
    }
    return answers;
}

QString QuestionnaireAnswers::state() const
{
    QString text;
    for (int g = 0; g < groupCount; ++g)
        text.append(g == group ? QLatin1Char('1') : QLatin1Char('0'));
    for (const QList<bool> &page : ticked) {
        for (bool on : page)
            text.append(on ? QLatin1Char('1') : QLatin1Char('0'));
    }
    return text;
}

bool QuestionnaireAnswers::isTicked(int page, int symptom) const
{
    return page >= 0 && page < ticked.size() && symptom >= 0 && symptom < ticked.at(page).size()
           && ticked.at(page).at(symptom);
}

void QuestionnaireAnswers::setTicked(int page, int symptom, bool on)
{
    if (page >= 0 && page < ticked.size() && symptom >= 0 && symptom < ticked.at(page).size())
        ticked[page][symptom] = on;
}

bool QuestionnaireAnswers::pageAnswered(int page) const
{
    return page >= 0 && page < ticked.size() && ticked.at(page).contains(true);
}

int QuestionnaireAnswers::groupCourse(const Questionnaire &questionnaire) const
{
    return group >= 0 && group < questionnaire.groups().size()
               ? questionnaire.groups().at(group).course
               : 0;
}

QStringList QuestionnaireAnswers::weightStrings(const Questionnaire &questionnaire) const
{
    QStringList list;
    for (int p = 0; p < ticked.size() && p < questionnaire.pages().size(); ++p) {
        const auto &symptoms = questionnaire.pages().at(p).symptoms;
        for (int s = 0; s < ticked.at(p).size() && s < symptoms.size(); ++s) {
            if (ticked.at(p).at(s))
                list.append(symptoms.at(s).weights);
        }
    }
    return list;
}
