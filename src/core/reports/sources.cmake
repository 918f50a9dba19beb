list(APPEND VANDREL_CORE_SOURCES
  core/reports/ReportTemplate.h core/reports/ReportTemplate.cpp
  core/reports/PrintCatalogue.h core/reports/PrintCatalogue.cpp
  core/reports/ReportSections.h core/reports/ReportSections.cpp
  core/reports/ReportScript.h core/reports/ReportScript.cpp
  core/reports/ReportData.h core/reports/ReportData.cpp
  core/reports/ReportFiles.h core/reports/ReportFiles.cpp
  core/reports/SymptomLines.h core/reports/SymptomLines.cpp
  core/reports/PrintStore.h core/reports/PrintStore.cpp
  core/reports/MethodNote.h core/reports/MethodNote.cpp
)
