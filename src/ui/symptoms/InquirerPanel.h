#pragma once

#include "app/WorkPage.h"
#include "symptoms/InquirerCategories.h"
#include "symptoms/InquirerFile.h"

#include <QList>
#include <QPointer>
#include <QString>

class DataModule;
class InquirerQuestion;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTextEdit;
class QVBoxLayout;
class Session;

// The inquiry page (`InquirerPanel`): the questionnaire of Inquirer.INI by diagnostic category,
// answered for the current client, saved under a date and time in table INQUIRER, read back,
// interpreted into `ResultMemo` and exported as a spreadsheet workbook.
//
// The questionnaire follows the interface language: Inquirer.<Language>.INI when it exists,
// else Inquirer.INI. Answers the user has given and not saved are offered for saving before
// they would be dropped (another mode, category, date, client or a new questionnaire).
class InquirerPanel : public WorkPage
{
    Q_OBJECT
public:
    InquirerPanel(DataModule *data, Session *session, QWidget *parent = nullptr);

    void enter() override;
    void leave() override;

    // What the page's controls do, also for the keyboard and for tests.
    void setCategory(int type);               // DiagnosticType
    void chooseDate(const QString &dateText); // SymptomDate
    void newQuestionnaire();                  // MakeNewButton
    bool save();                              // sBitBtn1: store, then offer the workbook
    void calculate();                         // sBitBtn2
    // Asks for a file name and writes the shown answer set as a workbook; false when
    // cancelled or failed (the user has been told why).
    bool exportAnswers();

    int category() const { return m_category; }
    QString dateText() const;
    // The answer string of the shown category ("2&0&1&#").
    QString answerString() const;
    QList<int> answers() const;
    const InquirerFile &questionnaire() const { return m_file; }
    InquirerCategories::Range range() const { return m_range; }
    // The rows of the shown category in order; question(i) by question index (null when not shown).
    const QList<InquirerQuestion *> &questions() const { return m_rows; }
    InquirerQuestion *question(int index) const;
    bool hasUnsavedAnswers() const { return m_dirty; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void bindTexts();
    void reloadQuestionnaire();
    void buildRows();
    // The tooltips of the rows and the note shown when there are none, in the current language.
    void showRowTexts();
    void fillDates();
    void showLatestOrNew();
    bool loadAnswers(const QString &dateText);
    void applyAnswers(const QList<int> &answers);
    void clearAnswers();
    void setDateText(const QString &text);
    // Saves pending answers under the date they were given for, if the user wants that.
    void offerToSave();
    bool storeAnswers(const QString &dateText);
    void onCategoryChosen(int index);
    void onDateChosen(int index);
    void onClientChanged();
    void onLanguageApplied();
    QString texts(const QString &key, const QString &fallback) const;

    QPointer<DataModule> m_data;
    QPointer<Session> m_session;
    InquirerFile m_file;
    InquirerCategories::Range m_range;
    int m_category = 0;
    QString m_client;   // the client whose answers are shown
    QString m_dateKey;  // the date text the shown answers belong to
    bool m_built = false;
    bool m_dirty = false;
    bool m_filling = false;
    QString m_exportFolder;

    QComboBox *m_type = nullptr;
    QComboBox *m_date = nullptr;
    QPushButton *m_newButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_calcButton = nullptr;
    QSplitter *m_splitter = nullptr;
    bool m_splitterPlaced = false;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_rowsBox = nullptr;
    QVBoxLayout *m_rowsLayout = nullptr;
    QLabel *m_emptyNote = nullptr;
    QTextEdit *m_result = nullptr;
    QList<InquirerQuestion *> m_rows;
};
