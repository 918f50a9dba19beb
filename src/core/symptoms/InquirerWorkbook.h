#pragma once

#include "InquirerCategories.h"
#include "InquirerItem.h"
#include "records/ClientCard.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

// An answer set written as a spreadsheet workbook (.xlsx): the client's card at the top, then
// every question of the category with the text of its chosen answer. Rows and columns count
// from 1 as the sheet shows them.
class InquirerWorkbook
{
public:
    // The texts of the sheet; the page gives them in the interface language.
    struct Labels
    {
        QString sheet = QStringLiteral("Cleints answers");
        QString title = QStringLiteral("Inquirer Results");
        QString clientId = QStringLiteral("Client ID");
        QString date = QStringLiteral("Inquirer date");
        QString time = QStringLiteral("Inquirer time");
        QString name = QStringLiteral("Client Name");
        QString surname = QStringLiteral("Surname");
        QString birthday = QStringLiteral("Birth date");
        QString country = QStringLiteral("Country");
        QString city = QStringLiteral("City");
        QString zip = QStringLiteral("Zip code");
        QString phone = QStringLiteral("Phone");
        QString cellPhone = QStringLiteral("Cell phone");
        QString fax = QStringLiteral("Fax");
        QString eMail = QStringLiteral("E-mail");
        QString answers = QStringLiteral("ANSWERS");
    };

    // One filled cell: a QString, a QDate (shown as a date) or a QTime (shown as a time).
    struct Cell
    {
        int row = 0;
        int column = 0;
        QVariant value;
    };

    struct Answer
    {
        QString question;
        QString answer; // empty when unanswered
    };

    // Every question of `range` with the text of its chosen answer (`answers` as for
    // InquirerInterpretation).
    static QList<Answer> answerRows(const QList<InquirerItem> &items,
                                    InquirerCategories::Range range, const QList<int> &answers);

    // The filled cells; empty values (a card without city, an unanswered question) are left out.
    static QList<Cell> cells(const Labels &labels, const ClientCard &client,
                             const QDateTime &moment, const QList<Answer> &answers);

    // A name the spreadsheet accepts for a sheet: at most 31 characters, none of []:*?/\ .
    static QString sheetName(const QString &wanted);

    // Writes the workbook. An existing file at `path` is replaced only once the new one is
    // complete; on failure it stays as it was and `error` says why.
    static bool write(const QString &path, const QString &sheet, const QList<Cell> &cells,
                      QString *error = nullptr);
};
