// The texts the base keeps for a test and read back into the pages: symptom marks of the
// channels, questionnaire answers (inquiry and acupuncture), colour and frequency assignments,
// meridian weights, disease point lists and "&"-separated lists. Each reader gets the input as
// it stands; what is stored again must read back the same.

#include "FuzzScratch.h"

#include "common/SeparatedList.h"
#include "ryodoraku/ChannelMarks.h"
#include "symptoms/DotsListCodec.h"
#include "symptoms/InquirerAnswers.h"
#include "treatment/ColorAssignment.h"
#include "treatment/FreqAssignment.h"
#include "treatment/MeridianScoring.h"
#include "treatment/Questionnaire.h"
#include "treatment/QuestionnaireAnswers.h"

#include <cmath>

namespace {

void checkChannelMarks(const QString &text)
{
    ChannelMarks marks;
    marks.parseData(text);
    const QString stored = marks.dataText();
    ChannelMarks again;
    again.parseData(stored);
    FUZZ_CHECK(again.dataText() == stored);

    // The marks onto cards of every size, the first tick lists as long as the strings or not.
    QList<CardTicks> shown;
    for (int channel = -1; channel <= Channels::Count; ++channel) {
        CardTicks card;
        card.channel = channel;
        card.first = QList<bool>(channel + 1, false);
        card.second = QList<bool>(3, true);
        shown.append(card);
    }
    applyMarks(marks, shown);
    captureMarks(again, shown);
}

void checkSeparatedLists(const QString &text)
{
    const QStringList items = SeparatedList::split(text);
    for (const QString &item : items)
        FUZZ_CHECK(SeparatedList::canHold(item));
    FUZZ_CHECK(SeparatedList::split(SeparatedList::join(items)) == items);

    for (const DotsListCodec::Point &point : DotsListCodec::decode(text))
        FUZZ_CHECK(point.entry >= 0);
}

void checkAnswers(const QString &text)
{
    const QList<int> counts{0, 1, 2, 3, 5, 30, 4, 4, 4, 4};
    const QList<int> answers = InquirerAnswers::decode(text, counts);
    FUZZ_CHECK(answers.size() == counts.size());
    for (qsizetype i = 0; i < answers.size(); ++i)
        FUZZ_CHECK(answers.at(i) >= 0 && answers.at(i) <= counts.at(i));
    FUZZ_CHECK(InquirerAnswers::decode(InquirerAnswers::encode(answers), counts) == answers);

    static const Questionnaire questionnaire = Questionnaire::fromLines(
        {QStringLiteral("1=a"), QStringLiteral("2=b"), QStringLiteral("3=c")},
        {QStringLiteral("x=2;1,2;3,-4=Page"), QStringLiteral("y=1;12,9=*"),
         QStringLiteral("z=3;2,1=Second")});
    const QuestionnaireAnswers ticks = QuestionnaireAnswers::fromState(questionnaire, text);
    FUZZ_CHECK(ticks.state().size() == questionnaire.controlCount());
    FUZZ_CHECK(QuestionnaireAnswers::fromState(questionnaire, ticks.state()).state() == ticks.state());
}

void checkAssignments(const QString &text)
{
    if (const std::optional<QStringList> frequencies = FreqAssignment::fromText(text)) {
        FUZZ_CHECK(frequencies->size() == FreqAssignment::Channels);
        FUZZ_CHECK(FreqAssignment::fromText(FreqAssignment::toText(*frequencies)) == frequencies);
        for (const QString &frequency : *frequencies) {
            if (const std::optional<double> hz = FreqAssignment::parseHz(frequency))
                FUZZ_CHECK(std::isfinite(*hz) && *hz >= 0 && *hz <= FreqAssignment::MaxHz);
        }
    }
    if (const std::optional<double> hz = FreqAssignment::parseHz(text))
        FUZZ_CHECK(std::isfinite(*hz) && *hz >= 0 && *hz <= FreqAssignment::MaxHz);

    ColorAssignment colors;
    if (colors.fromText(text)) {
        ColorAssignment again;
        FUZZ_CHECK(again.fromText(colors.toText()));
        FUZZ_CHECK(again == colors);
    }
    ColorAssignment::parseColorText(text);
}

void checkWeights(const QString &text)
{
    for (const auto &[meridian, weight] : MeridianScoring::parseWeights(text))
        FUZZ_CHECK(meridian >= 1 && meridian <= MeridianScoring::Count);
    const MeridianScoring::Marks marks =
        MeridianScoring::classify(MeridianScoring::score({text, text, text}));
    const int strongest = MeridianScoring::maxMeridian(marks);
    FUZZ_CHECK(strongest >= 0 && strongest <= MeridianScoring::Count);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkChannelMarks(text);
    checkSeparatedLists(text);
    checkAnswers(text);
    checkAssignments(text);
    checkWeights(text);
    return 0;
}
