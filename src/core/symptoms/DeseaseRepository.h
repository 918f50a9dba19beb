#pragma once

#include "DeseaseRecord.h"

#include <QString>
#include <QStringList>

#include <optional>

class DataModule;

// The disease catalogue, table DESEASE. A disease is found by its trimmed name; every change
// is committed when it is made. Without an open base every call fails with a message and
// changes nothing.
class DeseaseRepository
{
public:
    static constexpr int MaxNameLength = 100; // width of NAME
    static constexpr int MaxDotsLength = 50;  // width of DOTS

    enum class AddResult { Added, EmptyName, NameTooLong, Duplicate, NoDots, DotsTooLong,
                           Unstorable, Failed };

    explicit DeseaseRepository(DataModule *data);

    bool isAvailable() const;

    // The trimmed names in alphabetical order (letter case aside).
    QStringList names(QString *error = nullptr) const;
    // The disease of that trimmed name; nothing when there is none (or on failure, with
    // `error` set).
    std::optional<DeseaseRecord> find(const QString &name, QString *error = nullptr) const;
    // Whether a disease of that trimmed name exists, letter case aside.
    bool exists(const QString &name, QString *error = nullptr) const;

    // Stores a new disease under its trimmed name. Refuses an empty or too long name, a name
    // that exists already (letter case aside), an empty or too long point list, and text the
    // base cannot hold (the information's rich text keeps such characters as HTML entities).
    // `unstorableField` names the column refused for Unstorable.
    AddResult add(const DeseaseRecord &record, QString *error = nullptr,
                  QString *unstorableField = nullptr);
    // Removes the disease of that trimmed name; false when there is none.
    bool remove(const QString &name, QString *error = nullptr);

    // Rich text with every character outside Windows-1251 written as an HTML entity, so
    // nothing is lost on the way into the base.
    static QString storableHtml(const QString &html);

private:
    bool ready(QString *error) const;

    DataModule *m_data;
};
