list(APPEND VANDREL_UI_SOURCES
  ui/localization/LanguageApplier.h ui/localization/LanguageApplier.cpp
)
