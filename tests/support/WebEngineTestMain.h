#pragma once

#include "common/WebEngineSetup.h"

#include <QApplication>
#include <QtTest>

// main() of a test that opens a web view: the program's own preparation, and a quiet engine
// without a GPU.
#define VANDREL_WEBENGINE_TEST_MAIN(TestClass)                                                   \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        WebEngineSetup::prepareBeforeApplication();                                              \
        if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))                            \
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-logging");            \
        QApplication app(argc, argv);                                                            \
        TestClass test;                                                                          \
        return QTest::qExec(&test, argc, argv);                                                  \
    }
