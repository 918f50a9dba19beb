list(APPEND VANDREL_CORE_SOURCES
  core/localization/LanguageDefaults.h core/localization/LanguageDefaults.cpp
  core/localization/LanguageFile.h core/localization/LanguageFile.cpp
  core/localization/LanguageFont.h core/localization/LanguageFont.cpp
  core/localization/LanguageTexts.h core/localization/LanguageTexts.cpp
  core/localization/Localization.h core/localization/Localization.cpp
  core/localization/LanguageDraft.h core/localization/LanguageDraft.cpp
  core/localization/LanguageService.h core/localization/LanguageService.cpp
)
