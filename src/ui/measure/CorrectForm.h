#pragma once

#include "measure/Correction.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The correction window (`TCorrectForm`): switches the correction of measured values on and
// off (`CalBut`) and sets it as a percentage or a number of points. It shows the correction
// stored in Options.ini and stores what it shows when it closes; the next test uses it.
class CorrectForm : public QDialog {
    Q_OBJECT
public:
    explicit CorrectForm(QWidget *parent = nullptr);

    // The correction the controls show.
    Correction correction() const;
    bool isOn() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void load();
    bool store();
    void setOn(bool on);

    QPushButton *m_cal;
    QRadioButton *m_percent;
    QRadioButton *m_points;
    QSpinBox *m_percentEdit;
    QSpinBox *m_pointsEdit;
    QLabel *m_plus1;
    QLabel *m_plus2;
    QLabel *m_percentSign;
};
