#pragma once

#include <QString>
#include <QStringList>

class DataModule;
class QWidget;

// The program's backups as the practitioner meets them: the backup at the first close of a
// day, "Back up now" and the choice of the backup folder. Each says how it ended.
class BackupActions
{
public:
    // A backup into the backup folder, with progress; `data` may be open (the engine backs up
    // the open base) or closed. With gbak missing, the base is copied as a whole instead (an
    // open base is closed for the copy and opened again). Returns whether a verified backup
    // was made; a failure has been reported, a cancel not.
    // `keep` names backups rotation must leave (the one about to be restored).
    static bool backUp(QWidget *parent, DataModule *data, const QStringList &keep = {});
    // At the first close of each day; the close goes on whatever happens.
    static void atClose(QWidget *parent, DataModule *data);
    // At the start, with the base open: rebuilds a base whose oldest interesting transaction
    // lies far behind (see BaseRebuild), with progress, and opens it again. Returns whether
    // the base is open; a rebuild that fails leaves it as it was, said in the status strip.
    static bool rebuildIfDue(QWidget *parent, DataModule *data, QString *error = nullptr);
    // Asks for another backup folder and stores it.
    static void chooseFolder(QWidget *parent);

    static QString text(const char *key, const char *english);
};
