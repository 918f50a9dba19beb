list(APPEND VANDREL_CORE_SOURCES
  core/measure/DeviceAbi.h
  core/measure/DeviceFrame.h core/measure/DeviceFrame.cpp
  core/measure/DeviceIdentity.h core/measure/DeviceIdentity.cpp
  core/measure/DeviceLibrary.h core/measure/DeviceLibrary.cpp
  core/measure/DeviceSearch.h core/measure/DeviceSearch.cpp
  core/measure/ReadingCurve.h core/measure/ReadingCurve.cpp
  core/measure/Correction.h core/measure/Correction.cpp
  core/measure/SamplingMachine.h core/measure/SamplingMachine.cpp
  core/measure/TestGrid.h core/measure/TestGrid.cpp
  core/measure/TestRun.h core/measure/TestRun.cpp
  core/measure/PointPicture.h core/measure/PointPicture.cpp
)
