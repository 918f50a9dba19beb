#include "TestFollower.h"

#include "Session.h"
#include "records/TestsModel.h"

TestFollower::TestFollower(Session *session, TestsModel *tests, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_tests(tests)
{
    connect(session, &Session::currentClientChanged, tests, &TestsModel::setClient);
    connect(tests, &QAbstractItemModel::modelReset, this, &TestFollower::takeNewest);
    tests->setClient(session->currentClient());
    takeNewest();
}

void TestFollower::takeNewest()
{
    m_session->setCurrentTest(m_tests->rowCount() > 0 ? m_tests->testAt(0).codeTest : 0);
}
