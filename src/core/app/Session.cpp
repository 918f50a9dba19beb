#include "Session.h"

Session::Session(QObject *parent)
    : QObject(parent)
{
}

void Session::setCurrentClient(const QString &code)
{
    if (code == m_client)
        return;
    m_client = code;
    Q_EMIT currentClientChanged(code);
}

void Session::setCurrentTest(int codeTest)
{
    if (codeTest == m_test)
        return;
    m_test = codeTest;
    Q_EMIT currentTestChanged(codeTest);
}

void Session::setSelectedTestTime(const QDateTime &moment)
{
    if (moment == m_selectedTestTime)
        return;
    m_selectedTestTime = moment;
    Q_EMIT selectedTestTimeChanged(moment);
}

void Session::setWorkMode(int mode)
{
    if (mode == m_workMode)
        return;
    m_workMode = mode;
    Q_EMIT workModeChanged(mode);
}
