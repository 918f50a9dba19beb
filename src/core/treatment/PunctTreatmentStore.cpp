#include "PunctTreatmentStore.h"

#include "common/ErrorOut.h"
#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

constexpr int kClientWidth = 16; // the CODE_CLIENT column
constexpr int kStateWidth = 4000; // the TREATMENT column

const QString kMatch = QStringLiteral(
    "CODE_TEST = ? AND UPPER(CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(16)))");

bool usable(DataModule &data, const QString &client, int codeTest, QString *error)
{
    if (!data.isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    if (client.isEmpty() || client.size() > kClientWidth || codeTest <= 0) {
        setError(error, QStringLiteral("The questionnaire needs a client and a stored test."));
        return false;
    }
    return true;
}

} // namespace

bool PunctTreatmentStore::load(DataModule &data, const QString &codeClient, int codeTest,
                               std::optional<QString> *state, QString *error)
{
    state->reset();
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    QSqlQuery query(data.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT FIRST 1 TREATMENT FROM PUNCT_TREATMENT WHERE ") + kMatch);
    query.addBindValue(codeTest);
    query.addBindValue(client);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the questionnaire: ") + query.lastError().text());
        return false;
    }
    if (query.next())
        *state = query.value(0).toString();
    return true;
}

bool PunctTreatmentStore::save(DataModule &data, const QString &codeClient, int codeTest,
                               const QString &state, QString *error)
{
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    if (state.size() > kStateWidth) {
        setError(error, QStringLiteral("The questionnaire has more answers than can be stored."));
        return false;
    }
    QSqlDatabase db = data.database();
    if (!db.transaction()) {
        setError(error, QStringLiteral("Cannot store the questionnaire: ") + db.lastError().text());
        return false;
    }
    bool ok = false;
    QString problem;
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM PUNCT_TREATMENT WHERE ") + kMatch);
        query.addBindValue(codeTest);
        query.addBindValue(client);
        if (query.exec() && query.next()) {
            const bool exists = query.value(0).toInt() > 0;
            query.finish();
            QSqlQuery write(db);
            if (exists) {
                write.prepare(QStringLiteral("UPDATE PUNCT_TREATMENT SET CODE_CLIENT = ?, "
                                             "TREATMENT = ? WHERE ")
                              + kMatch);
                write.addBindValue(client);
                write.addBindValue(state);
                write.addBindValue(codeTest);
                write.addBindValue(client);
            } else {
                write.prepare(QStringLiteral("INSERT INTO PUNCT_TREATMENT (CODE_TEST, CODE_CLIENT, "
                                             "TREATMENT, COMMENT) VALUES (?, ?, ?, '')"));
                write.addBindValue(codeTest);
                write.addBindValue(client);
                write.addBindValue(state);
            }
            ok = write.exec();
            if (!ok)
                problem = write.lastError().text();
        } else {
            problem = query.lastError().text();
        }
    }
    if (ok && db.commit())
        return true;
    if (problem.isEmpty())
        problem = db.lastError().text();
    db.rollback();
    setError(error, QStringLiteral("Cannot store the questionnaire: ") + problem);
    return false;
}
