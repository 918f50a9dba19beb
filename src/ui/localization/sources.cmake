list(APPEND VANDREL_UI_SOURCES
  ui/localization/LanguageApplier.h ui/localization/LanguageApplier.cpp
  ui/localization/TFormSelect.h ui/localization/TFormSelect.cpp
  ui/localization/TLangFormMain.h ui/localization/TLangFormMain.cpp
)
