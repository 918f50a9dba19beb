#pragma once

#include <QColor>
#include <QString>
#include <QStyle>

#include <array>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;
class QWidget;
class TherapyPlayer;

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
                          QStyle::StandardPixmap symbol, QWidget *parent);
// The Play, Pause and Stop buttons of a player in one row (object names in that order);
// Play calls `play`, the other two act on the player, and `autoNext` sets its auto-next.
QHBoxLayout *playerRow(const std::array<QString, 3> &objectNames, QWidget *parent,
                       std::function<void()> play, TherapyPlayer &player, QCheckBox *autoNext);
QCheckBox *checkBox(const QString &objectName, const QString &key, const QString &fallback,
                    QWidget *parent);
QLabel *timeLabel(const QString &objectName, QWidget *parent);

} // namespace TherapyWidgets
