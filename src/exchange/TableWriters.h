#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class DataSet;
class QIODevice;

// The two file formats of the table export, written from the stored rows of a data set
// in its order, every field in field order. Both throw AppError when a value cannot be
// written or the device refuses the bytes.
namespace TableWriters {

// Which stored rows are written: every row in the set's order, or the listed row indexes in
// the listed order (what a window shows after its own filter and sort).
using RowSelection = std::optional<QList<int>>;

// UTF-8 XML: the fixed declaration line, the root element, one "zaznam" element per
// record and one element per field, two spaces of indentation per level, CR LF after
// every line, empty values as short empty elements; only &, < and > are escaped (and
// CR as a character reference, so that a line break reads back as it was). afterRecord
// runs after each record.
void writeXml(QIODevice& device, const DataSet& dataSet, const QString& rootName,
              const RowSelection& rows = {}, const std::function<void()>& afterRecord = {});

// Windows-1250 text: a header line of the field names, then one line per record, the
// values joined by "|"; "|" in a value becomes "_", CR and LF are removed, a character
// the code page lacks becomes "?". afterRecord runs after each record is written.
// Returns how many characters became "?".
qsizetype writeCsv(QIODevice& device, const DataSet& dataSet, const std::function<void()>& afterRecord = {},
                   const RowSelection& rows = {});

} // namespace TableWriters
