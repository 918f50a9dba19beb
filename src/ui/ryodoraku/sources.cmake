list(APPEND VANDREL_UI_SOURCES
  ui/ryodoraku/TestChart.h ui/ryodoraku/TestChart.cpp
  ui/ryodoraku/PolarDiagram.h ui/ryodoraku/PolarDiagram.cpp
  ui/ryodoraku/GraphicPanel.h ui/ryodoraku/GraphicPanel.cpp
  ui/ryodoraku/TRiodoracuFrame.h ui/ryodoraku/TRiodoracuFrame.cpp
  ui/ryodoraku/RidorakuPanel.h ui/ryodoraku/RidorakuPanel.cpp
)
