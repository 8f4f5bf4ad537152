#pragma once

#include <QStringList>

// The statements of an SQL script, as the database's own shell would run them one by one.
namespace SqlScript {

// Splits a script at the semicolons that end its statements, leaving out the comments
// ("--" to the end of the line). A semicolon inside a quoted text, inside a "$$" body of a
// server function, or inside the BEGIN … END body of a trigger ends nothing.
QStringList split(const QString& script);

// The statements of a script among the program's resources (":/store/…").
QStringList fromResource(const QString& path);

} // namespace SqlScript
