#include "measure/CorrectForm.h"

#include "app/AppPaths.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

QString optionsPath() {
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}

// Until the language files carry these keys the controls keep readable texts.
void bindWithFallback(QAbstractButton *button, const QString &key, const QString &fallback) {
    LanguageApplier::instance().bindWithFallback(button, key, fallback,
                                                 [button](const QString &t) { button->setText(t); });
}

} // namespace

CorrectForm::CorrectForm(QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_cal(new QPushButton(QStringLiteral("CAL"), this))
    , m_percent(new QRadioButton(this))
    , m_points(new QRadioButton(this))
    , m_percentEdit(new QSpinBox(this))
    , m_pointsEdit(new QSpinBox(this))
    , m_plus1(new QLabel(QStringLiteral("+"), this))
    , m_plus2(new QLabel(QStringLiteral("+"), this))
    , m_percentSign(new QLabel(QStringLiteral("%"), this)) {
    setObjectName(QStringLiteral("TCorrectForm"));
    setModal(true);
    m_cal->setObjectName(QStringLiteral("CalBut"));
    m_cal->setCheckable(true);
    m_cal->setAutoDefault(false);
    m_percent->setObjectName(QStringLiteral("RadioButCal1"));
    m_points->setObjectName(QStringLiteral("RadioButCal2"));
    m_percentEdit->setObjectName(QStringLiteral("EditCal1"));
    m_percentEdit->setRange(Correction::MinPercent, Correction::MaxPercent);
    m_pointsEdit->setObjectName(QStringLiteral("EditCal2"));
    m_pointsEdit->setRange(Correction::MinPoints, Correction::MaxPoints);
    m_plus1->setObjectName(QStringLiteral("Label1"));
    m_plus2->setObjectName(QStringLiteral("Label2"));
    m_percentSign->setObjectName(QStringLiteral("Label3"));
    m_points->setChecked(true);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(8);
    grid->addWidget(m_cal, 0, 0, 2, 1);
    grid->addWidget(m_percent, 0, 1);
    grid->addWidget(m_plus1, 0, 2);
    grid->addWidget(m_percentEdit, 0, 3);
    grid->addWidget(m_percentSign, 0, 4);
    grid->addWidget(m_points, 1, 1);
    grid->addWidget(m_plus2, 1, 2);
    grid->addWidget(m_pointsEdit, 1, 3);
    m_cal->setMinimumSize(56, 48);

    connect(m_cal, &QPushButton::clicked, this, [this] { setOn(!isOn()); });

    LanguageApplier &texts = LanguageApplier::instance();
    texts.bind(this, QStringLiteral("Correct"), [this](const QString &caption) {
        setWindowTitle(caption.isEmpty() ? QStringLiteral("Calibration") : caption);
    });
    bindWithFallback(m_percent, QStringLiteral("percent_"), QStringLiteral("Percent"));
    bindWithFallback(m_points, QStringLiteral("punct_"), QStringLiteral("Points"));
    setOn(false);
}

Correction CorrectForm::correction() const {
    Correction c;
    c.percent = m_percentEdit->value();
    c.points = m_pointsEdit->value();
    if (isOn())
        c.mode = m_percent->isChecked() ? Correction::Mode::Percent : Correction::Mode::Points;
    return c;
}

bool CorrectForm::isOn() const {
    return m_percent->isEnabled();
}

void CorrectForm::setOn(bool on) {
    for (QWidget *w : std::initializer_list<QWidget *>{m_percent, m_points, m_percentEdit,
                                                       m_pointsEdit, m_plus1, m_plus2,
                                                       m_percentSign})
        w->setEnabled(on);
    m_cal->setChecked(on);
}

void CorrectForm::showEvent(QShowEvent *event) {
    load();
    QDialog::showEvent(event);
    if (QWidget *owner = parentWidget()) {
        adjustSize();
        move(owner->window()->frameGeometry().center() - rect().center());
    }
}

void CorrectForm::load() {
    const Correction stored = Correction::load(IniFile(optionsPath()));
    m_percentEdit->setValue(stored.percent);
    m_pointsEdit->setValue(stored.points);
    if (stored.mode == Correction::Mode::Percent)
        m_percent->setChecked(true);
    else if (stored.mode == Correction::Mode::Points)
        m_points->setChecked(true);
    setOn(stored.mode != Correction::Mode::Off);
}

bool CorrectForm::store() {
    IniFile ini(optionsPath());
    correction().save(ini);
    QString error;
    if (ini.save(&error))
        return true;
    Dialogs::error(this, Localization::Translate(QStringLiteral("Error")), error);
    return false;
}

void CorrectForm::done(int result) {
    // Closing in any way keeps what the window shows, as closing the window always has.
    store();
    QDialog::done(result);
}
