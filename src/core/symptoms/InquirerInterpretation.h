#pragma once

#include "InquirerCategories.h"
#include "InquirerItem.h"

#include <QList>
#include <QString>

// What the answers of one category say: for each answered question in order, the question,
// the chosen answer and that answer's interpretation.
class InquirerInterpretation
{
public:
    struct Finding
    {
        QString question;
        QString answer;
        QString interpretation;
    };

    // `answers` holds one number per question of `range` (1-based answer, 0 unanswered).
    static QList<Finding> findings(const QList<InquirerItem> &items,
                                   InquirerCategories::Range range, const QList<int> &answers);
};
