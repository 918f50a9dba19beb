#pragma once

#include "TestRecord.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>

class DataModule;

// The tests of one client, newest first: column 0 the test key, column 1 the date, then the
// 24 channels in canonical order. Follows the current client through setClient() and reloads
// by itself when the data module stores a test of that client or closes.
class TestsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        CodeColumn = 0,
        DateColumn = 1,
        FirstChannelColumn = 2,
        ColumnCount = FirstChannelColumn + Channels::Count
    };
    enum Role { CodeTestRole = Qt::UserRole + 1 };

    explicit TestsModel(DataModule *data, QObject *parent = nullptr);

    QString client() const { return m_client; }
    // Shows the tests of a client; the code is compared without case. An empty code shows
    // nothing.
    void setClient(const QString &codeClient);
    void reload();
    // The message of the last failed read, empty after a good one.
    QString lastError() const { return m_error; }

    const TestRecord &testAt(int row) const { return m_tests.at(row); }
    const QList<TestRecord> &tests() const { return m_tests; }
    // The row of a test key; -1 when this client has no such test.
    int rowOfTest(int codeTest) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void onTestsChanged(const QString &codeClient);
    void clear();

    QPointer<DataModule> m_data;
    QString m_client;
    QList<TestRecord> m_tests;
    QString m_error;
};
