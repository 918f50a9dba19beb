#pragma once

#include "localization/LanguageDraft.h"

#include <QDialog>
#include <QUrl>

class LanguageService;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The translation editor: every interface text of a language beside its English text, edited
// in place, saved as a language file, fetched from the maker's service, made current.
class TLangFormMain : public QDialog
{
    Q_OBJECT
public:
    enum Column { KeyColumn = 0, DefaultColumn, CurrentColumn };

    explicit TLangFormMain(QWidget *parent = nullptr);

    const LanguageDraft &draft() const { return m_draft; }
    LanguageService *service() const { return m_service; }
    // Loads a language into the grid (the English texts for a name without a file).
    void loadLanguage(const QString &name);

    void ButFindLanClick();
    void ButLoadLanClick();
    void ButLoadURLClick();
    void ButSaveLanClick();
    void ButCancelLanClick();
    void ButAcceptLanClick();

Q_SIGNALS:
    // The language was made current; the main window applies it.
    void languageAccepted(const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildWindow();
    void bindTexts();
    void fillLanguages(const QString &select);
    void fillGrid();
    std::optional<int> chosenCharset();
    QString text(const QString &key, const QString &fallback) const;

    LanguageDraft m_draft;
    LanguageService *m_service;
    QComboBox *m_languages = nullptr;
    QTableWidget *m_strings = nullptr;
    QLineEdit *m_find = nullptr;
    QLineEdit *m_name = nullptr;
    QComboBox *m_charset = nullptr;
    QPushButton *m_findButton = nullptr;
    QPushButton *m_loadButton = nullptr;
    QPushButton *m_urlButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_revertButton = nullptr;
    QPushButton *m_acceptButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    bool m_filling = false;
    bool m_placed = false; // placed at its first showing
};
