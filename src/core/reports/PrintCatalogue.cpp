#include "PrintCatalogue.h"

#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {
// Both sides are raised to capitals by the engine, so the comparison agrees with the way the
// base folds its own text.
const char kLanguageCondition[] =
    " WHERE UPPER(LANGUAGE) STARTING WITH UPPER(CAST(? AS VARCHAR(50)))";

bool runFiltered(DataModule *data, const QString &language, const QString &select,
                 QSqlQuery &query, QString *error)
{
    if (!data || !data->isOpen()) {
        if (error)
            *error = QStringLiteral("The database is not open.");
        return false;
    }
    if (language.trimmed().isEmpty())
        return false;
    query = QSqlQuery(data->database());
    query.setForwardOnly(true);
    if (!query.prepare(select + QLatin1String(kLanguageCondition))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    query.addBindValue(language.trimmed());
    if (!query.exec()) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    return true;
}
} // namespace

PrintCatalogue::PrintCatalogue(DataModule *data, QObject *parent)
    : QObject(parent)
    , m_data(data)
{
}

void PrintCatalogue::setLanguage(const QString &language)
{
    if (language == m_language)
        return;
    m_language = language;
    Q_EMIT languageChanged(m_language);
}

QList<PrintCatalogue::Recommendation> PrintCatalogue::recommendations(QString *error) const
{
    QList<Recommendation> rows;
    QSqlQuery query;
    if (!runFiltered(m_data, m_language,
                     QStringLiteral("SELECT NAME, DESCRIPTION, LANGUAGE FROM RECOMENDATION"), query,
                     error))
        return rows;
    while (query.next()) {
        Recommendation r;
        r.name = query.value(0).toString().trimmed();
        r.description = DataModule::memoText(query.value(1));
        r.language = query.value(2).toString().trimmed();
        rows.append(r);
    }
    return rows;
}

QList<PrintCatalogue::Stencil> PrintCatalogue::stencils(QString *error) const
{
    QList<Stencil> rows;
    QSqlQuery query;
    if (!runFiltered(m_data, m_language,
                     QStringLiteral("SELECT NAME, HEADER, FOOTER, QUEUE, PRIORITY, LANGUAGE, "
                                    "RECOMENDATION FROM STENCILS"),
                     query, error))
        return rows;
    while (query.next()) {
        Stencil s;
        s.name = query.value(0).toString().trimmed();
        s.header = DataModule::memoText(query.value(1));
        s.footer = DataModule::memoText(query.value(2));
        s.queue = query.value(3).toString();
        s.priority = query.value(4).toInt();
        s.language = query.value(5).toString().trimmed();
        s.recommendations = DataModule::memoText(query.value(6));
        rows.append(s);
    }
    return rows;
}
