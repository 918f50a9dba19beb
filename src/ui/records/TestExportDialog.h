#pragma once

#include "records/TestExport.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

// The choices before tests are exported: the format and whether names and contact data are
// left out.
class TestExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TestExportDialog(QWidget *parent = nullptr);

    TestExport::Format format() const;
    bool leaveOutPersonal() const;

private:
    QRadioButton *m_xlsx = nullptr;
    QRadioButton *m_csv = nullptr;
    QCheckBox *m_leaveOut = nullptr;
};
