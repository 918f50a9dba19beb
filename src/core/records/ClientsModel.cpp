#include "ClientsModel.h"

#include "ClientRepository.h"
#include "DataModule.h"

#include <QtConcurrent/QtConcurrentRun>

ClientsModel::ClientsModel(DataModule *data, QObject *parent, bool followOpening)
    : QAbstractTableModel(parent)
    , m_data(data)
    , m_headers{QStringLiteral("ID"), QStringLiteral("Name"), QStringLiteral("Surname")} {
    if (data) {
        if (followOpening)
            connect(data, &DataModule::opened, this, &ClientsModel::followOpening);
        connect(data, &DataModule::aboutToClose, this, &ClientsModel::clear);
    }
}

ClientsModel::~ClientsModel() {
    // A worker still reading holds a connection to the base: let it end before the program
    // goes on to close the base.
    if (m_watcher)
        m_watcher->waitForFinished();
}

void ClientsModel::reload() {
    ++m_generation;
    setLoading(false);
    QList<ClientListEntry> rows;
    QString error;
    if (m_data && m_data->isOpen()) {
        const ClientRepository repo(m_data);
        rows = m_search ? repo.find(*m_search, &error) : repo.list(&error);
    }
    show(rows, error);
}

void ClientsModel::followOpening() {
    if (!m_background) {
        reload();
        return;
    }
    const int generation = ++m_generation;
    if (!m_watcher)
        m_watcher = new QFutureWatcher<std::pair<QList<ClientListEntry>, QString>>(this);
    else
        m_watcher->disconnect(this);
    connect(m_watcher, &QFutureWatcherBase::finished, this, [this, generation] {
        if (generation != m_generation)
            return; // a later read or a closing came first
        setLoading(false);
        const auto result = m_watcher->result();
        show(result.first, result.second);
    });
    setLoading(true);
    m_watcher->setFuture(QtConcurrent::run([path = m_data->path(), search = m_search] {
        QString error;
        QList<ClientListEntry> rows = ClientRepository::listAt(path, search, &error);
        return std::pair{rows, error};
    }));
}

void ClientsModel::show(const QList<ClientListEntry> &rows, const QString &error) {
    beginResetModel();
    m_rows = rows;
    m_error = error;
    endResetModel();
}

void ClientsModel::setLoading(bool loading) {
    if (m_loading == loading)
        return;
    m_loading = loading;
    Q_EMIT loadingChanged(loading);
}

void ClientsModel::setSearch(const ClientSearch &search) {
    m_search = search;
    reload();
}

void ClientsModel::clearSearch() {
    m_search.reset();
    reload();
}

void ClientsModel::clear() {
    ++m_generation;
    setLoading(false);
    // The base is about to close (perhaps to be replaced): no second connection may stay.
    if (m_watcher)
        m_watcher->waitForFinished();
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void ClientsModel::setHeaders(const QStringList &headers) {
    m_headers = headers;
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

QString ClientsModel::codeAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).code : QString();
}

int ClientsModel::rowOfCode(const QString &code) const {
    if (code.isEmpty())
        return -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).code == code)
            return row;
    }
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).code.trimmed().compare(code.trimmed(), Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

int ClientsModel::quickFind(const QString &text, bool alsoSurname, int from) const {
    return ClientSearch::quickFind(m_rows, text, alsoSurname, from);
}

int ClientsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ClientsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ClientsModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const ClientListEntry &entry = m_rows.at(index.row());
    if (role == CodeRole)
        return entry.code;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    switch (index.column()) {
    case CodeColumn:
        return entry.code;
    case NameColumn:
        return entry.name;
    case SurnameColumn:
        return entry.surname;
    default:
        return QVariant();
    }
}

QVariant ClientsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size())
        return m_headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
