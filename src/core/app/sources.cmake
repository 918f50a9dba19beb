list(APPEND VANDREL_CORE_SOURCES
  core/app/AppPaths.h core/app/AppPaths.cpp
  core/app/DataFolderSetup.h core/app/DataFolderSetup.cpp
  core/app/DotCatalogue.h core/app/DotCatalogue.cpp
  core/app/Session.h core/app/Session.cpp
)
