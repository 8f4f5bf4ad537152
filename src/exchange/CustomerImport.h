#pragma once

#include <QString>

class Connection;

// Appends one new row to a table for every child node of an XML file's root element, in
// the shape the table export writes. Child elements are matched to columns by exact name;
// the first of two same-named elements counts; an empty element leaves its column empty;
// ids are always assigned anew. Each record is saved on its own, so an error stops the
// import at that record with the earlier ones kept. Throws AppError with the cause: the
// parser's reason and position, "Element does not contain a single text node", a
// conversion error, or the database's refusal.
void ImportovatXML(Connection& connection, const QString& path, const QString& table);
