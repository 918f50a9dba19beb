#include "AnalRatioStrip.h"

#include <QHBoxLayout>
#include <QLabel>

AnalRatioStrip::AnalRatioStrip(QWidget *parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("AnalRatioStrip"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "AnalRatioStrip { background: #f4f7fa; border: 1px solid #d5dde5; border-radius: 5px; }"
        "QLabel#RatioName { color: #24313d; font-weight: bold; }"
        "QLabel#RatioValue { color: #1f2d3a; font-weight: bold; font-size: 12pt; }"
        "QLabel#RatioBand { color: #50606f; }"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(10, 4, 10, 4);
    row->setSpacing(14);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("RatioName"));
    m_value = new QLabel(this);
    m_value->setObjectName(QStringLiteral("RatioValue"));
    m_value->setMinimumWidth(48);
    m_band = new QLabel(this);
    m_band->setObjectName(QStringLiteral("RatioBand"));
    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("RatioVerdict"));
    m_verdict->setAlignment(Qt::AlignCenter);
    row->addWidget(m_name);
    row->addWidget(m_value);
    row->addWidget(m_verdict);
    row->addStretch();
    row->addWidget(m_band);
}

QColor AnalRatioStrip::verdictColor(const QString &verdictKey) {
    if (verdictKey == QLatin1String("LOW"))
        return QColor(0x1f, 0x5f, 0xbf);
    if (verdictKey == QLatin1String("HIGH"))
        return QColor(0xc6, 0x28, 0x28);
    return QColor(0x2e, 0x7d, 0x32);
}

void AnalRatioStrip::setRatio(const QString &name, const MeridianAnalysis::Ratio &ratio,
                              const QString &bandWord, const QString &verdict) {
    m_name->setText(name);
    m_value->setText(ratio.value ? MeridianAnalysis::ratioText(*ratio.value) : QString());
    m_band->setText(QStringLiteral("%1: %2 – %3")
                        .arg(bandWord, MeridianAnalysis::ratioText(ratio.low),
                             MeridianAnalysis::ratioText(ratio.high)));
    m_verdict->setText(ratio.value ? verdict : QString());
    m_verdict->setStyleSheet(
        ratio.value ? QStringLiteral("color: white; font-weight: bold; padding: 1px 10px;"
                                     " border-radius: 4px; background: %1;")
                          .arg(verdictColor(ratio.verdictKey).name())
                    : QString());
}

void AnalRatioStrip::clear(const QString &name) {
    m_name->setText(name);
    m_value->clear();
    m_band->clear();
    m_verdict->clear();
    m_verdict->setStyleSheet(QString());
}

QString AnalRatioStrip::valueText() const {
    return m_value->text();
}

QString AnalRatioStrip::verdictText() const {
    return m_verdict->text();
}
