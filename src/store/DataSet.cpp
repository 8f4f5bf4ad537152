#include "store/DataSet.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/GuardedUpdate.h"
#include "store/SqlDialect.h"

#include <QRegularExpression>

namespace {

const QString rowIdAlias = QStringLiteral("__rowid__");

bool isIdentifier(const QString& s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}

// "SELECT * FROM t ..." reads the row key of t too, so that changes can be written back.
QString withRowId(const QString& sql, const QString& table, const QString& key)
{
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+\\*"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    return out.replace(head, QStringLiteral("SELECT %1.%2 AS %3, *").arg(table, key, rowIdAlias));
}

} // namespace

DataSet::DataSet(Connection& connection, const QString& objectName, QObject* parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(objectName);
}

void DataSet::setTableName(const QString& table)
{
    m_command = table;
    m_params.clear();
    m_tableMode = true;
}

void DataSet::setCommandText(const QString& sql, const QVariantList& params)
{
    m_command = sql;
    m_params = params;
    m_tableMode = false;
}

void DataSet::clearCommand()
{
    m_command.clear();
    m_params.clear();
    m_tableMode = false;
}

void DataSet::open()
{
    if (m_command.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("Datová sada %1 nemá zadaný příkaz.").arg(objectName()));
    // The rows shown stay until the new ones are read, so that the views are reset once;
    // a failed read leaves the data set closed.
    try {
        readRows();
    } catch (...) {
        close();
        throw;
    }
}

void DataSet::readRows()
{
    QString sql;
    QString base;
    if (m_tableMode) {
        if (!isIdentifier(m_command))
            throw DatabaseError(QStringLiteral("Neplatný název tabulky: %1").arg(m_command));
        base = m_command;
        m_rowKey = m_connection.rowKey(base);
        sql = QStringLiteral("SELECT %1 AS %2, * FROM %3").arg(m_rowKey, rowIdAlias, base);
    } else {
        sql = SqlDialect::translate(m_command);
        base = SqlDialect::singleTableOf(sql);
        if (!base.isEmpty()) {
            m_rowKey = m_connection.rowKey(base);
            sql = withRowId(sql, base, m_rowKey);
        }
    }
    ResultSet result = m_connection.query(sql, m_params);

    m_baseTable = base;
    m_rowIdColumn = base.isEmpty() ? -1 : 0;
    m_fields = result.columns;
    if (m_rowIdColumn >= 0)
        m_fields.removeAt(m_rowIdColumn);
    // A table whose rows have no id of their own carries a hidden key on the server.
    int hiddenKey = -1;
    for (int i = 0; m_rowIdColumn >= 0 && i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(QStringLiteral("rowid"), Qt::CaseInsensitive) == 0)
            hiddenKey = i;
    if (hiddenKey >= 0)
        m_fields.removeAt(hiddenKey);
    indexFields();
    m_rows.clear();
    m_rowIds.clear();
    m_rows.reserve(result.rows.size());
    for (auto& stored : result.rows) {
        if (m_rowIdColumn >= 0)
            m_rowIds.append(stored.takeAt(m_rowIdColumn).toLongLong());
        if (hiddenKey >= 0)
            stored.removeAt(hiddenKey);
        for (int i = 0; i < stored.size(); ++i)
            FieldValues::adoptFromStorage(m_fields[i].kind, stored[i]);
        m_rows.append(std::move(stored));
    }
    m_cursor = m_rows.isEmpty() ? -1 : 0;
    m_buffer.clear();
    m_modified = false;
    m_state = State::Browse;
    emit rowsReset();
    setState(State::Browse);
    notifyData();
}

void DataSet::close()
{
    if (m_state == State::Closed)
        return;
    m_rows.clear();
    m_rowIds.clear();
    m_fields.clear();
    m_fieldsByName.clear();
    m_buffer.clear();
    m_cursor = -1;
    m_modified = false;
    m_state = State::Closed;
    emit rowsReset();
    setState(State::Closed);
}

void DataSet::refresh()
{
    requireOpen();
    const qint64 currentId = (m_cursor >= 0 && m_cursor < m_rowIds.size()) ? m_rowIds[m_cursor] : -1;
    const int oldCursor = m_cursor;
    disableControls();
    try {
        open();
        const int index = currentId >= 0 ? int(m_rowIds.indexOf(currentId)) : -1;
        moveCursor(index >= 0 ? index : std::min(oldCursor, int(m_rows.size()) - 1));
    } catch (...) {
        enableControls();
        throw;
    }
    enableControls();
}

void DataSet::readMore(const QString& sql, const QVariantList& params)
{
    requireOpen();
    if (!isReadOnly() || isEditing())
        throw DatabaseError(
            QStringLiteral("%1: další řádky lze přinačíst jen do datové sady pro čtení.").arg(objectName()));
    ResultSet result = m_connection.query(SqlDialect::translate(sql), params);
    if (result.columns.size() != m_fields.size())
        throw DatabaseError(QStringLiteral("%1: přinačtené řádky mají jiné sloupce.").arg(objectName()));
    for (auto& stored : result.rows) {
        for (int i = 0; i < stored.size(); ++i)
            FieldValues::adoptFromStorage(m_fields[i].kind, stored[i]);
        m_rows.append(std::move(stored));
    }
    if (m_cursor < 0 && !m_rows.isEmpty())
        m_cursor = 0;
    emit rowsReset();
    notifyData();
}

int DataSet::recNo() const
{
    if (m_state == State::Insert || m_cursor < 0)
        return 0;
    return m_cursor + 1;
}

bool DataSet::moveCursor(int index)
{
    if (m_rows.isEmpty())
        return true;
    index = std::clamp(index, 0, int(m_rows.size()) - 1);
    if (index == m_cursor)
        return true;
    m_cursor = index;
    notifyData();
    return true;
}

bool DataSet::checkBrowseMode()
{
    if (!isEditing())
        return true;
    if (m_modified)
        return post();
    cancel();
    return true;
}

bool DataSet::first()
{
    requireOpen();
    return checkBrowseMode() && moveCursor(0);
}

bool DataSet::prior()
{
    requireOpen();
    return checkBrowseMode() && moveCursor(std::max(m_cursor - 1, 0));
}

bool DataSet::next()
{
    requireOpen();
    return checkBrowseMode() && moveCursor(m_cursor + 1);
}

bool DataSet::last()
{
    requireOpen();
    return checkBrowseMode() && moveCursor(int(m_rows.size()) - 1);
}

bool DataSet::moveTo(int recNo)
{
    requireOpen();
    return checkBrowseMode() && moveCursor(recNo - 1);
}

bool DataSet::locate(const QString& name, const QVariant& wanted)
{
    requireOpen();
    const int column = fieldIndex(name);
    if (column < 0)
        throw DatabaseError(QStringLiteral("Pole „%1“ nebylo nalezeno.").arg(name));
    const QVariant key = FieldValues::normalize(m_fields[column].kind, wanted);
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row][column] == key)
            return checkBrowseMode() && moveCursor(row);
    }
    return false;
}

bool DataSet::append()
{
    requireWritable();
    if (!checkBrowseMode())
        return false;
    m_cursorBeforeInsert = m_cursor;
    m_buffer = QList<QVariant>(m_fields.size());
    m_changed = QBitArray(int(m_fields.size()));
    m_state = State::Insert;
    emit rowInserted(int(m_rows.size()));
    if (m_onNewRecord) {
        const bool wasDisabled = controlsDisabled();
        ++m_disableCount; // defaults are set silently, then announced with the new row
        try {
            m_onNewRecord();
        } catch (...) {
            --m_disableCount;
            if (!wasDisabled)
                m_stateChangedWhileDisabled = m_dataChangedWhileDisabled = false;
            cancel();
            throw;
        }
        --m_disableCount;
        if (!wasDisabled) {
            m_stateChangedWhileDisabled = false;
            m_dataChangedWhileDisabled = false;
        }
    }
    m_modified = false;
    setState(State::Insert);
    notifyData();
    return true;
}

bool DataSet::edit()
{
    requireWritable();
    if (isEditing())
        return true;
    if (m_rows.isEmpty())
        return append();
    m_buffer = m_rows[m_cursor];
    m_changed = QBitArray(int(m_fields.size()));
    m_modified = false;
    setState(State::Edit);
    notifyData();
    return true;
}

bool DataSet::post()
{
    if (!isEditing())
        return true;
    if (m_updateRecord)
        m_updateRecord();
    if (m_beforePost && !m_beforePost())
        return false;
    if (m_state == State::Insert)
        writeInsert();
    else
        writeUpdate();
    m_buffer.clear();
    m_modified = false;
    setState(State::Browse);
    notifyData();
    emit written();
    return true;
}

void DataSet::writeInsert()
{
    QStringList names;
    QStringList marks;
    QVariantList values;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].kind == ColumnKind::AutoKey || m_buffer[i].isNull())
            continue;
        names << m_fields[i].name;
        marks << QStringLiteral("?");
        values << FieldValues::toStorage(m_fields[i].kind, m_buffer[i]);
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_baseTable)
                            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(m_baseTable, names.join(QStringLiteral(", ")), marks.join(u','));
    const qint64 rowId = m_connection.insert(sql, values);
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].kind == ColumnKind::AutoKey)
            m_buffer[i] = rowId;
    m_rows.append(m_buffer);
    m_rowIds.append(rowId);
    m_cursor = int(m_rows.size()) - 1;
    m_state = State::Browse;
    emit rowUpdated(m_cursor);
}

void DataSet::writeUpdate()
{
    QList<std::pair<int, QVariant>> changes;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_changed.testBit(i) && m_fields[i].kind != ColumnKind::AutoKey)
            changes.append({i, m_buffer[i]});
    if (!changes.isEmpty()) {
        // Another program may have saved the row since it was read.
        GuardedUpdateResult result = updateIfUnchanged(m_connection, {m_baseTable, m_rowKey, m_fields},
                                                       m_rowIds[m_cursor], m_rows[m_cursor], changes);
        switch (result.outcome) {
        case GuardedUpdateResult::Outcome::Written:
            break;
        case GuardedUpdateResult::Outcome::DeletedMeanwhile:
            throw DatabaseError(deletedMeanwhileMessage());
        case GuardedUpdateResult::Outcome::ChangedMeanwhile:
            m_rows[m_cursor] = std::move(result.current);
            cancel();
            throw DatabaseError(changedMeanwhileMessage());
        }
    }
    m_rows[m_cursor] = m_buffer;
    m_state = State::Browse;
    emit rowUpdated(m_cursor);
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    const bool wasInsert = m_state == State::Insert;
    if (wasInsert)
        emit rowAboutToBeRemoved(int(m_rows.size()));
    m_buffer.clear();
    m_modified = false;
    m_state = State::Browse;
    if (wasInsert) {
        m_cursor = m_rows.isEmpty() ? -1 : std::clamp(m_cursorBeforeInsert, 0, int(m_rows.size()) - 1);
        emit rowRemoved(int(m_rows.size()));
    } else {
        emit rowUpdated(m_cursor);
    }
    setState(State::Browse);
    notifyData();
}

void DataSet::deleteRecord()
{
    requireWritable();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (m_rows.isEmpty())
        throw DatabaseError(QStringLiteral("Datová sada neobsahuje žádný záznam ke smazání."));
    const int deleted = m_connection.execute(
        QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_baseTable, m_rowKey), {m_rowIds[m_cursor]});
    removeCurrentRow();
    if (deleted == 0)
        throw DatabaseError(QStringLiteral("Záznam mezitím smazal jiný uživatel."));
    emit written();
}

void DataSet::removeCurrentRow()
{
    const int removed = m_cursor;
    emit rowAboutToBeRemoved(removed);
    m_rows.removeAt(removed);
    m_rowIds.removeAt(removed);
    m_cursor = std::min(removed, int(m_rows.size()) - 1);
    emit rowRemoved(removed);
    notifyData();
}

// The controls ask for their field by name at every change of row, and nearly always
// spell it as the schema does: those spellings are looked up at once.
void DataSet::indexFields()
{
    m_fieldsByName.clear();
    for (const ColumnInfo& field : std::as_const(m_fields))
        if (!m_fieldsByName.contains(field.name))
            m_fieldsByName.insert(field.name, caselessFieldIndex(field.name));
}

int DataSet::caselessFieldIndex(const QString& name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int DataSet::fieldIndex(const QString& name) const
{
    const auto known = m_fieldsByName.constFind(name);
    return known != m_fieldsByName.constEnd() ? *known : caselessFieldIndex(name);
}

const ColumnInfo& DataSet::field(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DatabaseError(QStringLiteral("%1: pole „%2“ nebylo nalezeno.").arg(objectName(), name));
    return m_fields[i];
}

const QList<QVariant>* DataSet::currentValuesOrNull() const
{
    if (isEditing())
        return &m_buffer;
    if (m_cursor >= 0 && m_cursor < m_rows.size())
        return &m_rows[m_cursor];
    return nullptr;
}

QVariant DataSet::value(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0) {
        if (m_state == State::Closed)
            return {};
        throw DatabaseError(QStringLiteral("%1: pole „%2“ nebylo nalezeno.").arg(objectName(), name));
    }
    const auto* values = currentValuesOrNull();
    return values ? values->at(i) : QVariant();
}

QString DataSet::text(const QString& name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? QString() : FieldValues::text(m_fields[i].kind, value(name));
}

void DataSet::setValue(const QString& name, const QVariant& v)
{
    requireOpen();
    if (!isEditing())
        throw DatabaseError(
            QStringLiteral("Datová sada %1 není v režimu editace ani vkládání.").arg(objectName()));
    const int i = fieldIndex(name);
    if (i < 0)
        throw DatabaseError(QStringLiteral("%1: pole „%2“ nebylo nalezeno.").arg(objectName(), name));
    const QVariant normalized = FieldValues::normalize(m_fields[i].kind, v);
    m_buffer[i] = normalized;
    m_changed.setBit(i);
    m_modified = true;
    emit rowUpdated(currentRow());
    notifyData(m_fields[i].name);
}

int DataSet::rowCount() const
{
    return int(m_rows.size()) + (m_state == State::Insert ? 1 : 0);
}

int DataSet::currentRow() const
{
    if (m_state == State::Insert)
        return int(m_rows.size());
    return m_cursor;
}

QVariant DataSet::rowValue(int row, int column) const
{
    if (column < 0 || column >= m_fields.size())
        return {};
    if (row == currentRow() && isEditing())
        return m_buffer.value(column);
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows[row].value(column);
}

void DataSet::disableControls()
{
    if (m_disableCount++ == 0)
        m_stateWhenDisabled = m_state;
}

void DataSet::enableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    // A state left and taken again meanwhile (reading the rows anew) is no change.
    const bool state = m_stateChangedWhileDisabled && m_state != m_stateWhenDisabled;
    const bool data = m_dataChangedWhileDisabled;
    m_stateChangedWhileDisabled = m_dataChangedWhileDisabled = false;
    if (state)
        emit stateChanged();
    if ((state && isOpen()) || data)
        emit dataChanged(QString());
}

void DataSet::requireOpen() const
{
    if (m_state == State::Closed)
        throw DatabaseError(QStringLiteral("Datová sada %1 není otevřená.").arg(objectName()));
}

void DataSet::requireWritable() const
{
    requireOpen();
    if (isReadOnly())
        throw DatabaseError(QStringLiteral("Datová sada %1 je jen pro čtení.").arg(objectName()));
}

void DataSet::setState(State state)
{
    m_state = state;
    if (controlsDisabled()) {
        m_stateChangedWhileDisabled = true;
        return;
    }
    emit stateChanged();
}

void DataSet::notifyData(const QString& field)
{
    if (controlsDisabled()) {
        m_dataChangedWhileDisabled = true;
        return;
    }
    emit dataChanged(field);
}
