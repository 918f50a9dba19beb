#include "TestExportDialog.h"

#include "ClientTexts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TestExportDialog::TestExportDialog(QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TestExportDialog"));
    setWindowTitle(
        ClientTexts::translate(QStringLiteral("ExportTestsTitle"), QStringLiteral("Export tests")));
    auto *layout = new QVBoxLayout(this);
    auto *formats = new QGroupBox(
        ClientTexts::translate(QStringLiteral("ExportFormat"), QStringLiteral("Format")), this);
    auto *formatLayout = new QVBoxLayout(formats);
    m_xlsx = new QRadioButton(QStringLiteral("Excel (.xlsx)"), formats);
    m_xlsx->setObjectName(QStringLiteral("ExportXlsxRadio"));
    m_xlsx->setChecked(true);
    m_csv = new QRadioButton(QStringLiteral("CSV (.csv)"), formats);
    m_csv->setObjectName(QStringLiteral("ExportCsvRadio"));
    formatLayout->addWidget(m_xlsx);
    formatLayout->addWidget(m_csv);
    layout->addWidget(formats);

    m_leaveOut = new QCheckBox(ClientTexts::translate(QStringLiteral("ExportLeaveOut"),
                                                      QStringLiteral("Leave out names and "
                                                                     "contact data")),
                               this);
    m_leaveOut->setObjectName(QStringLiteral("ExportLeaveOutCheck"));
    layout->addWidget(m_leaveOut);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(ClientTexts::translate(QStringLiteral("Cancel"), QStringLiteral("Cancel")));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

TestExport::Format TestExportDialog::format() const {
    return m_csv->isChecked() ? TestExport::Format::Csv : TestExport::Format::Xlsx;
}

bool TestExportDialog::leaveOutPersonal() const {
    return m_leaveOut->isChecked();
}
