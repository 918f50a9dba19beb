#include "PlanPanel.h"
#include "common/DateTexts.h"
#include "common/TimeTyping.h"

#include "common/WindowPlacement.h"

#include "MessageTextWindow.h"
#include "PlanFrame.h"
#include "ReminderForm.h"
#include "ScheduleTexts.h"
#include "app/Session.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "records/ClientsModel.h"
#include "records/DataModule.h"
#include "schedule/AppointmentBook.h"
#include "schedule/AppointmentReminders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm");

QLabel *caption(QWidget *parent, const char *key, const char *fallback)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("PlanCaption"));
    ScheduleTexts::bind(label, QLatin1String(key), QLatin1String(fallback),
                        [label](const QString &t) { label->setText(t); });
    return label;
}

void setChecked(QCheckBox *box, bool on)
{
    const QSignalBlocker block(box);
    box->setChecked(on);
}
} // namespace

void PlanPanel::announceReminders(AppointmentReminders *reminders, ReminderForm *form,
                                  QWidget *window)
{
    const QPointer<ReminderForm> sounds(form);
    connect(reminders, &AppointmentReminders::soundDue, window, [sounds](const QString &melody) {
        if (sounds)
            sounds->playSound(melody);
    });
    connect(reminders, &AppointmentReminders::messageDue, window,
            [window](const QString &text) { ScheduleTexts::showTimeOut(window->window(), text); });
}

PlanPanel::PlanPanel(DataModule *data, Session *session, ReminderForm *reminderForm,
                     AppointmentReminders *reminders, QWidget *parent)
    : WorkPage(QStringLiteral("PlanPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_reminderForm(reminderForm)
    , m_reminders(reminders ? reminders : new AppointmentReminders(data, this))
    , m_clients(new ClientsModel(data, this, false)) // read when the page is entered
{
    setStyleSheet(QStringLiteral(
        "#PlanPanel { background: #eef2f6; }"
        "#PlanTitle { color: #1f3b57; font-size: 13pt; font-weight: 600; }"
        "#PlanCaption { color: #1f3b57; font-weight: 600; }"
        "#EditorCaption { color: #1f3b57; font-weight: 600; }"
        "#EditorCaption[editing=\"true\"] { color: #9a5b00; }"
        "#PlanEditor { background: #f8fafc; border: 1px solid #c9d3dd; border-radius: 4px; }"
        "#ClientsGrid { background: #ffffff; alternate-background-color: #f5f8fb;"
        " selection-background-color: #cfe3f7; selection-color: #1f2b36;"
        " border: 1px solid #c9d3dd; gridline-color: #e6ebf0; }"
        "#SheduleBox { background: #ffffff; border: 1px solid #c9d3dd; }"
        "#DayList { background: #ffffff; }"
        "#TPlanFrame { background: #f4f8fc; border: 1px solid #d5dee7; border-radius: 3px; }"
        "#TPlanFrame[current=\"true\"] { background: #fff4d6; border-color: #e0b04c; }"
        "#TPlanFrame #TimeLabel { color: #24313d; font-weight: 600; }"
        "#TPlanFrame #NameLabel { color: #1a5490; text-decoration: underline; }"
        "#TPlanFrame #NoteLabel { color: #66727e; }"
        "#EmptyDayLabel { color: #66727e; }"
        "#SoundFileLabel, #MessageTextLabel { color: #46535f; }"
        "#Reminder { color: #1a5490; text-decoration: underline; border: none; }"
        "QLineEdit[notFound=\"true\"] { background: #fbe3e3; }"));

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(10, 6, 10, 8);
    page->setSpacing(6);

    auto *header = new QHBoxLayout;
    auto *title = new QLabel(this);
    title->setObjectName(QStringLiteral("PlanTitle"));
    ScheduleTexts::bind(title, QStringLiteral("Planing"), QStringLiteral("Planning"),
                        [title](const QString &t) { title->setText(t); });
    header->addWidget(title);
    header->addStretch(1);
    m_reminderLink = new QToolButton(this);
    m_reminderLink->setObjectName(QStringLiteral("Reminder"));
    m_reminderLink->setAutoRaise(true);
    m_reminderLink->setCursor(Qt::PointingHandCursor);
    m_reminderLink->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_reminderLink->setEnabled(m_reminderForm != nullptr);
    header->addWidget(m_reminderLink);
    page->addLayout(header);

    auto *columns = new QHBoxLayout;
    columns->setSpacing(10);
    columns->addWidget(buildClientColumn());
    columns->addWidget(buildEditor());
    columns->addWidget(buildDayColumn(), 1);
    page->addLayout(columns, 1);

    bindTexts();
    showEditingState();
    showSoundAndMessage();

    // Keyboard: Ctrl+Enter stores what the editor holds, Escape leaves changing an appointment.
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return),
                                     QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *save = new QShortcut(keys, this);
        save->setContext(Qt::WidgetWithChildrenShortcut);
        connect(save, &QShortcut::activated, this, &PlanPanel::saveAppointment);
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (isEditingAppointment())
            cancelEditing();
    });
    connect(m_reminderLink, &QToolButton::clicked, this, &PlanPanel::openReminderTimers);
    if (!reminders)
        announceReminders(m_reminders, reminderForm, this);
    connect(m_clients, &QAbstractItemModel::modelReset, this, [this] {
        if (m_session)
            selectClient(m_session->currentClient());
    });
    if (m_session)
        connect(m_session, &Session::currentClientChanged, this, &PlanPanel::selectClient);
    // Names and tooltips of the day list follow the language.
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this, &PlanPanel::refillDay);

    if (data && data->isOpen())
        m_clients->reload();
}

QWidget *PlanPanel::buildClientColumn()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(290);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(caption(column, "ClientsList", "List of clients"));

    auto *find = new QHBoxLayout;
    find->setSpacing(4);
    m_foundEdit = new QLineEdit(column);
    m_foundEdit->setObjectName(QStringLiteral("FoundEdit"));
    m_foundEdit->setClearButtonEnabled(true);
    m_foundButton = new QPushButton(column);
    m_foundButton->setObjectName(QStringLiteral("FoundButton"));
    find->addWidget(m_foundEdit, 1);
    find->addWidget(m_foundButton);
    layout->addLayout(find);

    m_clientsGrid = new QTableView(column);
    m_clientsGrid->setObjectName(QStringLiteral("ClientsGrid"));
    m_clientsGrid->setModel(m_clients);
    m_clientsGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_clientsGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_clientsGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_clientsGrid->setAlternatingRowColors(true);
    m_clientsGrid->setShowGrid(false);
    m_clientsGrid->verticalHeader()->hide();
    m_clientsGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_clientsGrid->verticalHeader()->setDefaultSectionSize(m_clientsGrid->fontMetrics().height() + 6);
    m_clientsGrid->horizontalHeader()->setStretchLastSection(true);
    m_clientsGrid->horizontalHeader()->setHighlightSections(false);
    m_clientsGrid->setColumnWidth(ClientsModel::CodeColumn, 56);
    m_clientsGrid->setColumnWidth(ClientsModel::NameColumn, 100);
    layout->addWidget(m_clientsGrid, 1);

    connect(m_foundButton, &QPushButton::clicked, this, &PlanPanel::findClient);
    connect(m_foundEdit, &QLineEdit::returnPressed, this, &PlanPanel::findClient);
    connect(m_foundEdit, &QLineEdit::textChanged, this, [this] {
        m_foundEdit->setProperty("notFound", false);
        m_foundEdit->style()->polish(m_foundEdit);
    });
    connect(m_clientsGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (m_selecting || !m_session || !current.isValid())
                    return;
                m_session->setCurrentClient(m_clients->codeAt(current.row()));
            });
    return column;
}

QWidget *PlanPanel::buildEditor()
{
    auto *box = new QFrame(this);
    box->setObjectName(QStringLiteral("PlanEditor"));
    box->setFixedWidth(330);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(6);

    m_editorCaption = new QLabel(box);
    m_editorCaption->setObjectName(QStringLiteral("EditorCaption"));
    layout->addWidget(m_editorCaption);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    grid->addWidget(caption(box, "NotesDate", "Appointment date"), 0, 0, 1, 4);
    m_notesDate = new QDateEdit(box);
    TimeTyping::install(m_notesDate);
    m_notesDate->setObjectName(QStringLiteral("NotesDateEdit"));
    m_notesDate->setCalendarPopup(true);
    m_notesDate->setDisplayFormat(kDateFormat);
    m_notesDate->setDate(Clock::today());
    grid->addWidget(m_notesDate, 1, 0, 1, 4);

    auto *fromLabel = new QLabel(box);
    ScheduleTexts::bind(fromLabel, QStringLiteral("c"), QStringLiteral("from"),
                        [fromLabel](const QString &t) { fromLabel->setText(t); });
    auto *toLabel = new QLabel(box);
    ScheduleTexts::bind(toLabel, QStringLiteral("to"), QStringLiteral("to"),
                        [toLabel](const QString &t) { toLabel->setText(t); });
    m_fromTime = new QTimeEdit(QTime(9, 0), box);
    m_fromTime->setObjectName(QStringLiteral("FromTime"));
    m_toTime = new QTimeEdit(QTime(10, 0), box);
    m_toTime->setObjectName(QStringLiteral("ToTime"));
    for (QTimeEdit *edit : {m_fromTime, m_toTime}) {
        edit->setDisplayFormat(kTimeFormat);
        edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        TimeTyping::install(edit);
    }
    grid->addWidget(fromLabel, 2, 0);
    grid->addWidget(m_fromTime, 2, 1);
    grid->addWidget(toLabel, 2, 2);
    grid->addWidget(m_toTime, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    layout->addWidget(caption(box, "Comment", "Comment"));
    m_notesMemo = new QPlainTextEdit(box);
    m_notesMemo->setObjectName(QStringLiteral("NotesMemo"));
    m_notesMemo->setTabChangesFocus(true);
    m_notesMemo->setMinimumHeight(60);
    layout->addWidget(m_notesMemo, 1);

    auto *remind = new QHBoxLayout;
    remind->setSpacing(6);
    m_remember = new QCheckBox(box);
    m_remember->setObjectName(QStringLiteral("Remember"));
    m_rememberCount = new QSpinBox(box);
    m_rememberCount->setObjectName(QStringLiteral("RememberCount"));
    m_rememberCount->setRange(0, LeadTime::MaxCount);
    m_rememberCount->setValue(10);
    m_rememberTime = new QComboBox(box);
    m_rememberTime->setObjectName(QStringLiteral("RememberTime"));
    m_rememberTime->addItems({QStringLiteral("sec."), QStringLiteral("min."), QStringLiteral("h."),
                              QStringLiteral("days")});
    m_rememberTime->setCurrentIndex(LeadTime::Minutes);
    remind->addWidget(m_remember);
    remind->addWidget(m_rememberCount);
    remind->addWidget(m_rememberTime, 1);
    layout->addLayout(remind);

    auto *ways = new QGridLayout;
    ways->setHorizontalSpacing(8);
    ways->setContentsMargins(20, 0, 0, 0);
    m_sound = new QCheckBox(box);
    m_sound->setObjectName(QStringLiteral("Sound"));
    m_soundLabel = new QLabel(box);
    m_soundLabel->setObjectName(QStringLiteral("SoundFileLabel"));
    m_message = new QCheckBox(box);
    m_message->setObjectName(QStringLiteral("message"));
    m_messageLabel = new QLabel(box);
    m_messageLabel->setObjectName(QStringLiteral("MessageTextLabel"));
    for (QLabel *label : {m_soundLabel, m_messageLabel}) {
        label->setMinimumWidth(10);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    ways->addWidget(m_sound, 0, 0);
    ways->addWidget(m_soundLabel, 0, 1);
    ways->addWidget(m_message, 1, 0);
    ways->addWidget(m_messageLabel, 1, 1);
    ways->setColumnStretch(1, 1);
    layout->addLayout(ways);

    auto *buttons = new QHBoxLayout;
    m_savedNote = new QLabel(box);
    m_savedNote->setObjectName(QStringLiteral("SavedNote"));
    m_savedNote->setStyleSheet(QStringLiteral("color: #2e7d32;"));
    m_savedNote->hide();
    m_savedNoteTimer = new QTimer(this);
    m_savedNoteTimer->setSingleShot(true);
    m_savedNoteTimer->setInterval(5000);
    connect(m_savedNoteTimer, &QTimer::timeout, m_savedNote, &QLabel::hide);
    buttons->addWidget(m_savedNote);
    buttons->addStretch(1);
    m_cancelEditBtn = new QPushButton(box);
    m_cancelEditBtn->setObjectName(QStringLiteral("CancelEditBtn"));
    m_saveBtn = new QPushButton(box);
    m_saveBtn->setObjectName(QStringLiteral("SaveBtn"));
    m_saveBtn->setDefault(true);
    m_saveBtn->setMinimumWidth(90);
    buttons->addWidget(m_cancelEditBtn);
    buttons->addWidget(m_saveBtn);
    layout->addLayout(buttons);

    connect(m_notesDate, &QDateEdit::dateChanged, this, &PlanPanel::setScheduleDate);
    connect(m_remember, &QCheckBox::toggled, this, &PlanPanel::onRememberToggled);
    connect(m_sound, &QCheckBox::toggled, this, &PlanPanel::onSoundToggled);
    connect(m_message, &QCheckBox::toggled, this, &PlanPanel::onMessageToggled);
    connect(m_saveBtn, &QPushButton::clicked, this, &PlanPanel::saveAppointment);
    connect(m_cancelEditBtn, &QPushButton::clicked, this, &PlanPanel::cancelEditing);
    onRememberToggled(false);
    return box;
}

QWidget *PlanPanel::buildDayColumn()
{
    auto *column = new QWidget(this);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto *top = new QHBoxLayout;
    top->setSpacing(4);
    top->addWidget(caption(column, "Schedule", "Schedule"));
    top->addStretch(1);
    auto *previous = new QToolButton(column);
    previous->setObjectName(QStringLiteral("PreviousDayButton"));
    previous->setArrowType(Qt::LeftArrow);
    auto *next = new QToolButton(column);
    next->setObjectName(QStringLiteral("NextDayButton"));
    next->setArrowType(Qt::RightArrow);
    m_scheduleDate = new QDateEdit(Clock::today(), column);
    TimeTyping::install(m_scheduleDate);
    m_scheduleDate->setObjectName(QStringLiteral("ScheduleDate"));
    m_scheduleDate->setCalendarPopup(true);
    m_scheduleDate->setDisplayFormat(kDateFormat);
    top->addWidget(previous);
    top->addWidget(m_scheduleDate);
    top->addWidget(next);
    layout->addLayout(top);
    ScheduleTexts::bind(previous, QStringLiteral("Previous"), QStringLiteral("Previous"),
                        [previous](const QString &t) { previous->setToolTip(t); });
    ScheduleTexts::bind(next, QStringLiteral("Next"), QStringLiteral("Next"),
                        [next](const QString &t) { next->setToolTip(t); });

    m_sheduleBox = new QScrollArea(column);
    m_sheduleBox->setObjectName(QStringLiteral("SheduleBox"));
    m_sheduleBox->setWidgetResizable(true);
    m_sheduleBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_dayList = new QWidget;
    m_dayList->setObjectName(QStringLiteral("DayList"));
    m_dayLayout = new QVBoxLayout(m_dayList);
    m_dayLayout->setContentsMargins(6, 6, 6, 6);
    m_dayLayout->setSpacing(4);
    m_emptyDay = new QLabel(m_dayList);
    m_emptyDay->setObjectName(QStringLiteral("EmptyDayLabel"));
    m_emptyDay->setWordWrap(true);
    m_emptyDay->setAlignment(Qt::AlignCenter);
    m_dayLayout->addWidget(m_emptyDay);
    m_dayLayout->addStretch(1);
    m_sheduleBox->setWidget(m_dayList);
    layout->addWidget(m_sheduleBox, 1);

    connect(m_scheduleDate, &QDateEdit::dateChanged, this, &PlanPanel::refillDay);
    connect(previous, &QToolButton::clicked, this,
            [this] { setScheduleDate(scheduleDate().addDays(-1)); });
    connect(next, &QToolButton::clicked, this,
            [this] { setScheduleDate(scheduleDate().addDays(1)); });
    return column;
}

void PlanPanel::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    ScheduleTexts::bind(m_foundButton, QStringLiteral("Search"), QStringLiteral("Search"),
                        [this](const QString &t) { m_foundButton->setText(t); });
    ScheduleTexts::bind(m_remember, QStringLiteral("Remember"), QStringLiteral("Remind before"),
                        [this](const QString &t) { m_remember->setText(t); });
    ScheduleTexts::bind(m_sound, QStringLiteral("Sound"), QStringLiteral("Sound signal"),
                        [this](const QString &t) { m_sound->setText(t); });
    ScheduleTexts::bind(m_message, QStringLiteral("Message"), QStringLiteral("Message"),
                        [this](const QString &t) { m_message->setText(t); });
    ScheduleTexts::bind(m_cancelEditBtn, QStringLiteral("Cancel"), QStringLiteral("Cancel"),
                        [this](const QString &t) { m_cancelEditBtn->setText(t); });
    // The save button and the editor's caption say whether a new appointment is made.
    ScheduleTexts::bind(m_saveBtn, QStringLiteral("OK"), QStringLiteral("OK"),
                        [this](const QString &) { showEditingState(); });
    ScheduleTexts::bind(m_reminderLink, QStringLiteral("Reminder"), QStringLiteral("Reminders"),
                        [this](const QString &t) { m_reminderLink->setText(t); });
    ScheduleTexts::bind(m_emptyDay, QStringLiteral("NoAppointments"),
                        QStringLiteral("No appointments on this day."),
                        [this](const QString &t) { m_emptyDay->setText(t); });
    applier.bindItems(m_rememberTime, {QStringLiteral("sec"), QStringLiteral("Minute"),
                                       QStringLiteral("Hour"), QStringLiteral("Day")});
    applier.bind(m_clients, QStringLiteral("ID"), [this](const QString &) {
        m_clients->setHeaders({ScheduleTexts::current(QStringLiteral("ID"), QStringLiteral("ID")),
                               ScheduleTexts::current(QStringLiteral("Name"), QStringLiteral("Name")),
                               ScheduleTexts::current(QStringLiteral("Surname"),
                                                      QStringLiteral("Surname"))});
    });
}

void PlanPanel::enter()
{
    // Cards may have been added or changed in the clients mode meanwhile.
    if (m_data && m_data->isOpen())
        m_clients->reload();
    if (m_session)
        selectClient(m_session->currentClient());
    refillDay();
}

void PlanPanel::leave()
{
    // The editor keeps what was typed; nothing is stored without OK.
}

QDate PlanPanel::scheduleDate() const
{
    return m_scheduleDate->date();
}

void PlanPanel::setScheduleDate(const QDate &day)
{
    if (!day.isValid())
        return;
    if (m_scheduleDate->date() == day)
        refillDay();
    else
        m_scheduleDate->setDate(day); // refills through dateChanged
}

void PlanPanel::selectClient(const QString &code)
{
    const int row = m_clients->rowOfCode(code);
    m_selecting = true;
    if (row < 0) {
        m_clientsGrid->selectionModel()->clearSelection();
    } else {
        const QModelIndex index = m_clients->index(row, ClientsModel::NameColumn);
        m_clientsGrid->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_clientsGrid->scrollTo(index);
    }
    m_selecting = false;
}

QString PlanPanel::chosenClient() const
{
    const QModelIndexList rows = m_clientsGrid->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : m_clients->codeAt(rows.first().row());
}

void PlanPanel::findClient()
{
    const QString text = m_foundEdit->text().trimmed();
    if (text.isEmpty())
        return;
    // The first match; pressed again for the same text, the next one (round to the top).
    const int current = m_clientsGrid->currentIndex().row();
    int row = -1;
    if (text == m_lastFoundText && current >= 0 && current == m_lastFoundRow)
        row = m_clients->quickFind(text, true, current + 1);
    if (row < 0)
        row = m_clients->quickFind(text, true, 0);
    m_lastFoundText = text;
    m_lastFoundRow = row;
    if (row < 0) {
        // No match leaves the chosen client as it was.
        m_foundEdit->setProperty("notFound", true);
        m_foundEdit->style()->polish(m_foundEdit);
        Dialogs::message(this, ScheduleTexts::translate(
                                   QStringLiteral("ClientNotFound"),
                                   QStringLiteral("No client's name or surname contains this text.")));
        return;
    }
    selectClient(m_clients->codeAt(row));
    if (m_session)
        m_session->setCurrentClient(m_clients->codeAt(row));
}

void PlanPanel::onRememberToggled(bool on)
{
    if (!on) {
        // No reminder, no way of reminding.
        setChecked(m_sound, false);
        setChecked(m_message, false);
        m_melody.clear();
        m_text.clear();
        showSoundAndMessage();
    }
    for (QWidget *w : {static_cast<QWidget *>(m_rememberCount), static_cast<QWidget *>(m_rememberTime),
                       static_cast<QWidget *>(m_sound), static_cast<QWidget *>(m_message)})
        w->setEnabled(on);
}

void PlanPanel::onSoundToggled(bool on)
{
    if (on) {
        QString folder = QFileInfo(m_melody).absolutePath();
        if (m_melody.isEmpty())
            folder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
        const QString path = Dialogs::openFile(
            this, ScheduleTexts::current(QStringLiteral("Sound"), QStringLiteral("Sound signal")),
            folder,
            ScheduleTexts::current(QStringLiteral("SoundFiles"), QStringLiteral("Sound files"))
                + QStringLiteral(" (*.wav *.mp3 *.ogg *.flac *.m4a);;* (*)"));
        if (path.isEmpty())
            setChecked(m_sound, false);
        m_melody = path;
    } else {
        m_melody.clear();
    }
    showSoundAndMessage();
}

void PlanPanel::onMessageToggled(bool on)
{
    if (on) {
        const QString text = MessageTextWindow::ask(this, m_text, Appointment::MaxText);
        if (text.isEmpty())
            setChecked(m_message, false);
        m_text = text;
    } else {
        m_text.clear();
    }
    showSoundAndMessage();
}

void PlanPanel::showSoundAndMessage()
{
    const int width = qMax(60, m_soundLabel->width());
    m_soundLabel->setText(
        m_soundLabel->fontMetrics().elidedText(QFileInfo(m_melody).fileName(), Qt::ElideMiddle, width));
    m_soundLabel->setToolTip(m_melody);
    const QString firstLine = m_text.section(QLatin1Char('\n'), 0, 0);
    m_messageLabel->setText(
        m_messageLabel->fontMetrics().elidedText(firstLine, Qt::ElideRight, width));
    m_messageLabel->setToolTip(m_text);
}

Appointment PlanPanel::editedAppointment() const
{
    Appointment a;
    a.clientId = chosenClient();
    a.day = m_notesDate->date();
    a.begin = m_fromTime->time();
    a.end = m_toTime->time();
    a.comment = m_notesMemo->toPlainText();
    a.remind = m_remember->isChecked();
    a.lead = {m_rememberCount->value(), LeadTime::Unit(qBound(0, m_rememberTime->currentIndex(), 3))};
    a.sound = a.remind && m_sound->isChecked();
    a.melody = a.sound ? m_melody : QString();
    a.message = a.remind && m_message->isChecked();
    a.text = a.message ? m_text : QString();
    return a;
}

bool PlanPanel::refuseIfBad(const AppointmentCheck::Problem &problem, const QString &error)
{
    if (problem.key == QLatin1String("Error")) {
        Dialogs::error(this, ScheduleTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")),
                       error);
        return true;
    }
    if (problem.ok())
        return false;
    Dialogs::message(this, ScheduleTexts::problemText(problem.key, problem.field, problem.limit));
    if (problem.key == QLatin1String("IncorrectTimeInterval"))
        m_toTime->setFocus();
    else if (problem.key == QLatin1String("TimeAlreadyUsed"))
        m_fromTime->setFocus();
    else if (problem.key == QLatin1String("ChooseClient"))
        m_clientsGrid->setFocus();
    return true;
}

bool PlanPanel::saveAppointment()
{
    Appointment a = editedAppointment();
    const bool editing = m_editing.has_value();
    // What cannot be stored is said before the question, not after a "yes".
    QString error;
    if (refuseIfBad(AppointmentBook(m_data).check(a, m_editing, &error), error))
        return false;
    const QString question = editing
        ? ScheduleTexts::translate(QStringLiteral("DoYouWantToSaveData"),
                                   QStringLiteral("Do you want to save the changes?"))
        : ScheduleTexts::translate(QStringLiteral("DoYouWantToAddData"),
                                   QStringLiteral("Do you want to add this appointment?"));
    // The user has just asked for it: Yes is the answer Enter gives.
    if (!Dialogs::confirm(this, question))
        return false;

    const AppointmentCheck::Problem problem = AppointmentBook(m_data).store(a, m_editing, &error);
    if (refuseIfBad(problem, error))
        return false;
    m_editing.reset();
    showEditingState();
    m_reminders->reload();
    refillDay();
    // Said beside the button, not in a second box to click away.
    m_savedNote->setText(ScheduleTexts::translate(QStringLiteral("ScheduleChanged"),
                                                  QStringLiteral("The schedule has been saved.")));
    m_savedNote->show();
    m_savedNoteTimer->start();
    return true;
}

void PlanPanel::editAppointment(const AppointmentKey &key)
{
    QString error;
    const std::optional<Appointment> found = AppointmentBook(m_data).find(key, &error);
    if (!found) {
        // Deleted meanwhile (or the base failed): the list shows what there is.
        refillDay();
        return;
    }
    const Appointment &a = *found;
    m_editing = key;
    selectClient(a.clientId);
    if (m_session && m_clients->rowOfCode(a.clientId) >= 0)
        m_session->setCurrentClient(a.clientId);
    {
        const QSignalBlocker block(m_notesDate);
        m_notesDate->setDate(a.day);
    }
    m_fromTime->setTime(a.begin);
    m_toTime->setTime(a.end);
    m_notesMemo->setPlainText(a.comment);
    setChecked(m_remember, a.remind);
    onRememberToggled(a.remind);
    if (a.remind) {
        m_rememberCount->setValue(a.lead.count);
        m_rememberTime->setCurrentIndex(int(a.lead.unit));
    }
    m_melody = a.sound ? a.melody : QString();
    m_text = a.message ? a.text : QString();
    setChecked(m_sound, a.sound && !m_melody.isEmpty());
    setChecked(m_message, a.message && !m_text.isEmpty());
    showSoundAndMessage();
    showEditingState();
    setScheduleDate(a.day);
}

void PlanPanel::cancelEditing()
{
    m_editing.reset();
    m_notesMemo->clear();
    setChecked(m_remember, false);
    onRememberToggled(false);
    showEditingState();
    refillDay();
}

void PlanPanel::showEditingState()
{
    const bool editing = m_editing.has_value();
    m_saveBtn->setText(editing ? ScheduleTexts::current(QStringLiteral("Save"), QStringLiteral("Save"))
                               : ScheduleTexts::current(QStringLiteral("OK"), QStringLiteral("OK")));
    m_cancelEditBtn->setVisible(editing);
    m_editorCaption->setText(
        editing ? ScheduleTexts::current(QStringLiteral("EditAppointment"),
                                         QStringLiteral("Change the appointment"))
                : ScheduleTexts::current(QStringLiteral("NewAppointment"),
                                         QStringLiteral("New appointment")));
    m_editorCaption->setProperty("editing", editing);
    m_editorCaption->style()->unpolish(m_editorCaption);
    m_editorCaption->style()->polish(m_editorCaption);
    for (PlanFrame *frame : m_dayList->findChildren<PlanFrame *>())
        frame->setCurrent(editing && frame->key() == *m_editing);
}

void PlanPanel::deleteAppointment(const AppointmentKey &key)
{
    AppointmentBook book(m_data);
    QString error;
    const std::optional<Appointment> found = book.find(key, &error);
    if (!found) {
        refillDay();
        return;
    }
    const QString what = DateTexts::date(found->day) + QLatin1Char(' ')
                         + found->begin.toString(kTimeFormat) + QLatin1Char('-')
                         + found->end.toString(kTimeFormat) + QStringLiteral("  ")
                         + (found->clientName.isEmpty() ? found->clientId : found->clientName);
    const QString question = ScheduleTexts::translate(QStringLiteral("DeleteClient"),
                                                      QStringLiteral("Delete the selected record?"))
                             + QStringLiteral("\n\n") + what;
    if (!Dialogs::ask(this, question))
        return;
    if (!book.remove(key, &error)) {
        Dialogs::error(this, ScheduleTexts::translate(QStringLiteral("Error"), QStringLiteral("Error")),
                       error);
        return;
    }
    if (m_editing == key) {
        cancelEditing();
    }
    m_reminders->reload();
    refillDay();
}

void PlanPanel::refillDay()
{
    // Frames go later: this may run from a signal of one of them.
    for (PlanFrame *frame : m_dayList->findChildren<PlanFrame *>()) {
        m_dayLayout->removeWidget(frame);
        frame->hide();
        frame->deleteLater();
    }
    QString error;
    const QList<Appointment> day = AppointmentBook(m_data).day(scheduleDate(), &error);
    int position = 0;
    for (const Appointment &a : day) {
        auto *frame = new PlanFrame(a, m_dayList);
        const AppointmentKey key = a.key();
        const QString client = a.clientId;
        connect(frame, &PlanFrame::nameClicked, this, [this, key] { editAppointment(key); });
        connect(frame, &PlanFrame::nameDoubleClicked, this,
                [this, client] { Q_EMIT openClientRequested(client); });
        connect(frame, &PlanFrame::closeClicked, this, [this, key] { deleteAppointment(key); });
        frame->setCurrent(m_editing && *m_editing == key);
        m_dayLayout->insertWidget(position++, frame);
        frame->show();
    }
    m_emptyDay->setVisible(day.isEmpty());
    m_emptyDay->setText(!error.isEmpty() && m_data && m_data->isOpen()
                            ? error
                            : ScheduleTexts::current(QStringLiteral("NoAppointments"),
                                                     QStringLiteral("No appointments on this day.")));
}

void PlanPanel::openReminderTimers()
{
    if (!m_reminderForm)
        return;
    if (!m_reminderForm->isVisible())
        WindowPlacement::centreOver(m_reminderForm, window());
    m_reminderForm->show();
    m_reminderForm->raise();
    m_reminderForm->activateWindow();
}
