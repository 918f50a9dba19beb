#include "PunctTreatmentStore.h"

#include "TherapyStore.h"
#include "common/ErrorOut.h"
#include "records/DataModule.h"
#include "records/TestRowCheck.h"

namespace {

bool usable(DataModule &data, const QString &client, int codeTest, QString *error)
{
    return TestRowCheck::usable(data, client, codeTest, QStringLiteral("The questionnaire needs a client and a stored test."), error);
}

} // namespace

bool PunctTreatmentStore::load(DataModule &data, const QString &codeClient, int codeTest,
                               std::optional<QString> *state, QString *error)
{
    state->reset();
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    QString problem;
    const auto row = TherapyStore(&data, TherapyStore::Table::Punct).load(client, codeTest, &problem);
    if (!problem.isEmpty()) {
        setError(error, QStringLiteral("Cannot read the questionnaire: ") + problem);
        return false;
    }
    if (row)
        *state = row->treatment;
    return true;
}

bool PunctTreatmentStore::save(DataModule &data, const QString &codeClient, int codeTest,
                               const QString &state, QString *error)
{
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    if (state.size() > TherapyStore::MaxTreatmentLength) {
        setError(error, QStringLiteral("The questionnaire has more answers than can be stored."));
        return false;
    }
    QString problem;
    if (TherapyStore(&data, TherapyStore::Table::Punct).saveTreatment(client, codeTest, state, &problem))
        return true;
    setError(error, QStringLiteral("Cannot store the questionnaire: ") + problem);
    return false;
}
