list(APPEND VANDREL_CORE_SOURCES
  core/common/CaseInsensitivePath.h core/common/CaseInsensitivePath.cpp
  core/common/Clock.h core/common/Clock.cpp
  core/common/Cp1251.h core/common/Cp1251.cpp
  core/common/DurableFile.h core/common/DurableFile.cpp
  core/common/IniFile.h core/common/IniFile.cpp
  core/common/IniFileCheck.h core/common/IniFileCheck.cpp
  core/common/TextFile.h core/common/TextFile.cpp
  core/common/TypedDate.h core/common/TypedDate.cpp
  core/common/SeparatedList.h core/common/SeparatedList.cpp
  core/common/ErrorOut.h core/common/TextOrder.h
)
