list(APPEND VANDREL_CORE_SOURCES
  core/schedule/LeadTime.h core/schedule/LeadTime.cpp
  core/schedule/Appointment.h
  core/schedule/AppointmentCheck.h core/schedule/AppointmentCheck.cpp
  core/schedule/AppointmentBook.h core/schedule/AppointmentBook.cpp
  core/schedule/TodayReminder.h
  core/schedule/AppointmentReminders.h core/schedule/AppointmentReminders.cpp
  core/schedule/ReminderTimer.h
  core/schedule/ReminderTimerSet.h core/schedule/ReminderTimerSet.cpp
  core/schedule/BeepTone.h core/schedule/BeepTone.cpp
)
