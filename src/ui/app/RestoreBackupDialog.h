#pragma once

#include "app/BackupStore.h"

#include <QDialog>

class DataModule;
class Session;
class QPushButton;
class QTableWidget;

// "Restore a backup...": the backups of the backup folder with their date, clients, tests and
// whether they were verified; restores the chosen one after a confirmation, backing up the
// current state first. The base is replaced only when the restored file opens and holds the
// counts the backup was made with; the program then works on the restored base.
class RestoreBackupDialog : public QDialog
{
    Q_OBJECT
public:
    RestoreBackupDialog(DataModule *data, Session *session, QWidget *parent = nullptr);

    void reload();
    // Restores the backup of the row; false when nothing was changed.
    bool restoreRow(int row);

private:
    DataModule *m_data;
    Session *m_session;
    QTableWidget *m_table;
    QPushButton *m_restore;
    QList<BackupStore::Entry> m_entries;
};
