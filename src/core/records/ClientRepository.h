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
class QSqlDatabase;

// The client cards of the base (CLIENTS). The list reads only key, name and surname, so it
// stays quick with many thousands of cards; a whole card is read when it is shown. Every
// change is committed when it is made. Without an open base every call fails with a message.
class ClientRepository {
public:
    explicit ClientRepository(DataModule *data);

    // All cards, or those a search finds, in the order they were made (by key number).
    QList<ClientListEntry> list(QString *error = nullptr) const;
    QList<ClientListEntry> find(const ClientSearch &search, QString *error = nullptr) const;
    // The same read on a connection of its own to the base at `path`, for a worker thread:
    // the list (or, with a search, what it finds) of a base the program has open.
    static QList<ClientListEntry> listAt(const QString &path, const std::optional<ClientSearch> &search,
                                         QString *error = nullptr);

    std::optional<ClientCard> card(const QString &code, QString *error = nullptr) const;

    // What the editor says about the photo when a card is saved: empty = no photo, "old" =
    // keep the stored one (changed cards only), otherwise the path of a picture file.
    static QString keepPhoto() { return QStringLiteral("old"); }

    // Where the key of a new card comes from: the running number of Options.ini (an
    // installation without a shared base), or the shared base's generator through a key
    // reserved in advance, else a provisional key renamed at the next synchronisation.
    enum class KeySource { RunningNumber, SharedBase };

    // Stores a new card: a new key, DATECREATE = `today`, the photo as `photoSource` says. The
    // key is written back into `card`. The card must have passed ClientValidation; nothing is
    // written when the photo file cannot be read.
    bool addCard(ClientCard &card, const QString &photoSource, const QDate &today,
                 QString *error = nullptr, KeySource keys = KeySource::RunningNumber);
    // Stores a changed card (found by card.code); the photo as `photoSource` says. With the card
    // as it was when editing began (`original`), only the fields the user changed are written,
    // so a change that reached the card meanwhile from another workstation stays; where the user
    // overwrote such a change, the overwritten value is kept as a note on the card.
    bool updateCard(ClientCard &card, const QString &photoSource, QString *error = nullptr,
                    const ClientCard *original = nullptr);
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
    // Runs `body` in one transaction with the card's mark for the synchronisation; tries again
    // when the synchronisation holds the row just then.
    bool inTransaction(const QString &what, const std::function<bool(QString *)> &body,
                       QString *error);
    bool markChanged(const QString &code, bool deleted, QString *error);
    bool write(const ClientCard &card, bool insert, bool withPhoto, QString *error,
               const ClientCard *original = nullptr);

    DataModule *m_data;
};
