#pragma once

#include <QObject>

class Session;
class TestsModel;

// Keeps the test list on the current client: when the client changes, the list shows that
// client's tests and the newest becomes the current test (none for a client without tests).
class TestFollower : public QObject
{
    Q_OBJECT
public:
    TestFollower(Session *session, TestsModel *tests, QObject *parent = nullptr);

private:
    void takeNewest();

    Session *m_session;
    TestsModel *m_tests;
};
