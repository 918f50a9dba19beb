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

# Colour and frequency therapy
list(APPEND VANDREL_CORE_SOURCES
  core/treatment/TherapyChannels.h core/treatment/TherapyChannels.cpp
  core/treatment/ColorAssignment.h core/treatment/ColorAssignment.cpp
  core/treatment/FreqAssignment.h core/treatment/FreqAssignment.cpp
  core/treatment/TherapyPlayer.h core/treatment/TherapyPlayer.cpp
  core/treatment/PowerRules.h core/treatment/PowerRules.cpp
  core/treatment/FreqImport.h core/treatment/FreqImport.cpp
  core/treatment/TherapyStore.h core/treatment/TherapyStore.cpp
)

# Acupuncture questionnaire, recipe and courses
list(APPEND VANDREL_CORE_SOURCES
  core/treatment/MeridianRelations.h core/treatment/MeridianRelations.cpp
  core/treatment/Questionnaire.h core/treatment/Questionnaire.cpp
  core/treatment/QuestionnaireAnswers.h core/treatment/QuestionnaireAnswers.cpp
  core/treatment/MeridianScoring.h core/treatment/MeridianScoring.cpp
  core/treatment/LoSourceRecipe.h core/treatment/LoSourceRecipe.cpp
  core/treatment/TreatmentCourse.h core/treatment/TreatmentCourse.cpp
  core/treatment/PunctEvaluation.h core/treatment/PunctEvaluation.cpp
  core/treatment/PunctTreatmentStore.h core/treatment/PunctTreatmentStore.cpp
)

# Music during therapy sessions
list(APPEND VANDREL_CORE_SOURCES
  core/treatment/MusicPlaylist.h core/treatment/MusicPlaylist.cpp
)
