#pragma once

#include "app/Application.h"

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
