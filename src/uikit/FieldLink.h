#pragma once

#include "store/ColumnKind.h"
#include "store/DataSource.h"

#include <QObject>
#include <QPointer>
#include <functional>

class DataSet;

// What a data-aware control shares: the data source and field it is bound to, the refresh
// when the field or the row changes, and the automatic editing when the user changes it.
class FieldLink : public QObject
{
    Q_OBJECT
public:
    // refresh is called whenever the control must show the field's value anew.
    FieldLink(QObject* control, std::function<void()> refresh);
    ~FieldLink() override;

    void bind(DataSource* source, const QString& field);
    void setControl(DataControl* control); // takes part in handing over pending input

    DataSource* source() const { return m_source; }
    DataSet* dataSet() const;
    const QString& fieldName() const { return m_field; }

    bool isActive() const;  // the set is open and has the field
    bool canModify() const; // active and the set can be written
    const ColumnInfo* column() const;
    QVariant value() const;
    QString text() const;

    // The user changed the control's value: start editing (an empty set inserts) and
    // write the value. Throws on a database refusal.
    void userWrite(const QVariant& value);
    // The user begins to change the control: editing starts, nothing is written yet.
    void userBeginEdit();
    // True while this link writes, so the control need not refresh from its own change.
    bool isWriting() const { return m_writing; }

private:
    void onData(const QString& field);

    std::function<void()> m_refresh;
    QPointer<DataSource> m_source;
    DataControl* m_control = nullptr;
    QString m_field;
    bool m_writing = false;
};
