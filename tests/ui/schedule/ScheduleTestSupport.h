#pragma once

#include "ChildWidget.h"
#include "ClientTests.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "schedule/MessageTextWindow.h"
#include "schedule/SoundOutput.h"

#include <QFile>
#include <QStringList>

// Helpers of the schedule window tests: answers to the dialogs, a profile with a base and
// clients, and a sound output that records instead of playing, so no audio device is needed.
namespace ScheduleTestSupport {

// Answers the program's dialogs: questions with `answer`, file dialogs with `file`.
struct Answers
{
    QString answer = QStringLiteral("yes");
    QString file;
    QList<Dialogs::Request> asked;
    Answers()
    {
        Dialogs::setHandler([this](const Dialogs::Request &r) {
            asked.append(r);
            return r.kind == Dialogs::Kind::OpenFile ? file : answer;
        });
        MessageTextWindow::setHandler([this](const QString &) { return messageText; });
    }
    ~Answers()
    {
        Dialogs::clearHandler();
        MessageTextWindow::clearHandler();
    }
    QStringList texts(Dialogs::Kind kind) const
    {
        QStringList list;
        for (const Dialogs::Request &r : asked) {
            if (r.kind == kind)
                list.append(r.text);
        }
        return list;
    }
    QString messageText;
};

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

// A profile with Remember.ini, the language files and a fresh base.
struct Profile : ClientTests
{
    ~Profile() { Clock::setNow({}); }
    QString addClient(const QString &name, const QString &surname)
    {
        return ::addClient(data, name, surname);
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
