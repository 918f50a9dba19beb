list(APPEND VANDREL_UI_SOURCES
  ui/app/MainWindow.h ui/app/MainWindow.cpp ui/app/MainWindowPages.cpp
  ui/app/PlaceholderPage.h ui/app/PlaceholderPage.cpp
  ui/app/WorkPage.h ui/app/WorkPage.cpp
  ui/app/PasswordForm.h ui/app/PasswordForm.cpp
  ui/app/BackupProgress.h ui/app/BackupProgress.cpp
  ui/app/BackupActions.h ui/app/BackupActions.cpp
  ui/app/BackupAgeLabel.h ui/app/BackupAgeLabel.cpp
  ui/app/RestoreBackupDialog.h ui/app/RestoreBackupDialog.cpp
  ui/app/SettingsPage.h ui/app/SettingsPage.cpp ui/app/SettingsPageFrequencies.cpp
  ui/app/InstallationImportButton.h ui/app/InstallationImportButton.cpp
  ui/app/SharedBaseBox.h ui/app/SharedBaseBox.cpp
  ui/app/InternetPanel.h ui/app/InternetPanel.cpp
  ui/app/InfoPageHtml.h ui/app/InfoPageHtml.cpp
  ui/app/Termination.h ui/app/Termination.cpp
)
