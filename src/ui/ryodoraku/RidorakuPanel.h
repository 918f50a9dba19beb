#pragma once

#include "app/WorkPage.h"
#include "ryodoraku/ChannelCatalogue.h"
#include "ryodoraku/ChannelFilter.h"
#include "ryodoraku/ChannelMarks.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <functional>

class AnatomyController;
class DataModule;
class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class Session;
class TestsModel;
class TRiodoracuFrame;
struct TestRecord;

// The Ryodoraku work page (`RidorakuPanel`, work mode 4): the client's test dates, a Symptoms
// tab with one channel card per evaluated channel, sorted by deviation and filtered by side,
// yin/yang and conduction, and an Analysis tab. The symptom ticks belong to the test on
// screen: they are stored under it whenever the page leaves it, and brought back with it.
class RidorakuPanel : public WorkPage
{
    Q_OBJECT
public:
    static constexpr unsigned OnColor = 0x97F3CB;    // Windows order: blue, green, red
    static constexpr unsigned BuiltColor = 0xD4D4D4;

    RidorakuPanel(DataModule *data, Session *session, TestsModel *tests,
                  QWidget *parent = nullptr);

    // The text of the corridor percentage, read at every build. By default the value stored in
    // Options.ini ([medium] val); the main window may hand over the settings field.
    void setPercentSource(std::function<QString()> source);

    // Opening the mode: the date list, the selected date, the cards of its test.
    void enter() override;
    // Leaving the mode: the ticks are stored under the test on screen.
    void leave() override;
    void relayout() override;

    // RidorakuDateChange: the user chose the date list entry `index`.
    void RidorakuDateChange(int index);
    // sLabel8Click / AnalLabelClick.
    void sLabel8Click();
    void AnalLabelClick();
    bool analysisShown() const { return m_analysis; }
    // LeftOrganClick for any of the six pair toggles, AllCondClick for AllCond.
    void LeftOrganClick(const QString &toggle);
    void AllCondClick();
    // Rebuilds the cards of the same test with the filters as they now stand.
    void ShowSymptomsClick();

    bool toggleOn(const QString &toggle) const { return m_on.value(toggle); }
    ChannelFilter::Toggles toggles() const;
    // The cards in slot order.
    const QList<TRiodoracuFrame *> &cards() const { return m_cards; }
    // CODE_TEST of the test the cards belong to; 0 when none.
    int shownTest() const { return m_shownTest; }
    QComboBox *dateList() const { return m_dateList; }
    QScrollArea *box() const { return m_box; }
    // What the empty box says; empty while cards are shown.
    QString emptyHint() const;
    // The analysis window takes the Analysis tab's place; the page keeps it. Without one set,
    // the page makes its TAnalForm when the Analysis tab is first opened.
    void setAnalysisView(QWidget *view);
    QWidget *analysisView() const { return m_analysisView; }
    // The anatomy display behind cb3D.
    AnatomyController *anatomy() const { return m_anatomy; }

    // The display text of a test date in the date list.
    static QString dateText(const QDateTime &moment);

Q_SIGNALS:
    // cb3D is ticked, or the date changed while it is: the anatomy display should show this test.
    void anatomyRequested(int codeTest);
    // cb3D was unticked.
    void anatomyClosed();
    // The Analysis tab shows this test (0: none).
    void analysisTestChanged(int codeTest);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildPage();
    void bindTexts();
    QLabel *makeToggle(const QString &name);
    void setToggle(const QString &name, bool on);
    void paintShowSymptoms(bool built);
    void paintTabs();
    void layoutFilterBar();
    void layoutCards();

    const TestRecord *selectedTest() const;
    // The mark operations, in the one order the page uses them.
    void captureShown();
    void saveUnder(int codeTest);
    void destroyCards();
    void loadFor(int codeTest);
    bool buildCards(const TestRecord *test);
    void showEmptyHint(const TestRecord *test, bool built);
    void applyToShown();
    void showSelected();
    void updateAnalysis();
    void request3D();
    // Opens the anatomy display on test `codeTest` (0: none); unticks cb3D without the library.
    void SpeedButton8Click(int codeTest);

    QPointer<DataModule> m_data;
    QPointer<Session> m_session;
    QPointer<TestsModel> m_tests;
    std::function<QString()> m_percentSource;
    ChannelCatalogue m_catalogue;
    ChannelMarks m_marks;
    QList<TRiodoracuFrame *> m_cards;
    int m_shownTest = 0;
    QString m_shownClient;
    // A test whose stored ticks could not be read: its blank cards must not overwrite them.
    int m_unreadMarksTest = 0;
    bool m_analysis = false;
    bool m_filling = false;

    QWidget *m_topBar = nullptr;
    QComboBox *m_dateList = nullptr;
    QLabel *m_dateCaption = nullptr;
    QLabel *m_symptomsTab = nullptr;
    QLabel *m_analysisTab = nullptr;
    QCheckBox *m_cb3D = nullptr;
    QWidget *m_filterBar = nullptr;
    QLabel *m_showSymptoms = nullptr;
    QHash<QString, QLabel *> m_toggles;
    QHash<QString, bool> m_on;
    QScrollArea *m_box = nullptr;
    QWidget *m_boxContents = nullptr;
    // Said in the empty box when there is nothing to show: no test, or no channel passes.
    QLabel *m_emptyHint = nullptr;
    QWidget *m_analysisHost = nullptr;
    QLabel *m_analysisPlaceholder = nullptr;
    QPointer<QWidget> m_analysisView;
    AnatomyController *m_anatomy = nullptr;
};
