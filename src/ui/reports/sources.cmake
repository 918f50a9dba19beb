list(APPEND VANDREL_UI_SOURCES
  ui/reports/ReportSources.h
  ui/reports/ReportCharts.h ui/reports/ReportCharts.cpp
  ui/reports/TPrintForm.h ui/reports/TPrintForm.cpp
  ui/reports/MethodNoticeForm.h ui/reports/MethodNoticeForm.cpp
  ui/reports/PrintPanel.h ui/reports/PrintPanel.cpp ui/reports/PrintPanelBands.cpp ui/reports/PrintPanelCompose.cpp ui/reports/PrintPanelSupport.h
)
