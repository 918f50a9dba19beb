#include "TherapyWidgets.h"

#include "TherapyTexts.h"
#include "treatment/TherapyPlayer.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QSpinBox>

namespace TherapyWidgets {

QColor windowsColor(unsigned value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QColor meridianColor(const QString &meridian)
{
    // Metal white, fire red, ministerial fire orange, earth yellow, wood green, water blue.
    const QString m = meridian.toUpper();
    if (m == QLatin1String("HT") || m == QLatin1String("SI"))
        return windowsColor(0x5656FF);
    if (m == QLatin1String("PC") || m == QLatin1String("TH"))
        return windowsColor(0x55BDFF);
    if (m == QLatin1String("SP") || m == QLatin1String("ST"))
        return windowsColor(0x7EFDFF);
    if (m == QLatin1String("LV") || m == QLatin1String("GB"))
        return windowsColor(0x7EFFC7);
    if (m == QLatin1String("KI") || m == QLatin1String("BL"))
        return windowsColor(0xFFC258);
    return windowsColor(0xFFFFFF);
}

QColor deviationColor(const QString &deviation)
{
    if (deviation.startsWith(QLatin1Char('+')))
        return windowsColor(0xE1E1FF);
    if (deviation.startsWith(QLatin1Char('-')))
        return windowsColor(0xFFEFC5);
    return windowsColor(0xF8F8F9);
}

QSpinBox *timeSpin(const QString &objectName, int value, QWidget *parent)
{
    auto *spin = new QSpinBox(parent);
    spin->setObjectName(objectName);
    spin->setRange(0, 59);
    spin->setValue(value);
    spin->setAlignment(Qt::AlignRight);
    spin->setMinimumWidth(52);
    return spin;
}

QHBoxLayout *timeRow(QSpinBox *minutes, QSpinBox *seconds, QWidget *parent)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    auto *min = new QLabel(parent);
    TherapyTexts::bind(min, QStringLiteral("Minute"), QStringLiteral("min."));
    auto *sec = new QLabel(parent);
    TherapyTexts::bind(sec, QStringLiteral("sec"), QStringLiteral("sec."));
    row->addWidget(minutes);
    row->addWidget(min);
    row->addSpacing(6);
    row->addWidget(seconds);
    row->addWidget(sec);
    row->addStretch(1);
    return row;
}

QPushButton *playerButton(const QString &objectName, const QString &key, const QString &fallback,
                          QStyle::StandardPixmap symbol, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setIcon(parent->style()->standardIcon(symbol));
    button->setIconSize(QSize(12, 12));
    LanguageApplier::instance().bindWithFallback(button, key, fallback,
                                                 [button](const QString &t) { button->setText(t); });
    button->setMinimumHeight(28);
    return button;
}

QHBoxLayout *playerRow(const std::array<QString, 3> &objectNames, QWidget *parent,
                       std::function<void()> play, TherapyPlayer &player, QCheckBox *autoNext)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    auto *playButton = playerButton(objectNames[0], QStringLiteral("Play"), QStringLiteral("Play"),
                                    QStyle::SP_MediaPlay, parent);
    auto *pause = playerButton(objectNames[1], QStringLiteral("Pause"), QStringLiteral("Pause"),
                               QStyle::SP_MediaPause, parent);
    auto *stop = playerButton(objectNames[2], QStringLiteral("Stop"), QStringLiteral("Stop"),
                              QStyle::SP_MediaStop, parent);
    row->addWidget(playButton);
    row->addWidget(pause);
    row->addWidget(stop);
    QObject::connect(playButton, &QPushButton::clicked, parent, std::move(play));
    QObject::connect(pause, &QPushButton::clicked, parent, [&player] { player.pause(); });
    QObject::connect(stop, &QPushButton::clicked, parent, [&player] { player.stop(); });
    QObject::connect(autoNext, &QCheckBox::toggled, parent, [&player](bool on) { player.setAutoNext(on); });
    return row;
}

QCheckBox *checkBox(const QString &objectName, const QString &key, const QString &fallback, QWidget *parent)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(objectName);
    TherapyTexts::bind(box, key, fallback);
    return box;
}

QLabel *timeLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(QStringLiteral("0:00:00"), parent);
    label->setObjectName(objectName);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("font-size: 16pt; font-weight: bold; color: #24313d;"
                                        " background: white; border: 1px solid #c5d0db; border-radius: 5px;"
                                        " padding: 2px 8px;"));
    return label;
}

} // namespace TherapyWidgets
