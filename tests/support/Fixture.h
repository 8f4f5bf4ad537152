#pragma once

#include "support/ProgramDir.h"
#include "uikit/AppContext.h"

// A program directory with an open connection and the run state around it, for windows
// tested without the main window.
struct OpenContext
{
    ProgramDir dir;
    AppContext context{dir.dir()};

    OpenContext() { context.connection.open(dir.path(QStringLiteral("Vestibor.mdb"))); }

    void exec(const QString& sql, const QVariantList& params = {}) { context.connection.execute(sql, params); }
    int count(const QString& table)
    {
        return context.connection.query(QStringLiteral("SELECT count(*) FROM ") + table).rows[0][0].toInt();
    }
};
