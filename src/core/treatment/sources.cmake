list(APPEND VANDREL_CORE_SOURCES
  core/treatment/AtlasPosition.h
  core/treatment/RecipeLine.h
  core/treatment/AtlasPoints.h
  core/treatment/AtlasPoints.cpp
  core/treatment/BodyMarkGeometry.h
  core/treatment/BodyMarkGeometry.cpp
  core/treatment/MarkBlink.h
  core/treatment/MarkBlink.cpp
)

# Open points by date and time
list(APPEND VANDREL_CORE_SOURCES
  core/treatment/OpenPointCalendar.h core/treatment/OpenPointCalendar.cpp
  core/treatment/OpenPointMethod.h core/treatment/OpenPointMethod.cpp
  core/treatment/OpenPointTables.h core/treatment/OpenPointTables.cpp
  core/treatment/DayReference.h core/treatment/DayReference.cpp
  core/treatment/OpenPointCodes.h core/treatment/OpenPointCodes.cpp
  core/treatment/OpenPointListing.h core/treatment/OpenPointListing.cpp
  core/treatment/OpenPointMarkers.h core/treatment/OpenPointMarkers.cpp
)
