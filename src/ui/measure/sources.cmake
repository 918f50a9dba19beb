list(APPEND VANDREL_UI_SOURCES
  ui/measure/ShowDeviceForm.h ui/measure/ShowDeviceForm.cpp
)
