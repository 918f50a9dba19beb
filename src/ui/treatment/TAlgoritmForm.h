#pragma once

#include "treatment/PowerRules.h"

#include <QDialog>

class QListWidget;
class QSpinBox;

// The rule table of the output power: rules "from-to Hz=percent %" in the order they are
// tried. Every change is written to Options.ini at once, so nothing is lost however the
// window or the program ends.
class TAlgoritmForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAlgoritmForm(const QString &optionsPath, QWidget *parent = nullptr);

    const PowerRules &rules() const { return m_rules; }
    // Adds the rule of the three edits; a rule with from not below to is refused with a
    // message and nothing changes.
    bool addRule();
    void deleteRule();

private:
    void showRules(int select);
    bool store();

    QString m_optionsPath;
    PowerRules m_rules;
    QListWidget *m_list;
    QSpinBox *m_from;
    QSpinBox *m_to;
    QSpinBox *m_percent;
};
