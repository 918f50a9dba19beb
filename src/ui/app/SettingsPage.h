#pragma once

#include <array>

#include "app/StartPassword.h"
#include "records/FreqDesRepository.h"
#include "WorkPage.h"

#include <QPointer>

class DataModule;
class SharedBaseBox;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;

// The settings mode (`SettingsPanel`): meridian names and the measuring order, the corridor
// percentage, the test options, the start password, the interface language, and the
// frequency lists of the diseases (FREQ_DES). Options.ini is read when the page is made (and
// by load()); SaveSettings writes it. The disease editor works on the open base and is
// disabled while there is none.
class SettingsPage : public WorkPage
{
    Q_OBJECT
public:
    // The corridor percentage as the field shows it now, saved or not: every evaluation reads it.
    QString percentText() const;
    // The sound-signal box as it stands, saved or not.
    bool soundSignal() const;
    explicit SettingsPage(DataModule *data, QWidget *parent = nullptr);

    // Fills the disease list and the language list.
    void enter() override;
    // Stores the comment of the selected disease.
    void leave() override;

    // Shows the values of Options.ini.
    void load();
    // Runs the save of the SaveSettings button.
    void save();
    // The calibration button is usable once something answers calibrateRequested().
    void setCalibrationAvailable(bool available);

    QString selectedDisease() const { return m_selectedDisease; }

Q_SIGNALS:
    // Options.ini was written; views that read the corridor or the order take them again.
    void settingsSaved();
    // The language `name` was stored as current in Options.ini; the windows should apply it.
    void languageChosen(const QString &name);
    void calibrateRequested();

private:
    QWidget *buildMeridianBox();
    QWidget *buildTestBox();
    QWidget *buildPasswordBox();
    QWidget *buildLanguageBox();
    QWidget *buildFrequencyBox();
    void bindTexts();

    void showPasswordState();
    void updateOldIndicator();
    void showOldMatch(bool match);
    void updateConfirmIndicator();

    void fillLanguages();
    void chooseLanguage(int index);
    void editLanguages();

    void updateEditorState();
    void fillDiseases(const QString &select = QString());
    void diseaseRowChanged(int row);
    void loadSelectedDisease();
    void storeComment();
    void addDisease();
    void deleteDisease();
    void addFrequency();
    void deleteFrequency();
    void showFrequencies(int select);
    void baseAboutToClose();
    FreqDesRepository repo() const;
    // A text of the interface language, or `fallback` while the language lacks it.
    static QString shown(const QString &key, const QString &fallback = QString());
    // An open base that is not on its way to closing.
    bool baseAvailable() const;

    QPointer<DataModule> m_data;
    StartPassword m_password;
    bool m_passwordFromCopy = false; // Options.ini lost it; the copy beside it is shown
    QString m_selectedDisease;
    QString m_loadedComment; // the selected disease's comment as the memo got it
    bool m_filling = false;  // the disease list is being refilled: no selection handling
    bool m_baseClosing = false;

    QTableWidget *m_grid = nullptr;
    QSpinBox *m_percent = nullptr;
    QCheckBox *m_askPassword = nullptr;
    QLineEdit *m_oldPassword = nullptr;
    QLineEdit *m_newPassword = nullptr;
    QLineEdit *m_confirm = nullptr;
    QLabel *m_oldMatch = nullptr;
    // The language's names of the meridians, shown where Options.ini has none.
    std::array<QString, 12> m_defaultNames;
    QLabel *m_oldMismatch = nullptr;
    QLabel *m_confirmMatch = nullptr;
    QLabel *m_confirmMismatch = nullptr;
    QCheckBox *m_sound = nullptr;
    QLineEdit *m_testInfo = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_calibrateButton = nullptr;
    QComboBox *m_languages = nullptr;
    QListWidget *m_diseaseList = nullptr;
    QListWidget *m_freqList = nullptr;
    QLineEdit *m_addDisease = nullptr;
    QLineEdit *m_addFreq = nullptr;
    QToolButton *m_addDiseaseButton = nullptr;
    QToolButton *m_deleteDiseaseButton = nullptr;
    QToolButton *m_addFreqButton = nullptr;
    QToolButton *m_deleteFreqButton = nullptr;

    // Labels and boxes whose texts come from the language.
    QWidget *m_meridianBox = nullptr;
    QWidget *m_testBox = nullptr;
    QWidget *m_passwordBox = nullptr;
    QWidget *m_languageBox = nullptr;
    QWidget *m_frequencyBox = nullptr;
    SharedBaseBox *m_sharedBase = nullptr;
    QPushButton *m_langEditButton = nullptr;
    QLabel *m_percentLabel = nullptr;
    QLabel *m_testInfoLabel = nullptr;
    QLabel *m_oldLabel = nullptr;
    QLabel *m_newLabel = nullptr;
    QLabel *m_confirmLabel = nullptr;
    QLabel *m_diseaseLabel = nullptr;
    QLabel *m_freqLabel = nullptr;
    QLabel *m_memoLabel = nullptr;
};
