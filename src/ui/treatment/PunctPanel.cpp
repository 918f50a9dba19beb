#include "PunctPanel.h"
#include "common/WrappedChoice.h"

#include "ryodoraku/CorridorPercent.h"
#include "PunctGrid.h"
#include "RecipeView.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "localization/LanguageApplier.h"
#include "localization/Localization.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "ryodoraku/RidorakuPanel.h"
#include "treatment/MeridianRelations.h"
#include "treatment/PunctEvaluation.h"
#include "treatment/PunctTreatmentStore.h"
#include "treatment/TreatmentCourse.h"

#include "common/PlainText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <utility>

namespace {


QString text(const QString &key)
{
    return LanguageApplier::instance().text(key);
}

QString textOr(const QString &key, const QString &fallback)
{
    return LanguageApplier::instance().text(key, fallback);
}

QLabel *heading(const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("PageHeading"));
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(10);
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

PunctPanel::PunctPanel(DataModule *data, Session *session, TestsModel *tests, QWidget *parent)
    : QWidget(parent)
    , m_data(data)
    , m_session(session)
    , m_tests(tests)
    , m_percentSource(CorridorPercent::stored)
{
    setObjectName(QStringLiteral("PunctPanel"));
    buildFrame();
    if (m_session)
        connect(m_session, &Session::currentTestChanged, this, &PunctPanel::followSession);
    connect(&LanguageApplier::instance(), &LanguageApplier::applied, this,
            &PunctPanel::rebuildForLanguage);
}

void PunctPanel::setPercentSource(std::function<QString()> source)
{
    m_percentSource = source ? std::move(source) : std::function<QString()>(CorridorPercent::stored);
}

// --- the frame ---------------------------------------------------------------------------

void PunctPanel::buildFrame()
{
    setStyleSheet(QStringLiteral(
        "#PunctPanel { background: #eef2f6; }"
        "#PunctTopBar QLabel { color: #24313d; font-weight: bold; }"
        "#TestDateList2 { background: white; padding: 2px 6px; min-height: 22px; }"
        "#InqScrollBox2, #PunctQuestions, #PunctResultBox { background: white;"
        " border: 1px solid #c5d0db; border-radius: 6px; }"
        "#InqScrollBox2Contents, #PunctPageContents, #RecipeView { background: white; }"
        "#PunctNoTests { color: #5a6b7c; font-size: 11pt; }"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);

    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("PunctTopBar"));
    auto *bar = new QHBoxLayout(top);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(8);
    m_dateCaption = new QLabel(top);
    m_dateList = new QComboBox(top);
    m_dateList->setObjectName(QStringLiteral("TestDateList2"));
    m_dateList->setMinimumWidth(180);
    m_dateCaption->setBuddy(m_dateList);
    m_count = new QPushButton(top);
    m_count->setObjectName(QStringLiteral("TreatmentCount2"));
    m_count->setDefault(true);
    m_save = new QPushButton(top);
    m_save->setObjectName(QStringLiteral("TreatmentSave2"));
    m_load = new QPushButton(top);
    m_load->setObjectName(QStringLiteral("TreatmentLoad2"));
    bar->addWidget(m_dateCaption);
    bar->addWidget(m_dateList);
    bar->addSpacing(12);
    bar->addWidget(m_count);
    bar->addWidget(m_save);
    bar->addWidget(m_load);
    bar->addStretch(1);
    column->addWidget(top);

    m_noTests = new QLabel(this);
    m_noTests->setObjectName(QStringLiteral("PunctNoTests"));
    m_noTests->setAlignment(Qt::AlignCenter);
    m_noTests->hide();
    column->addWidget(m_noTests, 1);

    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("PunctBody"));
    auto *row = new QHBoxLayout(m_body);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    m_pageList = new QScrollArea(m_body);
    m_pageList->setObjectName(QStringLiteral("InqScrollBox2"));
    m_pageList->setWidgetResizable(true);
    m_pageList->setFixedWidth(236);
    m_pageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pageListContents = new QWidget;
    m_pageListContents->setObjectName(QStringLiteral("InqScrollBox2Contents"));
    auto *labels = new QVBoxLayout(m_pageListContents);
    labels->setContentsMargins(4, 6, 4, 6);
    labels->setSpacing(2);
    labels->addStretch(1);
    m_pageList->setWidget(m_pageListContents);
    row->addWidget(m_pageList);

    m_center = new QStackedWidget(m_body);
    m_center->setObjectName(QStringLiteral("PunctQuestions"));
    m_blank = new QWidget(m_center);
    m_center->addWidget(m_blank);
    m_resultBox = new QScrollArea(m_center);
    m_resultBox->setObjectName(QStringLiteral("PunctResultBox"));
    m_result = new RecipeView;
    m_resultBox->setWidget(m_result);
    m_resultBox->setWidgetResizable(false);
    m_center->addWidget(m_resultBox);
    row->addWidget(m_center, 1);
    connect(m_result, &RecipeView::pointRequested, this, &PunctPanel::pointRequested);

    m_grid = new PunctGrid(m_body);
    m_grid->setFixedWidth(214);
    auto *side = new QVBoxLayout;
    side->addWidget(m_grid);
    side->addStretch(1);
    row->addLayout(side);
    column->addWidget(m_body, 1);

    auto &texts = LanguageApplier::instance();
    texts.bindWithFallback(m_dateCaption, QStringLiteral("TestDate"), QStringLiteral("Test date"),
                           [this](const QString &t) { m_dateCaption->setText(t); });
    texts.bindWithFallback(m_count, QStringLiteral("Calculate"), QStringLiteral("Calculate"),
                           [this](const QString &t) { m_count->setText(t); });
    texts.bindWithFallback(m_save, QStringLiteral("Save"), QStringLiteral("Save"),
                           [this](const QString &t) { m_save->setText(t); });
    texts.bindWithFallback(m_load, QStringLiteral("LoadButton"), QStringLiteral("Load"),
                           [this](const QString &t) { m_load->setText(t); });
    texts.bindWithFallback(m_noTests, QStringLiteral("PunctNoTests"),
                           QStringLiteral("The client has no tests yet: measure one first."),
                           [this](const QString &t) { m_noTests->setText(t); });

    connect(m_dateList, &QComboBox::currentIndexChanged, this, &PunctPanel::dateChanged);
    connect(m_count, &QPushButton::clicked, this, &PunctPanel::TreatmentCount2Click);
    connect(m_save, &QPushButton::clicked, this, &PunctPanel::TreatmentSave2Click);
    connect(m_load, &QPushButton::clicked, this, &PunctPanel::TreatmentLoad2Click);
}

// --- the questionnaire -------------------------------------------------------------------

void PunctPanel::buildQuestionnaire()
{
    // Controls are owned by their pages; the old ones go before the new ones come.
    for (QScrollArea *page : std::as_const(m_pages)) {
        m_center->removeWidget(page);
        delete page;
    }
    qDeleteAll(m_pageLabels);
    m_pages.clear();
    m_pageLabels.clear();
    m_groupButtons.clear();
    m_symptomBoxes.clear();
    m_page = -1;

    m_language = Localization::currentLanguage();
    QStringList missing;
    m_questionnaire = Questionnaire::load(m_language, &missing);
    QString relationsMissing;
    MeridianRelations::load(&relationsMissing);
    if (!relationsMissing.isEmpty())
        missing.append(MeridianRelations::fileName());
    if (!missing.isEmpty()) {
        QString notFound = Localization::Translate(QStringLiteral("NotFoundFile"));
        if (notFound.isEmpty())
            notFound = QStringLiteral("File not found:");
        Dialogs::error(this, QString(), notFound + QLatin1Char('\n') + missing.join(QLatin1Char('\n')));
    }

    auto *labelColumn = static_cast<QVBoxLayout *>(m_pageListContents->layout());
    const auto addPage = [&](const QString &title) {
        const int n = int(m_pages.size());
        auto *area = new QScrollArea(m_center);
        area->setObjectName(QStringLiteral("PunctPage%1").arg(n));
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        auto *contents = new QWidget;
        contents->setObjectName(QStringLiteral("PunctPageContents"));
        auto *stack = new QVBoxLayout(contents);
        stack->setContentsMargins(10, 10, 10, 10);
        stack->setSpacing(4);
        stack->addWidget(heading(title, contents));
        stack->addSpacing(4);
        area->setWidget(contents);
        m_center->addWidget(area);
        m_pages.append(area);

        auto *label = new QPushButton(m_pageListContents);
        label->setObjectName(QStringLiteral("PageLabel%1").arg(n));
        label->setText(PlainText::caption(title));
        label->setFlat(true);
        label->setCursor(Qt::PointingHandCursor);
        labelColumn->insertWidget(labelColumn->count() - 1, label);
        m_pageLabels.append(label);
        connect(label, &QPushButton::clicked, this, [this, n] { showPage(n); });
        return stack;
    };

    QVBoxLayout *groups = addPage(textOr(QStringLiteral("NosGroup"), QStringLiteral("Nosological group")));
    for (const Questionnaire::Group &group : m_questionnaire.groups()) {
        auto *radio = new QRadioButton(groups->parentWidget());
        radio->setObjectName(QStringLiteral("GroupRadio%1").arg(m_groupButtons.size()));
        // Long captions wrap rather than run past the page's edge.
        groups->addWidget(WrappedChoice::make(radio, group.caption,
                                              groups->parentWidget()));
        m_groupButtons.append(radio);
        connect(radio, &QRadioButton::clicked, this, &PunctPanel::controlClicked);
    }
    groups->addStretch(1);

    for (const Questionnaire::Page &page : m_questionnaire.pages()) {
        const int p = int(m_symptomBoxes.size());
        QVBoxLayout *stack = addPage(page.title);
        QList<QCheckBox *> boxes;
        for (const Questionnaire::Symptom &symptom : page.symptoms) {
            auto *box = new QCheckBox(stack->parentWidget());
            box->setObjectName(QStringLiteral("Symptom%1_%2").arg(p).arg(boxes.size()));
            stack->addWidget(WrappedChoice::make(box, symptom.caption,
                                                 stack->parentWidget()));
            boxes.append(box);
            connect(box, &QCheckBox::clicked, this, &PunctPanel::controlClicked);
        }
        stack->addStretch(1);
        m_symptomBoxes.append(boxes);
    }
    m_built = true;
    paintPageLabels();
}

void PunctPanel::rebuildForLanguage()
{
    // The questionnaire is in the language it was built in; a new language rebuilds it with
    // the same answers (the files of every language have the same shape).
    if (!m_built || Localization::currentLanguage() == m_language)
        return;
    const QString state = answers().state();
    const int page = m_page;
    const bool resultShown = m_center->currentWidget() == m_resultBox;
    buildQuestionnaire();
    applyAnswers(QuestionnaireAnswers::fromState(m_questionnaire, state));
    showPage(std::max(page, 0));
    if (resultShown)
        evaluate();
}

QuestionnaireAnswers PunctPanel::answers() const
{
    QuestionnaireAnswers a = QuestionnaireAnswers::empty(m_questionnaire);
    for (int g = 0; g < m_groupButtons.size(); ++g) {
        if (m_groupButtons.at(g)->isChecked())
            a.group = g;
    }
    for (int p = 0; p < m_symptomBoxes.size(); ++p) {
        for (int s = 0; s < m_symptomBoxes.at(p).size(); ++s)
            a.setTicked(p, s, m_symptomBoxes.at(p).at(s)->isChecked());
    }
    return a;
}

void PunctPanel::applyAnswers(const QuestionnaireAnswers &answers)
{
    // Radio buttons only uncheck each other, so the group is cleared by hand.
    for (QRadioButton *radio : std::as_const(m_groupButtons))
        radio->setAutoExclusive(false);
    for (int g = 0; g < m_groupButtons.size(); ++g)
        m_groupButtons.at(g)->setChecked(g == answers.group);
    for (QRadioButton *radio : std::as_const(m_groupButtons))
        radio->setAutoExclusive(true);
    for (int p = 0; p < m_symptomBoxes.size(); ++p) {
        for (int s = 0; s < m_symptomBoxes.at(p).size(); ++s)
            m_symptomBoxes.at(p).at(s)->setChecked(answers.isTicked(p, s));
    }
    paintPageLabels();
}

void PunctPanel::paintPageLabels()
{
    const QuestionnaireAnswers a = answers();
    for (int n = 0; n < m_pageLabels.size(); ++n) {
        const bool answered = n == 0 ? a.group >= 0 : a.pageAnswered(n - 1);
        const bool current = n == m_page && m_center->currentWidget() == m_pages.value(n);
        QString style = QStringLiteral("QPushButton { text-align: left; padding: 6px 8px;"
                                       " border: none; border-radius: 4px; %1 %2 }"
                                       "QPushButton:focus { outline: 1px dotted #1f6f8b; }");
        style = style.arg(current ? QStringLiteral("background: #d6e6f5;")
                                  : QStringLiteral("background: transparent;"),
                          answered ? QStringLiteral("color: #1e7b34; font-weight: bold;")
                                   : QStringLiteral("color: #24313d;"));
        m_pageLabels.at(n)->setStyleSheet(style);
        m_pageLabels.at(n)->setProperty("answered", answered);
    }
}

void PunctPanel::showPage(int page)
{
    if (page >= 0 && page < m_pages.size()) {
        m_page = page;
        m_center->setCurrentWidget(m_pages.at(page));
    } else {
        m_page = -1;
        m_center->setCurrentWidget(m_blank);
    }
    paintPageLabels();
}

void PunctPanel::controlClicked()
{
    // The result shown no longer matches the answers.
    if (m_center->currentWidget() == m_resultBox)
        showPage(m_page);
    m_modified = true;
    paintPageLabels();
}

// --- tests and storage -------------------------------------------------------------------

const TestRecord *PunctPanel::testAtIndex(int index) const
{
    if (!m_tests || index < 0 || index >= m_tests->tests().size())
        return nullptr;
    return &m_tests->tests().at(index);
}

void PunctPanel::prepare()
{
    if (!m_built)
        buildQuestionnaire();
    if (m_tests && m_session
        && m_tests->client().compare(m_session->currentClient(), Qt::CaseInsensitive) != 0)
        m_tests->setClient(m_session->currentClient());

    m_filling = true;
    m_dateList->clear();
    int selected = -1;
    const QString wanted = m_session ? RidorakuPanel::dateText(m_session->selectedTestTime())
                                     : QString();
    if (m_tests) {
        const QList<TestRecord> &tests = m_tests->tests();
        for (int row = 0; row < tests.size(); ++row) {
            m_dateList->addItem(RidorakuPanel::dateText(tests.at(row).testDate));
            if (m_session && tests.at(row).codeTest == m_session->currentTest() && selected < 0)
                selected = row;
        }
        if (selected < 0 && !wanted.isEmpty())
            selected = m_dateList->findText(wanted);
    }
    if (selected < 0 && m_dateList->count() > 0)
        selected = 0;
    m_dateList->setCurrentIndex(selected);
    m_filling = false;
    dateChanged(selected);
}

void PunctPanel::showNoTests(bool none)
{
    m_body->setVisible(!none);
    m_count->setVisible(!none);
    m_save->setVisible(!none);
    m_load->setVisible(!none);
    m_noTests->setVisible(none);
}

void PunctPanel::dateChanged(int index)
{
    if (m_filling)
        return;
    const TestRecord *test = testAtIndex(index);
    if (!test) {
        saveIfModified();
        m_shownTest = 0;
        m_shownClient.clear();
        m_modified = false;
        m_grid->showTest(nullptr, 0);
        showNoTests(true);
        return;
    }
    showNoTests(false);
    if (test->codeTest != m_shownTest
        || test->codeClient.compare(m_shownClient, Qt::CaseInsensitive) != 0)
        saveIfModified();
    m_shownTest = test->codeTest;
    m_shownClient = test->codeClient;
    const int percent = CorridorEvaluation::parsePercent(m_percentSource ? m_percentSource()
                                                                        : QString())
                            .value_or(1);
    m_grid->showTest(test, percent);
    const QDateTime moment = test->testDate;
    const int code = test->codeTest; // the session's listeners may reload the model
    if (m_session) {
        m_session->setSelectedTestTime(moment);
        m_session->setCurrentTest(code);
    }
    loadShown();
}

void PunctPanel::followSession(int codeTest)
{
    // Another sub-mode chose a test of this client: the list follows when it is filled.
    if (m_filling || !m_built || codeTest == m_shownTest || !m_tests)
        return;
    const int row = m_tests->rowOfTest(codeTest);
    if (row >= 0 && row < m_dateList->count() && row != m_dateList->currentIndex())
        m_dateList->setCurrentIndex(row);
}

void PunctPanel::loadShown()
{
    std::optional<QString> state;
    QString error;
    if (m_data && m_shownTest > 0
        && !PunctTreatmentStore::load(*m_data, m_shownClient, m_shownTest, &state, &error))
        Dialogs::error(this, QString(), error);
    applyAnswers(QuestionnaireAnswers::fromState(m_questionnaire, state.value_or(QString())));
    m_modified = false;
    showPage(0);
}

void PunctPanel::TreatmentLoad2Click()
{
    loadShown();
}

void PunctPanel::saveIfModified()
{
    if (!m_modified || m_shownTest <= 0 || m_shownClient.isEmpty() || !m_data)
        return;
    QString error;
    if (!PunctTreatmentStore::save(*m_data, m_shownClient, m_shownTest, answers().state(), &error)) {
        Dialogs::error(this, QString(), error); // still unsaved: the next leave tries again
        return;
    }
    m_modified = false;
}

void PunctPanel::TreatmentSave2Click()
{
    saveIfModified();
}

// --- the result --------------------------------------------------------------------------

RecipeLines PunctPanel::evaluate(QString *message)
{
    m_result->setLines({});
    const QuestionnaireAnswers a = answers();
    const QString language = m_language.isEmpty() ? Localization::currentLanguage() : m_language;
    const PunctEvaluation::Result result = PunctEvaluation::evaluate(
        a.weightStrings(m_questionnaire), a.groupCourse(m_questionnaire),
        MeridianRelations::load(),
        [&language](int number) { return TreatmentCourse::load(language, number); }, text);
    if (message)
        *message = result.message;
    if (!result.message.isEmpty())
        return {};
    m_result->setLines(result.lines);
    m_center->setCurrentWidget(m_resultBox);
    paintPageLabels();
    return result.lines;
}

void PunctPanel::TreatmentCount2Click()
{
    QString message;
    evaluate(&message);
    if (!message.isEmpty())
        Dialogs::message(this, message);
}
