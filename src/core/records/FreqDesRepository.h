#pragma once

#include <QString>
#include <QStringList>

class DataModule;

// The disease frequency catalogue, table FREQ_DES: a disease name (DESEASE), its frequencies
// (FREQ, a separated list "10&12.5&#") and a comment. A disease is found by its trimmed name;
// every change is committed when it is made. Without an open base every call fails with a
// message and changes nothing.
class FreqDesRepository
{
public:
    static constexpr int MaxNameLength = 200; // width of DESEASE

    enum class AddResult { Added, EmptyName, Duplicate, Unstorable, Failed };

    explicit FreqDesRepository(DataModule *data);

    bool isAvailable() const;

    // Trimmed names, each once, in alphabetical order (letter case aside).
    QStringList diseases(QString *error = nullptr) const;
    bool contains(const QString &disease, QString *error = nullptr) const;

    QStringList frequencies(const QString &disease, QString *error = nullptr) const;
    // Refuses an item that would break the list (it holds "&" or "#").
    bool setFrequencies(const QString &disease, const QStringList &frequencies,
                        QString *error = nullptr);

    // The comment, trimmed.
    QString comment(const QString &disease, QString *error = nullptr) const;
    bool setComment(const QString &disease, const QString &comment, QString *error = nullptr);

    // A new disease without frequencies. Refuses an empty name, a name that exists already
    // (letter case aside) and one the base cannot hold (too long, or with characters outside
    // Windows-1251).
    AddResult addDisease(const QString &name, QString *error = nullptr);
    // Removes the disease (every row of that name).
    bool deleteDisease(const QString &disease, QString *error = nullptr);

private:
    bool ready(QString *error) const;
    // The FREQ and COMMENT of the first row of that name; false when there is none.
    bool readRow(const QString &disease, QString *freq, QString *comment, QString *error) const;
    bool update(const QString &column, const QString &disease, const QString &value,
                QString *error);

    DataModule *m_data;
};
