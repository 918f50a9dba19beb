#include "measure/ShowDeviceForm.h"

#include "measure/DeviceIdentity.h"
#include "localization/LanguageApplier.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

ShowDeviceForm::ShowDeviceForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_name(new QLabel(this))
    , m_timer(this) {
    setObjectName(QStringLiteral("TShowDeviceForm"));
    // A notice, not a window to work in: it must not take the focus from the measuring page.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("ShowDeviceFrame"));
    // Without a title bar the window needs its own edge to stand apart from the page below.
    frame->setStyleSheet(QStringLiteral("QFrame#ShowDeviceFrame { background: palette(base);"
                                        " border: 1px solid palette(dark); border-radius: 4px; }"));

    auto *icon = new QLabel(frame);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this)
                        .pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignCenter);

    m_name->setObjectName(QStringLiteral("DeviceName"));
    QFont font = m_name->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    m_name->setFont(font);
    m_name->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_name->setTextFormat(Qt::PlainText);

    auto *row = new QHBoxLayout(frame);
    row->setContentsMargins(20, 16, 24, 16);
    row->setSpacing(14);
    row->addWidget(icon);
    row->addWidget(m_name, 1);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    setMinimumWidth(320);

    m_timer.setObjectName(QStringLiteral("ShowDeviceTime"));
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &ShowDeviceForm::onTick);
}

DeviceWords ShowDeviceForm::words() {
    DeviceWords words;
    const LanguageApplier &texts = LanguageApplier::instance();
    words.caption = texts.text(QStringLiteral("DeviceIdCaption"), words.caption);
    words.notConnected = texts.text(QStringLiteral("DeviceNotConnected"), words.notConnected);
    return words;
}

void ShowDeviceForm::showDevice(const QString &displayName) {
    m_name->setText(DeviceIdentity::foundText(displayName, words()));
    adjustSize();
    centre();
    m_ticks = 0;
    show();
    raise();
    m_timer.start();
}

QString ShowDeviceForm::text() const {
    return m_name->text();
}

void ShowDeviceForm::hideEvent(QHideEvent *event) {
    // Closing or hiding by any means ends the countdown, so a later showing starts afresh.
    m_timer.stop();
    QWidget::hideEvent(event);
}

void ShowDeviceForm::onTick() {
    if (++m_ticks >= TicksShown)
        close();
}

void ShowDeviceForm::centre() {
    QRect area;
    if (QWidget *owner = parentWidget())
        area = owner->window()->frameGeometry();
    else if (QScreen *screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.center() - rect().center());
}
