#pragma once

#include "app/WorkPage.h"
#include "schedule/Appointment.h"
#include "schedule/AppointmentCheck.h"

#include <QPointer>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QTimer;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTableView;
class QTimeEdit;
class QToolButton;
class QVBoxLayout;
class AppointmentReminders;
class ClientsModel;
class DataModule;
class ReminderForm;
class Session;

// The appointment schedule (`PlanPanel`): choose a client, a day, a time interval, a note and
// perhaps a reminder before the start, and store it; the appointments of a chosen day are
// listed beside it, where one can be picked to be changed, or deleted. Today's reminders are
// fired from here by `PlanTimer` (see AppointmentReminders); their sounds play in the reminder
// timers window, which the label `Reminder` opens.
class PlanPanel : public WorkPage
{
    Q_OBJECT
public:
    // Today's reminders run from the start of the program, before the page is first shown:
    // the window hands them in (`reminders`); without them the page makes its own.
    PlanPanel(DataModule *data, Session *session, ReminderForm *reminderForm,
              AppointmentReminders *reminders = nullptr, QWidget *parent = nullptr);

    void enter() override;
    void leave() override;

    AppointmentReminders *reminders() const { return m_reminders; }
    // Fired reminders play their sound in the timers window and show their message over
    // `window`'s window.
    static void announceReminders(AppointmentReminders *reminders, ReminderForm *form,
                                  QWidget *window);
    ClientsModel *clientsModel() const { return m_clients; }
    QDate scheduleDate() const;
    void setScheduleDate(const QDate &day);

    // The editor's actions, also for tests.
    bool saveAppointment();
    void editAppointment(const AppointmentKey &key);
    void cancelEditing();
    void deleteAppointment(const AppointmentKey &key);
    void findClient();
    bool isEditingAppointment() const { return m_editing.has_value(); }

Q_SIGNALS:
    // A double click on a name in the day list: show that client's card.
    void openClientRequested(const QString &code);

private:
    // Says why the appointment cannot be stored and puts the focus where to mend it; false
    // when there is nothing to say.
    bool refuseIfBad(const AppointmentCheck::Problem &problem, const QString &error);
    QWidget *buildClientColumn();
    QWidget *buildEditor();
    QWidget *buildDayColumn();
    void bindTexts();
    void refillDay();
    void selectClient(const QString &code);
    QString chosenClient() const;
    Appointment editedAppointment() const;
    void showEditingState();
    void onRememberToggled(bool on);
    void onSoundToggled(bool on);
    void onMessageToggled(bool on);
    void showSoundAndMessage();
    void openReminderTimers();

    QPointer<DataModule> m_data;
    Session *m_session;
    QPointer<ReminderForm> m_reminderForm;
    AppointmentReminders *m_reminders;
    ClientsModel *m_clients;

    QLineEdit *m_foundEdit = nullptr;
    QPushButton *m_foundButton = nullptr;
    QTableView *m_clientsGrid = nullptr;
    QDateEdit *m_notesDate = nullptr;
    QTimeEdit *m_fromTime = nullptr;
    QTimeEdit *m_toTime = nullptr;
    QPlainTextEdit *m_notesMemo = nullptr;
    QCheckBox *m_remember = nullptr;
    QSpinBox *m_rememberCount = nullptr;
    QComboBox *m_rememberTime = nullptr;
    QCheckBox *m_sound = nullptr;
    QCheckBox *m_message = nullptr;
    QLabel *m_soundLabel = nullptr;
    QLabel *m_savedNote = nullptr;
    QTimer *m_savedNoteTimer = nullptr;
    QLabel *m_messageLabel = nullptr;
    QPushButton *m_saveBtn = nullptr;
    QPushButton *m_cancelEditBtn = nullptr;
    QLabel *m_editorCaption = nullptr;
    QDateEdit *m_scheduleDate = nullptr;
    QScrollArea *m_sheduleBox = nullptr;
    QWidget *m_dayList = nullptr;
    QVBoxLayout *m_dayLayout = nullptr;
    QLabel *m_emptyDay = nullptr;
    QToolButton *m_reminderLink = nullptr;

    QString m_melody;
    QString m_text;
    std::optional<AppointmentKey> m_editing;
    QString m_lastFoundText;
    int m_lastFoundRow = -1;
    bool m_selecting = false;
};
