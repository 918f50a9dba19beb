#pragma once

// The checks made after each kill, with the program's own classes: the settings files are
// whole, the base opens, and every record holds what the journal says it must. What was read
// of records whose last save was under way is added to the journal, so later checks hold them
// to it.
//
// Runs in a process of its own: the embedded database engine may keep the base open after
// the connection is closed, and the next child would find it taken.

#include "CrashJournal.h"
#include "CrashLedger.h"
#include "CrashReadBack.h"

#include "app/AppPaths.h"
#include "common/CaseInsensitivePath.h"
#include "common/IniFile.h"
#include "records/DataModule.h"

#include <QFile>
#include <QFileInfo>

class CrashCheck
{
public:
    struct Result
    {
        QStringList losses;
        QStringList damage;
        bool opened = true; // false when the base does not open
    };

    static Result run(const QString &journal)
    {
        Result result;
        CrashLedger ledger;
        readJournal(journal, &ledger);
        result.damage = checkFiles();
        DataModule data;
        QString error;
        const QString base =
            CaseInsensitivePath::resolve(AppPaths::GetDataPath(), QStringLiteral("BASE.fdb"));
        if (!QFileInfo::exists(base))
            return result; // killed before the base was seeded
        if (!data.open(base, &error)) {
            result.damage.append(QStringLiteral("BASE.fdb does not open: ") + error);
            result.opened = false;
            return result;
        }
        CrashReadBack readBack(data);
        const CrashLedger::Outcome outcome =
            ledger.verify([&](const QString &kind, const QString &key, QString *problem) {
                return readBack.read(kind, key, problem);
            });
        result.losses = outcome.losses;
        result.damage += outcome.unreadable;
        CrashJournal out;
        if (!out.open(journal))
            result.damage.append(QStringLiteral("the journal cannot be written"));
        for (const CrashLedger::Reading &reading : outcome.settled)
            out.observe(reading.kind, reading.key, reading.digest);
        return result;
    }

private:
    static void readJournal(const QString &path, CrashLedger *ledger)
    {
        CrashJournal::dropPartialLine(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (const std::optional<JournalEntry> entry = JournalEntry::parse(line))
                ledger->add(*entry);
        }
    }

    static bool isIniLine(const QString &line)
    {
        QString key, value;
        const QString trimmed = line.trimmed();
        return trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))
               || IniFile::parseSectionHeader(line, nullptr)
               || IniFile::parseKeyLine(line, &key, &value);
    }

    // Problems of a settings file: the program writes it whole, every line closed by CRLF, and
    // a file whose seed had content keeps some.
    static QStringList fileProblems(const QString &name)
    {
        const bool mustHaveContent =
            QFileInfo(AppPaths::installFile(QStringLiteral("Q7/") + name)).size() > 0;
        QFile file(AppPaths::dataFile(name));
        if (!file.exists())
            return mustHaveContent ? QStringList{name + QStringLiteral(" is gone")} : QStringList();
        if (!file.open(QIODevice::ReadOnly))
            return {name + QStringLiteral(" cannot be read: ") + file.errorString()};
        const QByteArray bytes = file.readAll();
        if (bytes.isEmpty())
            return mustHaveContent ? QStringList{name + QStringLiteral(" is empty")}
                                   : QStringList();
        QStringList problems;
        if (bytes.contains('\0'))
            problems.append(name + QStringLiteral(" holds NUL bytes"));
        if (!bytes.endsWith("\r\n"))
            problems.append(name + QStringLiteral(" is cut short"));
        const QStringList lines = IniFile(file.fileName()).lines();
        for (int i = 0; i < lines.size(); ++i) {
            if (!isIniLine(lines.at(i)))
                problems.append(QStringLiteral("%1 line %2 is no INI line: %3")
                                    .arg(name)
                                    .arg(i + 1)
                                    .arg(lines.at(i).left(60)));
        }
        return problems;
    }

    static QStringList checkFiles()
    {
        QStringList problems = fileProblems(QStringLiteral("Options.ini"));
        problems += fileProblems(QStringLiteral("Remember.ini"));
        ReminderTimerSet timers;
        if (!CrashReadBack::loadTimers(&timers))
            problems.append(QStringLiteral("Remember.ini would be set aside as damaged"));
        return problems;
    }
};
