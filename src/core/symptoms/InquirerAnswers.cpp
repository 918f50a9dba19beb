#include "InquirerAnswers.h"

#include "common/SeparatedList.h"

#include <QStringList>

QString InquirerAnswers::encode(const QList<int> &answers)
{
    QStringList items;
    items.reserve(answers.size());
    for (const int answer : answers)
        items.append(QString::number(answer > 0 ? answer : 0));
    return SeparatedList::join(items);
}

QList<int> InquirerAnswers::decode(const QString &text, const QList<int> &answerCounts)
{
    const QStringList tokens = SeparatedList::split(text);
    QList<int> answers(answerCounts.size(), 0);
    for (int i = 0; i < answers.size() && i < tokens.size(); ++i) {
        bool ok = false;
        const int k = tokens.at(i).trimmed().toInt(&ok);
        if (ok && k >= 1 && k <= answerCounts.at(i))
            answers[i] = k;
    }
    return answers;
}
