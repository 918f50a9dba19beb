#pragma once

#include "app/DataFolderSetup.h"
#include "app/Session.h"
#include "records/TestsModel.h"
#include "SeedBase.h"

#include <array>

// What a page that shows a client's tests needs: a profile with its language files, a fresh
// client base, the test list and the session.
struct ClientTests
{
    TestEnvironment env;
    DataModule data;
    TestsModel tests{&data};
    Session session;

    ClientTests()
    {
        DataFolderSetup::run();
        openSeedBase(env, data);
    }
    // Stores a test with these values; returns its key, 0 when it could not be stored.
    int add(const QDateTime &when, const std::array<int, Channels::Count> &values,
            const QString &client = QStringLiteral("Q71"))
    {
        TestRecord test;
        test.codeClient = client;
        test.testDate = when;
        test.values = values;
        return data.saveTest(test) ? test.codeTest : 0;
    }
    // The client becomes the current one, its tests listed.
    void choose(const QString &client = QStringLiteral("Q71"))
    {
        tests.setClient(client);
        session.setCurrentClient(client);
    }
};
