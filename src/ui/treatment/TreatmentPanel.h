#pragma once

#include "app/WorkPage.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "treatment/TherapyStore.h"

#include <QPointer>

#include <array>
#include <functional>

class ColorPanel;
class DataModule;
class DeviceLibrary;
class FreqPanel;
class MusicPlayerForm;
class QPushButton;
class QStackedWidget;
class Session;
class TestsModel;
class TreatmentDateList;
class TreatmentTab;

// The treatment mode (`TreatmentPanel`): three sub-modes behind the tab labels `ColorLabel`,
// `FreqLabel` and `PunktLabel` — colour therapy, frequency therapy and acupuncture. Entering
// the mode always shows colour therapy first. The colour and frequency sub-modes share the
// selected test; their assignments are saved when the test changes and when the mode is
// left, and leaving the mode also stops every player, so the device never goes on emitting
// while the practitioner works elsewhere.
class TreatmentPanel : public WorkPage
{
    Q_OBJECT
public:
    enum class SubMode { Color, Freq, Punct };

    TreatmentPanel(DataModule *data, Session *session, TestsModel *tests, DeviceLibrary *device,
                   QWidget *parent = nullptr);

    // The acupuncture page takes the place of the empty "PunctPanel".
    void setPunctPanel(QWidget *panel);
    // The text of the corridor percentage; by default the value stored in Options.ini.
    void setPercentSource(std::function<QString()> source);

    void enter() override;
    void leave() override;

    void showSubMode(SubMode mode);
    SubMode subMode() const { return m_mode; }
    // Selects a test of the current client: saves the assignments of the one before, then
    // shows the new one in both sub-modes.
    void selectTest(int codeTest);
    int selectedTest() const { return m_test; }
    // Saves what changed of the colour and frequency assignments; false (after a message)
    // when the base refused.
    bool saveAssignments();
    // The comment dialog of a test for the colour or the frequency sub-mode.
    void openComment(TherapyStore::Table table, int codeTest);

    ColorPanel *colorPanel() const { return m_color; }
    FreqPanel *freqPanel() const { return m_freq; }
    void stopPlayers();
    // The music player window (`TPlayer`), made at first use and owned by the page, so it
    // goes (and its music stops) with the main window. The "Music" button opens it.
    MusicPlayerForm *musicPlayer();
    void showMusicPlayer();
    // The colour or frequency programme as a picture for the report; false (nothing written)
    // when that sub-mode holds no programme or the file cannot be written.
    bool saveProgrammePicture(SubMode mode, const QString &path);

Q_SIGNALS:
    void entering();
    void leaving();

private:
    void buildPage();
    void fillDates();
    void showSelectedTest();
    void followSession(int codeTest);
    std::array<QString, 12> meridianNames() const;
    int percent() const;

    DataModule *m_data;
    Session *m_session;
    TestsModel *m_tests;
    DeviceLibrary *m_device;
    std::function<QString()> m_percentSource;
    TreatmentTab *m_tabs[3] = {nullptr, nullptr, nullptr};
    QStackedWidget *m_stack = nullptr;
    ColorPanel *m_color = nullptr;
    FreqPanel *m_freq = nullptr;
    QPointer<QWidget> m_punct;
    QPushButton *m_musicButton = nullptr;
    MusicPlayerForm *m_music = nullptr;
    SubMode m_mode = SubMode::Color;
    QString m_client;
    int m_test = 0;
    bool m_active = false;
};
