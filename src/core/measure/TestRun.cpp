#include "measure/TestRun.h"

#include "app/Session.h"
#include "common/Clock.h"
#include "measure/DeviceFrame.h"
#include "measure/DeviceLibrary.h"
#include "records/DataModule.h"

TestRun::TestRun(DeviceLibrary *device, DataModule *data, Session *session, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_data(data)
    , m_session(session)
    , m_machine(device) {}

void TestRun::start(const MeasuringOrder &order, const Correction &correction) {
    m_grid.setOrder(order);
    m_machine.setCorrection(correction);
    m_machine.reset();
    m_leftByHand = false;
    m_pointIndex = 1;
    m_lastError.clear();
    clearCells();
    // The cursor starts on the first point of the order, so the first value measured lands in
    // its own channel whatever the order.
    moveToPoint();
}

bool TestRun::poll() {
    DeviceFrame frame;
    if (!m_device || !m_device->getData(&frame))
        return false;
    feed(frame);
    return true;
}

SamplingMachine::Step TestRun::feed(const DeviceFrame &frame) {
    const SamplingMachine::Step step = m_machine.feed(frame);
    if (step.cancelAutoNext)
        Q_EMIT autoNextCancelled();
    if (step.traceReset)
        Q_EMIT traceReset();
    if (step.sampleAdded)
        Q_EMIT sampleAdded(step.value, step.sample, step.samplePosition);
    if (step.pointFinished)
        setCellText(m_current, QString::number(step.pointValue));
    if (step.lifted && m_leftByHand) {
        // The point was left with the probe still on it; lifting it is no reason to move on.
        m_leftByHand = false;
    } else if (step.lifted && m_autoNextOn) {
        m_waitTicks = 0;
        if (m_grid.text(m_current) != QLatin1String("0"))
            Q_EMIT autoNextArmed(m_waitSeconds == 0 ? 10 : 1000);
    }
    return step;
}

TestRun::AutoNext TestRun::autoNextTick() {
    ++m_waitTicks;
    if (m_waitTicks < m_waitSeconds)
        return AutoNext::Waiting;
    Outcome outcome = advance();
    // Cells measured already (or typed in) are passed over.
    while (outcome == Outcome::NotFinished && TestGrid::holdsValue(m_grid.text(m_current)))
        outcome = advance();
    if (outcome == Outcome::Finished)
        return AutoNext::Finished;
    return outcome == Outcome::SaveFailed ? AutoNext::SaveFailed : AutoNext::Moved;
}

TestRun::Outcome TestRun::advance() {
    // An error belongs to the step that made it; an older one is never shown again.
    m_lastError.clear();
    Outcome outcome = Outcome::NotFinished;
    if (m_pointIndex < TestGrid::Cells) {
        ++m_pointIndex;
    } else if (const auto invalid = m_grid.firstInvalidCell()) {
        const int order = m_grid.orderOf(*invalid);
        if (order > 0)
            m_pointIndex = order;
        m_machine.reset();
        moveTo(*invalid);
        return Outcome::Invalid;
    } else if (save()) {
        outcome = Outcome::Finished;
        Q_EMIT traceReset();
    } else {
        outcome = Outcome::SaveFailed;
    }
    moveToPoint();
    return outcome;
}

void TestRun::previous() {
    if (m_pointIndex <= 1)
        return;
    --m_pointIndex;
    moveToPoint();
}

void TestRun::select(const GridCell &cell) {
    if (!TestGrid::isMeasuringCell(cell))
        return;
    const int order = m_grid.orderOf(cell);
    if (order > 0)
        m_pointIndex = order;
    moveTo(cell);
}

void TestRun::stepReadingPattern() {
    moveTo(TestGrid::nextInReadingPattern(m_current));
}

void TestRun::clearCells() {
    for (const GridCell &cell : TestGrid::cells())
        setCellText(cell, QString());
}

void TestRun::setCellText(const GridCell &cell, const QString &text) {
    if (!TestGrid::isMeasuringCell(cell) || m_grid.text(cell) == text)
        return;
    m_grid.setText(cell, text);
    Q_EMIT cellTextChanged(cell.col, cell.row, text);
}

void TestRun::moveTo(const GridCell &cell) {
    if (!(cell == m_current)) {
        // A point left half-measured must not carry its samples over to the next one; a
        // finished one still touched waits for the lift, which then does not advance again.
        if (m_machine.sampleCount() < SamplingMachine::Finished)
            m_machine.reset();
        else
            m_leftByHand = true;
    }
    m_current = cell;
    Q_EMIT currentCellChanged(cell.col, cell.row);
}

void TestRun::moveToPoint() {
    if (const auto cell = m_grid.cellOf(m_pointIndex))
        moveTo(*cell);
}

bool TestRun::save() {
    m_lastError.clear();
    if (!m_data || !m_session) {
        m_lastError = QStringLiteral("There is no database to store the test in.");
        return false;
    }
    TestRecord record = m_grid.toRecord();
    record.codeClient = m_session->currentClient();
    // Whole seconds: the moment is shown and matched as text elsewhere.
    QDateTime now = Clock::now();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    record.testDate = now;
    if (!m_data->saveTest(record, &m_lastError))
        return false;
    m_session->setSelectedTestTime(record.testDate);
    m_session->setCurrentTest(record.codeTest);
    Q_EMIT testSaved(record.codeTest);
    return true;
}
