#include "InquirerInterpretation.h"

QList<InquirerInterpretation::Finding>
InquirerInterpretation::findings(const QList<InquirerItem> &items, InquirerCategories::Range range,
                                 const QList<int> &answers)
{
    QList<Finding> list;
    for (int j = 0; j < answers.size() && j < range.size(); ++j) {
        const int index = range.lo + j;
        const int k = answers.at(j);
        if (k <= 0 || index >= items.size())
            continue;
        const InquirerItem &item = items.at(index);
        if (k > item.answers.size())
            continue;
        list.append({item.text, item.answers.at(k - 1), item.interpretations.value(k - 1)});
    }
    return list;
}
