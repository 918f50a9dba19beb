// The acupuncture questionnaire of a language (main/<language>/diag_m.txt and diag03.txt in
// the install folder; the input stands for both), the stored ticks read against it and the
// meridian scores the ticks give.

#include "FuzzScratch.h"

#include "treatment/MeridianScoring.h"
#include "treatment/Questionnaire.h"
#include "treatment/QuestionnaireAnswers.h"

namespace {

// Stored states of every shape: all ticked, alternate ticks, and a state cut short.
QStringList storedStates(int controls)
{
    QString alternate;
    for (int i = 0; i < controls; ++i)
        alternate.append(i % 2 ? QLatin1Char('1') : QLatin1Char('0'));
    return {QString(controls, QLatin1Char('1')), alternate, QString(controls / 2, QLatin1Char('1')),
            QString(controls + 3, QLatin1Char('1'))};
}

void checkAnswers(const Questionnaire &questionnaire, const QString &stored)
{
    const QuestionnaireAnswers answers = QuestionnaireAnswers::fromState(questionnaire, stored);
    const QString state = answers.state();
    FUZZ_CHECK(state.size() == questionnaire.controlCount());
    // What is stored again reads back the same.
    FUZZ_CHECK(QuestionnaireAnswers::fromState(questionnaire, state).state() == state);
    FUZZ_CHECK(answers.group < int(questionnaire.groups().size()));
    const int course = answers.groupCourse(questionnaire);
    FUZZ_CHECK(answers.group < 0 ? course == 0 : course > 0);
    for (int page = 0; page < questionnaire.pages().size(); ++page)
        answers.pageAnswered(page);

    const QStringList weights = answers.weightStrings(questionnaire);
    for (const QString &text : weights) {
        for (const auto &[meridian, weight] : MeridianScoring::parseWeights(text))
            FUZZ_CHECK(meridian >= 1 && meridian <= MeridianScoring::Count);
    }
    const MeridianScoring::Marks marks = MeridianScoring::classify(MeridianScoring::score(weights));
    const int strongest = MeridianScoring::maxMeridian(marks);
    FUZZ_CHECK(strongest >= 0 && strongest <= MeridianScoring::Count);
    for (const MeridianScoring::Mark &mark : marks)
        FUZZ_CHECK(!(mark.excess && mark.deficiency));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    const QString folder = FuzzScratch::installFolder() + QStringLiteral("/main/Fuzz/");
    FuzzScratch::writeFile(folder + Questionnaire::groupFileName(), data, size);
    FuzzScratch::writeFile(folder + Questionnaire::symptomFileName(), data, size);

    QStringList missing;
    const Questionnaire questionnaire = Questionnaire::load(QStringLiteral("Fuzz"), &missing);
    FUZZ_CHECK(missing.isEmpty());
    FUZZ_CHECK(questionnaire.pages().size() <= Questionnaire::MaxPages);
    for (const Questionnaire::Group &group : questionnaire.groups())
        FUZZ_CHECK(group.course > 0 && !group.caption.isEmpty());
    for (const Questionnaire::Page &page : questionnaire.pages()) {
        for (const Questionnaire::Symptom &symptom : page.symptoms)
            FUZZ_CHECK(!symptom.caption.isEmpty());
    }
    for (const QString &stored : storedStates(questionnaire.controlCount()))
        checkAnswers(questionnaire, stored);
    return 0;
}
