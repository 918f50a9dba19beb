#pragma once

#include "measure/SamplingMachine.h"
#include "measure/TestGrid.h"

#include <QObject>
#include <QString>

class DataModule;
class DeviceFrame;
class DeviceLibrary;
class Session;

// One test of the 24 points: the entry grid, the current point (`PointIndex`) and the grid
// cursor, the sampling of the current point, the advance from point to point with its
// completeness check, and the saving of a complete test. The page owns the timers and drives
// this with poll() every 100 ms and autoNextTick() while an advance is pending; everything
// it must draw or start arrives as a signal.
class TestRun : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        NotFinished, // moved on to the next point
        Invalid,     // the last point was passed but a cell is not valid; the cursor is on it
        Finished,    // the test was stored
        SaveFailed,  // the test is complete but could not be stored; see lastError()
    };
    enum class AutoNext { Waiting, Moved, Finished, SaveFailed };

    // All may be null: without a device nothing is polled, without a base nothing is stored.
    TestRun(DeviceLibrary *device, DataModule *data, Session *session, QObject *parent = nullptr);

    // A new test: the order and correction to use, every cell emptied, the first point
    // current. The order must be complete (the settings refuse any other).
    void start(const MeasuringOrder &order, const Correction &correction);

    // One sampling tick: polls the device and feeds the frame. False when the device is lost.
    bool poll();
    SamplingMachine::Step feed(const DeviceFrame &frame);

    // One tick of the pending advance: waits `WaitSeconds` ticks, then advances past every
    // cell that already holds a value.
    AutoNext autoNextTick();
    Outcome advance();
    void previous();
    // A cell chosen with the mouse becomes the current point.
    void select(const GridCell &cell);
    // Moves the cursor one step along the reading pattern (after a finished test).
    void stepReadingPattern();
    void clearCells();
    // A value typed into a cell.
    void setCellText(const GridCell &cell, const QString &text);

    const TestGrid &grid() const { return m_grid; }
    int pointIndex() const { return m_pointIndex; }
    GridCell currentCell() const { return m_current; }
    SamplingMachine &machine() { return m_machine; }
    QString lastError() const { return m_lastError; }

    void setAutoNext(bool on) { m_autoNextOn = on; }
    bool autoNext() const { return m_autoNextOn; }
    void setWaitSeconds(int seconds) { m_waitSeconds = seconds; }
    int waitSeconds() const { return m_waitSeconds; }
    void setSound(bool on) { m_machine.setSound(on); }
    void setCorrection(const Correction &correction) { m_machine.setCorrection(correction); }

Q_SIGNALS:
    void currentCellChanged(int col, int row);
    void cellTextChanged(int col, int row, const QString &text);
    void traceReset();
    // `value` the converted reading (it colours the chart), `corrected` the value drawn.
    void sampleAdded(int value, int corrected, int position);
    void autoNextArmed(int intervalMs);
    void autoNextCancelled();
    void testSaved(int codeTest);

private:
    void moveTo(const GridCell &cell);
    void moveToPoint();
    bool save();

    DeviceLibrary *m_device;
    DataModule *m_data;
    Session *m_session;
    SamplingMachine m_machine;
    TestGrid m_grid;
    GridCell m_current{1, 1};
    int m_pointIndex = 1;
    bool m_autoNextOn = true;
    int m_waitSeconds = 0;
    int m_waitTicks = 0;
    bool m_leftByHand = false; // moved off a finished point before the probe was lifted
    QString m_lastError;
};
