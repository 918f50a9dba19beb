#pragma once

#include "ClientCard.h"
#include "ClientListEntry.h"
#include "ClientSearch.h"

#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class DataModule;

// The client cards of the base (CLIENTS). The list reads only key, name and surname, so it
// stays quick with many thousands of cards; a whole card is read when it is shown. Every
// change is committed when it is made. Without an open base every call fails with a message.
class ClientRepository {
public:
    explicit ClientRepository(DataModule *data);

    // All cards, or those a search finds, in the order they were made (by key number).
    QList<ClientListEntry> list(QString *error = nullptr) const;
    QList<ClientListEntry> find(const ClientSearch &search, QString *error = nullptr) const;

    std::optional<ClientCard> card(const QString &code, QString *error = nullptr) const;

    // What the editor says about the photo when a card is saved: empty = no photo, "old" =
    // keep the stored one (changed cards only), otherwise the path of a picture file.
    static QString keepPhoto() { return QStringLiteral("old"); }

    // Stores a new card: a new key (ClientKeys), DATECREATE = `today`, the photo as
    // `photoSource` says. The key is written back into `card`. The card must have passed
    // ClientValidation; nothing is written when the photo file cannot be read.
    //
    // `freeElsewhere`, when given, is asked about each new key as well: a key that another
    // installation already gave to a card of the shared base is skipped.
    using KeyCheck = std::function<bool(const QString &key)>;
    bool addCard(ClientCard &card, const QString &photoSource, const QDate &today,
                 QString *error = nullptr, const KeyCheck &freeElsewhere = {});
    // Stores a changed card (found by card.code); the photo as `photoSource` says.
    bool updateCard(ClientCard &card, const QString &photoSource, QString *error = nullptr);
    // Deletes the card; its tests and other rows stay.
    bool removeCard(const QString &code, QString *error = nullptr);

    // The picture of stored photo bytes, decoded in memory; a null image when there is none
    // or the bytes are not a picture.
    static QImage decodePhoto(const QByteArray &foto);
    // The bytes the base keeps for a photo: the picture's bytes, or "0" for none.
    static QByteArray storedFoto(const QByteArray &foto);

private:
    bool ready(QString *error) const;
    bool photoBytes(const QString &photoSource, QByteArray *bytes, QString *error) const;
    bool write(const ClientCard &card, bool insert, bool withPhoto, QString *error);

    DataModule *m_data;
};
