#pragma once

#include <QLabel>

class DataModule;
class QTimer;

// A note in the status strip while the last verified backup is older than seven days, or
// while there is none and the base holds clients; empty otherwise.
class BackupAgeLabel : public QLabel
{
    Q_OBJECT
public:
    explicit BackupAgeLabel(DataModule *data, QWidget *parent = nullptr);
    ~BackupAgeLabel() override;

    void refresh();
    // Every label shown, after a backup was made or the folder changed.
    static void refreshAll();

private:
    DataModule *m_data;
    QTimer *m_timer;
};
