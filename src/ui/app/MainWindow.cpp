#include "MainWindow.h"

#include "app/UnixSignalWatcher.h"
#include "common/DateTexts.h"
#include "common/StackSizing.h"

#include "BackupActions.h"
#include "BackupAgeLabel.h"
#include "PasswordForm.h"
#include "PlaceholderPage.h"
#include "records/ClientPanel.h"
#include "records/ClientSyncService.h"
#include "records/ClientSyncStatus.h"
#include "reports/MethodNoticeForm.h"
#include "measure/DiagnosticPanel.h"
#include "app/AppPaths.h"
#include "app/DataFolderSetup.h"
#include "app/StartFileCheck.h"
#include "app/TestFollower.h"
#include "app/WorkModes.h"
#include "common/CaseInsensitivePath.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "localization/LanguageApplier.h"
#include "localization/LanguageTexts.h"
#include "localization/Localization.h"
#include "measure/DeviceIdentity.h"
#include "measure/DeviceLibrary.h"
#include "measure/DeviceSearch.h"
#include "measure/ShowDeviceForm.h"
#include "records/DataModule.h"
#include "records/TestsModel.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 1020;
constexpr int kHeight = 600;

// A long caption goes on two lines, broken at the space nearest its middle, so the thirteen
// buttons fit the window's width in every language.
QString buttonCaption(QToolButton *button, const QString &text)
{
    constexpr int textWidth = (kWidth - 12) / 13 - 8;
    button->ensurePolished(); // the style sheet's font
    const QFontMetrics metrics(button->font());
    if (metrics.horizontalAdvance(text) <= textWidth || !text.contains(QLatin1Char(' ')))
        return text;
    int best = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char(' ')
            && (best < 0 || qAbs(i - text.size() / 2) < qAbs(best - text.size() / 2)))
            best = i;
    }
    QString wrapped = text;
    wrapped[best] = QLatin1Char('\n');
    return wrapped;
}
} // namespace

void MainWindow::initResources()
{
    Q_INIT_RESOURCE(ui);
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_data(std::make_unique<DataModule>())
    , m_device(std::make_unique<DeviceLibrary>())
{
    setObjectName(QStringLiteral("TForm1"));
    initResources();
    buildWindow();
    // The test list follows the current client; the newest test becomes the current one.
    m_tests = new TestsModel(m_data.get(), this);
    new TestFollower(&m_session, m_tests, this);
    m_printCatalogue = new PrintCatalogue(m_data.get(), this);

    // Creation, in its fixed order: folders, measurement defaults, point catalogue, device.
    DataFolderSetup::run();
    m_makerFolder = AppPaths::makerFolder();
    m_dots.load(DotCatalogue::defaultPath());
    installPages();
    showDeviceLabel();
    loadDevice();
    m_reportTemplate = ReportTemplate::load();
    m_programVersion = QStringList{QString::number(1), QString::number(1), QString::number(0)}
                           .join(QLatin1Char('.'));

    registerStartup();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildWindow()
{
    setWindowTitle(QStringLiteral("Vandrel"));
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);
    bool smallScreen = false;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        // Room for the window and its frame: centred. A screen no larger than the window
        // (a small laptop, a large scale) gets the window filling it, never partly off it.
        constexpr int frameAllowance = 48;
        if (area.width() < kWidth + frameAllowance || area.height() < kHeight + frameAllowance) {
            setMinimumSize(qMin(kWidth, area.width()), qMin(kHeight, area.height()));
            setWindowState(windowState() | Qt::WindowMaximized);
        }
        // Smaller still than the window itself: the pages will scroll.
        smallScreen = area.width() < kWidth || area.height() < kHeight;
        move(area.topLeft() + QPoint(qMax(0, (area.width() - kWidth) / 2),
                                     qMax(0, (area.height() - kHeight) / 2)));
    }

    auto *central = new QWidget(this);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_fonePanel = new QWidget(central);
    m_fonePanel->setObjectName(QStringLiteral("FonePanel"));
    m_fonePanel->setAutoFillBackground(true);
    m_fonePanel->setStyleSheet(QStringLiteral(
        "#FonePanel { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f7fa,"
        " stop:1 #dfe6ee); border-bottom: 1px solid #b9c4cf; }"
        "#FonePanel QToolButton { border: 1px solid transparent; border-radius: 4px;"
        " padding: 3px 1px; color: #24313d; font-size: 8pt; }"
        "#FonePanel QToolButton:hover { background: #ffffff; border-color: #b9c4cf; }"
        "#FonePanel QToolButton:checked { background: #cfe3f7; border-color: #6f9fcf; }"));
    buildModeButtons(m_fonePanel);
    column->addWidget(m_fonePanel);

    m_stack = new QStackedWidget(central);
    for (const WorkModeInfo &info : WorkModes::buttons()) {
        auto *page = new PlaceholderPage(info.panel, info.hintKey, m_stack);
        m_pages.insert(info.panel, page);
        m_stack->addWidget(page);
    }
    if (smallScreen) {
        // On a screen smaller than the window was made for (a small laptop at 200 %), a page
        // scrolls rather than squeezing its parts over each other. Only the page in sight
        // counts for the size: hidden pages take no room.
        StackSizing::followCurrent(m_stack);
        auto *pageScroll = new QScrollArea(central);
        pageScroll->setObjectName(QStringLiteral("PageScroll"));
        pageScroll->setFrameShape(QFrame::NoFrame);
        pageScroll->setWidgetResizable(true);
        pageScroll->setWidget(m_stack);
        column->addWidget(pageScroll, 1);
    } else {
        column->addWidget(m_stack, 1);
    }
    setCentralWidget(central);
    buildStatusStrip();
    bindTexts();
}

void MainWindow::buildModeButtons(QWidget *bar)
{
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(2);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (const WorkModeInfo &info : WorkModes::buttons()) {
        auto *button = new QToolButton(bar);
        button->setObjectName(info.button);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setIcon(QIcon(info.icon));
        button->setIconSize(QSize(26, 26));
        button->setMinimumSize(60, 58);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        group->addButton(button);
        m_buttons.insert(info.button, button);
        row->addWidget(button);
        const QString name = info.button;
        connect(button, &QToolButton::clicked, this, [this, name] { switchToButton(name); });
    }
}

void MainWindow::buildStatusStrip()
{
    auto *strip = statusBar();
    strip->setSizeGripEnabled(false);
    m_clientLabel = new QLabel(strip);
    m_clientLabel->setObjectName(QStringLiteral("ClientLabel"));
    m_clientLabel->setTextFormat(Qt::PlainText); // a client's name, shown as typed
    m_mashineLabel = new QLabel(strip);
    m_mashineLabel->setObjectName(QStringLiteral("MashineLabel"));
    m_dateLabel = new QLabel(strip);
    m_dateLabel->setObjectName(QStringLiteral("DateLabel"));
    // The three labels share what the notes on the right leave; the client's name
    // and the device take more than the date, whose text is short.
    for (QLabel *label : {m_clientLabel, m_mashineLabel, m_dateLabel}) {
        label->setMinimumWidth(0);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        strip->addWidget(label, label == m_clientLabel ? 6 : label == m_mashineLabel ? 5 : 4);
    }
    strip->setStyleSheet(QStringLiteral(
        "QStatusBar { background: #e9eef3; border-top: 1px solid #b9c4cf; }"
        "QStatusBar::item { border: none; }"
        "QStatusBar QLabel { color: #24313d; padding: 2px 6px; }"));

    m_dateTimer = new QTimer(this);
    m_dateTimer->setObjectName(QStringLiteral("DateTimer"));
    m_dateTimer->setInterval(1000);
    connect(m_dateTimer, &QTimer::timeout, this, &MainWindow::updateClock);
}

void MainWindow::loadDevice()
{
    const QString path = m_makerFolder + QStringLiteral("/Data/device1");
    QString error;
    if (!m_device->load(path, &error)) {
        const QString file = DeviceLibrary::fileNameFor(path);
        // A library that is there but cannot be loaded (damaged, or not one for this machine)
        // is not called missing.
        if (QFileInfo::exists(QFileInfo(path).absolutePath() + QLatin1Char('/') + file))
            Dialogs::message(this, Localization::translateOr(
                                       QStringLiteral("DeviceLibraryUnusable"),
                                       QStringLiteral("The device library %1 could not be loaded "
                                                      "(%2). Measuring is not available until it "
                                                      "is replaced."))
                                       .arg(file, error));
        else
            Dialogs::message(this, Localization::Translate(QStringLiteral("NotFoundFile"))
                                       + QLatin1Char(' ') + file);
        return;
    }
    m_search = std::make_unique<DeviceSearch>(m_device.get());
    connect(m_search.get(), &DeviceSearch::deviceFound, this, &MainWindow::onDeviceFound);
    if (m_testPage)
        connectTestPage();
    m_search->start();
    // The first look happens at once rather than five seconds after the window appears.
    QTimer::singleShot(0, m_search.get(), &DeviceSearch::tick);
}

void MainWindow::showDeviceLabel()
{
    const DeviceWords words = ShowDeviceForm::words();
    m_mashineLabel->setText(m_deviceName.isEmpty()
                                ? DeviceIdentity::notConnectedText(words)
                                : DeviceIdentity::labelText(m_deviceName, words));
}

void MainWindow::onDeviceFound(const QString &displayName)
{
    m_deviceName = displayName;
    showDeviceLabel();
    if (!m_showDevice)
        m_showDevice = new ShowDeviceForm(this);
    m_showDevice->showDevice(displayName);
}

bool MainWindow::deviceConnected() const
{
    return m_search && m_search->isConnected();
}

void MainWindow::registerStartup()
{
    using S = StartupSequence::ShowStep;
    using C = StartupSequence::CloseStep;

    m_sequence.onShow(S::StartClock, QStringLiteral("clock"), [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        updateClock();
        m_dateTimer->start();
        return true;
    });
    m_sequence.onShow(S::StartPassword, QStringLiteral("password"), [this] {
        QApplication::restoreOverrideCursor();
        const bool entered = PasswordForm::askAtStart(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return entered;
    });
    m_sequence.onShow(S::OpenDatabase, QStringLiteral("database"), [this] {
        const QString path = CaseInsensitivePath::resolve(AppPaths::GetDataPath(),
                                                          QStringLiteral("BASE.fdb"));
        QString error;
        bool opened = m_data->open(path, &error);
        // The database client has just set signal handlers of its own: the program's closing
        // order must stay the only answer to SIGTERM.
        UnixSignalWatcher::claimSignals();
        if (opened)
            opened = BackupActions::rebuildIfDue(this, m_data.get(), &error);
        if (opened)
            return true;
        QApplication::restoreOverrideCursor();
        Dialogs::error(this, Localization::Translate(QStringLiteral("Error")),
                       Localization::Translate(QStringLiteral("ErrorConnect")) + QStringLiteral("\n\n")
                           + error);
        return false;
    });
    m_sequence.onShow(S::SynchroniseClients, QStringLiteral("clients"), [this] {
        // The shared base is asked in a worker thread once the window is up; the strip tells
        // how it went, and nothing waits for it.
        m_sync = new ClientSyncService(m_data->path(), this);
        auto *status = new ClientSyncStatus(m_sync, m_data.get(), &m_session, statusBar());
        statusBar()->addPermanentWidget(status);
        if (auto *clients = qobject_cast<ClientPanel *>(page(QStringLiteral("ClientPanel")))) {
            connect(clients, &ClientPanel::cardsChanged, m_sync, &ClientSyncService::requestRound);
            connect(status, &ClientSyncStatus::clientsChanged, clients, &ClientPanel::reloadClients);
        }
        QTimer::singleShot(SyncDelayMs, m_sync, [this] { m_sync->start(SyncIntervalMs); });
        // A base closed under the running program (a backup restored) is not synchronised
        // until it is open again: no round may write into the file being replaced.
        connect(m_data.get(), &DataModule::aboutToClose, m_sync, &ClientSyncService::stop);
        connect(m_data.get(), &DataModule::opened, m_sync,
                [this] { m_sync->start(SyncIntervalMs); });
        return true;
    });
    m_sequence.onShow(S::ApplyLanguage, QStringLiteral("language"), [this] {
        ApplyLanguage();
        return true;
    });
    m_sequence.onShow(S::ClientMode, QStringLiteral("client mode"), [this] {
        switchToButton(QStringLiteral("ClientsBtn"));
        return true;
    });
    m_sequence.onShow(S::Finish, QStringLiteral("finish"), [this] {
        QApplication::restoreOverrideCursor();
        statusBar()->addPermanentWidget(new BackupAgeLabel(m_data.get(), statusBar()));
        // Files the workstation could read only in part are named once, with what it used,
        // over the window once it is up.
        const QString damaged = StartFileCheck::message(StartFileCheck::run());
        if (!damaged.isEmpty())
            QTimer::singleShot(0, this, [this, damaged] { Dialogs::message(this, damaged); });
        MethodNoticeForm::showOnce(this);
        return true;
    });

    m_sequence.onClose(C::DisconnectDatabase, QStringLiteral("database"), [this] {
        if (m_sync)
            m_sync->stop(); // a round under way finishes its card; its work is committed
        if (m_data->isOpen())
            m_data->close();
    });
    m_sequence.onClose(C::StopClock, QStringLiteral("clock"), [this] { m_dateTimer->stop(); });
    m_sequence.onClose(C::StopMeasurement, QStringLiteral("device"), [this] {
        if (m_search)
            m_search->closeIfConnected();
    });
}

bool MainWindow::start()
{
    QString failed;
    if (m_sequence.runShow(&failed))
        return true;
    m_closed = true; // nothing is written on the way out of a failed start
    return false;
}

void MainWindow::bindTexts()
{
    auto &applier = LanguageApplier::instance();
    applier.bind(m_mashineLabel, QStringLiteral("DeviceIdCaption"),
                 [this](const QString &) { showDeviceLabel(); });
    for (const WorkModeInfo &info : WorkModes::buttons()) {
        QToolButton *button = m_buttons.value(info.button);
        const QString panel = info.panel;
        const QKeySequence shortcut = info.shortcut;
        applier.bind(button, info.hintKey, [this, button, panel, shortcut](const QString &hint) {
            button->setText(buttonCaption(button, hint));
            // Setting a button's text resets its shortcut to the text's mnemonic.
            button->setShortcut(shortcut);
            const QString keys = shortcut.toString(QKeySequence::NativeText);
            button->setToolTip(keys.isEmpty() ? hint : hint + QStringLiteral(" (") + keys + QLatin1Char(')'));
            // Pages are looked up each time: a feature's page may have replaced the placeholder.
            if (auto *page = qobject_cast<PlaceholderPage *>(m_pages.value(panel)))
                page->setTitle(hint);
            fitModeButtons();
        });
    }
}

void MainWindow::fitModeButtons()
{
    // Every button as high as the one with the most caption lines needs: the icon, the
    // lines, the padding of the style sheet, so that no caption is cut at its top.
    // The buttons share one style sheet, hence one font.
    int lines = 1;
    for (QToolButton *button : std::as_const(m_buttons))
        lines = qMax(lines, int(button->text().count(QLatin1Char('\n'))) + 1);
    QToolButton *any = m_buttons.begin().value();
    any->ensurePolished();
    const QFontMetrics metrics(any->font());
    const int height = qMax(58, 26 + lines * metrics.lineSpacing() + 20);
    for (QToolButton *button : std::as_const(m_buttons))
        button->setMinimumHeight(height);
}

void MainWindow::ApplyLanguage()
{
    const QString language = Localization::currentLanguage();
    m_printCatalogue->setLanguage(language);
    const LanguageTexts texts = LanguageTexts::load(language);
    m_reportTemplate.setCharsetLine(texts.font().htmlCharsetDeclaration());
    LanguageApplier::instance().apply(texts);
}

void MainWindow::switchToButton(const QString &button)
{
    const WorkModeInfo *info = WorkModes::byButton(button);
    if (!info)
        return;
    if (WorkModes::needsClient(info->mode) && m_session.currentClient().isEmpty()) {
        // Without a client the button pops back up and nothing changes.
        m_buttons.value(button)->setChecked(false);
        if (QToolButton *shown = m_buttons.value(buttonOfPage(m_currentPage)))
            shown->setChecked(true);
        return;
    }
    Q_EMIT modeSwitchStarting();

    // Leave the current mode, and the page on show when it is another one (the open-points
    // and internet pages do not change the mode).
    const int leaving = m_session.workMode();
    WorkPage *modePage = m_pages.value(WorkModes::panelOf(leaving));
    if (modePage)
        modePage->leave();
    if (m_currentPage && m_currentPage != modePage)
        m_currentPage->leave();
    // The schedule and treatment modes let the user browse other clients in their own lists;
    // leaving them brings back the client that was current when they were entered.
    if (WorkModes::browsesClients(leaving) && m_session.currentClient() != m_modeClientKey) {
        m_modeSaving = true;
        m_session.setCurrentClient(m_modeClientKey);
        m_modeSaving = false;
    }

    WorkPage *target = page(info->panel);
    m_stack->setCurrentWidget(target);
    m_currentPage = target;
    if (info->mode != WorkModes::None)
        m_session.setWorkMode(info->mode);
    if (WorkModes::browsesClients(info->mode))
        m_modeClientKey = m_session.currentClient();
    m_buttons.value(button)->setChecked(true);
    target->enter();
}

QString MainWindow::buttonOfPage(const WorkPage *page) const
{
    if (!page)
        return QString();
    for (const WorkModeInfo &info : WorkModes::buttons()) {
        if (info.panel == page->objectName())
            return info.button;
    }
    return QString();
}

void MainWindow::updateClock()
{
    const QDateTime now = Clock::now();
    m_dateLabel->setText(now.time().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                         + DateTexts::date(now.date()));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_currentPage)
        m_currentPage->relayout();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        m_closed = true;
        if (m_currentPage)
            m_currentPage->leave();
        m_sequence.runClose();
        // The day's backup, once the base is closed and nothing writes to it any more.
        BackupActions::atClose(this, m_data.get());
    }
    event->accept();
}
