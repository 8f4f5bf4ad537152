#pragma once

#include "store/ColumnKind.h"

#include <QBitArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QVariant>
#include <functional>

class Connection;

// The rows of one table or query, held in memory, with a cursor and the editing states
// browse, edit and insert. Changes are written back to the one table of the set by its
// row id. Windows are written in terms of data sets; no widget is involved here.
class DataSet : public QObject
{
    Q_OBJECT
public:
    enum class State
    {
        Closed,
        Browse,
        Edit,
        Insert
    };

    DataSet(Connection& connection, const QString& objectName, QObject* parent = nullptr);

    Connection& connection() const { return m_connection; }

    // What open() reads: a whole table by name, or a query.
    void setTableName(const QString& table);
    void setCommandText(const QString& sql, const QVariantList& params = {});
    void clearCommand();
    QString commandText() const { return m_command; }
    QString baseTable() const { return m_baseTable; }
    bool isReadOnly() const { return m_baseTable.isEmpty(); }

    void open();
    void close();
    // Reads the rows again, keeping the current row where it still exists.
    void refresh();
    // Puts the rows of another query with the same columns after those read, in a set
    // that is only read; the cursor stays.
    void readMore(const QString& sql, const QVariantList& params = {});
    bool isOpen() const { return m_state != State::Closed; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool isModified() const { return m_modified; }

    // Stored rows only; the row being inserted is not counted.
    int recordCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Position of the current row from 1; 0 when the set is empty or a row is being inserted.
    int recNo() const;

    // Moves post a changed row first (validation may refuse, and then nothing moves) or
    // cancel an unchanged one. They return false when the move was refused.
    bool first();
    bool prior();
    bool next();
    bool last();
    bool moveTo(int recNo);
    bool locate(const QString& field, const QVariant& value);

    // Completes a pending edit: posts when something was changed, cancels otherwise.
    bool checkBrowseMode();

    bool append();
    bool edit();
    bool post(); // false when validation refused; throws DatabaseError when the database did
    void cancel();
    void deleteRecord();

    const QList<ColumnInfo>& fields() const { return m_fields; }
    int fieldIndex(const QString& name) const; // without regard to case; -1 when absent
    const ColumnInfo& field(const QString& name) const;
    QVariant value(const QString& name) const;
    QString text(const QString& name) const;
    bool isNull(const QString& name) const { return value(name).isNull(); }
    void setValue(const QString& name, const QVariant& value);

    // For grids: stored rows plus the row being inserted, which stands at the end.
    int rowCount() const;
    int currentRow() const; // index in rowCount() terms, -1 when there is none
    QVariant rowValue(int row, int column) const;

    // Validation before every post; returning false abandons the post silently.
    void setBeforePost(std::function<bool()> fn) { m_beforePost = std::move(fn); }
    // Default values of a new row; they do not count as a change.
    void setOnNewRecord(std::function<void()> fn) { m_onNewRecord = std::move(fn); }
    // Controls write what the user typed but has not handed over yet; may throw.
    void setUpdateRecord(std::function<void()> fn) { m_updateRecord = std::move(fn); }

    // While disabled, no state or data change reaches the controls; enabling sends one.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

signals:
    void stateChanged();
    // A field of the current row changed (its name), or the row or the whole set (empty).
    void dataChanged(const QString& field);
    // Structure of the rows, for grids; never suspended.
    void rowsReset();
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowUpdated(int row);
    // A row was saved to the database or deleted from it.
    void written();

private:
    void readRows();
    void indexFields();
    int caselessFieldIndex(const QString& name) const;
    void requireOpen() const;
    void requireWritable() const;
    void setState(State state);
    void notifyData(const QString& field = QString());
    bool moveCursor(int index);
    void writeInsert();
    void writeUpdate();
    void removeCurrentRow();
    const QList<QVariant>* currentValuesOrNull() const;

    Connection& m_connection;
    QString m_command;
    QVariantList m_params;
    bool m_tableMode = false;
    QString m_baseTable;
    QString m_rowKey;       // the column that keys the rows of the base table
    int m_rowIdColumn = -1; // hidden column with the row id in the fetched result

    QList<ColumnInfo> m_fields;
    QHash<QString, int> m_fieldsByName; // each field's own spelling
    QList<QList<QVariant>> m_rows;
    QList<qint64> m_rowIds;
    int m_cursor = -1;
    int m_cursorBeforeInsert = -1;

    State m_state = State::Closed;
    QList<QVariant> m_buffer;
    QBitArray m_changed;
    bool m_modified = false;

    std::function<bool()> m_beforePost;
    std::function<void()> m_onNewRecord;
    std::function<void()> m_updateRecord;

    int m_disableCount = 0;
    bool m_stateChangedWhileDisabled = false;
    State m_stateWhenDisabled = State::Closed;
    bool m_dataChangedWhileDisabled = false;
};
