list(APPEND VANDREL_CORE_SOURCES
  core/app/AppPaths.h core/app/AppPaths.cpp
  core/app/DataFolderSetup.h core/app/DataFolderSetup.cpp
  core/app/DotCatalogue.h core/app/DotCatalogue.cpp
  core/app/Session.h core/app/Session.cpp
  core/app/WorkModes.h core/app/WorkModes.cpp
  core/app/StartupSequence.h core/app/StartupSequence.cpp
  core/app/TestFollower.h core/app/TestFollower.cpp
  core/app/UnixSignalWatcher.h core/app/UnixSignalWatcher.cpp
  core/app/SingleInstance.h core/app/SingleInstance.cpp
  core/app/StartPassword.h core/app/StartPassword.cpp
  core/app/PasswordCopy.h core/app/PasswordCopy.cpp
  core/app/StartFileCheck.h core/app/StartFileCheck.cpp
  core/app/MeasuringOrder.h core/app/MeasuringOrder.cpp
  core/app/SettingsValues.h core/app/SettingsValues.cpp
  core/app/BaseFacts.h core/app/BaseFacts.cpp
  core/app/DataBackup.h core/app/DataBackup.cpp
)
