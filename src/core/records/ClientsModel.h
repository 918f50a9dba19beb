#pragma once

#include "ClientListEntry.h"
#include "ClientSearch.h"

#include <QAbstractTableModel>
#include <QFutureWatcher>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class DataModule;

// The client list: key, name and surname of every card (or of those a search found), in the
// order the cards were made. Reloads by itself when the data module opens (unless told not to)
// and empties when it closes; a search stays in force over reloads until clearSearch().
// The read that follows an opening may run in a worker thread on a connection of its own, so a
// base of many cards does not hold the window; any later reload supersedes it.
class ClientsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { CodeColumn = 0, NameColumn, SurnameColumn, ColumnCount };
    enum Role { CodeRole = Qt::UserRole + 1 };

    // With `followOpening` off, the list is read only when reload() is called (a page that
    // reads it when it is entered spares the start a second read of every card).
    explicit ClientsModel(DataModule *data, QObject *parent = nullptr, bool followOpening = true);
    ~ClientsModel() override;

    void reload();
    // The next reload that follows an opening reads in a worker thread.
    void setReadOpeningInBackground(bool background) { m_background = background; }
    // True while a read in a worker thread is under way.
    bool isLoading() const { return m_loading; }
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

Q_SIGNALS:
    void loadingChanged(bool loading);

private:
    void clear();
    void followOpening();
    void show(const QList<ClientListEntry> &rows, const QString &error);
    void setLoading(bool loading);

    QPointer<DataModule> m_data;
    std::optional<ClientSearch> m_search;
    QList<ClientListEntry> m_rows;
    QStringList m_headers;
    QString m_error;
    bool m_background = false;
    bool m_loading = false;
    // Every read or clearing counts up; a worker's result for an older count is dropped.
    int m_generation = 0;
    QFutureWatcher<std::pair<QList<ClientListEntry>, QString>> *m_watcher = nullptr;
};
