#include "ColorPanel.h"
#include "common/TableFit.h"

#include "ColorSwatch.h"
#include "TherapyTexts.h"
#include "TherapyWidgets.h"
#include "measure/DeviceLibrary.h"
#include "records/Channels.h"
#include "treatment/TherapyChannels.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace TherapyWidgets;

namespace {

// The palette of Shape20 .. Shape29.
const std::array<QColor, 10> kPalette{QColor(255, 0, 0),   QColor(255, 108, 0), QColor(255, 253, 65),
                                      QColor(169, 255, 0), QColor(82, 181, 42), QColor(62, 205, 169),
                                      QColor(0, 247, 255), QColor(0, 175, 255), QColor(169, 2, 223),
                                      QColor(255, 0, 229)};

enum Column { CodeCol, NameCol, LeftValueCol, LeftDevCol, LeftShapesCol, RightValueCol, RightDevCol, RightShapesCol, ColCount };

QString shapeName(int tag)
{
    const int position = (tag - 1) / 2; // colour order 0..23
    const bool first = tag % 2 == 1;
    const bool left = position < 12;
    return QStringLiteral("%1%2_%3")
        .arg(first ? QLatin1Char('M') : QLatin1Char('F'))
        .arg(left ? QLatin1Char('L') : QLatin1Char('R'))
        .arg(position % 12 + 1);
}

} // namespace

ColorPanel::ColorPanel(DeviceLibrary *device, QWidget *parent)
    : QWidget(parent)
    , m_device(device)
{
    setObjectName(QStringLiteral("ColorPanel"));
    buildPage();
    wirePlayers();
}

void ColorPanel::buildPage()
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    auto *dateColumn = new QVBoxLayout;
    auto *dateCaption = new QLabel(this);
    dateCaption->setObjectName(QStringLiteral("ColorDateCaption"));
    TherapyTexts::bind(dateCaption, QStringLiteral("TestDate"), QStringLiteral("Test date"));
    m_dates = new TreatmentDateList(QStringLiteral("ColorDateList"), this);
    m_dates->setFixedWidth(166);
    dateColumn->addWidget(dateCaption);
    dateColumn->addWidget(m_dates, 1);
    row->addLayout(dateColumn);

    auto *centre = new QVBoxLayout;
    m_grid = new QTableWidget(12, ColCount, this);
    m_grid->setObjectName(QStringLiteral("MeridianGrid"));
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(NameCol, QHeaderView::Stretch);
    m_grid->verticalHeader()->setMinimumSectionSize(26);
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setHorizontalHeaderLabels(QStringList(ColCount, QString()));
    const QList<std::tuple<int, QString, QString>> headers{
        {CodeCol, QStringLiteral("MeridianCode"), QStringLiteral("Meridian")},
        {NameCol, QStringLiteral("NameMer"), QStringLiteral("Name")},
        {LeftValueCol, QStringLiteral("Left"), QStringLiteral("Left")},
        {LeftDevCol, QStringLiteral("DeviationShort"), QStringLiteral("%")},
        {LeftShapesCol, QStringLiteral("Color"), QStringLiteral("Colour")},
        {RightValueCol, QStringLiteral("Right"), QStringLiteral("Right")},
        {RightDevCol, QStringLiteral("DeviationShort"), QStringLiteral("%")},
        {RightShapesCol, QStringLiteral("Color"), QStringLiteral("Colour")}};
    for (const auto &[column, key, fallback] : headers) {
        const int c = column;
        LanguageApplier::instance().bindWithFallback(m_grid, key, fallback, [this, c](const QString &t) {
            m_grid->horizontalHeaderItem(c)->setText(t);
        });
    }
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < ColCount; ++c)
            if (c != LeftShapesCol && c != RightShapesCol) {
                auto *item = new QTableWidgetItem;
                item->setTextAlignment(c == NameCol ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter) : Qt::Alignment(Qt::AlignCenter));
                m_grid->setItem(r, c, item);
            }
    for (int tag = 1; tag <= ColorAssignment::Slots; ++tag) {
        auto *swatch = new ColorSwatch(shapeName(tag), tag, this);
        swatch->setToolTip(TherapyChannels::colorOrder().at((tag - 1) / 2));
        swatch->setBlackShownEmpty(true);
        swatch->setFixedSize(26, 22);
        m_shapes[size_t(tag - 1)] = swatch;
        connect(swatch, &ColorSwatch::chosen, this, [this](ColorSwatch *s) { chooseShape(s->tag()); });
    }
    for (int position = 0; position < 24; ++position) {
        auto *holder = new QWidget(m_grid);
        auto *pair = new QHBoxLayout(holder);
        pair->setContentsMargins(4, 1, 4, 1);
        pair->setSpacing(3);
        pair->addWidget(shape(2 * position + 1));
        pair->addWidget(shape(2 * position + 2));
        m_grid->setCellWidget(position % 12, position < 12 ? LeftShapesCol : RightShapesCol, holder);
    }
    centre->addWidget(m_grid, 1);
    centre->addWidget(buildPalette());
    row->addLayout(centre, 1);

    auto *controls = new QVBoxLayout;
    controls->addWidget(buildSequenceBox());
    controls->addWidget(buildSenderBox());
    controls->addStretch(1);
    auto *side = new QWidget(this);
    side->setObjectName(QStringLiteral("ColorControls"));
    side->setLayout(controls);
    side->setFixedWidth(244);
    row->addWidget(side);
}

QWidget *ColorPanel::buildPalette()
{
    // The caption and the clear button above the ten colours, so the colours keep their size
    // at the window's smallest width.
    auto *box = new QFrame(this);
    box->setObjectName(QStringLiteral("PaletteBox"));
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(8, 4, 8, 6);
    column->setSpacing(2);
    auto *top = new QHBoxLayout;
    auto *caption = new QLabel(box);
    TherapyTexts::bind(caption, QStringLiteral("Palette"), QStringLiteral("Palette"));
    top->addWidget(caption);
    top->addStretch(1);
    auto *clear = new QPushButton(box);
    clear->setObjectName(QStringLiteral("ClearColorButton"));
    TherapyTexts::bind(clear, QStringLiteral("Clear"), QStringLiteral("Clear"));
    TherapyTexts::bindToolTip(clear, QStringLiteral("ClearColorHint"), QStringLiteral("Remove the colour of the chosen shape"));
    connect(clear, &QPushButton::clicked, this, &ColorPanel::clearSelectedSlot);
    top->addWidget(clear);
    column->addLayout(top);

    auto *row = new QHBoxLayout;
    row->setSpacing(4);
    for (int i = 0; i < 10; ++i) {
        auto *fon = new QFrame(box);
        fon->setObjectName(QStringLiteral("Fon%1").arg(i + 1));
        fon->setFixedSize(40, 32);
        auto *inner = new QHBoxLayout(fon);
        inner->setContentsMargins(3, 3, 3, 3);
        auto *swatch = new ColorSwatch(QStringLiteral("Shape%1").arg(20 + i), i, fon);
        swatch->setColor(kPalette[size_t(i)]);
        swatch->setToolTip(ColorAssignment::colorText(kPalette[size_t(i)]));
        inner->addWidget(swatch);
        connect(swatch, &ColorSwatch::chosen, this, [this](ColorSwatch *s) { choosePalette(s->tag()); });
        m_fon[size_t(i)] = fon;
        m_palette[size_t(i)] = swatch;
        row->addWidget(fon);
    }
    row->addStretch(1);
    column->addLayout(row);
    showSenderFrame();
    return box;
}

QWidget *ColorPanel::buildSequenceBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("TaskBox"));
    LanguageApplier::instance().bindWithFallback(box, QStringLiteral("ColorSequence"), QStringLiteral("Channel colours"),
                                                 [box](const QString &t) { box->setTitle(t); });
    auto *column = new QVBoxLayout(box);
    m_taskTime = timeLabel(QStringLiteral("TaskTimeLabel"), box);
    column->addWidget(m_taskTime);
    m_taskMin = timeSpin(QStringLiteral("TaskMin"), 0, box);
    m_taskSec = timeSpin(QStringLiteral("TaskSec"), 10, box);
    column->addLayout(timeRow(m_taskMin, m_taskSec, box));
    m_autoNext = checkBox(QStringLiteral("AutoNextTreat"), QStringLiteral("TherapyAutoNext"), QStringLiteral("Continue with the next"), box);
    m_autoNext->setChecked(true);
    m_twoColors = checkBox(QStringLiteral("TwoColorBox"), QStringLiteral("TwoColorBox"), QStringLiteral("Play both colours"), box);
    column->addWidget(m_autoNext);
    column->addWidget(m_twoColors);
    auto *modCaption = new QLabel(box);
    TherapyTexts::bind(modCaption, QStringLiteral("ModulationFreq"), QStringLiteral("Light modulation"));
    auto *modRow = new QHBoxLayout;
    m_modulation = new QSlider(Qt::Horizontal, box);
    m_modulation->setObjectName(QStringLiteral("Color_Freq"));
    m_modulation->setRange(0, 50);
    m_modulation->setValue(5);
    m_modulationValue = new QLabel(QStringLiteral("5"), box);
    m_modulationValue->setMinimumWidth(24);
    modCaption->setBuddy(m_modulation);
    connect(m_modulation, &QSlider::valueChanged, m_modulationValue,
            [this](int v) { m_modulationValue->setNum(v); });
    modRow->addWidget(m_modulation, 1);
    modRow->addWidget(m_modulationValue);
    column->addWidget(modCaption);
    column->addLayout(modRow);
    column->addLayout(playerRow({QStringLiteral("PlayTaskButton"), QStringLiteral("PauseTaskButton"), QStringLiteral("StopTaskButton")}, box,
                                [this] { playSequence(); }, m_task, m_autoNext));
    return box;
}

QWidget *ColorPanel::buildSenderBox()
{
    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("SendBox"));
    LanguageApplier::instance().bindWithFallback(box, QStringLiteral("PaletteSender"), QStringLiteral("Palette colours"),
                                                 [box](const QString &t) { box->setTitle(t); });
    auto *column = new QVBoxLayout(box);
    auto *top = new QHBoxLayout;
    m_sendTime = timeLabel(QStringLiteral("SendTimeLabel"), box);
    m_colorShow = new QFrame(box);
    m_colorShow->setObjectName(QStringLiteral("ColorShow"));
    m_colorShow->setFixedSize(54, 36);
    top->addWidget(m_sendTime, 1);
    top->addWidget(m_colorShow);
    column->addLayout(top);
    m_sendMin = timeSpin(QStringLiteral("SendMinEdit"), 0, box);
    m_sendSec = timeSpin(QStringLiteral("SendSecEdit"), 10, box);
    column->addLayout(timeRow(m_sendMin, m_sendSec, box));
    m_sendAutoNext = checkBox(QStringLiteral("SendAutoNext"), QStringLiteral("TherapyAutoNext"), QStringLiteral("Continue with the next"), box);
    column->addWidget(m_sendAutoNext);
    column->addLayout(playerRow({QStringLiteral("SendPlay"), QStringLiteral("SendPause"), QStringLiteral("StopColorButton")}, box,
                                [this] { playSender(); }, m_send, m_sendAutoNext));
    return box;
}

void ColorPanel::wirePlayers()
{
    m_taskTimer = new QTimer(this);
    m_taskTimer->setObjectName(QStringLiteral("TaskTimer"));
    m_taskTimer->setInterval(1000);
    m_sendTimer = new QTimer(this);
    m_sendTimer->setObjectName(QStringLiteral("SendColorTimer"));
    m_sendTimer->setInterval(1000);
    connect(m_taskTimer, &QTimer::timeout, this, [this] { m_task.tick(); });
    connect(m_sendTimer, &QTimer::timeout, this, [this] { m_send.tick(); });

    TherapyPlayer::Hooks task;
    task.send = [this] {
        const QColor color = m_assign.slot(m_playTag);
        if (m_device)
            m_device->setColor(quint8(color.red()), quint8(color.green()), quint8(color.blue()), modulation());
        if (ColorSwatch *s = shape(m_playTag)) {
            s->setPlaying(true);
            s->setShown(!s->isShown()); // blinks once a second
        }
        return true;
    };
    task.next = [this] {
        const int next = ColorAssignment::nextTag(m_playTag, m_twoColors->isChecked());
        if (next == 0)
            return false;
        showPlayingShape(m_playTag, false);
        m_playTag = next;
        showPlayingShape(m_playTag, true);
        m_task.setItemTime(m_taskMin->value(), m_taskSec->value());
        return true;
    };
    task.silence = [this] {
        if (m_device)
            m_device->setColor(0, 0, 0, 0);
        showPlayingShape(m_playTag, false);
    };
    task.changed = [this] {
        m_taskTime->setText(m_task.remainingText());
        if (m_task.isPlaying())
            m_taskTimer->start();
        else
            m_taskTimer->stop();
        // Paused: the playing shape is shown again.
        if (m_task.state() == TherapyPlayer::State::Paused)
            if (ColorSwatch *s = shape(m_playTag))
                s->setShown(true);
    };
    m_task.setHooks(task);
    m_task.setAutoNext(m_autoNext->isChecked());

    TherapyPlayer::Hooks send;
    send.send = [this] {
        const QColor color = kPalette[size_t(m_sendIndex)];
        if (m_device)
            m_device->setColor(quint8(color.red()), quint8(color.green()), quint8(color.blue()), modulation());
        showSenderFrame();
        return true;
    };
    send.next = [this] {
        if (m_sendIndex >= 9)
            return false;
        ++m_sendIndex;
        showSenderFrame();
        m_send.setItemTime(m_sendMin->value(), m_sendSec->value());
        return true;
    };
    send.silence = [this] {
        if (m_device)
            m_device->setColor(0, 0, 0, 0);
    };
    send.changed = [this] {
        m_sendTime->setText(m_send.remainingText());
        if (m_send.isPlaying())
            m_sendTimer->start();
        else
            m_sendTimer->stop();
        showSenderFrame();
    };
    m_send.setHooks(send);
}

quint8 ColorPanel::modulation() const
{
    return quint8(m_modulation->value());
}

ColorSwatch *ColorPanel::shape(int tag) const
{
    return tag >= 1 && tag <= ColorAssignment::Slots ? m_shapes[size_t(tag - 1)] : nullptr;
}

void ColorPanel::showTest(const TestRecord *test, const CorridorEvaluation &corridor,
                          const std::array<QString, 12> &meridianNames)
{
    const auto &canonical = TherapyChannels::colorToCanonical();
    for (int r = 0; r < 12; ++r) {
        const QString code = Channels::meridian(canonical[size_t(r)]);
        const QColor rowColor = meridianColor(code);
        m_grid->item(r, CodeCol)->setText(code);
        m_grid->item(r, NameCol)->setText(meridianNames[size_t(r)]);
        m_grid->item(r, NameCol)->setToolTip(meridianNames[size_t(r)]);
        for (const int c : {CodeCol, NameCol, LeftValueCol, RightValueCol})
            m_grid->item(r, c)->setBackground(rowColor);
        for (int side = 0; side < 2; ++side) {
            const int channel = canonical[size_t(r + side * 12)];
            QTableWidgetItem *value = m_grid->item(r, side == 0 ? LeftValueCol : RightValueCol);
            QTableWidgetItem *dev = m_grid->item(r, side == 0 ? LeftDevCol : RightDevCol);
            if (!test) {
                value->setText(QString());
                dev->setText(QString());
                dev->setBackground(QBrush());
                continue;
            }
            const int v = test->values[size_t(channel)];
            const QString text = TherapyChannels::deviationText(v, corridor.mean);
            value->setText(QString::number(v));
            dev->setText(text);
            dev->setBackground(deviationColor(text));
            // Outside the corridor the value is written in the colour of its class.
            const ConductionClass cls = classify(v, corridor);
            value->setForeground(cls == ConductionClass::High  ? QColor(0xb0, 0x10, 0x10)
                                 : cls == ConductionClass::Low ? QColor(0x10, 0x3c, 0xb0)
                                                               : QColor(0x1f, 0x2d, 0x3a));
            QFont font = value->font();
            font.setBold(cls != ConductionClass::Normal);
            value->setFont(font);
        }
    }
    TableFit::keepColumnReadable(m_grid, NameCol);
}

bool ColorPanel::loadAssignment(const QString &text)
{
    stopPlayers();
    bool ok = true;
    if (text.trimmed().isEmpty())
        m_assign.clear();
    else
        ok = m_assign.fromText(text);
    m_saved = m_assign;
    showShapeColors();
    return ok;
}

void ColorPanel::showShapeColors()
{
    for (int tag = 1; tag <= ColorAssignment::Slots; ++tag) {
        ColorSwatch *s = shape(tag);
        s->setColor(m_assign.slot(tag));
        s->setSelected(tag == m_selectedTag);
    }
}

void ColorPanel::choosePalette(int index)
{
    if (index < 0 || index > 9)
        return;
    m_selectedPalette = index;
    if (m_selectedTag > 0) {
        m_assign.setSlot(m_selectedTag, kPalette[size_t(index)]);
        shape(m_selectedTag)->setColor(kPalette[size_t(index)]);
    }
    showSenderFrame();
}

void ColorPanel::chooseShape(int tag)
{
    m_selectedTag = tag;
    for (ColorSwatch *s : m_shapes)
        s->setSelected(s->tag() == tag);
}

void ColorPanel::clearSelectedSlot()
{
    if (m_selectedTag < 1)
        return;
    m_assign.setSlot(m_selectedTag, Qt::black);
    shape(m_selectedTag)->setColor(Qt::black);
}

void ColorPanel::showPlayingShape(int tag, bool playing)
{
    if (ColorSwatch *s = shape(tag))
        s->setPlaying(playing);
}

void ColorPanel::showSenderFrame()
{
    // The playing colour's frame while the sender runs, else the chosen palette colour's.
    const bool sending = m_send.state() != TherapyPlayer::State::Stopped;
    const int marked = sending ? m_sendIndex : m_selectedPalette;
    for (int i = 0; i < 10; ++i) {
        if (!m_fon[size_t(i)])
            continue;
        const bool on = i == marked;
        m_fon[size_t(i)]->setStyleSheet(on ? QStringLiteral("QFrame { border: 2px solid %1; border-radius: 6px; background: white; }")
                                                 .arg(sending ? QStringLiteral("#00c000") : QStringLiteral("#1f2d3a"))
                                           : QStringLiteral("QFrame { border: 2px solid transparent; }"));
    }
    if (m_colorShow) {
        const QColor show = sending ? kPalette[size_t(m_sendIndex)]
                                    : (m_selectedPalette >= 0 ? kPalette[size_t(m_selectedPalette)] : QColor(Qt::black));
        m_colorShow->setStyleSheet(QStringLiteral("#ColorShow { background: %1; border: 1px solid #8a96a3; border-radius: 5px; }")
                                       .arg(show.name()));
    }
}

void ColorPanel::playSequence()
{
    if (m_task.state() == TherapyPlayer::State::Stopped) {
        m_playTag = ColorAssignment::firstTag(m_selectedTag, m_twoColors->isChecked());
        m_task.setItemTime(m_taskMin->value(), m_taskSec->value());
    }
    m_task.setAutoNext(m_autoNext->isChecked());
    m_send.stop();
    Q_EMIT playStarted();
    showPlayingShape(m_playTag, true);
    m_task.play();
}

void ColorPanel::playSender()
{
    if (m_send.state() == TherapyPlayer::State::Stopped) {
        m_sendIndex = m_selectedPalette >= 0 ? m_selectedPalette : 0;
        m_send.setItemTime(m_sendMin->value(), m_sendSec->value());
    }
    m_send.setAutoNext(m_sendAutoNext->isChecked());
    m_task.stop();
    Q_EMIT playStarted();
    m_send.play();
}

void ColorPanel::stopPlayers()
{
    m_task.stop();
    m_send.stop();
}
