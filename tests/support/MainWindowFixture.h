#pragma once

#include "app/Hlavni_f.h"
#include "support/FindChild.h"
#include "support/TestDatabase.h"

#include <QVariant>
#include <memory>

// The settings of most tests of the main window: no password, no save question.
inline const QByteArray noSaveQuestion = "[konfig]\r\nhsl=0\r\nDialogUlozit=0\r\n";

// The main window started on a fresh program directory, on the engine the tests run on now,
// with the helpers the tests of its windows share.
struct MainWindowFixture
{
    TestDatabase database;
    ProgramDir& dir = database.dir();
    std::unique_ptr<THlavni> w;

    // Writes the settings file; start() creates and shows the window.
    explicit MainWindowFixture(const QByteArray& ini = noSaveQuestion);
    void start();
    // Replaces the settings file, keeping the program on the test's database.
    void writeIni(const QByteArray& ini) const { database.writeIni(ini); }

    Connection& connection() const;
    void exec(const QString& sql, const QVariantList& params = {});
    QVariant scalar(const QString& sql) const;
    // The first column of every row, joined by commas.
    QString column(const QString& sql) const;
    // A component of the main window; the test stops when there is none.
    template <class T = QWidget>
    T* find(const char* name, std::source_location where = std::source_location::current()) const
    {
        return child<T>(*w, name, where);
    }
    // The text of a label or a line edit.
    QString text(const char* name) const;
    void run(const char* command);
    bool enabled(const char* command) const;
    // Opens the customer in the main window.
    void open(int customerId);
    // Reads the category and activity-kind lists again after the test has filled them.
    void reloadLookups();
    // Customer 1's card "Kotel" (category Kotle, 12 months) with one activity of the kind
    // Revize, both from addKotleAndRevize(); the customer row itself is the test's own.
    void addCardWithActivity();
};
