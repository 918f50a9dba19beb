#include "ClientRepository.h"

#include "ClientConflicts.h"
#include "ClientKeys.h"
#include "ClientRows.h"
#include "ClientSync.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"
#include "common/ErrorOut.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>

#include <algorithm>

namespace {

// Keys are "Q7" + number: ordering by length first lists them in the order they were made. The
// list is sorted here rather than by the engine, which costs several times more with many cards.
QList<ClientListEntry> readList(const QSqlDatabase &db, const ClientSearch *search,
                               QString *error) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT CODE_CLIENT, NAME, SURNAME FROM CLIENTS");
    if (search)
        sql += QStringLiteral(" WHERE ") + search->condition();
    query.prepare(sql);
    if (search) {
        for (const QVariant &value : search->values())
            query.addBindValue(value);
    }
    if (!query.exec()) {
        setError(error, (search ? QStringLiteral("Cannot search the clients: ")
                                : QStringLiteral("Cannot read the clients: "))
                            + query.lastError().text());
        return {};
    }
    QList<ClientListEntry> rows;
    while (query.next())
        rows.append(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
    std::sort(rows.begin(), rows.end(), [](const ClientListEntry &a, const ClientListEntry &b) {
        return a.code.size() != b.code.size() ? a.code.size() < b.code.size() : a.code < b.code;
    });
    return rows;
}

QVariant textOrNull(const QString &text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant dateOrNull(const QDate &date) {
    return date.isValid() ? QVariant(date) : QVariant(QMetaType(QMetaType::QDate));
}

} // namespace

ClientRepository::ClientRepository(DataModule *data)
    : m_data(data) {}

bool ClientRepository::ready(QString *error) const {
    if (m_data && m_data->isOpen())
        return true;
    setError(error, QStringLiteral("The database is not open."));
    return false;
}

QList<ClientListEntry> ClientRepository::list(QString *error) const {
    if (!ready(error))
        return {};
    return readList(m_data->database(), nullptr, error);
}

QList<ClientListEntry> ClientRepository::find(const ClientSearch &search, QString *error) const {
    if (!ready(error) || !search.canMatch())
        return {};
    return readList(m_data->database(), &search, error);
}

QList<ClientListEntry> ClientRepository::listAt(const QString &path,
                                                const std::optional<ClientSearch> &search,
                                                QString *error) {
    if (search && !search->canMatch())
        return {};
    static QAtomicInt counter;
    const QString name =
        QStringLiteral("vandrel-client-list-%1").arg(counter.fetchAndAddRelaxed(1));
    QList<ClientListEntry> rows;
    {
        QSqlDatabase db = DataModule::addConnection(name, path);
        if (db.open())
            rows = readList(db, search ? &*search : nullptr, error);
        else
            setError(error, QStringLiteral("Cannot open the database %1: %2")
                                .arg(path, db.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

std::optional<ClientCard> ClientRepository::card(const QString &code, QString *error) const {
    if (!ready(error) || code.size() > SchemaUpgrade::ClientCodeWidth)
        return std::nullopt;
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT CODE_CLIENT, NAME, SURNAME, BIRTHDAY, WEIGHT, HEIGHT, SEX, CITY, ADRESS, "
        "ADRESS2, INDEX1, SAIT, E_MAIL, TEL1, TEL2, TEL3, FOTO, DATECREATE, COMMENT, COUNTRY, "
        "SKYPE, SKYPETYPE, FOR_PRINT FROM CLIENTS WHERE CODE_CLIENT = ?"));
    query.addBindValue(code);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot read the client: ") + query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    ClientCard c;
    int i = 0;
    c.code = query.value(i++).toString();
    c.name = query.value(i++).toString();
    c.surname = query.value(i++).toString();
    c.birthday = query.value(i++).toDate();
    c.weight = query.value(i++).toString();
    c.height = query.value(i++).toString();
    c.sex = query.value(i++).toString();
    c.city = query.value(i++).toString();
    c.adress = query.value(i++).toString();
    c.adress2 = query.value(i++).toString();
    c.index1 = query.value(i++).toString();
    c.sait = query.value(i++).toString();
    c.eMail = query.value(i++).toString();
    c.tel1 = query.value(i++).toString();
    c.tel2 = query.value(i++).toString();
    c.tel3 = query.value(i++).toString();
    const QByteArray foto = query.value(i++).toByteArray();
    c.foto = foto == "0" ? QByteArray() : foto;
    c.dateCreate = query.value(i++).toDate();
    c.comment = DataModule::memoText(query.value(i++));
    c.country = query.value(i++).toString();
    c.skype = query.value(i++).toString();
    const QVariant skypeType = query.value(i++);
    c.skypeType = skypeType.isNull() ? -1 : skypeType.toInt();
    c.forPrint = DataModule::memoText(query.value(i++));
    return c;
}

bool ClientRepository::photoBytes(const QString &photoSource, QByteArray *bytes,
                                  QString *error) const {
    bytes->clear();
    if (photoSource.isEmpty() || !QFileInfo(photoSource).isFile())
        return true; // no photo: the base keeps "0"
    QFile file(photoSource);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(
            error,
            QStringLiteral("Cannot read the photo %1: %2").arg(photoSource, file.errorString()));
        return false;
    }
    *bytes = file.readAll();
    return true;
}

QByteArray ClientRepository::storedFoto(const QByteArray &foto) {
    return foto.isEmpty() ? QByteArrayLiteral("0") : foto;
}

QImage ClientRepository::decodePhoto(const QByteArray &foto) {
    if (foto.isEmpty() || foto == "0")
        return QImage();
    return QImage::fromData(foto);
}

bool ClientRepository::inTransaction(const QString &what,
                                     const std::function<bool(QString *)> &body, QString *error)
{
    QSqlDatabase db = m_data->database();
    QString failure;
    for (int attempt = 0; attempt < 50; ++attempt) {
        failure.clear();
        if (!db.transaction()) {
            failure = db.lastError().text();
        } else if (body(&failure) && db.commit()) {
            return true;
        } else {
            if (failure.isEmpty())
                failure = db.lastError().text();
            db.rollback();
        }
        // The synchronisation may hold this card's row for a moment.
        const bool busy = failure.contains(QLatin1String("deadlock"), Qt::CaseInsensitive)
                          || failure.contains(QLatin1String("conflict"), Qt::CaseInsensitive);
        if (!busy)
            break;
        QThread::msleep(40);
    }
    setError(error, what + QStringLiteral(": ") + failure);
    return false;
}

bool ClientRepository::markChanged(const QString &code, bool deleted, QString *error)
{
    // The mark's time tells a later save from this one, so it only ever moves forward.
    QDateTime when = QDateTime::currentDateTime();
    QSqlQuery last(m_data->database());
    last.setForwardOnly(true);
    last.prepare(QStringLiteral("SELECT CHANGED_AT FROM SYNC_PENDING WHERE CODE_CLIENT = ?"));
    last.addBindValue(code);
    if (last.exec() && last.next()) {
        const QDateTime before = last.value(0).toDateTime();
        if (before.isValid() && when <= before)
            when = before.addMSecs(1);
    }
    last.finish();
    QSqlQuery mark(m_data->database());
    mark.prepare(QStringLiteral("UPDATE OR INSERT INTO SYNC_PENDING (CODE_CLIENT, CHANGED_AT, "
                                "DELETED) VALUES (?, ?, ?) MATCHING (CODE_CLIENT)"));
    mark.addBindValue(code);
    mark.addBindValue(when);
    mark.addBindValue(deleted ? 1 : 0);
    if (mark.exec())
        return true;
    setError(error, mark.lastError().text());
    return false;
}

bool ClientRepository::addCard(ClientCard &card, const QString &photoSource, const QDate &today,
                               QString *error, KeySource keys) {
    if (!ready(error))
        return false;
    QByteArray foto;
    if (!photoBytes(photoSource, &foto, error))
        return false;
    ClientCard stored = card;
    stored.foto = foto;
    stored.dateCreate = today;
    if (keys == KeySource::RunningNumber) {
        stored.code = ClientKeys::next(*m_data, error);
        if (stored.code.isEmpty())
            return false;
    }
    const bool ok = inTransaction(
        QStringLiteral("Cannot store the client card"),
        [&](QString *failure) {
            if (keys == KeySource::SharedBase) {
                stored.code = ClientKeys::takeForNewCard(m_data->database(), failure);
                if (stored.code.isEmpty())
                    return false;
            }
            return write(stored, true, true, failure) && markChanged(stored.code, false, failure);
        },
        error);
    if (!ok)
        return false;
    card = stored;
    return true;
}

bool ClientRepository::updateCard(ClientCard &card, const QString &photoSource, QString *error,
                                  const ClientCard *original) {
    if (!ready(error))
        return false;
    const bool withPhoto = photoSource != keepPhoto();
    ClientCard stored = card;
    if (withPhoto && !photoBytes(photoSource, &stored.foto, error))
        return false;
    // A card renamed by the synchronisation while it was being edited is found by its new key.
    stored.code = ClientKeys::currentKey(m_data->database(), stored.code);
    const bool ok = inTransaction(
        QStringLiteral("Cannot store the client card"),
        [&](QString *failure) {
            return write(stored, false, withPhoto, failure, original)
                   && markChanged(stored.code, false, failure);
        },
        error);
    if (!ok)
        return false;
    card.code = stored.code;
    if (withPhoto)
        card.foto = stored.foto;
    return true;
}

namespace {

struct Field
{
    QString column;
    QVariant value;
};

QList<Field> cardFields(const ClientCard &c)
{
    return {
        {QStringLiteral("NAME"), c.name.trimmed()},
        {QStringLiteral("SURNAME"), textOrNull(c.surname.trimmed())},
        {QStringLiteral("BIRTHDAY"), dateOrNull(c.birthday)},
        {QStringLiteral("WEIGHT"), textOrNull(c.weight.trimmed())},
        {QStringLiteral("HEIGHT"), textOrNull(c.height.trimmed())},
        {QStringLiteral("SEX"), textOrNull(c.sex)},
        {QStringLiteral("CITY"), textOrNull(c.city)},
        {QStringLiteral("ADRESS"), textOrNull(c.adress)},
        {QStringLiteral("ADRESS2"), textOrNull(c.adress2)},
        {QStringLiteral("INDEX1"), textOrNull(c.index1)},
        {QStringLiteral("SAIT"), textOrNull(c.sait)},
        {QStringLiteral("E_MAIL"), textOrNull(c.eMail)},
        {QStringLiteral("TEL1"), textOrNull(c.tel1)},
        {QStringLiteral("TEL2"), textOrNull(c.tel2)},
        {QStringLiteral("TEL3"), textOrNull(c.tel3)},
        {QStringLiteral("COMMENT"), textOrNull(c.comment)},
        {QStringLiteral("COUNTRY"), textOrNull(c.country)},
        {QStringLiteral("SKYPE"), textOrNull(c.skype)},
        {QStringLiteral("SKYPETYPE"), c.skypeType},
    };
}

// Whether two values of one field mean the same (null and empty text alike).
bool sameValue(const QVariant &a, const QVariant &b)
{
    return (ClientRows::isBlank(a) && ClientRows::isBlank(b))
           || ClientRows::digest(a) == ClientRows::digest(b);
}

} // namespace

bool ClientRepository::write(const ClientCard &c, bool insert, bool withPhoto, QString *error,
                             const ClientCard *original) {
    QStringList columns;
    QList<QVariant> values;
    const QList<Field> fields = cardFields(c);
    QList<Field> before;
    std::optional<ClientCard> current;
    if (original) {
        before = cardFields(*original);
        current = card(c.code, error);
        if (!current) {
            setError(error, QStringLiteral("The client %1 is no longer in the base.").arg(c.code));
            return false;
        }
    }
    const QList<Field> now = current ? cardFields(*current) : QList<Field>();
    for (int i = 0; i < fields.size(); ++i) {
        if (original && sameValue(fields.at(i).value, before.at(i).value))
            continue; // not touched in the editor: whatever the base holds now stays
        if (current && !sameValue(now.at(i).value, before.at(i).value)
            && !sameValue(now.at(i).value, fields.at(i).value)) {
            // Changed elsewhere while this was edited: the later edit (this one) wins and the
            // value it replaces is kept beside the card.
            ConflictNote note;
            note.code = c.code;
            note.field = fields.at(i).column;
            note.lostText = ClientRows::displayText(now.at(i).value);
            note.keptBy = ClientSync::configuredTarget().workstation;
            if (!ClientConflicts::add(m_data->database(), note, error))
                return false;
        }
        columns.append(fields.at(i).column);
        values.append(fields.at(i).value);
    }
    if (withPhoto) {
        columns.append(QStringLiteral("FOTO"));
        values.append(storedFoto(c.foto));
    }
    QString sql;
    if (insert) {
        columns.append({QStringLiteral("DATECREATE"), QStringLiteral("CODE_CLIENT")});
        values.append({dateOrNull(c.dateCreate), c.code});
        sql = QStringLiteral("INSERT INTO CLIENTS (") + columns.join(QStringLiteral(", ")) +
              QStringLiteral(") VALUES (") +
              QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")) +
              QLatin1Char(')');
    } else {
        if (columns.isEmpty())
            return true; // nothing was changed
        sql = QStringLiteral("UPDATE CLIENTS SET ") + columns.join(QStringLiteral(" = ?, ")) +
              QStringLiteral(" = ? WHERE CODE_CLIENT = ?");
        values.append(c.code);
    }
    QSqlQuery query(m_data->database());
    query.prepare(sql);
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    if (!query.exec()) {
        setError(error, query.lastError().text());
        return false;
    }
    if (!insert && query.numRowsAffected() == 0) {
        setError(error, QStringLiteral("The client %1 is no longer in the base.").arg(c.code));
        return false;
    }
    return true;
}

bool ClientRepository::removeCard(const QString &code, QString *error) {
    if (!ready(error))
        return false;
    const QString key = ClientKeys::currentKey(m_data->database(), code);
    return inTransaction(
        QStringLiteral("Cannot delete the client"),
        [&](QString *failure) {
            QSqlQuery query(m_data->database());
            query.prepare(QStringLiteral("DELETE FROM CLIENTS WHERE CODE_CLIENT = ?"));
            query.addBindValue(key);
            if (!query.exec()) {
                *failure = query.lastError().text();
                return false;
            }
            // A card never stored needs no word to the shared base.
            return query.numRowsAffected() == 0 || markChanged(key, true, failure);
        },
        error);
}
