#pragma once

#include "app/DotCatalogue.h"
#include "app/Session.h"
#include "app/StartupSequence.h"
#include "reports/PrintCatalogue.h"
#include "reports/ReportTemplate.h"

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

class QLabel;
class QStackedWidget;
class QTimer;
class QToolButton;
class ClientSyncService;
class DataModule;
class TestsModel;
class DeviceLibrary;
class DeviceSearch;
class DiagnosticPanel;
class BodyForm;
class SettingsPage;
class ShowDeviceForm;
class WorkPage;

// The main window (`TForm1`): the row of mode buttons, one work page at a time, and the status
// strip. Construction sets up the data folder, the point catalogue and the device; start()
// runs the first-showing steps; closing runs the close-down steps in their fixed order.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The pictures compiled into the window library (a static library needs to be asked).
    static void initResources();

    // The steps of the first showing. False when start-up cannot go on (the database did not
    // open, the start password was refused); the program then ends without writing anything.
    bool start();

    Session &session() { return m_session; }
    DataModule &dataModule() { return *m_data; }
    TestsModel *testsModel() const { return m_tests; }
    StartupSequence &sequence() { return m_sequence; }
    const DotCatalogue &dots() const { return m_dots; }
    QString programVersion() const { return m_programVersion; }
    QString makerFolder() const { return m_makerFolder; }
    bool deviceConnected() const;
    int workMode() const { return m_session.workMode(); }
    // True while a mode switch moves the current client back (`ModeSaving`): pages that
    // follow the client do not reload for that move.
    bool modeSaving() const { return m_modeSaving; }
    QString modeClientKey() const { return m_modeClientKey; }

    // The switching protocol shared by every mode button.
    void switchToButton(const QString &button);
    // Reads the current language from Options.ini and applies it to every window.
    void ApplyLanguage();
    const ReportTemplate &reportTemplate() const { return m_reportTemplate; }
    // The recommendation and print-template lists of the interface language.
    PrintCatalogue &printCatalogue() { return *m_printCatalogue; }
    // The point atlas window, made on first use and shared by every page that shows points.
    BodyForm *bodyForm();
    // The corridor percentage every evaluation uses: the settings field's text as it stands.
    QString percentText() const;
    // The page of a panel, made now if it was not needed before.
    WorkPage *page(const QString &panel);
    // A feature's page takes the place of the placeholder of the same objectName.
    void installPage(WorkPage *page);

Q_SIGNALS:
    // A mode switch begins: windows that belong to the old view close (the anatomy display).
    void modeSwitchStarting();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildWindow();
    void buildModeButtons(QWidget *bar);
    void buildStatusStrip();
    void registerStartup();
    void loadDevice();
    void onDeviceFound(const QString &displayName);
    void showDeviceLabel();
    void updateClock();
    void installPages();
    void connectTestPage();
    // The settings page when it has been made (its fields then hold what counts), else null.
    const SettingsPage *madeSettingsPage() const;
    void bindTexts();
    void fitModeButtons();
    QString buttonOfPage(const WorkPage *page) const;

    Session m_session;
    StartupSequence m_sequence;
    DotCatalogue m_dots;
    std::unique_ptr<DataModule> m_data;
    ClientSyncService *m_sync = nullptr;
    // How often the client list is brought into step with the shared base unasked.
    static constexpr int SyncIntervalMs = 60000;
    // The first round waits until the window and its first page have settled.
    static constexpr int SyncDelayMs = 1000;
    std::unique_ptr<DeviceLibrary> m_device;
    std::unique_ptr<DeviceSearch> m_search;
    ReportTemplate m_reportTemplate;
    TestsModel *m_tests = nullptr;
    PrintCatalogue *m_printCatalogue = nullptr;

    QString m_makerFolder;
    QString m_deviceName; // empty while no device is connected
    QString m_programVersion;
    bool m_closed = false;
    bool m_modeSaving = false;
    QString m_modeClientKey;

    QWidget *m_fonePanel = nullptr;
    QStackedWidget *m_stack = nullptr;
    QHash<QString, WorkPage *> m_pages;
    // Pages not made yet, by panel name.
    QHash<QString, std::function<WorkPage *()>> m_pageMakers;
    QHash<QString, QToolButton *> m_buttons;
    WorkPage *m_currentPage = nullptr;
    QLabel *m_clientLabel = nullptr;
    QLabel *m_mashineLabel = nullptr;
    QLabel *m_dateLabel = nullptr;
    QTimer *m_dateTimer = nullptr;
    ShowDeviceForm *m_showDevice = nullptr;
    DiagnosticPanel *m_testPage = nullptr;
    BodyForm *m_bodyForm = nullptr;
};
