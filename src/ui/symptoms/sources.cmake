list(APPEND VANDREL_UI_SOURCES
  ui/symptoms/DeseaseForm.h
  ui/symptoms/DeseaseForm.cpp
  ui/symptoms/DeseasePanel.h
  ui/symptoms/DeseasePanel.cpp
)
# Inquiry questionnaire
list(APPEND VANDREL_UI_SOURCES
  ui/symptoms/InquirerQuestion.h
  ui/symptoms/InquirerQuestion.cpp
  ui/symptoms/InquirerPanel.h
  ui/symptoms/InquirerPanel.cpp
  ui/resources/inquirer.qrc
)
