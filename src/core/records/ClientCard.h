#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// One client card, every column of CLIENTS. Text columns hold the text as the user typed it;
// `sex` is the index of the chosen sex item as text ("0" male, "1" female, empty when none) and
// `skypeType` the messenger kind (0 Skype, 1 ICQ, -1 none). `foto` holds the bytes of a JPEG
// picture, empty when the card has no photo (the base keeps "0" then).
struct ClientCard {
    QString code;
    QString name;
    QString surname;
    QDate birthday;
    QString weight;
    QString height;
    QString sex;
    QString city;
    QString adress;
    QString adress2;
    QString index1;
    QString sait;
    QString eMail;
    QString tel1;
    QString tel2;
    QString tel3;
    QByteArray foto;
    QDate dateCreate;
    QString comment;
    QString country;
    QString skype;
    int skypeType = -1;
    QString forPrint;

    // "Name Surname", as the status strip shows the current client.
    QString displayName() const { return QString(name + QLatin1Char(' ') + surname).trimmed(); }
    bool hasPhoto() const { return !foto.isEmpty(); }
    bool operator==(const ClientCard &) const = default;
};
