#pragma once

#include "app/DataFolderSetup.h"
#include "app/Session.h"
#include "common/Clock.h"
#include "records/ClientRepository.h"
#include "records/DataModule.h"
#include "schedule/SoundOutput.h"
#include "TestEnvironment.h"

#include <QFile>
#include <QStringList>
#include <QWidget>

// Helpers of the schedule window tests: a profile with a base and clients, and a sound output
// that records instead of playing, so no audio device is needed.
namespace ScheduleTestSupport {

template <typename T> T *child(QObject *parent, const QString &name)
{
    T *widget = parent->findChild<T *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

class FakeSound : public SoundOutput
{
public:
    bool play(const QString &path) override
    {
        played.append(path);
        return true;
    }
    void stop() override { ++stops; }
    void beep() override { ++beeps; }
    void finishNow() { notifyFinished(); }

    QStringList played;
    int stops = 0;
    int beeps = 0;
};

struct Profile
{
    TestEnvironment env;
    DataModule data;
    Session session;
    Profile()
    {
        DataFolderSetup::run(); // Remember.ini and the language files
        const QString base = env.scratch(QStringLiteral("b")) + QStringLiteral("/BASE.fdb");
        QFile::copy(TestEnvironment::installDir() + QStringLiteral("/Q7/BASE.fdb"), base);
        QFile(base).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QString error;
        if (!data.open(base, &error))
            qFatal("base: %s", qPrintable(error));
    }
    ~Profile() { Clock::setNow({}); }
    QString addClient(const QString &name, const QString &surname)
    {
        ClientCard c;
        c.name = name;
        c.surname = surname;
        c.birthday = QDate(1975, 5, 6);
        c.sex = QStringLiteral("1");
        ClientRepository(&data).addCard(c, QString(), QDate(2026, 1, 1));
        return c.code;
    }
    // A file that stands for a sound (the fake output never decodes it).
    QString soundFile(const QString &name = QStringLiteral("bell.wav")) const
    {
        const QString path = env.scratch(QStringLiteral("sounds")) + QLatin1Char('/') + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("RIFF");
        return path;
    }
};

} // namespace ScheduleTestSupport
