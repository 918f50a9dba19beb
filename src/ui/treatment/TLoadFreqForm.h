#pragma once

#include "treatment/FreqImport.h"

#include <QDialog>

class DataModule;
class QComboBox;
class QLineEdit;

// Import of a disease frequency file into the catalogue (FREQ_DES). The file is checked as a
// whole first: a malformed line is named in a message and nothing is written.
class TLoadFreqForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLoadFreqForm(DataModule *data, QWidget *parent = nullptr);

    void setFileName(const QString &path);
    // 0 comma, 1 apostrophe.
    void setSeparatorIndex(int index);
    QChar separator() const;
    // Runs the import of the chosen file; true when it was written.
    bool import();
    FreqImport::Result lastResult() const { return m_result; }

Q_SIGNALS:
    void imported();

private:
    void browse();
    QString problemText(const FreqImport::LineError &error) const;

    DataModule *m_data;
    QLineEdit *m_file;
    QComboBox *m_slash;
    FreqImport::Result m_result;
};
