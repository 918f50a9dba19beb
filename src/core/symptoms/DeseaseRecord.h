#pragma once

#include <QByteArray>
#include <QString>

// One disease of the catalogue (table DESEASE).
struct DeseaseRecord
{
    QString name;
    QString dots;      // the stored point list, "0&7&10&20&#"
    QString about;     // additional information, rich text (HTML) or plain text
    QString plant;     // herbal recommendation
    QByteArray plantPicture; // the picture file's bytes (JPEG), or empty
};
