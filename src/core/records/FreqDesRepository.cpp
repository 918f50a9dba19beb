#include "FreqDesRepository.h"

#include "DataModule.h"
#include "common/Cp1251.h"
#include "common/ErrorOut.h"
#include "common/SeparatedList.h"
#include "common/TextOrder.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

FreqDesRepository::FreqDesRepository(DataModule *data)
    : m_data(data)
{
}

bool FreqDesRepository::isAvailable() const
{
    return m_data && m_data->isOpen();
}

bool FreqDesRepository::ready(QString *error) const
{
    if (isAvailable())
        return true;
    setError(error, QStringLiteral("The database is not open."));
    return false;
}

QStringList FreqDesRepository::diseases(QString *error) const
{
    QStringList names;
    if (!ready(error))
        return names;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT DESEASE FROM FREQ_DES ORDER BY DESEASE ASC"))) {
        setError(error, QStringLiteral("Cannot read the diseases: ") + query.lastError().text());
        return names;
    }
    while (query.next()) {
        const QString name = query.value(0).toString().trimmed();
        if (!name.isEmpty())
            names.append(name);
    }
    // The base sorts by code page bytes (capitals before small letters); people expect the
    // alphabet. A name stored twice is listed once: both rows answer to it alike.
    std::sort(names.begin(), names.end(), alphabeticalLess);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool FreqDesRepository::contains(const QString &disease, QString *error) const
{
    return readRow(disease, nullptr, nullptr, error);
}

bool FreqDesRepository::readRow(const QString &disease, QString *freq, QString *comment,
                                QString *error) const
{
    if (!ready(error))
        return false;
    const QString name = disease.trimmed();
    if (name.isEmpty() || name.size() > MaxNameLength) {
        setError(error, QStringLiteral("There is no disease of that name."));
        return false;
    }
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT FREQ, COMMENT FROM FREQ_DES WHERE TRIM(DESEASE) = ?"));
    query.addBindValue(name);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the disease: ") + query.lastError().text());
        return false;
    }
    if (!query.next()) {
        setError(error, QStringLiteral("There is no disease of that name."));
        return false;
    }
    if (freq)
        *freq = DataModule::memoText(query.value(0));
    if (comment)
        *comment = DataModule::memoText(query.value(1));
    return true;
}

QStringList FreqDesRepository::frequencies(const QString &disease, QString *error) const
{
    QString freq;
    if (!readRow(disease, &freq, nullptr, error))
        return {};
    QStringList items = SeparatedList::split(freq);
    for (QString &item : items)
        item = item.trimmed();
    return items;
}

QString FreqDesRepository::comment(const QString &disease, QString *error) const
{
    QString text;
    readRow(disease, nullptr, &text, error);
    return text.trimmed();
}

bool FreqDesRepository::update(const QString &column, const QString &disease, const QString &value,
                               QString *error)
{
    if (!readRow(disease, nullptr, nullptr, error))
        return false;
    if (!Cp1251::canEncode(value)) {
        setError(error, QStringLiteral("The text holds characters the base cannot store."));
        return false;
    }
    QSqlQuery query(m_data->database());
    // `column` is one of two fixed names chosen by this class, never user text.
    query.prepare(QStringLiteral("UPDATE FREQ_DES SET ") + column
                  + QStringLiteral(" = ? WHERE TRIM(DESEASE) = ?"));
    query.addBindValue(value);
    query.addBindValue(disease.trimmed());
    // Outside a transaction of the caller the driver commits the change at once.
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot store the disease: ") + query.lastError().text());
        return false;
    }
    return true;
}

bool FreqDesRepository::setFrequencies(const QString &disease, const QStringList &frequencies,
                                       QString *error)
{
    QStringList items;
    for (const QString &f : frequencies) {
        const QString item = f.trimmed();
        if (item.isEmpty() || !SeparatedList::canHold(item)) {
            setError(error, QStringLiteral("\"%1\" cannot be stored as a frequency.").arg(f));
            return false;
        }
        items.append(item);
    }
    return update(QStringLiteral("FREQ"), disease, SeparatedList::join(items), error);
}

bool FreqDesRepository::setComment(const QString &disease, const QString &comment, QString *error)
{
    return update(QStringLiteral("COMMENT"), disease, comment, error);
}

FreqDesRepository::AddResult FreqDesRepository::addDisease(const QString &name, QString *error)
{
    if (!ready(error))
        return AddResult::Failed;
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        setError(error, QStringLiteral("The disease needs a name."));
        return AddResult::EmptyName;
    }
    if (trimmed.size() > MaxNameLength || !Cp1251::canEncode(trimmed)) {
        setError(error, QStringLiteral("The base cannot hold this name (at most %1 characters, "
                                       "Cyrillic and Latin letters).")
                            .arg(MaxNameLength));
        return AddResult::Unstorable;
    }
    QString listError;
    const QStringList existing = diseases(&listError);
    if (!listError.isEmpty()) {
        setError(error, listError);
        return AddResult::Failed;
    }
    for (const QString &other : existing) {
        if (QString::compare(other, trimmed, Qt::CaseInsensitive) == 0) {
            setError(error, QStringLiteral("A disease of this name exists already."));
            return AddResult::Duplicate;
        }
    }
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("INSERT INTO FREQ_DES (DESEASE, FREQ, COMMENT) VALUES (?, ?, ?)"));
    query.addBindValue(trimmed);
    query.addBindValue(QString());
    query.addBindValue(QString());
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot store the disease: ") + query.lastError().text());
        return AddResult::Failed;
    }
    return AddResult::Added;
}

bool FreqDesRepository::deleteDisease(const QString &disease, QString *error)
{
    if (!readRow(disease, nullptr, nullptr, error))
        return false;
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("DELETE FROM FREQ_DES WHERE TRIM(DESEASE) = ?"));
    query.addBindValue(disease.trimmed());
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot delete the disease: ") + query.lastError().text());
        return false;
    }
    return true;
}
