#pragma once

#include "WorkPage.h"

class DataModule;
class Session;
class QLabel;
class QListWidget;
class QPushButton;
class QTextBrowser;
class QWidget;

// The practitioner's information page, shown by the Internet button: the user manual, the
// first steps and keys, where the data lives with a backup of it, and about the program.
// Everything is on this computer, so the page opens at once and works offline.
class InternetPanel : public WorkPage
{
    Q_OBJECT
public:
    // The entries of the list on the left, in their order.
    enum Entry { Manual, Help, MyData, About };

    explicit InternetPanel(DataModule *data, Session *session = nullptr, QWidget *parent = nullptr);

    // Entering the page shows the manual.
    void enter() override;
    void showEntry(Entry entry);
    Entry currentEntry() const;

    // A help page of the install folder (Help/<language>/<name>); a language without its own
    // folder uses the English one.
    static QString helpFile(const QString &language, const QString &name);

    // Backs the data up into the backup folder, verified.
    void backUp();
    // Lists the backups and restores one.
    void restoreBackup();

private:
    void buildList();
    void bindTexts();
    void showCurrent();
    void showHelpFile(const QString &name);
    void showLastBackup();

    DataModule *m_data = nullptr;
    Session *m_session = nullptr;
    QListWidget *m_list = nullptr;
    QTextBrowser *m_browser = nullptr;
    QWidget *m_backupBar = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_lastBackup = nullptr;
    QPushButton *m_backupButton = nullptr;
    QPushButton *m_restoreButton = nullptr;
    QPushButton *m_folderButton = nullptr;
};
