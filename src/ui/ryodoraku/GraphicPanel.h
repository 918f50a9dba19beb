#pragma once

#include "app/WorkPage.h"
#include "records/TestRecord.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class DataModule;
class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QToolButton;
class DateField;
class PolarDiagram;
class ProgressChart;
class QVBoxLayout;
class Session;
class TestChart;
class TestsModel;

// The graphs work page (`GraphicPanel`): the current test as bars round its corridor, the two
// sides one after the other (GR1) or side by side (GR2), the client's ticked tests compared
// as lines (GR3), the raw values (GR4), a polar diagram of both sides (GR5), and the balance
// of the client's tests over a period (GR6). Redraws when the current test changes; every
// graph can be saved as a PNG picture.
class GraphicPanel : public WorkPage
{
    Q_OBJECT
public:
    static constexpr int MarkerCount = 20;
    static constexpr int GraphKinds = 6;
    static constexpr int ProgressKind = 6;

    GraphicPanel(DataModule *data, Session *session, TestsModel *tests, QWidget *parent = nullptr);

    // The text of the corridor percentage, read at every drawing. By default the value stored
    // in Options.ini ([medium] val); the main window may hand over the settings field.
    void setPercentSource(std::function<QString()> source);

    // Opening the mode: the date list of the client's tests, then graph 1.
    void enter() override;
    // GR1Click ... GR6Click.
    void showGraph(int kind);
    int graphKind() const { return m_kind; }
    // Redraws the graph of the chosen kind; false (and a message) when the percentage is not
    // usable, and the graph on screen stays as it was.
    bool redraw();
    // Saves the graph on screen as a PNG picture.
    bool saveGraph(const QString &path, QString *error = nullptr);

    TestChart *chart() const { return m_chart; }
    PolarDiagram *polar() const { return m_polar; }
    ProgressChart *progress() const { return m_progress; }
    QListWidget *dateList() const { return m_dateList; }

Q_SIGNALS:
    void graphDrawn(int kind);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildPage();
    void buildPeriod(QWidget *tools, QVBoxLayout *column);
    void drawProgress(int percent);
    QHash<int, QStringList> treatmentsOfClient() const;
    void bindTexts();
    void fillDateList();
    void placeMarkers();
    void onCurrentTestChanged();
    void onTestsReset();
    void onSaveClicked();
    std::optional<TestRecord> currentTest() const;
    QString dateText(const TestRecord &test) const;
    QString text(const QString &key, const QString &fallback) const;

    QPointer<DataModule> m_data;
    QPointer<Session> m_session;
    QPointer<TestsModel> m_tests;
    std::function<QString()> m_percentSource;
    int m_kind = 1;
    bool m_dirty = true;

    QButtonGroup *m_kinds = nullptr;
    QList<QToolButton *> m_kindButtons;
    QLabel *m_kindLabel = nullptr;
    QLabel *m_compareLabel = nullptr;
    QListWidget *m_dateList = nullptr;
    QList<QLabel *> m_markers;
    QPushButton *m_saveButton = nullptr;
    QStackedWidget *m_views = nullptr;
    TestChart *m_chart = nullptr;
    PolarDiagram *m_polar = nullptr;
    ProgressChart *m_progress = nullptr;
    QWidget *m_period = nullptr;
    QLabel *m_periodLabel = nullptr;
    QLabel *m_fromLabel = nullptr;
    QLabel *m_toLabel = nullptr;
    DateField *m_from = nullptr;
    DateField *m_to = nullptr;
};
