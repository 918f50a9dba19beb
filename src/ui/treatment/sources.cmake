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

# Colour and frequency therapy
list(APPEND VANDREL_UI_SOURCES
  ui/treatment/TherapyTexts.h
  ui/treatment/TherapyWidgets.h ui/treatment/TherapyWidgets.cpp
  ui/treatment/TreatmentTab.h ui/treatment/TreatmentTab.cpp
  ui/treatment/ColorSwatch.h ui/treatment/ColorSwatch.cpp
  ui/treatment/TTreatmentFrame.h ui/treatment/TTreatmentFrame.cpp
  ui/treatment/TreatmentDateList.h ui/treatment/TreatmentDateList.cpp
  ui/treatment/TTreatmentComment.h ui/treatment/TTreatmentComment.cpp
  ui/treatment/TAlgoritmForm.h ui/treatment/TAlgoritmForm.cpp
  ui/treatment/TLoadFreqForm.h ui/treatment/TLoadFreqForm.cpp
  ui/treatment/ColorPanel.h ui/treatment/ColorPanel.cpp
  ui/treatment/FreqPanel.h ui/treatment/FreqPanel.cpp
  ui/treatment/TreatmentPanel.h ui/treatment/TreatmentPanel.cpp
)

# Acupuncture sub-mode of the treatment page
list(APPEND VANDREL_UI_SOURCES
  ui/treatment/RecipeView.h ui/treatment/RecipeView.cpp
  ui/treatment/PunctGrid.h ui/treatment/PunctGrid.cpp
  ui/treatment/PunctPanel.h ui/treatment/PunctPanel.cpp
)

# Music player window of the treatment page
list(APPEND VANDREL_UI_SOURCES
  ui/treatment/MusicOutput.h
  ui/treatment/MediaMusicOutput.h ui/treatment/MediaMusicOutput.cpp
  ui/treatment/MusicPlayerForm.h ui/treatment/MusicPlayerForm.cpp
)
