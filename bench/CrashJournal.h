#pragma once

// The journal the crash child keeps of its saves, and its reading by the harness.
//
// One line per event, tab-separated, each written with one write() and fsync'ed before the
// child goes on:
//   I <kind> <key> <digest>    a save is about to start (only for records that exist already)
//   C <kind> <key> <digest>    the save returned success: a confirmed save
//   F <kind> <key> <message>   the save returned failure (nothing is promised)
//   R <kind> <key> <digest>    written by the harness between children: the record was read
//                              back holding this value, which it must keep until its next save
// A kill can cut the last line short; the harness drops a line without its line end.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <optional>

struct JournalEntry
{
    enum class Type { Intent, Confirmed, Failed, Observed };
    Type type = Type::Confirmed;
    QString kind;
    QString key;
    QString digest; // the failure's message for Failed

    static std::optional<JournalEntry> parse(const QByteArray &line)
    {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() != 4 || parts.at(0).size() != 1)
            return std::nullopt;
        JournalEntry entry;
        switch (parts.at(0).at(0)) {
        case 'I':
            entry.type = Type::Intent;
            break;
        case 'C':
            entry.type = Type::Confirmed;
            break;
        case 'F':
            entry.type = Type::Failed;
            break;
        case 'R':
            entry.type = Type::Observed;
            break;
        default:
            return std::nullopt;
        }
        entry.kind = QString::fromUtf8(parts.at(1));
        entry.key = QString::fromUtf8(parts.at(2));
        entry.digest = QString::fromUtf8(parts.at(3));
        return entry;
    }
};

class CrashJournal
{
public:
    CrashJournal() = default;
    CrashJournal(const CrashJournal &) = delete;
    CrashJournal &operator=(const CrashJournal &) = delete;
    ~CrashJournal()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool open(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(),
                      O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
        return m_fd >= 0;
    }

    bool intend(const QString &kind, const QString &key, const QString &digest)
    {
        return append('I', kind, key, digest);
    }
    bool confirm(const QString &kind, const QString &key, const QString &digest)
    {
        return append('C', kind, key, digest);
    }
    bool observe(const QString &kind, const QString &key, const QString &digest)
    {
        return append('R', kind, key, digest);
    }
    bool fail(const QString &kind, const QString &key, QString message)
    {
        message.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        return append('F', kind, key, message);
    }

    // Cuts a line the kill left without its end, so the next child starts on a line of its own.
    // Returns the size of the whole lines.
    static qint64 dropPartialLine(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite))
            return 0;
        const QByteArray bytes = file.readAll();
        const qint64 whole = bytes.lastIndexOf('\n') + 1;
        if (whole < bytes.size())
            file.resize(whole);
        return whole;
    }

private:
    bool append(char type, const QString &kind, const QString &key, const QString &digest)
    {
        const QByteArray line = QByteArray(1, type) + '\t' + kind.toUtf8() + '\t' + key.toUtf8()
                                + '\t' + digest.toUtf8() + '\n';
        return m_fd >= 0 && ::write(m_fd, line.constData(), size_t(line.size())) == line.size()
               && ::fsync(m_fd) == 0;
    }

    int m_fd = -1;
};
