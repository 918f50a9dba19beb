#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

class DataModule;

// Import of a disease frequency file into FREQ_DES. A line reads
//     [number] disease name # f1 <sep> f2 <sep> ...
// with "," or "'" as separator; of each frequency only its digits and "." are kept
// ("12.5 Hz" gives "12.5"). Empty lines are passed over. The whole file is checked before
// anything is written and then written in one transaction: a malformed line writes nothing.
class FreqImport
{
public:
    struct Entry
    {
        QString disease;
        QStringList frequencies;
    };
    enum class Problem { None, NoHash, EmptyName, NameNotStorable, NoFrequency, BadFrequency, DuplicateName };
    struct LineError
    {
        Problem problem = Problem::None;
        int line = 0;        // 1-based line number in the file
        QString item;        // the offending frequency or name
    };
    struct Result
    {
        int added = 0;
        int updated = 0;     // diseases already in the catalogue get the file's frequencies
    };

    static Problem parseLine(const QString &line, QChar separator, Entry *entry, QString *item = nullptr);
    // Every line; the first malformed one stops the parse and is described in `error`.
    static bool parseLines(const QStringList &lines, QChar separator, QList<Entry> *entries,
                           LineError *error);
    // The file's text: UTF-8 when it is valid UTF-8 with a BOM or with non-ASCII letters,
    // otherwise Windows-1251. False when it cannot be read.
    static bool readFile(const QString &path, QStringList *lines);

    // Writes the entries in one transaction, committed at the end; on any failure it is rolled
    // back and `error` holds the database's message.
    static bool store(DataModule *data, const QList<Entry> &entries, Result *result,
                      QString *error = nullptr);
};
