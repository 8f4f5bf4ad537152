#pragma once

#include <QList>
#include <QObject>

class DataControl;
class DataSet;

// Links a data set to its controls. Editing is automatic: input into a bound control of a
// browsed row starts editing it, or inserting a new row when the set is empty.
class DataSource : public QObject
{
    Q_OBJECT
public:
    DataSource(DataSet* dataSet, const QString& objectName, QObject* parent = nullptr);

    DataSet* dataSet() const { return m_dataSet; }

    // Called by a control when the user changes its value: brings the set into editing.
    void beginUserEdit();

    void registerControl(DataControl* control);
    void unregisterControl(DataControl* control);

signals:
    void stateChanged();
    void dataChanged(const QString& field);

private:
    void commitControls();

    DataSet* m_dataSet;
    QList<DataControl*> m_controls;
};
