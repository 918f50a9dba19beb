#pragma once

#include <QObject>

#include <memory>

class QLocalServer;
class QLockFile;

// One workstation per data folder: the first program to start on a folder holds its lock; a
// second one is told so and asks the first to come to the front, instead of sharing the base
// and the settings files with it. A lock left by a program that has died is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // Takes the folder's lock and listens for later starts; false when another program holds
    // it (that program has been asked to come to the front).
    bool acquire();

Q_SIGNALS:
    // A later start on the same folder asked this program to show itself.
    void raiseRequested();

private:
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
