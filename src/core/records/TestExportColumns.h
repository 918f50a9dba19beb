#pragma once

#include "TestRecord.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The personal columns of an exported test, from the client's card.
struct ExportPerson {
    QString name;
    QString surname;
    QDate birthday;
    QString country;
    QString city;
    QString address;
    QString phone; // every phone of the card, comma-separated
    QString eMail;
};

// The header texts of an export; the page gives them in the interface language.
struct TestExportLabels {
    QString clientId = QStringLiteral("ID");
    QString name = QStringLiteral("Name");
    QString surname = QStringLiteral("Surname");
    QString birthday = QStringLiteral("Date of birth");
    QString country = QStringLiteral("Country");
    QString city = QStringLiteral("City");
    QString address = QStringLiteral("Address");
    QString phone = QStringLiteral("Phone");
    QString eMail = QStringLiteral("E-mail");
    QString testDate = QStringLiteral("Test date");
    QString mean = QStringLiteral("Mean");
    QString corridor = QStringLiteral("Corridor, %");
    QString classOf = QStringLiteral("class"); // "LLU class"
};

// The columns of one exported test: client key, the personal columns unless left out, the
// moment of the test, the 24 values in channel order, the mean, the corridor percentage and the
// class of each channel as a number (-1 below the corridor, 0 inside, 1 above), so a
// spreadsheet can count and sum them in any language.
class TestExportColumns {
public:
    TestExportColumns(const TestExportLabels &labels, bool withPersonal, int percent);

    QStringList header() const;
    // The cells of one test: QString, int, QDate or QDateTime; `person` may be null (a test
    // whose card is gone), its cells are empty then.
    QVariantList row(const TestRecord &test, const ExportPerson *person) const;
    bool withPersonal() const { return m_withPersonal; }

private:
    TestExportLabels m_labels;
    bool m_withPersonal;
    int m_percent;
};
