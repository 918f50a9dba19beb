#pragma once

#include "ryodoraku/MeridianAnalysis.h"

#include <QFrame>

class QLabel;

// One ratio of the analysis as a line over a system chart: its name, its value, the band of
// normal values and the verdict in its colour. A ratio without a value (its denominator is 0)
// shows neither value nor verdict.
class AnalRatioStrip : public QFrame {
    Q_OBJECT
public:
    explicit AnalRatioStrip(QWidget *parent = nullptr);

    // `verdict` is the translated text of ratio.verdictKey.
    void setRatio(const QString &name, const MeridianAnalysis::Ratio &ratio,
                  const QString &bandWord, const QString &verdict);
    void clear(const QString &name);

    QString valueText() const;
    QString verdictText() const;

    // The colour a verdict is written in: LOW blue, HIGH red, Normal green.
    static QColor verdictColor(const QString &verdictKey);

private:
    QLabel *m_name = nullptr;
    QLabel *m_value = nullptr;
    QLabel *m_band = nullptr;
    QLabel *m_verdict = nullptr;
};
