list(APPEND VANDREL_CORE_SOURCES
  core/ryodoraku/ConductionClass.h
  core/ryodoraku/CorridorEvaluation.h core/ryodoraku/CorridorEvaluation.cpp
  core/ryodoraku/ProgressFigures.h core/ryodoraku/ProgressFigures.cpp
  core/ryodoraku/CorridorPercent.h core/ryodoraku/CorridorPercent.cpp
  core/ryodoraku/ChannelEntry.h
  core/ryodoraku/ChannelCatalogue.h core/ryodoraku/ChannelCatalogue.cpp
  core/ryodoraku/ChannelResult.h
  core/ryodoraku/ChannelFilter.h
  core/ryodoraku/ChannelResultsBuilder.h core/ryodoraku/ChannelResultsBuilder.cpp
  core/ryodoraku/ChannelCard.h core/ryodoraku/ChannelCard.cpp
  core/ryodoraku/ChannelMarks.h core/ryodoraku/ChannelMarks.cpp
  core/ryodoraku/SymptomMarksStore.h core/ryodoraku/SymptomMarksStore.cpp
  core/ryodoraku/GraphOrders.h core/ryodoraku/GraphOrders.cpp
)
# Meridian analysis and the anatomy display.
list(APPEND VANDREL_CORE_SOURCES
  core/ryodoraku/MeridianAnalysis.h core/ryodoraku/MeridianAnalysis.cpp
  core/ryodoraku/AnatomyGrading.h core/ryodoraku/AnatomyGrading.cpp
  core/ryodoraku/AnatomyAbi.h
  core/ryodoraku/AnatomyLibrary.h core/ryodoraku/AnatomyLibrary.cpp
)
# Reference tables.
list(APPEND VANDREL_CORE_SOURCES
  core/ryodoraku/TableCatalogue.h core/ryodoraku/TableCatalogue.cpp
)
