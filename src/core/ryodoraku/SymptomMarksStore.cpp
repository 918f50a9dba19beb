#include "SymptomMarksStore.h"

#include "ChannelMarks.h"
#include "common/ErrorOut.h"
#include "records/DataModule.h"
#include "records/TestRowCheck.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

constexpr int kClientWidth = TestRowCheck::ClientWidth;

bool usable(DataModule &data, const QString &client, int codeTest, QString *error)
{
    return TestRowCheck::usable(data, client, codeTest, QStringLiteral("The symptom marks need a client and a stored test."), error);
}

QString findRowText()
{
    return QStringLiteral("SELECT FIRST 1 DATA FROM SYMPTOMS WHERE CODE_TEST = ? AND "
                          "UPPER(CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(%1)))")
        .arg(kClientWidth);
}

} // namespace

bool SymptomMarksStore::loadMarks(DataModule &data, const QString &codeClient, int codeTest,
                                  ChannelMarks &marks, QString *error)
{
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    QSqlQuery query(data.database());
    query.setForwardOnly(true);
    query.prepare(findRowText());
    query.addBindValue(codeTest);
    query.addBindValue(client);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the symptom marks: ")
                            + query.lastError().text());
        return false;
    }
    if (query.next())
        marks.parseData(DataModule::memoText(query.value(0)));
    return true;
}

bool SymptomMarksStore::saveMarks(DataModule &data, const QString &codeClient, int codeTest,
                                  const ChannelMarks &marks, QString *error)
{
    const QString client = codeClient.trimmed();
    if (!usable(data, client, codeTest, error))
        return false;
    const QString text = marks.dataText();
    QSqlDatabase db = data.database();
    if (!db.transaction()) {
        setError(error, QStringLiteral("Cannot store the symptom marks: ")
                            + db.lastError().text());
        return false;
    }
    bool ok = false;
    QString problem;
    {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("SELECT COUNT(*) FROM SYMPTOMS WHERE CODE_TEST = ? AND "
                                     "UPPER(CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(%1)))")
                          .arg(kClientWidth));
        query.addBindValue(codeTest);
        query.addBindValue(client);
        if (query.exec() && query.next()) {
            const bool exists = query.value(0).toInt() > 0;
            query.finish();
            QSqlQuery write(db);
            if (exists) {
                write.prepare(QStringLiteral(
                    "UPDATE SYMPTOMS SET CODE_CLIENT = ?, DATA = ? WHERE CODE_TEST = ? AND "
                    "UPPER(CODE_CLIENT) = UPPER(CAST(? AS VARCHAR(%1)))")
                                  .arg(kClientWidth));
                write.addBindValue(client);
                write.addBindValue(text);
                write.addBindValue(codeTest);
                write.addBindValue(client);
            } else {
                write.prepare(QStringLiteral(
                    "INSERT INTO SYMPTOMS (CODE_CLIENT, CODE_TEST, DATA) VALUES (?, ?, ?)"));
                write.addBindValue(client);
                write.addBindValue(codeTest);
                write.addBindValue(text);
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
    setError(error, QStringLiteral("Cannot store the symptom marks: ") + problem);
    return false;
}
