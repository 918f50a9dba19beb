#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// The state that several pages share: the current client, the current test, the selected
// test moment and the work mode. Pages listen to its signals instead of reaching into each
// other; setting a value to what it already is emits nothing.
class Session : public QObject
{
    Q_OBJECT
public:
    explicit Session(QObject *parent = nullptr);

    QString currentClient() const { return m_client; }
    int currentTest() const { return m_test; } // CODE_TEST, 0 when none
    QDateTime selectedTestTime() const { return m_selectedTestTime; }
    int workMode() const { return m_workMode; }

    void setCurrentClient(const QString &code);
    void setCurrentTest(int codeTest);
    void setSelectedTestTime(const QDateTime &moment);
    void setWorkMode(int mode);

Q_SIGNALS:
    void currentClientChanged(const QString &code);
    void currentTestChanged(int codeTest);
    void selectedTestTimeChanged(const QDateTime &moment);
    void workModeChanged(int mode);

private:
    QString m_client;
    int m_test = 0;
    QDateTime m_selectedTestTime;
    int m_workMode = 0;
};
