list(APPEND VANDREL_UI_SOURCES
  ui/schedule/ScheduleTexts.h ui/schedule/ScheduleTexts.cpp
  ui/schedule/SoundOutput.h
  ui/schedule/MediaSoundOutput.h ui/schedule/MediaSoundOutput.cpp
  ui/schedule/ReminderPlayerWindow.h ui/schedule/ReminderPlayerWindow.cpp
  ui/schedule/MessageTextWindow.h ui/schedule/MessageTextWindow.cpp
  ui/schedule/ReminderForm.h ui/schedule/ReminderForm.cpp
  ui/schedule/PlanFrame.h ui/schedule/PlanFrame.cpp
  ui/schedule/PlanPanel.h ui/schedule/PlanPanel.cpp
)
