// The work pages of the main window and how they are wired to each other. The client page is
// made with the window; every other page is made the first time it is asked for, so the window
// appears without waiting for pages the practitioner may not open in this session.

#include "MainWindow.h"

#include "InternetPanel.h"
#include "PlaceholderPage.h"
#include "SettingsPage.h"
#include "app/WorkModes.h"
#include "localization/LanguageApplier.h"
#include "measure/CorrectForm.h"
#include "measure/DeviceSearch.h"
#include "measure/DiagnosticPanel.h"
#include "records/ClientPanel.h"
#include "records/ClientsModel.h"
#include "records/DataModule.h"
#include "reports/PrintPanel.h"
#include "ryodoraku/CorridorPercent.h"
#include "reports/ReportSources.h"
#include "records/ClientTestsList.h"
#include "ryodoraku/GraphicPanel.h"
#include "ryodoraku/RidorakuPanel.h"
#include "ryodoraku/TablePanel.h"
#include "schedule/AppointmentReminders.h"
#include "schedule/PlanPanel.h"
#include "schedule/ReminderForm.h"
#include "symptoms/DeseasePanel.h"
#include "symptoms/InquirerPanel.h"
#include "treatment/BodyForm.h"
#include "treatment/OpenPointPanel.h"
#include "treatment/PunctPanel.h"
#include "treatment/TreatmentPanel.h"

#include <QLabel>
#include <QStackedWidget>

void MainWindow::installPages()
{
    // The client list makes its first client current when the base opens.
    auto *clients = new ClientPanel(m_data.get(), &m_session);
    // A base of many cards is read while the window is already up.
    clients->model()->setReadOpeningInBackground(true);
    installPage(clients);
    // The client's tests under the card: choosing one makes it current, opening it shows it
    // in the graphs.
    auto *clientTests = new ClientTestsList(&m_session, m_tests);
    clientTests->setPercentSource([this] { return percentText(); });
    clients->setTestsList(clientTests);
    connect(clientTests, &ClientTestsList::openRequested, this, [this](int codeTest) {
        m_session.setCurrentTest(codeTest);
        switchToButton(QStringLiteral("GraphBtn"));
    });
    connect(clients, &ClientPanel::clientNameChanged, m_clientLabel, &QLabel::setText);

    // The schedule: appointments per day, today's reminders, and the fifteen timers. The
    // reminders run from the start; the page itself is made when it is first opened.
    auto *reminderForm = new ReminderForm(this);
    auto *reminders = new AppointmentReminders(m_data.get(), this);
    PlanPanel::announceReminders(reminders, reminderForm, this);
    using S = StartupSequence::ShowStep;
    using C = StartupSequence::CloseStep;
    m_sequence.onShow(S::StartReminders, QStringLiteral("reminders"), [reminders] {
        reminders->start();
        return true;
    });
    m_sequence.onClose(C::SaveReminders, QStringLiteral("reminders"), [reminders, reminderForm] {
        reminders->saveMade();
        reminderForm->save();
    });
    m_sequence.onClose(C::FinishReminderList, QStringLiteral("reminder list"), [reminders, reminderForm] {
        reminders->stop();
        reminderForm->finish();
    });
    m_pageMakers.insert(QStringLiteral("PlanPanel"), [this, reminderForm, reminders]() -> WorkPage * {
        auto *plan = new PlanPanel(m_data.get(), &m_session, reminderForm, reminders);
        connect(plan, &PlanPanel::openClientRequested, this, [this](const QString &code) {
            switchToButton(QStringLiteral("ClientsBtn"));
            m_session.setCurrentClient(code);
        });
        return plan;
    });

    // The open points follow today and the present two hours; the client's photo sits beside.
    m_pageMakers.insert(QStringLiteral("OpenPointPanel"), [this, clients]() -> WorkPage * {
        auto *openPoints = new OpenPointPanel;
        connect(clients, &ClientPanel::currentPhotoChanged, openPoints, &OpenPointPanel::setPhoto);
        openPoints->setPhoto(clients->currentPhoto());
        return openPoints;
    });

    m_pageMakers.insert(QStringLiteral("SettingsPanel"), [this]() -> WorkPage * {
        auto *settings = new SettingsPage(m_data.get());
        connect(settings, &SettingsPage::languageChosen, this, &MainWindow::ApplyLanguage);
        connect(settings, &SettingsPage::calibrateRequested, this, [this] {
            CorrectForm form(this);
            form.exec();
        });
        settings->setCalibrationAvailable(true);
        return settings;
    });

    m_pageMakers.insert(QStringLiteral("DiagnosticPanel"), [this]() -> WorkPage * {
        m_testPage = new DiagnosticPanel(m_data.get(), &m_session, m_device.get(), nullptr, m_dots);
        // The beep follows the settings page's box as it stands, once that page is made.
        m_testPage->setSoundSource([this]() -> std::optional<bool> {
            if (const SettingsPage *settings = madeSettingsPage())
                return settings->soundSignal();
            return std::nullopt;
        });
        connect(m_testPage, &DiagnosticPanel::graphModeRequested, this,
                [this] { switchToButton(QStringLiteral("GraphBtn")); });
        if (m_search)
            connectTestPage();
        return m_testPage;
    });

    // Every evaluation takes the corridor percentage from the settings field as it stands.
    const auto percent = [this] { return percentText(); };
    m_pageMakers.insert(QStringLiteral("GraphicPanel"), [this, percent]() -> WorkPage * {
        auto *graphs = new GraphicPanel(m_data.get(), &m_session, m_tests);
        graphs->setPercentSource(percent);
        return graphs;
    });
    m_pageMakers.insert(QStringLiteral("RidorakuPanel"), [this, percent]() -> WorkPage * {
        auto *ridoraku = new RidorakuPanel(m_data.get(), &m_session, m_tests);
        ridoraku->setPercentSource(percent);
        return ridoraku;
    });
    m_pageMakers.insert(QStringLiteral("TablePanel"), []() -> WorkPage * { return new TablePanel; });
    m_pageMakers.insert(QStringLiteral("DeseasePanel"), [this]() -> WorkPage * {
        return new DeseasePanel(m_data.get());
    });
    m_pageMakers.insert(QStringLiteral("InquirerPanel"), [this]() -> WorkPage * {
        return new InquirerPanel(m_data.get(), &m_session);
    });
    // Manual, help, facts about the installation and the backup of the practitioner's data.
    m_pageMakers.insert(QStringLiteral("InternetPanel"), [this]() -> WorkPage * {
        return new InternetPanel(m_data.get(), &m_session);
    });

    // Treatment: colour and frequency therapy through the device, and the acupuncture
    // questionnaire whose point labels open the atlas.
    m_pageMakers.insert(QStringLiteral("TreatmentPanel"), [this, percent]() -> WorkPage * {
        auto *treatment = new TreatmentPanel(m_data.get(), &m_session, m_tests, m_device.get());
        treatment->setPercentSource(percent);
        auto *punct = new PunctPanel(m_data.get(), &m_session, m_tests);
        punct->setPercentSource(percent);
        treatment->setPunctPanel(punct);
        connect(treatment, &TreatmentPanel::entering, punct, &PunctPanel::prepare);
        connect(treatment, &TreatmentPanel::leaving, punct, &PunctPanel::saveIfModified);
        connect(punct, &PunctPanel::pointRequested, this, [this](const QString &code, const QWidget *label) {
            bodyForm()->showPointNear(code, label);
        });
        return treatment;
    });

    // The report draws the test's charts itself; the therapy programmes come from their page.
    m_pageMakers.insert(QStringLiteral("PrintPanel"), [this, percent]() -> WorkPage * {
        auto *print = new PrintPanel(m_data.get(), &m_session, m_printCatalogue, &m_reportTemplate);
        ReportSources sources;
        sources.percent = percent;
        sources.savePicture = [this](int picture, const QString &path) {
            using P = ReportSections::Picture;
            auto *treatment = qobject_cast<TreatmentPanel *>(page(QStringLiteral("TreatmentPanel")));
            if (!treatment || (picture != P::ColourPicture && picture != P::FrequencyPicture))
                return false;
            return treatment->saveProgrammePicture(picture == P::ColourPicture ? TreatmentPanel::SubMode::Color
                                                                               : TreatmentPanel::SubMode::Freq,
                                                   path);
        };
        sources.acupressure = [this] {
            auto *treatment = qobject_cast<TreatmentPanel *>(page(QStringLiteral("TreatmentPanel")));
            auto *punct = treatment ? treatment->findChild<PunctPanel *>() : nullptr;
            if (!punct)
                return RecipeLines{};
            punct->prepare();
            return punct->evaluate();
        };
        print->setSources(sources);
        return print;
    });
}

QString MainWindow::percentText() const
{
    // The settings field once the page is made; until then it would show the stored value.
    if (const SettingsPage *settings = madeSettingsPage())
        return settings->percentText();
    return CorridorPercent::stored();
}

const SettingsPage *MainWindow::madeSettingsPage() const
{
    return qobject_cast<const SettingsPage *>(m_pages.value(QStringLiteral("SettingsPanel")));
}

WorkPage *MainWindow::page(const QString &panel)
{
    WorkPage *current = m_pages.value(panel);
    if (!qobject_cast<PlaceholderPage *>(current))
        return current;
    const auto maker = m_pageMakers.find(panel);
    if (maker == m_pageMakers.end())
        return current;
    const auto make = maker.value();
    m_pageMakers.erase(maker);
    WorkPage *made = make();
    installPage(made);
    // Pages that fill some texts of their own when a language is applied get them now.
    LanguageApplier::instance().reapply();
    return made;
}

void MainWindow::connectTestPage()
{
    m_testPage->setDeviceSearch(m_search.get());
    connect(m_testPage, &DiagnosticPanel::deviceSearchRestartRequested, m_search.get(),
            &DeviceSearch::restartAfterLoss);
}

BodyForm *MainWindow::bodyForm()
{
    if (!m_bodyForm)
        m_bodyForm = new BodyForm(this);
    return m_bodyForm;
}

void MainWindow::installPage(WorkPage *page)
{
    WorkPage *old = m_pages.value(page->objectName());
    const int index = old ? m_stack->indexOf(old) : m_stack->count();
    m_stack->insertWidget(index, page);
    m_pages.insert(page->objectName(), page);
    if (old) {
        if (m_currentPage == old) {
            m_currentPage = page;
            m_stack->setCurrentWidget(page);
        }
        m_stack->removeWidget(old);
        old->deleteLater();
    }
}
