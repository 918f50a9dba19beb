list(APPEND VANDREL_UI_SOURCES
  ui/treatment/MarkShape.h
  ui/treatment/MarkShape.cpp
  ui/treatment/BodyAtlasView.h
  ui/treatment/BodyAtlasView.cpp
  ui/treatment/BodyForm.h
  ui/treatment/BodyForm.cpp
  ui/treatment/PointLabel.h
  ui/treatment/PointLabel.cpp
)

# Open points by date and time
list(APPEND VANDREL_UI_SOURCES
  ui/treatment/MeridianClock.h ui/treatment/MeridianClock.cpp
  ui/treatment/OpenPointMarker.h ui/treatment/OpenPointMarker.cpp
  ui/treatment/OpenPointPictures.h ui/treatment/OpenPointPictures.cpp
  ui/treatment/OpenPointPanel.h ui/treatment/OpenPointPanel.cpp
)
