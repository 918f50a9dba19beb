#include "ClientRepository.h"

#include "ClientKeys.h"
#include "DataModule.h"
#include "SchemaUpgrade.h"
#include "common/ErrorOut.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Keys are "Q7" + number: ordering by length first lists them in the order they were made.
const QString g_listOrder = QStringLiteral(" ORDER BY CHAR_LENGTH(CODE_CLIENT), CODE_CLIENT");

QList<ClientListEntry> readList(QSqlQuery &query) {
    QList<ClientListEntry> rows;
    while (query.next())
        rows.append(
            {query.value(0).toString(), query.value(1).toString(), query.value(2).toString()});
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
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT CODE_CLIENT, NAME, SURNAME FROM CLIENTS") +
                    g_listOrder)) {
        setError(error, QStringLiteral("Cannot read the clients: ") + query.lastError().text());
        return {};
    }
    return readList(query);
}

QList<ClientListEntry> ClientRepository::find(const ClientSearch &search, QString *error) const {
    if (!ready(error) || !search.canMatch())
        return {};
    QSqlQuery query(m_data->database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT CODE_CLIENT, NAME, SURNAME FROM CLIENTS WHERE ") +
                  search.condition() + g_listOrder);
    for (const QVariant &value : search.values())
        query.addBindValue(value);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot search the clients: ") + query.lastError().text());
        return {};
    }
    return readList(query);
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

bool ClientRepository::addCard(ClientCard &card, const QString &photoSource, const QDate &today,
                               QString *error, const KeyCheck &freeElsewhere) {
    if (!ready(error))
        return false;
    QByteArray foto;
    if (!photoBytes(photoSource, &foto, error))
        return false;
    ClientCard stored = card;
    stored.foto = foto;
    stored.dateCreate = today;
    // Each key handed out advances the running number, so a taken key is never offered again.
    constexpr int MaxTries = 1000;
    for (int i = 0; i < MaxTries; ++i) {
        stored.code = ClientKeys::next(*m_data, error);
        if (stored.code.isEmpty())
            return false;
        if (!freeElsewhere || freeElsewhere(stored.code))
            break;
        if (i == MaxTries - 1) {
            setError(error, QStringLiteral("No free client key is left."));
            return false;
        }
    }
    if (!write(stored, true, true, error))
        return false;
    card = stored;
    return true;
}

bool ClientRepository::updateCard(ClientCard &card, const QString &photoSource, QString *error) {
    if (!ready(error))
        return false;
    const bool withPhoto = photoSource != keepPhoto();
    ClientCard stored = card;
    if (withPhoto && !photoBytes(photoSource, &stored.foto, error))
        return false;
    if (!write(stored, false, withPhoto, error))
        return false;
    if (withPhoto)
        card.foto = stored.foto;
    return true;
}

bool ClientRepository::write(const ClientCard &c, bool insert, bool withPhoto, QString *error) {
    QStringList columns = {
        QStringLiteral("NAME"),      QStringLiteral("SURNAME"), QStringLiteral("BIRTHDAY"),
        QStringLiteral("WEIGHT"),    QStringLiteral("HEIGHT"),  QStringLiteral("SEX"),
        QStringLiteral("CITY"),      QStringLiteral("ADRESS"),  QStringLiteral("ADRESS2"),
        QStringLiteral("INDEX1"),    QStringLiteral("SAIT"),    QStringLiteral("E_MAIL"),
        QStringLiteral("TEL1"),      QStringLiteral("TEL2"),    QStringLiteral("TEL3"),
        QStringLiteral("COMMENT"),   QStringLiteral("COUNTRY"), QStringLiteral("SKYPE"),
        QStringLiteral("SKYPETYPE"),
    };
    QList<QVariant> values = {
        c.name.trimmed(),
        textOrNull(c.surname.trimmed()),
        dateOrNull(c.birthday),
        textOrNull(c.weight.trimmed()),
        textOrNull(c.height.trimmed()),
        textOrNull(c.sex),
        textOrNull(c.city),
        textOrNull(c.adress),
        textOrNull(c.adress2),
        textOrNull(c.index1),
        textOrNull(c.sait),
        textOrNull(c.eMail),
        textOrNull(c.tel1),
        textOrNull(c.tel2),
        textOrNull(c.tel3),
        textOrNull(c.comment),
        textOrNull(c.country),
        textOrNull(c.skype),
        c.skypeType,
    };
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
        sql = QStringLiteral("UPDATE CLIENTS SET ") + columns.join(QStringLiteral(" = ?, ")) +
              QStringLiteral(" = ? WHERE CODE_CLIENT = ?");
        values.append(c.code);
    }
    QSqlQuery query(m_data->database());
    query.prepare(sql);
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    // Outside a transaction the driver commits the statement at once.
    if (!query.exec()) {
        setError(error,
                 QStringLiteral("Cannot store the client card: ") + query.lastError().text());
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
    QSqlQuery query(m_data->database());
    query.prepare(QStringLiteral("DELETE FROM CLIENTS WHERE CODE_CLIENT = ?"));
    query.addBindValue(code);
    if (!query.exec()) {
        setError(error, QStringLiteral("Cannot delete the client: ") + query.lastError().text());
        return false;
    }
    return true;
}
