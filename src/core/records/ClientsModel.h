#pragma once

#include "ClientListEntry.h"
#include "ClientSearch.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>

class DataModule;

// The client list: key, name and surname of every card (or of those a search found), in the
// order the cards were made. Reloads by itself when the data module opens (unless told not to)
// and empties when it closes; a search stays in force over reloads until clearSearch().
class ClientsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { CodeColumn = 0, NameColumn, SurnameColumn, ColumnCount };
    enum Role { CodeRole = Qt::UserRole + 1 };

    // With `followOpening` off, the list is read only when reload() is called (a page that
    // reads it when it is entered spares the start a second read of every card).
    explicit ClientsModel(DataModule *data, QObject *parent = nullptr, bool followOpening = true);

    void reload();
    void setSearch(const ClientSearch &search);
    void clearSearch();
    bool isSearching() const { return m_search.has_value(); }

    // Column headings (the page gives them in the current language).
    void setHeaders(const QStringList &headers);

    const QList<ClientListEntry> &entries() const { return m_rows; }
    QString codeAt(int row) const;
    // The row of a key (exact, then without case); -1 when the list does not show it.
    int rowOfCode(const QString &code) const;
    // Quick find over the list shown: ClientSearch::quickFind.
    int quickFind(const QString &text, bool alsoSurname, int from = 0) const;

    // The message of the last failed read, empty after a good one.
    QString lastError() const { return m_error; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void clear();

    QPointer<DataModule> m_data;
    std::optional<ClientSearch> m_search;
    QList<ClientListEntry> m_rows;
    QStringList m_headers;
    QString m_error;
};
