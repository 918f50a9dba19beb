#include "InquirerPanel.h"

#include "InquirerQuestion.h"
#include "app/Session.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/ClientRepository.h"
#include "records/ClientTexts.h"
#include "records/DataModule.h"
#include "symptoms/InquirerAnswers.h"
#include "symptoms/InquirerInterpretation.h"
#include "symptoms/InquirerRepository.h"
#include "symptoms/InquirerWorkbook.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

// Outside any namespace: the resource initialiser is a global function.
static void initInquirerResources()
{
    Q_INIT_RESOURCE(inquirer);
}

namespace {
struct CategoryText
{
    const char *key;
    const char *fallback;
};
const CategoryText kCategories[InquirerCategories::Count] = {
    {"InquirerObservation", "Diagnosis by observation"},
    {"InquirerHearing", "Diagnosis by hearing & smelling"},
    {"InquirerInquiry", "Diagnosis by inquiry  "},
    {"InquirerAll", "All"},
};

QString message(const char *key, const char *fallback)
{
    return ClientTexts::translate(QLatin1String(key), QLatin1String(fallback));
}

// The language the windows speak; before any was applied, the one the settings name.
QString interfaceLanguage()
{
    const QString applied = LanguageApplier::instance().texts().languageName();
    return applied.isEmpty() ? Localization::currentLanguage() : applied;
}

QString errorCaption()
{
    return message("Error", "Error");
}

// A file name made of the client code and the date, without characters file systems refuse.
QString suggestedName(const QString &client, const QDateTime &moment)
{
    QString name = client + QLatin1Char(' ')
                   + (moment.isValid() ? moment : Clock::now()).toString(QStringLiteral("yyyy-MM-dd HH-mm"));
    for (QChar &ch : name) {
        if (QStringLiteral("/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    }
    return name.trimmed() + QStringLiteral(".xlsx");
}
} // namespace

InquirerPanel::InquirerPanel(DataModule *data, Session *session, QWidget *parent)
    : WorkPage(QStringLiteral("InquirerPanel"), parent)
    , m_data(data)
    , m_session(session)
{
    initInquirerResources();
    m_exportFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    buildControls();
    bindTexts();
    if (m_session)
        connect(m_session, &Session::currentClientChanged, this, &InquirerPanel::onClientChanged);
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this,
            &InquirerPanel::onLanguageApplied);
}

void InquirerPanel::buildControls()
{
    setStyleSheet(QStringLiteral(
        "#InquirerPanel { background: #eef2f6; }"
        "QLabel[caption=\"true\"] { color: #1f3b57; font-weight: 600; }"
        "#InquirerScrollBox { background: #f7f9fb; border: 1px solid #c9d3dd; }"
        "#InquirerRows { background: #f7f9fb; }"
        "#ResultMemo { background: #ffffff; border: 1px solid #c9d3dd; }"
        "#InquirerEmptyNote { color: #6b7a88; }"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 8, 10, 8);
    column->setSpacing(8);

    auto *bar = new QHBoxLayout;
    bar->setSpacing(8);
    auto *typeCaption = new QLabel(this);
    typeCaption->setObjectName(QStringLiteral("DiagnosticTypeLabel"));
    typeCaption->setProperty("caption", true);
    ClientTexts::bind(typeCaption, QStringLiteral("InquirerCategory"), QStringLiteral("Category"),
                      [typeCaption](const QString &t) { typeCaption->setText(t); });
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("DiagnosticType"));
    for (const CategoryText &c : kCategories)
        m_type->addItem(QString::fromUtf8(c.fallback).trimmed());
    m_type->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    typeCaption->setBuddy(m_type);

    auto *dateCaption = new QLabel(this);
    dateCaption->setObjectName(QStringLiteral("SymptomDateLabel"));
    dateCaption->setProperty("caption", true);
    ClientTexts::bind(dateCaption, QStringLiteral("InquirerDate"), QStringLiteral("Date"),
                      [dateCaption](const QString &t) { dateCaption->setText(t); });
    m_date = new QComboBox(this);
    m_date->setObjectName(QStringLiteral("SymptomDate"));
    m_date->setEditable(true);
    m_date->setInsertPolicy(QComboBox::NoInsert);
    m_date->setMinimumContentsLength(19);
    m_date->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    dateCaption->setBuddy(m_date);

    m_newButton = new QPushButton(this);
    m_newButton->setObjectName(QStringLiteral("MakeNewButton"));
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(QStringLiteral("sBitBtn1"));
    m_calcButton = new QPushButton(this);
    m_calcButton->setObjectName(QStringLiteral("sBitBtn2"));

    bar->addWidget(typeCaption);
    bar->addWidget(m_type);
    bar->addSpacing(12);
    bar->addWidget(dateCaption);
    bar->addWidget(m_date);
    bar->addStretch(1);
    bar->addWidget(m_newButton);
    bar->addWidget(m_saveButton);
    bar->addWidget(m_calcButton);
    column->addLayout(bar);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter = splitter;
    splitter->setObjectName(QStringLiteral("InquirerSplitter"));
    splitter->setChildrenCollapsible(false);
    m_scroll = new QScrollArea(splitter);
    // Room for the tick, the question text and the answers beside it.
    m_scroll->setMinimumWidth(460);
    m_scroll->setObjectName(QStringLiteral("InquirerScrollBox"));
    m_scroll->setWidgetResizable(true);
    m_rowsBox = new QWidget;
    m_rowsBox->setObjectName(QStringLiteral("InquirerRows"));
    m_rowsLayout = new QVBoxLayout(m_rowsBox);
    m_rowsLayout->setContentsMargins(15, 20, 12, 20);
    m_rowsLayout->setSpacing(20);
    m_emptyNote = new QLabel(m_rowsBox);
    m_emptyNote->setObjectName(QStringLiteral("InquirerEmptyNote"));
    m_emptyNote->setWordWrap(true);
    m_emptyNote->hide();
    m_rowsLayout->addWidget(m_emptyNote);
    m_rowsLayout->addStretch(1);
    m_scroll->setWidget(m_rowsBox);

    auto *resultBox = new QWidget(splitter);
    auto *resultColumn = new QVBoxLayout(resultBox);
    resultColumn->setContentsMargins(0, 0, 0, 0);
    resultColumn->setSpacing(4);
    auto *resultCaption = new QLabel(resultBox);
    resultCaption->setProperty("caption", true);
    ClientTexts::bind(resultCaption, QStringLiteral("InquirerResult"), QStringLiteral("Interpretation"),
                      [resultCaption](const QString &t) { resultCaption->setText(t); });
    m_result = new QTextEdit(resultBox);
    m_result->setObjectName(QStringLiteral("ResultMemo"));
    m_result->setReadOnly(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    resultCaption->setBuddy(m_result);
    resultColumn->addWidget(resultCaption);
    resultColumn->addWidget(m_result, 1);
    splitter->addWidget(m_scroll);
    splitter->addWidget(resultBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    column->addWidget(splitter, 1);

    connect(m_type, &QComboBox::currentIndexChanged, this, &InquirerPanel::onCategoryChosen);
    connect(m_date, &QComboBox::activated, this, &InquirerPanel::onDateChosen);
    // A typed date names the set the shown answers will be saved under.
    connect(m_date->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString &text) { m_dateKey = text; });
    connect(m_newButton, &QPushButton::clicked, this, &InquirerPanel::newQuestionnaire);
    connect(m_saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(m_calcButton, &QPushButton::clicked, this, &InquirerPanel::calculate);
    auto *saveKey = new QShortcut(QKeySequence::Save, this);
    saveKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(saveKey, &QShortcut::activated, this, [this] { save(); });
    auto *calcKey = new QShortcut(QKeySequence(Qt::Key_F9), this);
    calcKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(calcKey, &QShortcut::activated, this, &InquirerPanel::calculate);
}

void InquirerPanel::bindTexts()
{
    for (int i = 0; i < InquirerCategories::Count; ++i) {
        ClientTexts::bind(m_type, QLatin1String(kCategories[i].key),
                          QString::fromUtf8(kCategories[i].fallback),
                          [this, i](const QString &t) { m_type->setItemText(i, t.trimmed()); });
    }
    ClientTexts::bind(m_newButton, QStringLiteral("StartInquiry"), QStringLiteral("Start questionnaire"),
                      [this](const QString &t) { m_newButton->setText(t); });
    ClientTexts::bind(m_saveButton, QStringLiteral("Save"), QStringLiteral("Save"), [this](const QString &t) {
        m_saveButton->setText(t);
        m_saveButton->setToolTip(t + QStringLiteral(" (Ctrl+S)"));
    });
    ClientTexts::bind(m_calcButton, QStringLiteral("Calculate"), QStringLiteral("Calculate"),
                      [this](const QString &t) {
                          m_calcButton->setText(t);
                          m_calcButton->setToolTip(t + QStringLiteral(" (F9)"));
                      });
    ClientTexts::bind(m_result, QStringLiteral("InquirerNoAnswers"),
                      QStringLiteral("Answer the questions and press Calculate to read what the answers say."),
                      [this](const QString &t) { m_result->setPlaceholderText(t); });
}

QString InquirerPanel::texts(const QString &key, const QString &fallback) const
{
    return ClientTexts::current(key, fallback);
}

void InquirerPanel::showEvent(QShowEvent *event)
{
    WorkPage::showEvent(event);
    // The questions take the larger share the first time the page is seen; after that the
    // user's division stays.
    if (!m_splitterPlaced && width() > 0) {
        m_splitterPlaced = true;
        m_splitter->setSizes({width() * 3 / 5, width() * 2 / 5});
    }
}

void InquirerPanel::enter()
{
    m_client = m_session ? m_session->currentClient() : QString();
    if (!m_built
        || InquirerFile::pathFor(interfaceLanguage()) != m_file.path())
        reloadQuestionnaire();
    fillDates();
    showLatestOrNew();
}

void InquirerPanel::leave()
{
    offerToSave();
}

void InquirerPanel::reloadQuestionnaire()
{
    m_file = InquirerFile::load(InquirerFile::pathFor(interfaceLanguage()));
    m_built = true;
    buildRows();
}

void InquirerPanel::buildRows()
{
    // Every record and control of the previous build goes first.
    qDeleteAll(m_rows);
    m_rows.clear();
    m_range = InquirerCategories::range(m_category, m_file.count());
    for (int i = m_range.lo; i < m_range.hi; ++i) {
        auto *row = new InquirerQuestion(i, m_file.item(i), m_rowsBox);
        connect(row, &InquirerQuestion::answerChanged, this, [this] { m_dirty = true; });
        // Before the stretch that keeps the rows at the top.
        m_rowsLayout->insertWidget(m_rowsLayout->count() - 1, row);
        m_rows.append(row);
    }
    showRowTexts();
    m_emptyNote->setVisible(m_rows.isEmpty());
    m_dirty = false;
}

void InquirerPanel::showRowTexts()
{
    const QString clearHint = texts(QStringLiteral("InquirerClearAnswer"), QStringLiteral("Clear the answer"));
    const QString expandHint =
        texts(QStringLiteral("InquirerShowAnswers"), QStringLiteral("Show or hide the answers"));
    for (InquirerQuestion *row : std::as_const(m_rows))
        row->setHints(clearHint, expandHint);
    if (m_file.count() == 0) {
        m_emptyNote->setText(message("InquirerNoFile", "The questionnaire file %1 is missing or holds no questions.")
                                 .arg(QDir::toNativeSeparators(m_file.path())));
    } else {
        m_emptyNote->setText(message("InquirerNoQuestions", "This category has no questions in the questionnaire file."));
    }
}

InquirerQuestion *InquirerPanel::question(int index) const
{
    for (InquirerQuestion *row : m_rows) {
        if (row->index() == index)
            return row;
    }
    return nullptr;
}

QString InquirerPanel::dateText() const
{
    return m_date->currentText().trimmed();
}

QList<int> InquirerPanel::answers() const
{
    QList<int> list;
    list.reserve(m_rows.size());
    for (const InquirerQuestion *row : m_rows)
        list.append(row->answer());
    return list;
}

QString InquirerPanel::answerString() const
{
    return InquirerAnswers::encode(answers());
}

void InquirerPanel::fillDates()
{
    m_filling = true;
    m_date->clear();
    QString error;
    const QStringList dates =
        m_client.isEmpty() ? QStringList() : InquirerRepository(m_data).dates(m_client, m_category, &error);
    m_date->addItems(dates);
    m_filling = false;
}

void InquirerPanel::setDateText(const QString &text)
{
    m_filling = true;
    m_date->setEditText(text);
    m_filling = false;
    m_dateKey = text;
}

void InquirerPanel::showLatestOrNew()
{
    if (m_date->count() > 0) {
        m_filling = true;
        m_date->setCurrentIndex(m_date->count() - 1);
        m_filling = false;
        m_dateKey = m_date->currentText();
        if (!loadAnswers(m_dateKey))
            clearAnswers();
    } else {
        clearAnswers();
        setDateText(InquirerRepository::dateText(Clock::now()));
    }
    m_dirty = false;
    calculate();
}

bool InquirerPanel::loadAnswers(const QString &dateText)
{
    if (m_client.isEmpty())
        return false;
    QString error;
    const std::optional<QString> result =
        InquirerRepository(m_data).result(m_client, dateText, m_category, &error);
    if (!result) {
        if (!error.isEmpty())
            Dialogs::error(this, errorCaption(), error);
        return false;
    }
    QList<int> counts;
    for (const InquirerQuestion *row : std::as_const(m_rows))
        counts.append(int(row->answerButtons().size()));
    applyAnswers(InquirerAnswers::decode(*result, counts));
    return true;
}

void InquirerPanel::applyAnswers(const QList<int> &answers)
{
    for (int j = 0; j < m_rows.size(); ++j)
        m_rows.at(j)->setAnswer(answers.value(j));
}

void InquirerPanel::clearAnswers()
{
    for (InquirerQuestion *row : std::as_const(m_rows))
        row->clearAnswer();
}

void InquirerPanel::onCategoryChosen(int index)
{
    if (m_filling || !InquirerCategories::isValid(index) || index == m_category)
        return;
    offerToSave();
    m_category = index;
    if (!m_built) {
        // The rows come with the first entry to the mode.
        return;
    }
    m_rowsBox->hide();
    buildRows();
    fillDates();
    showLatestOrNew();
    m_rowsBox->show();
}

void InquirerPanel::setCategory(int type)
{
    if (InquirerCategories::isValid(type))
        m_type->setCurrentIndex(type);
}

void InquirerPanel::chooseDate(const QString &dateText)
{
    const int index = m_date->findText(dateText);
    if (index < 0)
        return;
    m_filling = true;
    m_date->setCurrentIndex(index);
    m_filling = false;
    onDateChosen(index);
}

void InquirerPanel::onDateChosen(int index)
{
    if (m_filling || index < 0)
        return;
    const QString chosen = m_date->itemText(index);
    offerToSave();
    // Saving refills the list; the user's choice stands.
    const int again = m_date->findText(chosen);
    if (again >= 0 && m_date->currentIndex() != again) {
        m_filling = true;
        m_date->setCurrentIndex(again);
        m_filling = false;
    }
    if (loadAnswers(chosen)) {
        m_dateKey = chosen;
        m_dirty = false;
    }
    calculate();
}

void InquirerPanel::newQuestionnaire()
{
    offerToSave();
    clearAnswers();
    setDateText(InquirerRepository::dateText(Clock::now()));
    m_dirty = false;
    calculate();
}

void InquirerPanel::offerToSave()
{
    if (!m_dirty)
        return;
    m_dirty = false; // asked once; the answer stands either way
    if (m_client.isEmpty() || m_rows.isEmpty())
        return;
    if (Dialogs::ask(this, message("DoYouWantToSaveData", "Do you want to save the changes?")))
        storeAnswers(m_dateKey);
}

bool InquirerPanel::save()
{
    if (!storeAnswers(dateText()))
        return false;
    if (Dialogs::ask(this, message("SafeFile", "Save the answers to a spreadsheet file?")))
        exportAnswers();
    return true;
}

bool InquirerPanel::storeAnswers(const QString &dateText)
{
    if (m_client.isEmpty()) {
        Dialogs::message(this, message("InquirerNoClient", "Choose a client in the client list first."));
        return false;
    }
    if (m_rows.isEmpty()) {
        Dialogs::message(this, message("InquirerNoQuestions",
                                       "This category has no questions in the questionnaire file."));
        return false;
    }
    const QDateTime moment = InquirerRepository::parseDateText(dateText);
    if (!moment.isValid()) {
        Dialogs::message(this, message("InquirerBadDate",
                                       "\"%1\" is not a date and time. Write it as dd.mm.yyyy hh:mm:ss.")
                                   .arg(dateText));
        return false;
    }
    QString error;
    if (!InquirerRepository(m_data).save(m_client, moment, m_category, answerString(), &error)) {
        Dialogs::error(this, errorCaption(),
                       message("InquirerSaveFailed", "The answers could not be saved.")
                           + QLatin1Char('\n') + error);
        return false;
    }
    m_dirty = false;
    const QString stored = InquirerRepository::dateText(moment);
    fillDates();
    const int index = m_date->findText(stored);
    m_filling = true;
    if (index >= 0)
        m_date->setCurrentIndex(index);
    else
        m_date->setEditText(stored);
    m_filling = false;
    m_dateKey = stored;
    return true;
}

void InquirerPanel::calculate()
{
    m_result->clear();
    const QList<InquirerInterpretation::Finding> findings =
        InquirerInterpretation::findings(m_file.items(), m_range, answers());
    QTextCursor cursor(m_result->document());
    QTextCharFormat questionFormat;
    questionFormat.setFontWeight(QFont::Bold);
    questionFormat.setForeground(QColor(0x1f, 0x3b, 0x57));
    // Each answered question: the question, the answer chosen (in italics), and below it
    // what that answer says.
    QTextCharFormat answerFormat;
    answerFormat.setFontItalic(true);
    answerFormat.setForeground(QColor(0x4a, 0x58, 0x66));
    const QTextCharFormat meaningFormat;
    QTextBlockFormat indented;
    indented.setLeftMargin(14);
    for (int i = 0; i < findings.size(); ++i) {
        const InquirerInterpretation::Finding &f = findings.at(i);
        if (i > 0)
            cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(f.question, questionFormat);
        cursor.insertBlock(indented);
        cursor.insertText(f.answer, answerFormat);
        if (!f.interpretation.isEmpty()) {
            cursor.insertBlock(indented);
            cursor.insertText(f.interpretation, meaningFormat);
        }
        cursor.insertBlock(QTextBlockFormat());
    }
    m_result->moveCursor(QTextCursor::Start);
}

bool InquirerPanel::exportAnswers()
{
    if (m_client.isEmpty()) {
        Dialogs::message(this, message("InquirerNoClient", "Choose a client in the client list first."));
        return false;
    }
    const QDateTime moment = InquirerRepository::parseDateText(dateText());
    if (!moment.isValid()) {
        Dialogs::message(this, message("InquirerBadDate",
                                       "\"%1\" is not a date and time. Write it as dd.mm.yyyy hh:mm:ss.")
                                   .arg(dateText()));
        return false;
    }
    const QString suggested = QDir(m_exportFolder).filePath(suggestedName(m_client, moment));
    QString path = Dialogs::saveFile(this, message("InquirerExportCaption", "Save the answers as a workbook"),
                                     suggested, message("InquirerExportFilter", "Excel workbook (*.xlsx)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().compare(QLatin1String("xlsx"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".xlsx");

    QString error;
    ClientCard card = ClientRepository(m_data).card(m_client, &error).value_or(ClientCard());
    if (card.code.isEmpty())
        card.code = m_client;

    InquirerWorkbook::Labels l;
    const auto label = [](const char *key, const QString &fallback) {
        return ClientTexts::translate(QLatin1String(key), fallback);
    };
    l.sheet = label("InqSheetName", l.sheet);
    l.title = label("InqTitle", l.title);
    l.clientId = label("InqClientId", l.clientId);
    l.date = label("InqDate", l.date);
    l.time = label("InqTime", l.time);
    l.name = label("InqName", l.name);
    l.surname = label("InqSurname", l.surname);
    l.birthday = label("InqBirthDate", l.birthday);
    l.country = label("InqCountry", l.country);
    l.city = label("InqCity", l.city);
    l.zip = label("InqZip", l.zip);
    l.phone = label("InqPhone", l.phone);
    l.cellPhone = label("InqCellPhone", l.cellPhone);
    l.fax = label("InqFax", l.fax);
    l.eMail = label("InqEMail", l.eMail);
    l.answers = label("InqAnswers", l.answers);

    const QList<InquirerWorkbook::Cell> cells = InquirerWorkbook::cells(
        l, card, moment, InquirerWorkbook::answerRows(m_file.items(), m_range, answers()));
    if (!InquirerWorkbook::write(path, l.sheet, cells, &error)) {
        Dialogs::error(this, errorCaption(),
                       message("InquirerExportFailed", "The workbook could not be written.")
                           + QLatin1Char('\n') + error);
        return false;
    }
    m_exportFolder = QFileInfo(path).absolutePath();
    Dialogs::message(this, message("AddAns", "The answers were added to the spreadsheet."));
    return true;
}

void InquirerPanel::onClientChanged()
{
    // Another page changed the client; the answers follow when this page is the one shown.
    if (!m_built || !isVisible())
        return;
    offerToSave();
    m_client = m_session ? m_session->currentClient() : QString();
    fillDates();
    showLatestOrNew();
}

void InquirerPanel::onLanguageApplied()
{
    if (!m_built)
        return;
    const QString path = InquirerFile::pathFor(interfaceLanguage());
    if (path == m_file.path()) {
        showRowTexts();
        return;
    }
    // The translation holds the same questions in the same order: answers and open panels
    // carry over by position.
    const QList<int> kept = answers();
    QList<bool> expanded;
    for (const InquirerQuestion *row : std::as_const(m_rows))
        expanded.append(row->isExpanded());
    const bool dirty = m_dirty;
    reloadQuestionnaire();
    applyAnswers(kept);
    for (int j = 0; j < m_rows.size() && j < expanded.size(); ++j)
        m_rows.at(j)->setExpanded(expanded.at(j));
    m_dirty = dirty;
    calculate();
}
