#pragma once

#include "records/TestExport.h"

#include <QObject>
#include <QPointer>

class DataModule;
class QWidget;
class TestExportRunner;

// "Export tests…": asks for the format and whether to leave out names, then for the file,
// and runs the export of one client's tests or of every client's.
class TestExportAction : public QObject {
    Q_OBJECT
public:
    TestExportAction(DataModule *data, QWidget *parent);

    // `client` empty: the tests of every client.
    void exportTests(const QString &client);
    bool isRunning() const;

Q_SIGNALS:
    void finished(const TestExport::Result &result);

private:
    static TestExportLabels labels();
    QString chooseFile(const QString &client, TestExport::Format format);

    QPointer<DataModule> m_data;
    QWidget *m_parent;
    TestExportRunner *m_runner;
};
