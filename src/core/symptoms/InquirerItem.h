#pragma once

#include <QString>
#include <QStringList>

// One question of the inquiry questionnaire: its text, its mutually exclusive answers and the
// interpretation of each answer (interpretation k belongs to answer k).
struct InquirerItem
{
    QString text;
    QStringList answers;
    QStringList interpretations;
};
