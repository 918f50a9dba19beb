#pragma once

#include "treatment/Questionnaire.h"
#include "treatment/QuestionnaireAnswers.h"
#include "treatment/RecipeLine.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class DataModule;
class PunctGrid;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class RecipeView;
class Session;
class TestsModel;
struct TestRecord;

// The acupuncture sub-mode of the treatment page: a questionnaire of a nosological group and
// symptom pages kept per test, and the recipe it leads to (LO and source points of related
// meridians, the group's course and, for a meridian in excess, its course). The measured
// values of the test are shown beside it for reference.
class PunctPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PunctPanel(DataModule *data, Session *session, TestsModel *tests,
                        QWidget *parent = nullptr);

    // Entering the treatment mode: the test dates of the current client, the questionnaire
    // (built on the first call) and the answers of the chosen test.
    void prepare();
    // Leaving the mode or the test: stores the answers when a control was clicked since they
    // were loaded.
    void saveIfModified();
    // Evaluates the answers and shows the result. Without a chosen group nothing is shown and
    // `message` receives the text to tell the practitioner.
    RecipeLines evaluate(QString *message = nullptr);

    // The corridor percentage for the value grid; Options.ini [medium] val by default.
    void setPercentSource(std::function<QString()> source);

    // TreatmentLoad2Click / TreatmentSave2Click / TreatmentCount2Click.
    void TreatmentLoad2Click();
    void TreatmentSave2Click();
    void TreatmentCount2Click();
    // Shows questionnaire page n (0 = the groups); a number past the last page only hides
    // the page shown.
    void showPage(int page);

    const Questionnaire &questionnaire() const { return m_questionnaire; }
    QuestionnaireAnswers answers() const;
    bool isModified() const { return m_modified; }
    int shownTest() const { return m_shownTest; }
    int currentPage() const { return m_page; }
    RecipeView *resultView() const { return m_result; }

Q_SIGNALS:
    void pointRequested(const QString &code, const QWidget *label);

private:
    void buildFrame();
    void buildQuestionnaire();
    void rebuildForLanguage();
    void applyAnswers(const QuestionnaireAnswers &answers);
    void paintPageLabels();
    void controlClicked();
    void dateChanged(int index);
    void followSession(int codeTest);
    void showNoTests(bool none);
    const TestRecord *testAtIndex(int index) const;
    void loadShown();

    QPointer<DataModule> m_data;
    QPointer<Session> m_session;
    QPointer<TestsModel> m_tests;
    std::function<QString()> m_percentSource;

    Questionnaire m_questionnaire;
    QString m_language; // of the questionnaire built
    bool m_built = false;
    bool m_modified = false;
    bool m_filling = false;
    int m_shownTest = 0;
    QString m_shownClient;
    int m_page = -1;

    QComboBox *m_dateList = nullptr;
    QLabel *m_dateCaption = nullptr;
    QPushButton *m_count = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_load = nullptr;
    QLabel *m_noTests = nullptr;
    QWidget *m_body = nullptr;
    QScrollArea *m_pageList = nullptr;
    QWidget *m_pageListContents = nullptr;
    QStackedWidget *m_center = nullptr;
    QWidget *m_blank = nullptr;
    QScrollArea *m_resultBox = nullptr;
    RecipeView *m_result = nullptr;
    PunctGrid *m_grid = nullptr;
    QList<QPushButton *> m_pageLabels;
    QList<QScrollArea *> m_pages;
    QList<QRadioButton *> m_groupButtons;
    QList<QList<QCheckBox *>> m_symptomBoxes;
};
