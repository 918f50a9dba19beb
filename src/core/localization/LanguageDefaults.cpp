#include "LanguageDefaults.h"

#include <QHash>

#include <iterator>

namespace {

struct DefaultText
{
    const char *key;
    const char *text;
};

// Key, built-in English text, and the control or message it names.
constexpr DefaultText kDefaults[] = {
    {"3D", "3D MODEL"}, // Ryodoraku view: check box that opens the 3D anatomy display
    {"AboutClient", "About the client"}, // client card heading
    {"Accept", "Accept"}, // accept buttons (start password, dialogs)
    {"AcceptButton", "Accept"}, // card editor: accept
    {"AcupunctureRecipe", "Acupuncture recipe"}, // treatment: recipe heading
    {"Add", "Add"}, // add buttons
    {"AddAns", "The answers were added to the spreadsheet."}, // inquiry: after the spreadsheet export
    {"Address", "Address"}, // card: address
    {"AllCond", "All"}, // Ryodoraku filter: all conductions
    {"AnalysisFormCaption", "Meridian analysis"}, // analysis window caption
    {"AutoNext", "Go to the next point automatically"}, // test: auto-advance check box
    {"Begin", "Start"}, // reminder timers: start time
    {"BirthDay", "Date of birth"}, // card, print section
    {"Browse", "Browse..."}, // file choice buttons
    {"Calculate", "Calculate"}, // calculate buttons
    {"Cancel", "Cancel"}, // cancel buttons
    {"Cansel", "Cancel"}, // cancel buttons of other windows
    {"CanselButton", "Cancel"}, // card editor: cancel
    {"Cell", "Mobile phone"}, // card: mobile phone
    {"CellPhoneMustBeDigit", "The mobile phone number may contain digits only."}, // card validation
    {"CellPhoneMustBeLess", "The mobile phone number is too long."}, // card validation
    {"ChoosFreq", "Choose a frequency"}, // frequency therapy
    {"CircleDiag", "Circle diagram"}, // graphs, print section
    {"City", "City"}, // card: city
    {"Clear", "Clear"}, // clear buttons
    {"ClearAll", "Clear all"}, // clear-all buttons
    {"ClearButton", "Clear"}, // card editor: clear the photo
    {"ClientsBtnHint", "Clients"}, // mode button hint
    {"ClientsList", "List of clients"}, // client-list headings
    {"Close", "Close"}, // close buttons
    {"Color", "Colour"}, // colour therapy
    {"ColorLabel", "Colour therapy"}, // treatment tab: colour therapy
    {"Comment", "Comment"}, // comments
    {"ConfirmPassword", "Confirm password"}, // settings: password confirmation
    {"Country", "Country"}, // card: country
    {"CreateRecomendation", "Create recommendation"}, // print: new recommendation
    {"CreateStencil", "Create template"}, // print: new template
    {"CustomColor", "Custom colour"}, // colour therapy: custom colour
    {"Day", "days"}, // reminder lead-time unit: days
    {"DefaultOrder", "Default order"}, // settings: default measuring order
    {"DeleteButton", "Delete"}, // card: delete
    {"DeleteClient", "Delete the selected record?"}, // deletion dialog
    {"DeseaseBtnHint", "Diseases"}, // mode button hint
    {"DeseaseDots", "Acupuncture points"}, // diseases: points
    {"DeseaseList", "List of diseases"}, // diseases: list
    {"DeseaseName", "Disease name"}, // diseases: name
    {"Dispersion", "Dispersion"}, // treatment recipe: dispersion
    {"DopInfo", "Additional information"}, // test: additional information
    {"Dots", "Points"}, // points
    {"EditButton", "Edit"}, // card: edit
    {"End", "End"}, // reminder timers: end time
    {"Exit", "Exit"}, // exit buttons
    {"FIO", "Full name"}, // print section: client name
    {"Female", "Female"}, // sex: female
    {"FileName", "File name"}, // file name
    {"FixPassword", "Ask for the password at start"}, // settings: start password
    {"Footer", "Footer"}, // print: footer
    {"Formula", "Formula"}, // therapy: power rule
    {"FreqLabel", "Frequency therapy"}, // treatment tab: frequency therapy
    {"FreqList", "Frequencies"}, // frequency therapy: list
    {"FreqSlash", "Frequency delimiter"}, // frequency import: delimiter
    {"Frequency", "Frequency"}, // frequency therapy
    {"FrequencyTreatment", "Frequency treatment"}, // print: frequency treatment
    {"GeneralGraph", "General graph"}, // graphs, print section
    {"GraphBtnHint", "Graphs"}, // mode button hint
    {"Header", "Header"}, // print: header
    {"Height", "Height"}, // card: height
    {"HeigthMustBeDigit", "The height may contain digits only."}, // card validation
    {"HeigthMustBeLess", "The height may not be longer than 9 characters."}, // card validation
    {"HightCond", "High"}, // Ryodoraku filter: high conduction
    {"Histogram", "Histogram"}, // graphs, print section
    {"HomePhone", "Home phone"}, // card: home phone
    {"HomePhoneMustBeDigit", "The home phone number may contain digits only."}, // card validation
    {"HomePhoneMustBeLess", "The home phone number is too long."}, // card validation
    {"Hour", "h."}, // reminder lead-time unit: hours
    {"Hour2", "Hours"}, // reminder timers: duration hours
    {"ID", "ID"}, // client code
    {"ID3sym", "The ID must be 3 characters long."}, // ID validation
    {"IDExist", "This ID already exists."}, // ID validation
    {"In", "Yin"}, // Ryodoraku filter: yin
    {"IncorRecord", "Incorrect value."}, // validation
    {"InetClientLabel", "My data"}, // internet panel
    {"InetHelpLabel", "Help"}, // internet panel
    {"InetManualLabel", "User manual"}, // internet panel
    {"InetUpdateLabel", "About and updates"}, // internet panel
    {"Info", "Information"}, // information
    {"InfoLabel", "Information"}, // information label
    {"InquirerBtnHint", "Questionnaire"}, // mode button hint
    {"InternetBtnHint", "Internet"}, // mode button hint
    {"KindOfGraphics", "Kind of graph"}, // graphs
    {"KindOfTest", "Kind of test"}, // test
    {"LawCond", "Low"}, // Ryodoraku filter: low conduction
    {"Left", "Left"}, // left side
    {"Left2", "Left"}, // left-side headings
    {"LoItem", "1 to 3 sessions of acupuncture using LO-items"}, // treatment recipe
    {"LoadButton", "Load"}, // card editor: load a photo
    {"Mail", "E-mail"}, // card: e-mail
    {"Male", "Male"}, // sex: male
    {"Message", "Message"}, // reminders: message
    {"Method", "Method"}, // open points: method
    {"Method3D", "3D view"}, // 3D display
    {"MiddleName", "Middle name"}, // card: middle name
    {"Minute", "min."}, // reminder lead-time unit: minutes
    {"Monitoring", "Monitoring"}, // print section
    {"NValDate", "Invalid date."}, // date validation
    {"Name", "Name"}, // card: name
    {"Name2", "Name"}, // names of items
    {"NameMer", "Name"}, // meridian-name grid
    {"NewButton", "New"}, // card: new
    {"NewNameMer", "New meridian name"}, // settings
    {"NewPassword", "New password"}, // settings: new password
    {"NewStenc", "New template"}, // print: new template
    {"Next", "Next"}, // next buttons
    {"NextToGraph", "Show the graph after the test"}, // test: go to the graph
    {"No", "No"}, // no
    {"NoData", "No data"}, // no data
    {"NosGroup", "Nosological group"}, // treatment questionnaire
    {"NotesDate", "Appointment date"}, // schedule: date
    {"NumMer", "No."}, // meridian-name grid: number
    {"OK", "OK"}, // OK buttons
    {"OldPassword", "Old password"}, // settings: old password
    {"OpenPointBtnHint", "Open points"}, // mode button hint
    {"Order", "Order"}, // order
    {"Other", "Other"}, // other
    {"Pause", "Pause"}, // players: pause
    {"PlanBtnHint", "Schedule"}, // mode button hint
    {"Planing", "Planning"}, // schedule
    {"PlantRecomendation", "Herbal recommendations"}, // diseases: herbal text
    {"Play", "Play"}, // players: play
    {"PmerPass", "paired meridians and points-associates"}, // treatment recipe
    {"Pngns", "Parameter nosological groups is not selected"}, // treatment: no group chosen
    {"Pnone", "No parameters are selected."}, // treatment: nothing chosen
    {"PressLabel", "Acupressure"}, // print section: acupressure
    {"Previous", "Previous"}, // previous buttons
    {"Print", "Print"}, // print buttons
    {"PrintBtnHint", "Print"}, // mode button hint
    {"PrintOrder", "Print order"}, // print: section order
    {"PrintPreview", "Print preview"}, // print preview
    {"PunctLabel", "Acupuncture"}, // treatment tab: acupuncture
    {"RecomList", "List of recommendations"}, // print: recommendations
    {"Recomendations", "Recommendations"}, // print section
    {"RegistrationDate", "Registration date"}, // card, print section
    {"Remember", "Remind before"}, // schedule: reminder wanted
    {"Reminder", "Reminders"}, // reminder timers window
    {"Return", "Return"}, // return buttons
    {"ReturnToMainWindow", "Return to main window"}, // caption in another window
    {"RidorakuBtnHint", "Ryodoraku"}, // mode button hint
    {"Right", "Right"}, // right side
    {"Right2", "Right"}, // meridian-name grid heading, right-side label
    {"Riodoraku", "Ryodoraku"}, // Ryodoraku
    {"SafeFile", "Save the answers to a spreadsheet file?"}, // inquiry: export question
    {"Save", "Save"}, // save buttons
    {"Schedule", "Schedule"}, // schedule
    {"SelectLanguage", "Select language"}, // settings: language
    {"SelectStenc", "Select template"}, // print: template choice
    {"Sess", "session"}, // course: session header
    {"SetTime", "Set time"}, // time setting
    {"SettingsBtnHint", "Settings"}, // mode button hint
    {"Sex", "Sex"}, // card: sex
    {"Show", "Show"}, // show buttons
    {"Signal", "Signal"}, // signal
    {"SkypeMustBeDigit", "The messenger number may contain digits only."}, // card validation
    {"SkypeMustBeLess", "The messenger account is too long."}, // card validation
    {"SlashBoxItem0", "comma"}, // frequency delimiter item
    {"SlashBoxItem1", "apostrophe"}, // frequency delimiter item
    {"SortOfGraphics", "Graph type"}, // graphs
    {"Sound", "Sound signal"}, // schedule: sound
    {"Sound2", "Sound"}, // reminder timers: sound
    {"SoundSignal", "Sound signal during the test"}, // settings: sound during the test
    {"StencilList", "Templates"}, // print: templates
    {"Stimulation", "Stimulation"}, // treatment recipe: stimulation
    {"Stop", "Stop"}, // players: stop
    {"Surname", "Surname"}, // card: surname
    {"TableLabel", "Table"}, // tables: title
    {"TableList", "Reference tables"}, // tables: list
    {"TablesBtnHint", "Reference tables"}, // mode button hint
    {"TestBtnHint", "Test"}, // mode button hint
    {"TestDate", "Test date"}, // test date
    {"TestDateTime", "Date and time of the test"}, // test date and time
    {"TestFinished", "The test is finished."}, // message at the end of a measurement
    {"TestSection", "Test"}, // test section
    {"Testing", "Testing"}, // testing
    {"TestingDate", "Testing date"}, // print section: test date
    {"Time", "Time"}, // time
    {"TimeOut", "Time Out"}, // caption of reminder messages
    {"TreatCompl", "Treatment is completed"}, // frequency player: finished
    {"Treatment", "Treatment"}, // treatment, print section
    {"TreatmentBtnHint", "Treatment"}, // mode button hint
    {"TreatmentPart", "Treatment section"}, // treatment section
    {"TwoColorBox", "Play both colours"}, // colour therapy option
    {"Use", "Use"}, // use
    {"UseTable", "Use the frequency table"}, // frequency therapy option
    {"WaitingTime", "Waiting time"}, // test: waiting time
    {"WebPage", "Web page"}, // card: web page
    {"Weight", "Weight"}, // card: weight
    {"WeightMustBeDigit", "The weight may contain digits only."}, // card validation
    {"WeightMustBeLess", "The weight may not be longer than 9 characters."}, // card validation
    {"WorkPhone", "Work phone"}, // card: work phone
    {"WorkPhoneMustBeDigit", "The work phone number may contain digits only."}, // card validation
    {"WorkPhoneMustBeLess", "The work phone number is too long."}, // card validation
    {"WriteBirthDate", "Please enter the date of birth."}, // card validation
    {"WriteID", "Please enter the ID."}, // ID validation
    {"WriteName", "Please enter the name."}, // card validation
    {"WriteSex", "Please choose the sex."}, // card validation
    {"WriteSurname", "Please enter the surname."}, // card validation
    {"Yang", "Yang"}, // Ryodoraku filter: yang
    {"Yes", "Yes"}, // yes
    {"Zip", "Postal code"}, // card: postal code
    {"c", "from"}, // time ranges: from
    {"from", "from"}, // ranges: from
    {"sec", "sec."}, // reminder lead-time unit: seconds
    {"to", "to"}, // ranges: to
};

constexpr const char *kShowTimeKeys[] = {
    "ChangesWillBeLostAreYouSure", "DayN", "DeseaseAdded", "DeseaseAlreadyExists",
    "DeseaseMustHaveName", "DoYouWantToAddData", "DoYouWantToSaveData", "DownloadError", "Error",
    "ErrorConnect", "Imbalanced", "IncorrectDotsName", "IncorrectOrder", "IncorrectPassword",
    "IncorrectRecord", "IncorrectTimeInterval", "LanguageLoaded", "LanguageNotFound",
    "LowOrImbalanced", "NotFoundFile", "RemindModeNotSelected", "ScheduleChanged",
    "SettingsChanged", "StencMustHaveName", "TimeAlreadyUsed", "Tolerable",
};

constexpr const char *kWindowWordKeys[] = {
    "Correct", "Normal", "Metal", "MinisterialFire", "MonarchFire", "Earth", "Wood", "Water",
    "HIGH", "LOW", "lang260", "lang261", "lang262", "lang263", "lang264", "lang265", "lang266",
    "lang267", "lang268", "lang269", "lang270", "RecomMustHaveName", "DefaultStencil",
    "SettingsMeridians", "SettingsPassword", "SettingsLanguage", "SettingsFrequencies", "MiddleLine",
};

template<std::size_t N>
QStringList toList(const char *const (&keys)[N])
{
    QStringList list;
    list.reserve(int(N));
    for (const char *key : keys)
        list.append(QLatin1String(key));
    return list;
}

const QHash<QString, int> &defaultIndex()
{
    static const QHash<QString, int> index = [] {
        QHash<QString, int> built;
        for (int i = 0; i < int(std::size(kDefaults)); ++i)
            built.insert(QLatin1String(kDefaults[i].key).toString().toCaseFolded(), i);
        return built;
    }();
    return index;
}

} // namespace

const QStringList &LanguageDefaults::keys()
{
    static const QStringList list = [] {
        QStringList built;
        built.reserve(int(std::size(kDefaults)));
        for (const DefaultText &entry : kDefaults)
            built.append(QLatin1String(entry.key));
        return built;
    }();
    return list;
}

QString LanguageDefaults::defaultText(const QString &key)
{
    const auto it = defaultIndex().constFind(key.trimmed().toCaseFolded());
    if (it == defaultIndex().constEnd())
        return QString();
    return QLatin1String(kDefaults[it.value()].text);
}

bool LanguageDefaults::hasDefault(const QString &key)
{
    return defaultIndex().contains(key.trimmed().toCaseFolded());
}

const QStringList &LanguageDefaults::showTimeKeys()
{
    static const QStringList list = toList(kShowTimeKeys);
    return list;
}

const QStringList &LanguageDefaults::windowWordKeys()
{
    static const QStringList list = toList(kWindowWordKeys);
    return list;
}

const QStringList &LanguageDefaults::allKeys()
{
    static const QStringList list = keys() + showTimeKeys() + windowWordKeys();
    return list;
}
