#pragma once

#include "support/TestDatabase.h"
#include "uikit/AppContext.h"

// A program directory with an open connection, on the engine the tests run on now, and the
// run state around it, for windows tested without the main window.
struct OpenContext
{
    TestDatabase database;
    ProgramDir& dir = database.dir();
    AppContext context{dir.dir()};

    OpenContext() { database.open(context.connection); }

    void writeIni(const QByteArray& ini) const { database.writeIni(ini); }

    void exec(const QString& sql, const QVariantList& params = {})
    {
        context.connection.execute(sql, params);
    }
    int count(const QString& table)
    {
        return context.connection.query(QStringLiteral("SELECT count(*) FROM ") + table).rows[0][0].toInt();
    }
};
