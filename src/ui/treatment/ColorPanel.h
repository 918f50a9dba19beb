#pragma once

#include "TreatmentDateList.h"
#include "records/TestRecord.h"
#include "ryodoraku/CorridorEvaluation.h"
#include "treatment/ColorAssignment.h"
#include "treatment/TherapyPlayer.h"

#include <QWidget>

#include <array>

class ColorSwatch;
class DeviceLibrary;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;
class QTimer;

// The colour sub-mode (`ColorPanel`): the test's 24 values and deviations by meridian
// (`MeridianGrid`), two colour shapes per channel, the palette, the colour sequence player
// (channel colours one after another) and the palette sender (palette colours one after
// another), both driving the device's light output.
class ColorPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ColorPanel(DeviceLibrary *device, QWidget *parent = nullptr);

    TreatmentDateList *dateList() const { return m_dates; }
    // Shows a test (none: an empty grid) with its corridor and the meridian names of the
    // settings (colour order, LU PC HT LV SP KI LI TH SI ST GB BL).
    void showTest(const TestRecord *test, const CorridorEvaluation &corridor,
                  const std::array<QString, 12> &meridianNames);
    // The stored assignment of the shown test; an empty or unreadable text clears the shapes.
    // Returns false for an unreadable one.
    bool loadAssignment(const QString &text);
    QString assignmentText() const { return m_assign.toText(); }
    bool isModified() const { return m_assign != m_saved; }
    void markSaved() { m_saved = m_assign; }
    const ColorAssignment &assignment() const { return m_assign; }

    // Palette and shapes as the mouse or keyboard choose them.
    void choosePalette(int index);      // 0..9 = Shape20..Shape29
    void chooseShape(int tag);          // 1..48
    int selectedTag() const { return m_selectedTag; }
    void clearSelectedSlot();

    TherapyPlayer &sequence() { return m_task; }
    TherapyPlayer &sender() { return m_send; }
    void playSequence();
    void playSender();
    void stopPlayers();

Q_SIGNALS:
    // A player of this page started: the other players of the device stop.
    void playStarted();

private:
    void buildPage();
    QWidget *buildPalette();
    QWidget *buildSequenceBox();
    QWidget *buildSenderBox();
    void wirePlayers();
    void showShapeColors();
    void showPlayingShape(int tag, bool playing);
    void showSenderFrame();
    ColorSwatch *shape(int tag) const;
    quint8 modulation() const;

    DeviceLibrary *m_device;
    TreatmentDateList *m_dates = nullptr;
    QTableWidget *m_grid = nullptr;
    std::array<ColorSwatch *, ColorAssignment::Slots> m_shapes{};
    std::array<ColorSwatch *, 10> m_palette{};
    std::array<QFrame *, 10> m_fon{};
    QFrame *m_colorShow = nullptr;
    QSpinBox *m_taskMin = nullptr, *m_taskSec = nullptr, *m_sendMin = nullptr, *m_sendSec = nullptr;
    QCheckBox *m_autoNext = nullptr, *m_twoColors = nullptr, *m_sendAutoNext = nullptr;
    QSlider *m_modulation = nullptr;
    QLabel *m_modulationValue = nullptr;
    QLabel *m_taskTime = nullptr, *m_sendTime = nullptr;
    QTimer *m_taskTimer = nullptr, *m_sendTimer = nullptr;

    ColorAssignment m_assign;
    ColorAssignment m_saved;
    int m_selectedTag = 0;
    int m_selectedPalette = -1;
    TherapyPlayer m_task;
    TherapyPlayer m_send;
    int m_playTag = 0;
    int m_sendIndex = 0;
};
