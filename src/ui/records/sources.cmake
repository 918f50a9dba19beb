list(APPEND VANDREL_UI_SOURCES
  ui/records/ClientTexts.h ui/records/ClientTexts.cpp
  ui/records/ClientCardView.h ui/records/ClientCardView.cpp
  ui/records/ClientEditor.h ui/records/ClientEditor.cpp
  ui/records/ClientPanel.h ui/records/ClientPanel.cpp
  ui/records/ClientTestsList.h ui/records/ClientTestsList.cpp
  ui/records/ClientSyncStatus.h ui/records/ClientSyncStatus.cpp
  ui/records/TestExportDialog.h ui/records/TestExportDialog.cpp
  ui/records/TestExportRunner.h ui/records/TestExportRunner.cpp
  ui/records/TestExportAction.h ui/records/TestExportAction.cpp
)
