list(APPEND VANDREL_UI_SOURCES
  ui/measure/ShowDeviceForm.h ui/measure/ShowDeviceForm.cpp
  ui/measure/BodyPicture.h ui/measure/BodyPicture.cpp
  ui/measure/PointDisplay.h ui/measure/PointDisplay.cpp
  ui/measure/TracePaintBox.h ui/measure/TracePaintBox.cpp
  ui/measure/CorrectForm.h ui/measure/CorrectForm.cpp
  ui/measure/DiagnosticPanel.h ui/measure/DiagnosticPanel.cpp
)
