#pragma once

#include "app/Application.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, with the program's Czech settings.
#define VESTIBOR_TEST_MAIN(TestClass)                                                                        \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        Application::setUpCzech();                                                                           \
        app.setFont(QFont(QStringLiteral("DejaVu Sans Condensed"), 8));                                      \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }

// The tests of the data layer: run once on the database file and once on the server.
#define VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestClass)                                                           \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        QApplication app(argc, argv);                                                                        \
        Application::setUpCzech();                                                                           \
        app.setFont(QFont(QStringLiteral("DejaVu Sans Condensed"), 8));                                      \
        int failures = 0;                                                                                    \
        for (const TestEngine engine : {TestEngine::File, TestEngine::Server}) {                             \
            currentTestEngine() = engine;                                                                    \
            if (engine == TestEngine::Server) {                                                              \
                const TestServerDatabase probe;                                                              \
                if (!probe.ok()) {                                                                           \
                    qWarning("FAIL: no test server: %s", qPrintable(probe.error()));                         \
                    ++failures;                                                                              \
                    continue;                                                                                \
                }                                                                                            \
            }                                                                                                \
            TestClass test;                                                                                  \
            failures += QTest::qExec(&test, argc, argv);                                                     \
        }                                                                                                    \
        return failures;                                                                                     \
    }
