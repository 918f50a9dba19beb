list(APPEND VANDREL_CORE_SOURCES
  core/symptoms/DesDotsCatalogue.h
  core/symptoms/DesDotsCatalogue.cpp
  core/symptoms/DotsListCodec.h
  core/symptoms/DotsListCodec.cpp
  core/symptoms/DeseaseRecord.h
  core/symptoms/DeseaseRepository.h
  core/symptoms/DeseaseRepository.cpp
  core/symptoms/DeseaseSearch.h
  core/symptoms/DeseaseSearch.cpp
)
# Inquiry questionnaire
list(APPEND VANDREL_CORE_SOURCES
  core/symptoms/InquirerItem.h
  core/symptoms/InquirerFile.h
  core/symptoms/InquirerFile.cpp
  core/symptoms/InquirerCategories.h
  core/symptoms/InquirerCategories.cpp
  core/symptoms/InquirerAnswers.h
  core/symptoms/InquirerAnswers.cpp
  core/symptoms/InquirerRepository.h
  core/symptoms/InquirerRepository.cpp
  core/symptoms/InquirerInterpretation.h
  core/symptoms/InquirerInterpretation.cpp
  core/symptoms/InquirerWorkbook.h
  core/symptoms/InquirerWorkbook.cpp
)
