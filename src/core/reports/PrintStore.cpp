#include "PrintStore.h"

#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QVariant memo(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

bool run(QSqlQuery &query, QString *error)
{
    if (query.exec())
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

} // namespace

PrintStore::PrintStore(DataModule *data)
    : m_data(data)
{
}

bool PrintStore::ready(QString *error) const
{
    if (m_data && m_data->isOpen())
        return true;
    if (error)
        *error = QStringLiteral("The database is not open.");
    return false;
}

bool PrintStore::stencilExists(const QString &name) const
{
    if (!ready(nullptr))
        return false;
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM STENCILS WHERE NAME = ?"));
    query.addBindValue(name.trimmed());
    return query.exec() && query.next() && query.value(0).toInt() > 0;
}

bool PrintStore::addStencil(const PrintCatalogue::Stencil &s, QString *error)
{
    const QString name = s.name.trimmed();
    if (!ready(error))
        return false;
    if (name.isEmpty() || name.size() > StencilNameWidth || stencilExists(name)) {
        if (error)
            error->clear();
        return false;
    }
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("INSERT INTO STENCILS (NAME, HEADER, FOOTER, QUEUE, PRIORITY, "
                                 "LANGUAGE, RECOMENDATION) VALUES (?, ?, ?, ?, 0, ?, ?)"));
    query.addBindValue(name);
    query.addBindValue(memo(s.header));
    query.addBindValue(memo(s.footer));
    query.addBindValue(s.queue);
    query.addBindValue(s.language);
    query.addBindValue(memo(s.recommendations));
    return run(query, error);
}

bool PrintStore::changeStencil(const PrintCatalogue::Stencil &s, QString *error)
{
    if (!ready(error))
        return false;
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("UPDATE STENCILS SET HEADER = ?, FOOTER = ?, QUEUE = ?, "
                                 "LANGUAGE = ?, RECOMENDATION = ? WHERE NAME = ?"));
    query.addBindValue(memo(s.header));
    query.addBindValue(memo(s.footer));
    query.addBindValue(s.queue);
    query.addBindValue(s.language);
    query.addBindValue(memo(s.recommendations));
    query.addBindValue(s.name.trimmed());
    return run(query, error);
}

bool PrintStore::removeStencil(const QString &name, QString *error)
{
    if (!ready(error))
        return false;
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("DELETE FROM STENCILS WHERE NAME = ?"));
    query.addBindValue(name.trimmed());
    return run(query, error);
}

bool PrintStore::markStencil(const QString &name, QString *error)
{
    if (!ready(error))
        return false;
    // One statement: the mark never rests on two templates, nor on none half-way.
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("UPDATE STENCILS SET PRIORITY = CASE WHEN NAME = ? THEN 1 ELSE 0 END"));
    query.addBindValue(name.trimmed());
    return run(query, error);
}

bool PrintStore::storeRecommendation(const PrintCatalogue::Recommendation &r, QString *error)
{
    const QString name = r.name.trimmed();
    if (!ready(error))
        return false;
    if (name.isEmpty() || name.size() > RecommendationNameWidth) {
        if (error)
            error->clear();
        return false;
    }
    int existing = 0;
    {
        QSqlQuery count(m_data->database());
        count.prepare(QStringLiteral("SELECT COUNT(*) FROM RECOMENDATION WHERE NAME = ? AND LANGUAGE = ?"));
        count.addBindValue(name);
        count.addBindValue(r.language);
        if (!run(count, error))
            return false;
        if (count.next())
            existing = count.value(0).toInt();
    }
    QSqlQuery query(m_data->database());
    if (existing > 0) {
        query.prepare(QStringLiteral("UPDATE RECOMENDATION SET DESCRIPTION = ? WHERE NAME = ? AND LANGUAGE = ?"));
        query.addBindValue(memo(r.description));
        query.addBindValue(name);
        query.addBindValue(r.language);
    } else {
        query.prepare(QStringLiteral("INSERT INTO RECOMENDATION (NAME, DESCRIPTION, LANGUAGE) VALUES (?, ?, ?)"));
        query.addBindValue(name);
        query.addBindValue(memo(r.description));
        query.addBindValue(r.language);
    }
    return run(query, error);
}

bool PrintStore::removeRecommendation(const QString &name, const QString &language, QString *error)
{
    if (!ready(error))
        return false;
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("DELETE FROM RECOMENDATION WHERE NAME = ? AND LANGUAGE = ?"));
    query.addBindValue(name.trimmed());
    query.addBindValue(language);
    return run(query, error);
}
