#pragma once

#include "records/ClientCard.h"

#include <QList>
#include <QPixmap>
#include <QWidget>

class QComboBox;
class DateField;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The card editor (`CorrectPanel`): every field of a card, the photo with LoadButton and
// ClearButton, AcceptButton and CanselButton. It only edits; the clients page validates and
// saves when AcceptButton is pressed.
class ClientEditor : public QWidget {
    Q_OBJECT
public:
    explicit ClientEditor(QWidget *parent = nullptr);

    // Empty fields, no photo chosen.
    void startNew();
    // The card's fields; the stored photo is kept unless the user loads or clears one.
    void startEdit(const ClientCard &card);

    // The card as the fields say (the key of the card being edited, empty for a new one).
    ClientCard card() const;
    // Empty = no photo, "old" = keep the stored one, otherwise the chosen file.
    QString photoSource() const { return m_photoSource; }
    // Puts the keyboard focus on the first field.
    void focusFirst();
    // Whether anything was typed or chosen since the card was opened in the editor.
    bool isChanged() const { return card() != m_startCard || m_photoSource != m_startPhoto; }

Q_SIGNALS:
    void acceptRequested();
    void cancelRequested();

private:
    // A text field of `column`; `labelKey` names it when its text passes the column's width.
    QLineEdit *lineEdit(const QString &objectName, const char *column, const char *labelKey);
    void showLimitNote();
    void loadPhoto();
    void clearPhoto();
    void showPhoto(const QPixmap &photo);
    void checkSexText();
    void bindTexts();

    QString m_code;
    QString m_photoSource;
    ClientCard m_startCard; // the fields as the editor opened them
    QString m_startPhoto;
    QLabel *m_codeLabel = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_surname = nullptr;
    DateField *m_birth = nullptr;
    QComboBox *m_sex = nullptr;
    QLineEdit *m_height = nullptr;
    QLineEdit *m_weight = nullptr;
    QLineEdit *m_adress = nullptr;
    QLineEdit *m_adress2 = nullptr;
    QLineEdit *m_city = nullptr;
    QLineEdit *m_index = nullptr;
    QLineEdit *m_country = nullptr;
    QLineEdit *m_tel1 = nullptr;
    QLineEdit *m_tel2 = nullptr;
    QLineEdit *m_tel3 = nullptr;
    QLineEdit *m_mail = nullptr;
    QLineEdit *m_sait = nullptr;
    QComboBox *m_messengerBox = nullptr;
    QLineEdit *m_messenger = nullptr;
    QPlainTextEdit *m_comment = nullptr;
    QLabel *m_photo = nullptr;
    QPixmap m_photoPixmap;
    struct Limit {
        QLineEdit *edit;
        int width;
        QString labelKey;
    };
    QList<Limit> m_limits;
    QLabel *m_limitNote = nullptr;
};
