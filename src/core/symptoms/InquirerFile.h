#pragma once

#include "InquirerItem.h"

#include <QList>
#include <QString>

// The questionnaire file Inquirer.INI beside the executable:
//   [Options] count=Q
//   [n]  Id=question text, count=A, 1..A=answer texts          (n = 1..Q)
//   [na] 1..A=interpretation of each answer
// Question n has the index n - 1. A missing file holds no questions.
//
// The file is written in one language. A translation sits beside it as
// Inquirer.<Language>.INI (Inquirer.Russian.INI) with the same questions in the same order, so
// stored answers, which keep only answer numbers, read the same in every language.
class InquirerFile
{
public:
    // Bounds that keep a damaged file from building thousands of rows.
    static constexpr int MaxQuestions = 500;
    static constexpr int MaxAnswers = 30;

    InquirerFile() = default;
    static InquirerFile load(const QString &path);

    // The file for the interface language: Inquirer.<language>.INI in `folder` when it exists,
    // else Inquirer.INI (returned even when missing). `folder` defaults to the install folder.
    static QString pathFor(const QString &language, const QString &folder = QString());

    QString path() const { return m_path; }
    bool existed() const { return m_existed; }
    int count() const { return int(m_items.size()); }
    const QList<InquirerItem> &items() const { return m_items; }
    // An empty question for an index outside 0..count()-1.
    InquirerItem item(int index) const;

private:
    QString m_path;
    bool m_existed = false;
    QList<InquirerItem> m_items;
};
