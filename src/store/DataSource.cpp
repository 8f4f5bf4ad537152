#include "store/DataSource.h"

#include "store/DataControl.h"
#include "store/DataSet.h"

DataSource::DataSource(DataSet* dataSet, const QString& objectName, QObject* parent)
    : QObject(parent), m_dataSet(dataSet)
{
    setObjectName(objectName);
    connect(dataSet, &DataSet::stateChanged, this, &DataSource::stateChanged);
    connect(dataSet, &DataSet::dataChanged, this, &DataSource::dataChanged);
    dataSet->setUpdateRecord([this] { commitControls(); });
}

void DataSource::beginUserEdit()
{
    if (m_dataSet->state() == DataSet::State::Browse)
        m_dataSet->edit(); // an empty set starts a new row
}

void DataSource::registerControl(DataControl* control)
{
    if (!m_controls.contains(control))
        m_controls.append(control);
}

void DataSource::unregisterControl(DataControl* control)
{
    m_controls.removeAll(control);
}

void DataSource::commitControls()
{
    for (DataControl* control : std::as_const(m_controls))
        control->commitPending();
}
