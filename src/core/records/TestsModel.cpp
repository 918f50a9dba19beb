#include "TestsModel.h"

#include "DataModule.h"

TestsModel::TestsModel(DataModule *data, QObject *parent)
    : QAbstractTableModel(parent)
    , m_data(data)
{
    if (data) {
        connect(data, &DataModule::testsChanged, this, &TestsModel::onTestsChanged);
        connect(data, &DataModule::opened, this, &TestsModel::reload);
        connect(data, &DataModule::aboutToClose, this, &TestsModel::clear);
    }
}

void TestsModel::setClient(const QString &codeClient)
{
    m_client = codeClient;
    reload();
}

void TestsModel::reload()
{
    QList<TestRecord> tests;
    QString error;
    if (m_data && m_data->isOpen() && !m_client.trimmed().isEmpty())
        tests = m_data->testsOfClient(m_client, &error);
    beginResetModel();
    m_tests = tests;
    m_error = error;
    endResetModel();
}

void TestsModel::clear()
{
    if (m_tests.isEmpty())
        return;
    beginResetModel();
    m_tests.clear();
    endResetModel();
}

void TestsModel::onTestsChanged(const QString &codeClient)
{
    if (codeClient.compare(m_client, Qt::CaseInsensitive) == 0)
        reload();
}

int TestsModel::rowOfTest(int codeTest) const
{
    for (int row = 0; row < m_tests.size(); ++row) {
        if (m_tests.at(row).codeTest == codeTest)
            return row;
    }
    return -1;
}

int TestsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tests.size());
}

int TestsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TestsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const TestRecord &test = m_tests.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == CodeColumn)
            return test.codeTest;
        if (column == DateColumn)
            return test.testDate;
        return test.values[size_t(column - FirstChannelColumn)];
    case Qt::TextAlignmentRole:
        if (column == DateColumn)
            return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case CodeTestRole:
        return test.codeTest;
    default:
        return QVariant();
    }
}

QVariant TestsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == CodeColumn)
        return QStringLiteral("CODE_TEST");
    if (section == DateColumn)
        return QStringLiteral("TEST_DATE");
    return Channels::name(section - FirstChannelColumn);
}
