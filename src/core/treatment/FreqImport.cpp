#include "FreqImport.h"

#include "common/Cp1251.h"
#include "common/ErrorOut.h"
#include "common/SeparatedList.h"
#include "common/TextFile.h"
#include "records/DataModule.h"
#include "records/FreqDesRepository.h"

#include <QFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVariant>

FreqImport::Problem FreqImport::parseLine(const QString &line, QChar separator, Entry *entry,
                                          QString *item)
{
    const qsizetype hash = line.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return Problem::NoHash;
    // A leading number is the line's number in the source list, with its "." or ")".
    qsizetype start = 0;
    while (start < hash && line.at(start).isDigit())
        ++start;
    if (start > 0)
        while (start < hash && (line.at(start) == QLatin1Char('.') || line.at(start) == QLatin1Char(')')))
            ++start;
    const QString name = line.mid(start, hash - start).trimmed();
    if (item)
        *item = name;
    if (name.isEmpty())
        return Problem::EmptyName;
    if (name.size() > FreqDesRepository::MaxNameLength || !Cp1251::canEncode(name))
        return Problem::NameNotStorable;

    QStringList frequencies;
    for (const QString &piece : line.mid(hash + 1).split(separator)) {
        if (piece.trimmed().isEmpty())
            continue; // a closing separator
        // Units and blanks around the number fall away; two numbers in one piece ("10'20"
        // read with a comma) mean the wrong separator was chosen, not 1020 Hz.
        QString kept;
        int runs = 0;
        bool inRun = false;
        for (const QChar c : piece) {
            const bool part = c.isDigit() || c == QLatin1Char('.');
            if (part) {
                kept += c;
                runs += inRun ? 0 : 1;
            }
            inRun = part;
        }
        bool ok = false;
        kept.toDouble(&ok);
        if (!ok || runs != 1) {
            if (item)
                *item = piece.trimmed();
            return Problem::BadFrequency;
        }
        frequencies.append(kept);
    }
    if (frequencies.isEmpty())
        return Problem::NoFrequency;
    if (entry) {
        entry->disease = name;
        entry->frequencies = frequencies;
    }
    return Problem::None;
}

bool FreqImport::parseLines(const QStringList &lines, QChar separator, QList<Entry> *entries,
                            LineError *error)
{
    QList<Entry> read;
    QSet<QString> names;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty())
            continue;
        Entry entry;
        QString item;
        Problem problem = parseLine(lines.at(i), separator, &entry, &item);
        if (problem == Problem::None && names.contains(entry.disease.toCaseFolded()))
            problem = Problem::DuplicateName;
        if (problem != Problem::None) {
            if (error)
                *error = LineError{problem, i + 1, item};
            return false;
        }
        names.insert(entry.disease.toCaseFolded());
        read.append(entry);
    }
    if (entries)
        *entries = read;
    if (error)
        *error = LineError{};
    return true;
}

bool FreqImport::readFile(const QString &path, QStringList *lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = Cp1251::decodeEither(file.readAll());
    *lines = TextFile::splitLines(text);
    return true;
}

bool FreqImport::store(DataModule *data, const QList<Entry> &entries, Result *result, QString *error)
{
    if (!data || !data->isOpen()) {
        setError(error, QStringLiteral("The database is not open."));
        return false;
    }
    QSqlDatabase db = data->database();
    if (!db.transaction()) {
        setError(error, db.lastError().text());
        return false;
    }
    Result counts;
    bool ok = true;
    QString failure;
    {
        QSqlQuery query(db);
        for (const Entry &entry : entries) {
            const QString freq = SeparatedList::join(entry.frequencies);
            query.prepare(QStringLiteral("UPDATE FREQ_DES SET FREQ = ? WHERE TRIM(DESEASE) = ?"));
            query.addBindValue(freq);
            query.addBindValue(entry.disease);
            if (!query.exec()) {
                ok = false;
                failure = query.lastError().text();
                break;
            }
            if (query.numRowsAffected() > 0) {
                ++counts.updated;
                continue;
            }
            query.prepare(QStringLiteral("INSERT INTO FREQ_DES (DESEASE, FREQ, COMMENT) VALUES (?, ?, ?)"));
            query.addBindValue(entry.disease);
            query.addBindValue(freq);
            query.addBindValue(QString());
            if (!query.exec()) {
                ok = false;
                failure = query.lastError().text();
                break;
            }
            ++counts.added;
        }
    }
    if (!ok || !db.commit()) {
        if (ok)
            failure = db.lastError().text();
        db.rollback();
        setError(error, failure);
        return false;
    }
    if (result)
        *result = counts;
    return true;
}
