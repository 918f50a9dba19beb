#pragma once

#include "TreatmentDateList.h"
#include "records/TestRecord.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "treatment/PowerRules.h"
#include "treatment/TherapyPlayer.h"

#include <QWidget>

#include <array>
#include <functional>

class DataModule;
class DeviceLibrary;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;
class QTimer;
class QToolButton;

// The frequency sub-mode (`FreqPanel`): the test's deviations per channel with a frequency
// edit for each (`LeftFreqGrid`/`RightFreqGrid`, `LE1`..`LE12`, `RE1`..`RE12`), the disease
// frequency catalogue (`DeseaseList`, `FreqList`), the output power (by hand or by the rule
// table) and the frequency player.
class FreqPanel : public QWidget
{
    Q_OBJECT
public:
    FreqPanel(DataModule *data, DeviceLibrary *device, QWidget *parent = nullptr);

    TreatmentDateList *dateList() const { return m_dates; }
    void showTest(const TestRecord *test, const CorridorEvaluation &corridor,
                  const std::array<QString, 12> &meridianNames);
    // The stored table of the shown test; empty clears it. False for an unreadable text.
    bool loadAssignment(const QString &text);
    QString assignmentText() const;
    bool isModified() const { return assignmentText() != m_savedText; }
    void markSaved() { m_savedText = assignmentText(); }
    // A frequency list to play, or a frequency in the per-channel table.
    bool hasProgramme() const;

    // The disease catalogue, read again (after an import, on entering the mode).
    void reloadDiseases();
    // Shows the diseases whose name holds the search text (all for an empty one).
    void findDiseases();
    void setOptionsPath(const QString &path) { m_optionsPath = path; }

    QDoubleSpinBox *frequencyEdit(int index) const { return m_edits[size_t(index)]; } // 0..23: LE1.., RE1..
    TherapyPlayer &player() { return m_player; }
    void play();
    void stopPlayers() { m_player.stop(); }
    // The power for a frequency as the player would send it (moves PowerBar under the rules).
    int powerFor(double hz);

Q_SIGNALS:
    void playStarted();

protected:
    // The edit that takes the focus becomes the selected one.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPage();
    QWidget *buildGrid(bool left);
    QWidget *buildDiseaseBox();
    QWidget *buildPlayerBox();
    QWidget *buildPowerBox();
    void wirePlayer();
    void showDisease();
    void moveEdit(bool left, int step);
    QString currentText() const;
    int nextTableIndex(int from) const;
    void openRules();
    void loadRules();

    DataModule *m_data;
    DeviceLibrary *m_device;
    QString m_optionsPath;
    TreatmentDateList *m_dates = nullptr;
    QTableWidget *m_grids[2] = {nullptr, nullptr};
    std::array<QDoubleSpinBox *, 24> m_edits{};
    QLineEdit *m_search = nullptr;
    QListWidget *m_diseases = nullptr;
    QPlainTextEdit *m_comment = nullptr;
    QListWidget *m_freqList = nullptr;
    QLineEdit *m_freqFreq = nullptr;
    QSpinBox *m_min = nullptr, *m_sec = nullptr;
    QCheckBox *m_autoNext = nullptr, *m_useTable = nullptr;
    QLabel *m_time = nullptr;
    QSlider *m_powerBar = nullptr;
    QSpinBox *m_powerEdit = nullptr;
    QToolButton *m_algoritmOn = nullptr;
    QTimer *m_timer = nullptr;

    QStringList m_allDiseases;
    QString m_savedText;
    int m_tableIndex = 0;   // the selected (or playing) edit
    int m_playTable = 0;
    int m_playRow = 0;
    bool m_playingTable = false;
    PowerRules m_rules;
    TherapyPlayer m_player;
};
