#include "ReminderForm.h"
#include "common/DateTexts.h"

#include "common/Cp1251.h"

#include <QDir>

#include "MediaSoundOutput.h"
#include "MessageTextWindow.h"
#include "ReminderPlayerWindow.h"
#include "ScheduleTexts.h"
#include "common/Clock.h"
#include "common/Dialogs.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kTimeFormat = QStringLiteral("HH:mm:ss");

QString numbered(const char *name, int index)
{
    return QLatin1String(name) + QString::number(index + 1);
}

void setChecked(QCheckBox *box, bool on)
{
    const QSignalBlocker block(box);
    box->setChecked(on);
}
} // namespace

ReminderForm::ReminderForm(QWidget *parent, std::unique_ptr<SoundOutput> sound)
    : QWidget(parent, Qt::Window)
    , m_sound(std::move(sound))
    , m_path(ReminderTimerSet::filePath())
    , m_systemTime(new QTimer(this))
    , m_timerReminder(new QTimer(this))
{
    setObjectName(QStringLiteral("TReminderForm"));
    if (!m_sound)
        m_sound = std::make_unique<MediaSoundOutput>(this);
    m_player = new ReminderPlayerWindow(m_sound.get(), this);
    m_sound->setFinishedHandler([this] { m_player->hide(); });

    setStyleSheet(QStringLiteral(
        "#TReminderForm { background: #eef2f6; }"
        "#TReminderForm QLineEdit[running=\"true\"] { background: #dcefdc; color: #1d3b22; }"
        "#TReminderForm QLineEdit[readOnly=\"true\"] { border: 1px solid #c9d3dd; }"
        "#TimerHeading { color: #1f3b57; font-weight: 600; }"));
    buildRows();
    bindTexts();

    m_systemTime->setObjectName(QStringLiteral("SystemTime"));
    m_systemTime->setInterval(1000);
    connect(m_systemTime, &QTimer::timeout, this, &ReminderForm::showCurrentTime);
    m_timerReminder->setObjectName(QStringLiteral("TimerReminder"));
    m_timerReminder->setInterval(1000);
    connect(m_timerReminder, &QTimer::timeout, this, &ReminderForm::fireDue);

    const QString keptAs = m_set.load(m_path);
    if (!keptAs.isEmpty()) {
        QString said = ScheduleTexts::current(
            QStringLiteral("TimersFileDamaged"),
            QStringLiteral("The reminder timers file could not be read. It was kept as %1; the timers start afresh."));
        if (!said.contains(QLatin1String("%1")))
            said += QStringLiteral(" %1");
        // Said once the window is up, not before it (the form is made with the main window).
        said = said.arg(QDir::toNativeSeparators(keptAs));
        QTimer::singleShot(0, this, [this, said] { Dialogs::message(this, said); });
    }
    for (int i = 0; i < ReminderTimerSet::Count; ++i)
        showRow(i);
    showCurrentTime();
    m_systemTime->start();
    m_timerReminder->start();
}

ReminderForm::~ReminderForm()
{
    // The player window and the sound output are children; stop before they go.
    m_systemTime->stop();
    m_timerReminder->stop();
}

void ReminderForm::buildRows()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 10);
    auto *grid = new QGridLayout;
    m_grid = grid;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(2, 1);
    const QFontMetrics metrics(font());
    const int timeWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16;
    const int numberWidth = metrics.horizontalAdvance(QStringLiteral("000")) + 14;

    for (int i = 0; i < ReminderTimerSet::Count; ++i) {
        Row row;
        const int line = i + 1;
        auto *number = new QLabel(QString::number(i + 1), this);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(number, line, 0);

        row.run = new QCheckBox(this);
        row.run->setObjectName(numbered("CB", i));
        row.name = new QLineEdit(this);
        row.name->setObjectName(numbered("Name", i));
        row.name->setMaxLength(100);
        row.name->setMinimumWidth(220);
        row.begin = new QLineEdit(this);
        row.begin->setObjectName(numbered("Begin", i));
        row.end = new QLineEdit(this);
        row.end->setObjectName(numbered("End", i));
        for (QLineEdit *e : {row.begin, row.end}) {
            e->setReadOnly(true);
            e->setFocusPolicy(Qt::NoFocus);
            e->setFixedWidth(timeWidth);
            e->setAlignment(Qt::AlignCenter);
        }
        row.hours = new QLineEdit(QStringLiteral("00"), this);
        row.hours->setObjectName(numbered("h", i));
        row.minutes = new QLineEdit(QStringLiteral("00"), this);
        row.minutes->setObjectName(numbered("min", i));
        for (QLineEdit *e : {row.hours, row.minutes}) {
            e->setMaxLength(2);
            e->setFixedWidth(numberWidth);
            e->setAlignment(Qt::AlignCenter);
        }
        row.message = new QCheckBox(this);
        row.message->setObjectName(numbered("M", i));
        row.sound = new QCheckBox(this);
        row.sound->setObjectName(numbered("S", i));

        grid->addWidget(row.run, line, 1, Qt::AlignCenter);
        grid->addWidget(row.name, line, 2);
        grid->addWidget(row.begin, line, 3);
        grid->addWidget(row.end, line, 4);
        grid->addWidget(row.hours, line, 5);
        grid->addWidget(row.minutes, line, 6);
        grid->addWidget(row.message, line, 7, Qt::AlignCenter);
        grid->addWidget(row.sound, line, 8, Qt::AlignCenter);
        m_rows.append(row);

        connect(row.run, &QCheckBox::toggled, this, [this, i](bool on) { onRunToggled(i, on); });
        connect(row.hours, &QLineEdit::editingFinished, this,
                [this, i] { onDurationEdited(i, m_rows.at(i).hours, true); });
        connect(row.minutes, &QLineEdit::editingFinished, this,
                [this, i] { onDurationEdited(i, m_rows.at(i).minutes, false); });
        connect(row.name, &QLineEdit::textEdited, this,
                [this, i](const QString &t) { m_set.row(i).name = t; });
        connect(row.message, &QCheckBox::toggled, this,
                [this, i](bool on) { onMessageToggled(i, on); });
        connect(row.sound, &QCheckBox::toggled, this, [this, i](bool on) { onSoundToggled(i, on); });
    }
    column->addLayout(grid);
    column->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_closeButton = new QPushButton(this);
    m_closeButton->setObjectName(QStringLiteral("CloseButton"));
    buttons->addWidget(m_closeButton);
    column->addLayout(buttons);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void ReminderForm::bindTexts()
{
    QGridLayout *grid = m_grid;
    struct Heading
    {
        int column;
        const char *key;
        const char *fallback;
    };
    const Heading headings[] = {
        {1, "TimerOn", "On"},      {2, "Name2", "Name"},      {3, "Begin", "Start"},
        {4, "End", "End"},         {5, "Hour2", "Hours"},     {6, "Minute2", "Minutes"},
        {7, "Message", "Message"}, {8, "Sound2", "Sound"},
    };
    for (const Heading &h : headings) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("TimerHeading"));
        label->setAlignment(h.column == 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        grid->addWidget(label, 0, h.column);
        ScheduleTexts::bind(label, QLatin1String(h.key), QLatin1String(h.fallback),
                            [label](const QString &t) { label->setText(t); });
    }
    ScheduleTexts::bind(this, QStringLiteral("Reminder"), QStringLiteral("Reminders"),
                        [this](const QString &t) { setWindowTitle(t); });
    ScheduleTexts::bind(m_closeButton, QStringLiteral("Close"), QStringLiteral("Close"),
                        [this](const QString &t) { m_closeButton->setText(t); });
}

void ReminderForm::showRow(int index)
{
    const ReminderTimer &r = m_set.row(index);
    const Row &row = m_rows.at(index);
    setChecked(row.run, r.active);
    setChecked(row.message, !r.message.isEmpty());
    setChecked(row.sound, !r.sound.isEmpty());
    row.message->setToolTip(r.message);
    row.sound->setToolTip(r.sound);
    if (row.name->text() != r.name)
        row.name->setText(r.name);
    if (r.active)
        row.name->setCursorPosition(0); // the start of a long name, not its end
    row.hours->setText(r.hours);
    row.minutes->setText(r.minutes);
    if (r.active) {
        row.begin->setText(r.begin.toString(kTimeFormat));
        row.end->setText(r.end.toString(kTimeFormat));
        row.end->setToolTip(DateTexts::dateTime(r.end));
    } else {
        row.begin->setText(Clock::now().toString(kTimeFormat));
        row.end->clear();
        row.end->setToolTip(QString());
    }
    // A running row keeps its name and duration; it is coloured.
    for (QLineEdit *e : {row.name, row.hours, row.minutes}) {
        e->setReadOnly(r.active);
    }
    for (QLineEdit *e : {row.name, row.begin, row.end, row.hours, row.minutes}) {
        e->setProperty("running", r.active);
        e->style()->unpolish(e);
        e->style()->polish(e);
    }
}

void ReminderForm::takeTypedFields(int index)
{
    ReminderTimer &r = m_set.row(index);
    const Row &row = m_rows.at(index);
    r.name = row.name->text();
    r.hours = row.hours->text().trimmed();
    r.minutes = row.minutes->text().trimmed();
}

void ReminderForm::onRunToggled(int index, bool on)
{
    if (on) {
        // A duration typed but not yet confirmed is checked here too, and a name the timers
        // file cannot hold is refused before anything runs.
        takeTypedFields(index);
        if (!storable(m_set.row(index).name, ScheduleTexts::current(QStringLiteral("TimerName"), QStringLiteral("Name")))) {
            setChecked(m_rows.at(index).run, false);
            return;
        }
        if (!m_set.start(index, Clock::now())) {
            setChecked(m_rows.at(index).run, false);
            Dialogs::message(this, ScheduleTexts::translate(
                                       QStringLiteral("IncorrectRecord"),
                                       QStringLiteral("Hours must be 0 to 23, minutes 0 to 59.")));
            return;
        }
    } else {
        m_set.stop(index);
    }
    showRow(index);
    save();
}

void ReminderForm::onDurationEdited(int index, QLineEdit *edit, bool hours)
{
    if (edit->isReadOnly())
        return;
    const QString text = edit->text().trimmed();
    const bool valid = hours ? ReminderTimerSet::validHours(text)
                             : ReminderTimerSet::validMinutes(text);
    if (!valid) {
        edit->setText(QStringLiteral("00"));
        Dialogs::message(this, ScheduleTexts::translate(
                                   QStringLiteral("IncorrectRecord"),
                                   QStringLiteral("Hours must be 0 to 23, minutes 0 to 59.")));
    }
    ReminderTimer &r = m_set.row(index);
    (hours ? r.hours : r.minutes) = edit->text().trimmed();
}

void ReminderForm::onMessageToggled(int index, bool on)
{
    ReminderTimer &r = m_set.row(index);
    if (on) {
        const QString text = MessageTextWindow::ask(this, r.message, 1000);
        if (text.isEmpty() || !storable(text, ScheduleTexts::current(QStringLiteral("TimerMessage"), QStringLiteral("Message")))) {
            setChecked(m_rows.at(index).message, false);
            return;
        }
        r.message = text;
    } else {
        r.message.clear();
    }
    m_rows.at(index).message->setToolTip(r.message);
    if (r.active)
        save();
}

void ReminderForm::onSoundToggled(int index, bool on)
{
    ReminderTimer &r = m_set.row(index);
    if (on) {
        QString folder = QFileInfo(r.sound).absolutePath();
        if (r.sound.isEmpty())
            folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        const QString path = Dialogs::openFile(
            this, ScheduleTexts::current(QStringLiteral("Sound2"), QStringLiteral("Sound")), folder,
            ScheduleTexts::current(QStringLiteral("SoundFiles"), QStringLiteral("Sound files"))
                + QStringLiteral(" (*.wav *.mp3 *.ogg *.flac *.m4a);;* (*)"));
        if (path.isEmpty() || !storable(path, ScheduleTexts::current(QStringLiteral("Sound2"), QStringLiteral("Sound")))) {
            setChecked(m_rows.at(index).sound, false);
            return;
        }
        r.sound = path;
    } else {
        r.sound.clear();
    }
    m_rows.at(index).sound->setToolTip(r.sound);
    if (r.active)
        save();
}

bool ReminderForm::save()
{
    QString error;
    if (m_set.save(m_path, &error))
        return true;
    Dialogs::message(this, ScheduleTexts::current(QStringLiteral("TimersNotSaved"),
                                                  QStringLiteral("The reminder timers could not be saved:"))
                               + QLatin1Char(' ') + QDir::toNativeSeparators(m_path) + QStringLiteral("\n")
                               + error);
    return false;
}

bool ReminderForm::storable(const QString &text, const QString &field)
{
    if (Cp1251::canEncode(text))
        return true;
    QString said = ScheduleTexts::translate(QStringLiteral("FieldNotStorable"));
    Dialogs::message(this, said.contains(QLatin1String("%1")) ? said.arg(field) : said);
    return false;
}

void ReminderForm::finish()
{
    m_systemTime->stop();
    m_timerReminder->stop();
    m_sound->stop();
    m_player->hide();
    close();
}

bool ReminderForm::playSound(const QString &path)
{
    if (!QFileInfo(path).isFile() || !m_sound->play(path))
        return false;
    m_player->showFor(path);
    return true;
}

void ReminderForm::showCurrentTime()
{
    const QString now = Clock::now().toString(kTimeFormat);
    for (int i = 0; i < ReminderTimerSet::Count; ++i) {
        if (!m_set.row(i).active)
            m_rows.at(i).begin->setText(now);
    }
}

void ReminderForm::fireDue()
{
    const QList<int> fired = m_set.due(Clock::now());
    if (fired.isEmpty())
        return;
    // Rows stop and the file is written first: a message box below runs later ticks.
    for (int i : fired)
        showRow(i);
    save();
    for (int i : fired) {
        const ReminderTimer r = m_set.row(i);
        if (!r.sound.isEmpty() && !playSound(r.sound))
            m_sound->beep();
        if (!r.message.isEmpty())
            ScheduleTexts::showTimeOut(this, r.message);
    }
}
