list(APPEND VANDREL_CORE_SOURCES
  core/reports/ReportTemplate.h core/reports/ReportTemplate.cpp
  core/reports/PrintCatalogue.h core/reports/PrintCatalogue.cpp
)
