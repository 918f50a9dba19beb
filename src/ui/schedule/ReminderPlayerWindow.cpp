#include "ReminderPlayerWindow.h"

#include "ScheduleTexts.h"
#include "SoundOutput.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

ReminderPlayerWindow::ReminderPlayerWindow(SoundOutput *sound, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_sound(sound)
    , m_fileLabel(new QLabel(this))
    , m_stopButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("ReminderPlayer"));
    setMinimumWidth(300);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(24, 24));
    row->addWidget(icon);
    m_fileLabel->setObjectName(QStringLiteral("PlayerFileLabel"));
    m_fileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(m_fileLabel, 1);
    column->addLayout(row);
    m_stopButton->setObjectName(QStringLiteral("PlayerStopButton"));
    m_stopButton->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    column->addWidget(m_stopButton, 0, Qt::AlignRight);

    ScheduleTexts::bind(this, QStringLiteral("TimeOut"), QStringLiteral("Time Out"),
                        [this](const QString &t) { setWindowTitle(t); });
    ScheduleTexts::bind(m_stopButton, QStringLiteral("Stop"), QStringLiteral("Stop"),
                        [this](const QString &t) { m_stopButton->setText(t); });
    connect(m_stopButton, &QPushButton::clicked, this, &ReminderPlayerWindow::stop);
}

void ReminderPlayerWindow::showFor(const QString &path)
{
    m_file = path;
    m_fileLabel->setText(QFileInfo(path).fileName());
    m_fileLabel->setToolTip(path);
    show();
    raise();
}

void ReminderPlayerWindow::stop()
{
    if (m_sound)
        m_sound->stop();
    hide();
}

void ReminderPlayerWindow::closeEvent(QCloseEvent *event)
{
    if (m_sound)
        m_sound->stop();
    QWidget::closeEvent(event);
}
