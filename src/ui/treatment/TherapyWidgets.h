#pragma once

#include <QColor>
#include <QString>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;

// Small building blocks the colour and frequency sub-modes share.
namespace TherapyWidgets {

// A colour written the Windows way, 0xBBGGRR.
QColor windowsColor(unsigned value);
// The background of a grid row by its meridian's element (two meridians per colour).
QColor meridianColor(const QString &meridian);
// The background of a deviation cell by its first character: "+", "-" or "0".
QColor deviationColor(const QString &deviation);

QSpinBox *timeSpin(const QString &objectName, int value, QWidget *parent);
// "[min] min. [sec] sec." in one row.
QHBoxLayout *timeRow(QSpinBox *minutes, QSpinBox *seconds, QWidget *parent);
QPushButton *playerButton(const QString &objectName, const QString &key, const QString &fallback,
                          const QString &symbol, QWidget *parent);
QCheckBox *checkBox(const QString &objectName, const QString &key, const QString &fallback,
                    QWidget *parent);
QLabel *timeLabel(const QString &objectName, QWidget *parent);

} // namespace TherapyWidgets
