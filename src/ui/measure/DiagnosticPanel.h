#pragma once

#include <functional>
#include <optional>

#include "app/WorkPage.h"

#include <QPointer>

class DataModule;
class DeviceLibrary;
class DeviceSearch;
class DotCatalogue;
class PointDisplay;
class QChart;
class QCheckBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;
class Session;
class TestRun;
class TracePaintBox;

// The test mode (`DiagnosticPanel`): the entry grid `DotsGrid1`, the live trace and chart of
// the point being measured, the picture and description of that point, and the controls that
// move from point to point. Entering the page starts a new test; `TestTimer` polls the device
// every 100 ms while it runs.
class DiagnosticPanel : public WorkPage {
    Q_OBJECT
public:
    static constexpr int SampleIntervalMs = 100;
    static constexpr int BlinkIntervalMs = 500;

    DiagnosticPanel(DataModule *data, Session *session, DeviceLibrary *device,
                    DeviceSearch *search, const DotCatalogue &dots, QWidget *parent = nullptr);
    ~DiagnosticPanel() override;

    // Starts a new test for the current client.
    void enter() override;
    // Stops sampling and a pending advance.
    void leave() override;
    void relayout() override;

    // The search is made once the device library has loaded, which may be after the page.
    void setDeviceSearch(DeviceSearch *search);
    // `SoundSignalCheck` of the settings page; a test also starts with the stored setting.
    void setSoundSignal(bool on);
    // Points of the test under way that hold a value.
    int measuredPoints() const;
    // Whether a measured point beeps, asked at the start of each test (the settings page's
    // box as it stands); no answer means the stored setting.
    void setSoundSource(std::function<std::optional<bool>()> source) { m_soundSource = std::move(source); }

    TestRun *run() const { return m_run; }
    // The description of the current point as shown: the name, meridian, role and comment.
    QStringList pointTexts() const;

Q_SIGNALS:
    // A test was stored and `NextToGraph` is checked: the main window shows its graph.
    void graphModeRequested();
    // The device stopped answering: the main window searches for it again.
    void deviceSearchRestartRequested();

private:
    QWidget *buildGrid();
    QWidget *buildControls();
    QWidget *buildChart();
    void bindTexts();

    void sampleTick();
    void autoNextTick();
    void finishTest();
    void nextClicked();
    void showCurrentPoint();
    void showCell(int col, int row, const QString &text);
    void gridClicked(int row, int col);
    void gridEdited(int row, int col);
    void drawSample(int value, int corrected, int position);
    void resetTrace();
    void deviceFound();
    void setMoveButtonsEnabled(bool enabled);

    DataModule *m_data;
    Session *m_session;
    DeviceLibrary *m_device;
    QPointer<DeviceSearch> m_search;
    const DotCatalogue &m_dots;
    TestRun *m_run;
    bool m_testing = false;       // a test runs on this page
    bool m_waitingForDevice = false; // sampling stopped by a lost device
    bool m_syncing = false;       // the grid is being filled by the program

    QTableWidget *m_grid = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_clear = nullptr;
    QCheckBox *m_autoNext = nullptr;
    QCheckBox *m_nextToGraph = nullptr;
    QSpinBox *m_timeEdit = nullptr;
    QLabel *m_timeLabel = nullptr;
    QLabel *m_secLabel = nullptr;
    TracePaintBox *m_trace = nullptr;
    QChart *m_chart = nullptr;
    QLineSeries *m_series = nullptr;
    PointDisplay *m_display = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_meridian = nullptr;
    QLabel *m_energy = nullptr;
    QLabel *m_comment = nullptr;
    QTimer *m_testTimer = nullptr;
    QTimer *m_autoNextTimer = nullptr;
    QTimer *m_blinkTimer = nullptr;
    std::function<std::optional<bool>()> m_soundSource;
    QString m_keptForClient; // an unfinished test kept for this client
};
