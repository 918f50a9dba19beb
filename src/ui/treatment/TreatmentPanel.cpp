#include "TreatmentPanel.h"

#include "ryodoraku/CorridorPercent.h"
#include "ColorPanel.h"
#include "FreqPanel.h"
#include "MusicPlayerForm.h"
#include "TTreatmentComment.h"
#include "TherapyTexts.h"
#include "TreatmentTab.h"
#include "app/AppPaths.h"
#include "app/Session.h"
#include "app/SettingsValues.h"
#include "common/Dialogs.h"
#include "common/IniFile.h"
#include "records/TestsModel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QString optionsPath()
{
    return AppPaths::dataFile(QStringLiteral("Options.ini"));
}


} // namespace

TreatmentPanel::TreatmentPanel(DataModule *data, Session *session, TestsModel *tests,
                               DeviceLibrary *device, QWidget *parent)
    : WorkPage(QStringLiteral("TreatmentPanel"), parent)
    , m_data(data)
    , m_session(session)
    , m_tests(tests)
    , m_device(device)
    , m_percentSource(CorridorPercent::stored)
{
    buildPage();
    if (m_session)
        connect(m_session, &Session::currentTestChanged, this, &TreatmentPanel::followSession);
}

void TreatmentPanel::buildPage()
{
    setStyleSheet(QStringLiteral(
        "#TreatmentPanel { background: #eef2f6; }"
        "#TreatmentBody { background: white; border: 1px solid #c5d0db; border-radius: 6px; }"
        "#TreatmentBody QGroupBox { font-weight: bold; color: #24313d; border: 1px solid #c5d0db;"
        " border-radius: 6px; margin-top: 10px; padding-top: 6px; }"
        "#TreatmentBody QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; }"
        "#TreatmentBody QGroupBox QCheckBox, #TreatmentBody QGroupBox QLabel, #TreatmentBody QGroupBox QPushButton"
        " { font-weight: normal; }"
        "#PaletteBox { background: #f6f8fa; border: 1px solid #c5d0db; border-radius: 6px; }"
        "#ColorDateList, #FreqDateList { background: white; border: 1px solid #c5d0db; border-radius: 4px; }"
        "#ColorDateListContents, #FreqDateListContents { background: white; }"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 4);
    column->setSpacing(0);
    auto *tabs = new QHBoxLayout;
    tabs->setSpacing(4);
    const QList<std::tuple<QString, QString, QString>> tabTexts{
        {QStringLiteral("ColorLabel"), QStringLiteral("ColorLabel"), QStringLiteral("Colour therapy")},
        {QStringLiteral("FreqLabel"), QStringLiteral("FreqLabel"), QStringLiteral("Frequency therapy")},
        {QStringLiteral("PunktLabel"), QStringLiteral("PunctLabel"), QStringLiteral("Acupuncture")}};
    for (int i = 0; i < 3; ++i) {
        const auto &[name, key, fallback] = tabTexts.at(i);
        auto *tab = new TreatmentTab(name, this);
        LanguageApplier::instance().bindWithFallback(tab, key, fallback,
                                                     [tab](const QString &t) { tab->setText(t.trimmed()); });
        m_tabs[i] = tab;
        tabs->addWidget(tab);
        const SubMode mode = SubMode(i);
        connect(tab, &TreatmentTab::clicked, this, [this, mode] { showSubMode(mode); });
    }
    tabs->addStretch(1);
    m_musicButton = new QPushButton(this);
    m_musicButton->setObjectName(QStringLiteral("MusicBtn"));
    m_musicButton->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    m_musicButton->setMinimumHeight(30);
    // Green while music plays, so the practitioner sees it with the window out of the way.
    m_musicButton->setStyleSheet(QStringLiteral(
        "QPushButton { background: #d4d4d4; color: #2b3540; border: none; padding: 4px 16px;"
        " border-top-left-radius: 6px; border-top-right-radius: 6px; }"
        "QPushButton:hover { background: #c4c4c4; }"
        "QPushButton[playing=\"true\"] { background: #bfe3c0; }"
        "QPushButton[playing=\"true\"]:hover { background: #acd8ad; }"));
    TherapyTexts::bind(m_musicButton, QStringLiteral("Music"), QStringLiteral("Music"));
    connect(m_musicButton, &QPushButton::clicked, this, &TreatmentPanel::showMusicPlayer);
    tabs->addWidget(m_musicButton);
    column->addLayout(tabs);

    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("TreatmentBody"));
    body->setAttribute(Qt::WA_StyledBackground);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(6, 6, 6, 6);
    m_stack = new QStackedWidget(body);
    m_color = new ColorPanel(m_device, m_stack);
    m_freq = new FreqPanel(m_data, m_device, m_stack);
    auto *punct = new QWidget(m_stack);
    punct->setObjectName(QStringLiteral("PunctPanel"));
    m_punct = punct;
    m_stack->addWidget(m_color);
    m_stack->addWidget(m_freq);
    m_stack->addWidget(punct);
    bodyLayout->addWidget(m_stack);
    column->addWidget(body, 1);

    // The device can give one thing at a time: a player that starts silences the others.
    connect(m_color, &ColorPanel::playStarted, m_freq, &FreqPanel::stopPlayers);
    connect(m_freq, &FreqPanel::playStarted, m_color, &ColorPanel::stopPlayers);

    for (TreatmentDateList *list : {m_color->dateList(), m_freq->dateList()}) {
        connect(list, &TreatmentDateList::dateChosen, this, &TreatmentPanel::selectTest);
        const TherapyStore::Table table = list == m_color->dateList() ? TherapyStore::Table::Color
                                                                      : TherapyStore::Table::Freq;
        connect(list, &TreatmentDateList::commentRequested, this,
                [this, table](int code) { openComment(table, code); });
    }
    showSubMode(SubMode::Color);
}

void TreatmentPanel::setPunctPanel(QWidget *panel)
{
    if (!panel)
        return;
    const int index = m_punct ? m_stack->indexOf(m_punct) : -1;
    if (panel->objectName().isEmpty())
        panel->setObjectName(QStringLiteral("PunctPanel"));
    if (index >= 0) {
        QWidget *old = m_punct;
        m_stack->insertWidget(index, panel);
        m_stack->removeWidget(old);
        // Out of the page at once, destroyed once whatever event it is in has finished.
        old->setParent(nullptr);
        old->deleteLater();
    } else {
        m_stack->addWidget(panel);
    }
    m_punct = panel;
    showSubMode(m_mode);
}

void TreatmentPanel::setPercentSource(std::function<QString()> source)
{
    m_percentSource = source ? std::move(source) : std::function<QString()>(CorridorPercent::stored);
}

void TreatmentPanel::showSubMode(SubMode mode)
{
    m_mode = mode;
    QWidget *page = mode == SubMode::Color ? static_cast<QWidget *>(m_color)
                    : mode == SubMode::Freq ? static_cast<QWidget *>(m_freq)
                                            : m_punct.data();
    if (page)
        m_stack->setCurrentWidget(page);
    for (int i = 0; i < 3; ++i)
        m_tabs[i]->setActive(i == int(mode));
}

void TreatmentPanel::enter()
{
    Q_EMIT entering();
    m_active = true;
    m_client = m_session ? m_session->currentClient() : QString();
    m_freq->setOptionsPath(optionsPath());
    m_freq->reloadDiseases();
    fillDates();
    int wanted = m_session ? m_session->currentTest() : 0;
    if (!m_tests || m_tests->rowOfTest(wanted) < 0)
        wanted = m_tests && !m_tests->tests().isEmpty() ? m_tests->tests().first().codeTest : 0;
    m_test = -1; // whatever was shown before, load afresh
    selectTest(wanted);
    showSubMode(SubMode::Color);
}

void TreatmentPanel::leave()
{
    stopPlayers();
    saveAssignments();
    m_active = false;
    Q_EMIT leaving();
}

void TreatmentPanel::stopPlayers()
{
    m_color->stopPlayers();
    m_freq->stopPlayers();
}

MusicPlayerForm *TreatmentPanel::musicPlayer()
{
    if (m_music)
        return m_music;
    m_music = new MusicPlayerForm(this);
    connect(m_music, &MusicPlayerForm::playStateChanged, this, [this](MusicPlayerForm::PlayState state) {
        const bool playing = state == MusicPlayerForm::PlayState::Playing;
        m_musicButton->setProperty("playing", playing);
        m_musicButton->setToolTip(playing ? TherapyTexts::text(QStringLiteral("MusicPlayingHint"),
                                                               QStringLiteral("Music is playing"))
                                          : QString());
        m_musicButton->style()->unpolish(m_musicButton);
        m_musicButton->style()->polish(m_musicButton);
    });
    return m_music;
}

void TreatmentPanel::showMusicPlayer()
{
    MusicPlayerForm *player = musicPlayer();
    player->show();
    player->raise();
    player->activateWindow();
}

void TreatmentPanel::fillDates()
{
    QList<TreatmentDateList::Entry> entries;
    if (m_tests && !m_client.isEmpty())
        for (const TestRecord &test : m_tests->tests())
            entries.append({test.codeTest, test.testDate});
    const QSet<int> colorComments = TherapyStore(m_data, TherapyStore::Table::Color).commentedTests(m_client);
    const QSet<int> freqComments = TherapyStore(m_data, TherapyStore::Table::Freq).commentedTests(m_client);
    m_color->dateList()->setTests(entries, colorComments);
    m_freq->dateList()->setTests(entries, freqComments);
}

bool TreatmentPanel::saveAssignments()
{
    if (m_test <= 0 || m_client.isEmpty())
        return true;
    bool ok = true;
    QString error;
    if (m_color->isModified()) {
        if (TherapyStore(m_data, TherapyStore::Table::Color).saveTreatment(m_client, m_test, m_color->assignmentText(), &error))
            m_color->markSaved();
        else
            ok = false;
    }
    if (m_freq->isModified()) {
        if (TherapyStore(m_data, TherapyStore::Table::Freq).saveTreatment(m_client, m_test, m_freq->assignmentText(), &error))
            m_freq->markSaved();
        else
            ok = false;
    }
    if (!ok)
        Dialogs::error(this, TherapyTexts::text(QStringLiteral("Error"), QStringLiteral("Error")),
                       TherapyTexts::text(QStringLiteral("TherapyNotSaved"), QStringLiteral("The therapy of the test was not saved."))
                           + QLatin1Char('\n') + error);
    return ok;
}

void TreatmentPanel::selectTest(int codeTest)
{
    if (codeTest == m_test)
        return;
    stopPlayers();
    saveAssignments();
    m_test = codeTest;
    m_color->dateList()->select(codeTest);
    m_freq->dateList()->select(codeTest);
    if (m_session && codeTest > 0) {
        m_session->setCurrentTest(codeTest);
        const int row = m_tests ? m_tests->rowOfTest(codeTest) : -1;
        if (row >= 0)
            m_session->setSelectedTestTime(m_tests->testAt(row).testDate);
    }
    showSelectedTest();
}

void TreatmentPanel::showSelectedTest()
{
    const int row = m_tests && m_test > 0 ? m_tests->rowOfTest(m_test) : -1;
    const TestRecord *test = row >= 0 ? &m_tests->testAt(row) : nullptr;
    const CorridorEvaluation corridor = test ? evaluate(*test, percent()) : CorridorEvaluation{};
    const auto names = meridianNames();
    m_color->showTest(test, corridor, names);
    m_freq->showTest(test, corridor, names);

    QString error;
    const auto colorRow = test ? TherapyStore(m_data, TherapyStore::Table::Color).load(m_client, m_test, &error)
                               : std::nullopt;
    const auto freqRow = test ? TherapyStore(m_data, TherapyStore::Table::Freq).load(m_client, m_test, &error)
                              : std::nullopt;
    const bool colorOk = m_color->loadAssignment(colorRow ? colorRow->treatment : QString());
    const bool freqOk = m_freq->loadAssignment(freqRow ? freqRow->treatment : QString());
    // A damaged row is shown empty and left as it is in the base until the practitioner
    // assigns anew.
    if (!colorOk || !freqOk)
        Dialogs::message(this, TherapyTexts::text(QStringLiteral("TherapyUnreadable"),
                                                  QStringLiteral("The stored therapy of this test could not be read; it is shown empty.")));
}

void TreatmentPanel::followSession(int codeTest)
{
    // Another page (the acupuncture sub-mode) chose a test: both lists follow.
    if (!m_active || codeTest == m_test || !m_tests || m_tests->rowOfTest(codeTest) < 0)
        return;
    selectTest(codeTest);
}

void TreatmentPanel::openComment(TherapyStore::Table table, int codeTest)
{
    if (codeTest <= 0 || m_client.isEmpty())
        return;
    TTreatmentComment dialog(m_data, table, m_client, codeTest, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TreatmentDateList *list = table == TherapyStore::Table::Color ? m_color->dateList() : m_freq->dateList();
    list->setHasComment(codeTest, dialog.hasComment());
}

std::array<QString, 12> TreatmentPanel::meridianNames() const
{
    return SettingsValues::load(IniFile(optionsPath())).shownMeridianNames();
}

int TreatmentPanel::percent() const
{
    const auto parsed = CorridorEvaluation::parsePercent(m_percentSource ? m_percentSource() : QString());
    return parsed.value_or(SettingsValues::DefaultPercent);
}

bool TreatmentPanel::saveProgrammePicture(SubMode mode, const QString &path)
{
    QWidget *view = nullptr;
    if (mode == SubMode::Color && m_color->assignment().hasAnySet())
        view = m_color;
    else if (mode == SubMode::Freq && m_freq->hasProgramme())
        view = m_freq;
    if (!view)
        return false;
    // A sub-mode never shown yet has no size of its own; draw it at the page's.
    if (view->size().isEmpty() || !view->isVisible())
        view->resize(m_stack->size().isEmpty() ? QSize(1000, 560) : m_stack->size());
    return view->grab().save(path, "PNG");
}
