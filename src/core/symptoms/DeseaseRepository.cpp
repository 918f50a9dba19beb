#include "DeseaseRepository.h"

#include "common/Cp1251.h"
#include "common/ErrorOut.h"
#include "common/TextOrder.h"
#include "records/DataModule.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>

namespace {
// Text columns are written as given, or NULL when empty (as the catalogue always had them).
QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}
} // namespace

DeseaseRepository::DeseaseRepository(DataModule *data)
    : m_data(data)
{
}

bool DeseaseRepository::isAvailable() const
{
    return m_data && m_data->isOpen();
}

bool DeseaseRepository::ready(QString *error) const
{
    if (isAvailable())
        return true;
    setError(error, QStringLiteral("The database is not open."));
    return false;
}

QStringList DeseaseRepository::names(QString *error) const
{
    QStringList names;
    if (!ready(error))
        return names;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT NAME FROM DESEASE ORDER BY NAME ASC"))) {
        setError(error, QStringLiteral("Cannot read the diseases: ") + query.lastError().text());
        return names;
    }
    while (query.next())
        names.append(query.value(0).toString().trimmed());
    // The base sorts by code page bytes (capitals before small letters); people expect the
    // alphabet.
    std::stable_sort(names.begin(), names.end(), alphabeticalLess);
    return names;
}

std::optional<DeseaseRecord> DeseaseRepository::find(const QString &name, QString *error) const
{
    if (!ready(error))
        return std::nullopt;
    const QString wanted = name.trimmed();
    if (wanted.isEmpty() || wanted.size() > MaxNameLength)
        return std::nullopt;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT NAME, DOTS, ABOUT, PLANT, PLANT_PIC FROM DESEASE WHERE TRIM(NAME) = ?"));
    query.addBindValue(wanted);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the disease: ") + query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    DeseaseRecord r;
    r.name = query.value(0).toString().trimmed();
    r.dots = query.value(1).toString().trimmed();
    r.about = DataModule::memoText(query.value(2));
    r.plant = DataModule::memoText(query.value(3));
    r.plantPicture = query.value(4).toByteArray();
    return r;
}

bool DeseaseRepository::exists(const QString &name, QString *error) const
{
    QString listError;
    const QStringList all = names(&listError);
    if (!listError.isEmpty()) {
        setError(error, listError);
        return false;
    }
    const QString wanted = name.trimmed();
    return std::any_of(all.cbegin(), all.cend(), [&wanted](const QString &n) {
        return QString::compare(n, wanted, Qt::CaseInsensitive) == 0;
    });
}

QString DeseaseRepository::storableHtml(const QString &html)
{
    if (Cp1251::canEncode(html))
        return html;
    QString out;
    out.reserve(html.size());
    for (const char32_t c : html.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (Cp1251::canEncode(one))
            out += one;
        else
            out += QStringLiteral("&#%1;").arg(quint32(c));
    }
    return out;
}

DeseaseRepository::AddResult DeseaseRepository::add(const DeseaseRecord &record, QString *error,
                                                    QString *unstorableField)
{
    if (!ready(error))
        return AddResult::Failed;
    const QString name = record.name.trimmed();
    if (name.isEmpty()) {
        setError(error, QStringLiteral("The disease needs a name."));
        return AddResult::EmptyName;
    }
    if (name.size() > MaxNameLength) {
        setError(error, QStringLiteral("The name is longer than %1 characters.").arg(MaxNameLength));
        return AddResult::NameTooLong;
    }
    QString existsError;
    if (exists(name, &existsError)) {
        setError(error, QStringLiteral("A disease of this name exists already."));
        return AddResult::Duplicate;
    }
    if (!existsError.isEmpty()) {
        setError(error, existsError);
        return AddResult::Failed;
    }
    const QString dots = record.dots.trimmed();
    if (dots.isEmpty()) {
        setError(error, QStringLiteral("The disease needs its points."));
        return AddResult::NoDots;
    }
    if (dots.size() > MaxDotsLength) {
        setError(error, QStringLiteral("The point list is too long."));
        return AddResult::DotsTooLong;
    }
    const QString about = storableHtml(record.about);
    const struct
    {
        const char *column;
        const QString &text;
    } texts[] = {{"NAME", name}, {"DOTS", dots}, {"PLANT", record.plant}};
    for (const auto &t : texts) {
        if (!Cp1251::canEncode(t.text)) {
            if (unstorableField)
                *unstorableField = QLatin1String(t.column);
            setError(error, QStringLiteral("The text holds characters the base cannot store."));
            return AddResult::Unstorable;
        }
    }
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral(
        "INSERT INTO DESEASE (NAME, DOTS, ABOUT, PLANT, PLANT_PIC) VALUES (?, ?, ?, ?, ?)"));
    query.addBindValue(name);
    query.addBindValue(dots);
    query.addBindValue(textOrNull(about));
    query.addBindValue(textOrNull(record.plant));
    query.addBindValue(record.plantPicture.isEmpty()
                           ? QVariant(QMetaType(QMetaType::QByteArray))
                           : QVariant(record.plantPicture));
    // Outside a transaction of the caller the driver commits the row at once.
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot store the disease: ") + query.lastError().text());
        return AddResult::Failed;
    }
    return AddResult::Added;
}

bool DeseaseRepository::remove(const QString &name, QString *error)
{
    if (!ready(error))
        return false;
    const QString wanted = name.trimmed();
    if (wanted.isEmpty() || wanted.size() > MaxNameLength) {
        setError(error, QStringLiteral("There is no disease of that name."));
        return false;
    }
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("DELETE FROM DESEASE WHERE TRIM(NAME) = ?"));
    query.addBindValue(wanted);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot delete the disease: ") + query.lastError().text());
        return false;
    }
    if (query.numRowsAffected() == 0) {
        setError(error, QStringLiteral("There is no disease of that name."));
        return false;
    }
    return true;
}
