#pragma once

#include <QApplication>

// The application object: Czech regional settings and Qt's Czech translations, the
// program's font, and a last guard for errors that escape an event handler.
class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Czech regional settings and translations; also used by the tests.
    static void setUpCzech();
};
