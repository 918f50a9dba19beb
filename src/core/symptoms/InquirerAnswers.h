#pragma once

#include <QList>
#include <QString>

// The stored form of one answer set: for each question of the category in order, the number of
// its chosen answer (1-based) or 0 when unanswered, each followed by "&", closed by "#":
// answers 2, none, 1 are "2&0&1&#".
class InquirerAnswers
{
public:
    static QString encode(const QList<int> &answers);
    // The answers of `answerCounts.size()` questions (answerCounts[i] = how many answers question
    // i offers). Missing tokens, tokens that are no number, and numbers the question does not
    // offer leave a question unanswered (0); surplus tokens are ignored.
    static QList<int> decode(const QString &text, const QList<int> &answerCounts);
};
