list(APPEND VANDREL_UI_SOURCES
  ui/ryodoraku/TestChart.h ui/ryodoraku/TestChart.cpp
  ui/ryodoraku/TestGraphs.h ui/ryodoraku/TestGraphs.cpp
  ui/ryodoraku/PolarDiagram.h ui/ryodoraku/PolarDiagram.cpp
  ui/ryodoraku/ProgressChart.h ui/ryodoraku/ProgressChart.cpp
  ui/ryodoraku/GraphicPanel.h ui/ryodoraku/GraphicPanel.cpp
  ui/ryodoraku/TRiodoracuFrame.h ui/ryodoraku/TRiodoracuFrame.cpp
  ui/ryodoraku/RidorakuPanel.h ui/ryodoraku/RidorakuPanel.cpp
)
# Reference tables.
list(APPEND VANDREL_UI_SOURCES
  ui/ryodoraku/TableListDelegate.h ui/ryodoraku/TableListDelegate.cpp
  ui/ryodoraku/TablePanel.h ui/ryodoraku/TablePanel.cpp
)
# Meridian analysis window and the anatomy display.
list(APPEND VANDREL_UI_SOURCES
  ui/ryodoraku/AnalBarChart.h ui/ryodoraku/AnalBarChart.cpp
  ui/ryodoraku/AnalRatioStrip.h ui/ryodoraku/AnalRatioStrip.cpp
  ui/ryodoraku/CircadianChart.h ui/ryodoraku/CircadianChart.cpp
  ui/ryodoraku/TAnalForm.h ui/ryodoraku/TAnalForm.cpp
  ui/ryodoraku/AnatomyController.h ui/ryodoraku/AnatomyController.cpp
)
