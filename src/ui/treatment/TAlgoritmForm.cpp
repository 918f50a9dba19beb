#include "TAlgoritmForm.h"

#include "TherapyTexts.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox *spin(const QString &name, int max, int value, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, max);
    box->setValue(value);
    return box;
}

} // namespace

TAlgoritmForm::TAlgoritmForm(const QString &optionsPath, QWidget *parent)
    : QDialog(parent)
    , m_optionsPath(optionsPath)
    , m_rules(PowerRules::load(IniFile(optionsPath)))
{
    setObjectName(QStringLiteral("TAlgoritmForm"));
    TherapyTexts::bindTitle(this, QStringLiteral("Formula"), QStringLiteral("Formula"));
    resize(380, 360);
    auto *column = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("AlgoritmList"));
    column->addWidget(m_list, 1);

    auto *grid = new QGridLayout;
    m_from = spin(QStringLiteral("FromEdit"), 10000, 1, this);
    m_to = spin(QStringLiteral("ToEdit"), 10000, 10, this);
    m_percent = spin(QStringLiteral("PercentEdit"), 100, 50, this);
    m_percent->setSuffix(QStringLiteral(" %"));
    const QList<std::pair<QString, QString>> captions{{QStringLiteral("from"), QStringLiteral("from")},
                                                      {QStringLiteral("to"), QStringLiteral("to")},
                                                      {QStringLiteral("PowerCaption"), QStringLiteral("Power")}};
    const QList<QSpinBox *> edits{m_from, m_to, m_percent};
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(this);
        TherapyTexts::bind(label, captions.at(i).first, captions.at(i).second);
        label->setBuddy(edits.at(i));
        grid->addWidget(label, 0, i);
        grid->addWidget(edits.at(i), 1, i);
    }
    auto *hz = new QLabel(this);
    TherapyTexts::bind(hz, QStringLiteral("FreqHz"), QStringLiteral("Hz"));
    grid->addWidget(hz, 1, 3);
    column->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    auto *add = new QPushButton(this);
    add->setObjectName(QStringLiteral("AddRuleButton"));
    TherapyTexts::bind(add, QStringLiteral("Add"), QStringLiteral("Add"));
    auto *remove = new QPushButton(this);
    remove->setObjectName(QStringLiteral("DeleteRuleButton"));
    TherapyTexts::bind(remove, QStringLiteral("DeleteButton"), QStringLiteral("Delete"));
    auto *close = new QPushButton(this);
    close->setObjectName(QStringLiteral("CloseButton"));
    TherapyTexts::bind(close, QStringLiteral("Close"), QStringLiteral("Close"));
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(close);
    column->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, &TAlgoritmForm::addRule);
    connect(remove, &QPushButton::clicked, this, &TAlgoritmForm::deleteRule);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    showRules(0);
}

void TAlgoritmForm::showRules(int select)
{
    m_list->clear();
    for (const PowerRules::Rule &rule : m_rules.rules())
        m_list->addItem(PowerRules::ruleText(rule));
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::clamp(select, 0, m_list->count() - 1));
}

bool TAlgoritmForm::store()
{
    IniFile options(m_optionsPath);
    m_rules.save(options);
    QString error;
    if (!options.save(&error)) {
        Dialogs::error(this, TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error")), error);
        return false;
    }
    return true;
}

bool TAlgoritmForm::addRule()
{
    const PowerRules::Rule rule{m_from->value(), m_to->value(), m_percent->value()};
    if (m_rules.add(rule) != PowerRules::Problem::None) {
        Dialogs::message(this, TherapyTexts::text(QStringLiteral("FromMustBeLess"),
                                                  QStringLiteral("The lower frequency of a rule must be below its upper frequency.")));
        return false;
    }
    showRules(int(m_rules.rules().size()) - 1);
    return store();
}

void TAlgoritmForm::deleteRule()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    m_rules.remove(row);
    showRules(row);
    store();
}
