list(APPEND VANDREL_UI_SOURCES
  ui/common/DateField.h ui/common/DateField.cpp
  ui/common/DateTexts.h ui/common/DateTexts.cpp
  ui/common/StackSizing.h ui/common/StackSizing.cpp
  ui/common/TableFit.h ui/common/TableFit.cpp
  ui/common/TimeTyping.h ui/common/TimeTyping.cpp
  ui/common/Dialogs.h ui/common/Dialogs.cpp
  ui/common/PlainText.h
  ui/common/WindowPlacement.h ui/common/WindowPlacement.cpp
  ui/common/WrappedChoice.h ui/common/WrappedChoice.cpp
  ui/common/WebEngineSetup.h ui/common/WebEngineSetup.cpp
)
