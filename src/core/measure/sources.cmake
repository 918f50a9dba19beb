list(APPEND VANDREL_CORE_SOURCES
  core/measure/DeviceAbi.h
  core/measure/DeviceFrame.h core/measure/DeviceFrame.cpp
  core/measure/DeviceIdentity.h core/measure/DeviceIdentity.cpp
  core/measure/DeviceLibrary.h core/measure/DeviceLibrary.cpp
  core/measure/DeviceSearch.h core/measure/DeviceSearch.cpp
)
