#pragma once

#include "app/Application.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QTest>

// Like QTEST_MAIN, with the program's Czech settings.
#define VESTIBOR_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char* argv[])                                                                               \
    {                                                                                                              \
        QApplication app(argc, argv);                                                                              \
        Application::setUpCzech();                                                                                 \
        app.setFont(QFont(QStringLiteral("DejaVu Sans Condensed"), 8));                                                      \
        TestClass test;                                                                                            \
        return QTest::qExec(&test, argc, argv);                                                                    \
    }

// The tests of the data layer: run once on the database file and once on the server.
#define VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestClass)                                                                 \
    int main(int argc, char* argv[])                                                                               \
    {                                                                                                              \
        QApplication app(argc, argv);                                                                              \
        Application::setUpCzech();                                                                                 \
        int failures = 0;                                                                                          \
        for (const TestEngine engine : {TestEngine::File, TestEngine::Server}) {                                   \
            currentTestEngine() = engine;                                                                          \
            TestClass test;                                                                                        \
            failures += QTest::qExec(&test, argc, argv);                                                           \
        }                                                                                                          \
        return failures;                                                                                           \
    }
