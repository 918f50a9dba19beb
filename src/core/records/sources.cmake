list(APPEND VANDREL_CORE_SOURCES
  core/records/Channels.h core/records/Channels.cpp
  core/records/TestRecord.h
  core/records/TestRowCheck.h
  core/records/SchemaUpgrade.h core/records/SchemaUpgrade.cpp
  core/records/DataModule.h core/records/DataModule.cpp
  core/records/FirebirdLockFolder.h core/records/FirebirdLockFolder.cpp
  core/records/FirebirdStatus.h core/records/FirebirdStatus.cpp
  core/records/AutomaticSweep.h core/records/AutomaticSweep.cpp
  core/records/ClientKeys.h core/records/ClientKeys.cpp
  core/records/TestsModel.h core/records/TestsModel.cpp
  core/records/FreqDesRepository.h core/records/FreqDesRepository.cpp
  core/records/ClientCard.h core/records/ClientListEntry.h
  core/records/ClientValidation.h core/records/ClientValidation.cpp
  core/records/ClientSearch.h core/records/ClientSearch.cpp
  core/records/ClientRepository.h core/records/ClientRepository.cpp
  core/records/ClientsModel.h core/records/ClientsModel.cpp
  core/records/TimedTransaction.h core/records/TimedTransaction.cpp
  core/records/SyncSchema.h core/records/SyncSchema.cpp
  core/records/ClientRows.h core/records/ClientRows.cpp
  core/records/ClientMerge.h core/records/ClientMerge.cpp
  core/records/ClientConflicts.h core/records/ClientConflicts.cpp
  core/records/ClientSync.h core/records/ClientSync.cpp core/records/ClientSyncSupport.h
  core/records/ClientSyncPush.cpp core/records/ClientSyncPull.cpp
  core/records/ServerAnswer.h core/records/ServerAnswer.cpp
  core/records/ClientSyncService.h core/records/ClientSyncService.cpp
  core/records/CsvText.h core/records/CsvText.cpp
  core/records/TestExportColumns.h core/records/TestExportColumns.cpp
  core/records/TestExportWriter.h
  core/records/TestCsvWriter.h core/records/TestCsvWriter.cpp
  core/records/ZipStreamWriter.h core/records/ZipStreamWriter.cpp
  core/records/TestWorkbookWriter.h core/records/TestWorkbookWriter.cpp
  core/records/TestExportSource.h core/records/TestExportSource.cpp
  core/records/TestExport.h core/records/TestExport.cpp
)
