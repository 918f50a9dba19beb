// The inquiry questionnaire file (Inquirer.<language>.INI in the install folder) and what the
// stored answers say when read against it.

#include "FuzzScratch.h"

#include "symptoms/InquirerAnswers.h"
#include "symptoms/InquirerCategories.h"
#include "symptoms/InquirerFile.h"
#include "symptoms/InquirerInterpretation.h"

namespace {

// Answer sets as the base may hold them: every question answered k, and a mixed set.
QList<QString> storedAnswerSets(int questions)
{
    QList<QString> sets;
    for (int k = 1; k <= 3; ++k)
        sets.append(InquirerAnswers::encode(QList<int>(questions, k)));
    QList<int> mixed;
    for (int i = 0; i < questions; ++i)
        mixed.append(i % 7 - 1);
    sets.append(InquirerAnswers::encode(mixed));
    return sets;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzScratch::setUp();
    FuzzScratch::writeFile(FuzzScratch::installFolder() + QStringLiteral("/Inquirer.Fuzz.INI"), data, size);
    const QString path = InquirerFile::pathFor(QStringLiteral("Fuzz"));
    FUZZ_CHECK(path.endsWith(QLatin1String("Inquirer.Fuzz.INI")));

    const InquirerFile file = InquirerFile::load(path);
    FUZZ_CHECK(file.existed());
    FUZZ_CHECK(file.count() <= InquirerFile::MaxQuestions);
    QList<int> answerCounts;
    for (const InquirerItem &item : file.items()) {
        FUZZ_CHECK(item.answers.size() <= InquirerFile::MaxAnswers);
        FUZZ_CHECK(item.interpretations.size() == item.answers.size());
        answerCounts.append(int(item.answers.size()));
    }
    file.item(-1);
    file.item(file.count());

    for (int type = 0; type < InquirerCategories::Count; ++type) {
        const InquirerCategories::Range range = InquirerCategories::range(type, file.count());
        FUZZ_CHECK(range.lo >= 0 && range.hi <= file.count() && range.size() >= 0);
        const QList<int> counts = answerCounts.mid(range.lo, range.size());
        for (const QString &stored : storedAnswerSets(range.size())) {
            const QList<int> answers = InquirerAnswers::decode(stored, counts);
            FUZZ_CHECK(answers.size() == counts.size());
            for (qsizetype i = 0; i < answers.size(); ++i)
                FUZZ_CHECK(answers.at(i) >= 0 && answers.at(i) <= counts.at(i));
            const qsizetype answered = answers.size() - answers.count(0);
            FUZZ_CHECK(InquirerInterpretation::findings(file.items(), range, answers).size() == answered);
        }
    }
    return 0;
}
