#pragma once

#include "records/ClientCard.h"
#include "records/ClientConflicts.h"

#include <QPixmap>
#include <QWidget>

#include <optional>

class QLabel;

// The card of the current client: name, every field, e-mail and messenger lines, comment and
// photo. The photo is decoded from the stored bytes in memory.
class ClientCardView : public QWidget {
    Q_OBJECT
public:
    explicit ClientCardView(QWidget *parent = nullptr);

    void showCard(const std::optional<ClientCard> &card);
    QPixmap photo() const { return m_photo; }
    // Values of this card that lost to a later edit on another workstation, and deletions
    // undone because the card had been changed elsewhere (`NotesLabel`, hidden when none).
    void showNotes(const QList<ConflictNote> &notes);
    static QString noteText(const ConflictNote &note);

    // "E-mail: " + address; "Skype: " / "ICQ: " + account, or the no-messenger text.
    static QString mailText(const ClientCard &card);
    static QString messengerText(const ClientCard &card, const QString &noMessenger);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *value(const QString &objectName);
    void showPhoto();
    void bindTexts();

    std::optional<ClientCard> m_card;
    QPixmap m_photo;
    QString m_noMessenger;
    QLabel *m_heading = nullptr;
    QLabel *m_photoLabel = nullptr;
    QLabel *m_notes = nullptr;
    QList<QLabel *> m_values;
};
