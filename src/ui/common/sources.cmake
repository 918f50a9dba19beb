list(APPEND VANDREL_UI_SOURCES
  ui/common/Dialogs.h ui/common/Dialogs.cpp
  ui/common/PlainText.h
  ui/common/WebEngineSetup.h ui/common/WebEngineSetup.cpp
)
