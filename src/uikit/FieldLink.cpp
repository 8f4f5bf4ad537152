#include "uikit/FieldLink.h"

#include "store/DataSet.h"

FieldLink::FieldLink(QObject* control, std::function<void()> refresh)
    : QObject(control), m_refresh(std::move(refresh))
{
}

FieldLink::~FieldLink()
{
    if (m_source && m_control)
        m_source->unregisterControl(m_control);
}

void FieldLink::bind(DataSource* source, const QString& field)
{
    if (m_source) {
        disconnect(m_source, nullptr, this, nullptr);
        if (m_control)
            m_source->unregisterControl(m_control);
    }
    m_source = source;
    m_field = field;
    if (m_source) {
        connect(m_source, &DataSource::dataChanged, this, &FieldLink::onData);
        connect(m_source, &DataSource::stateChanged, this, [this] { m_refresh(); });
        if (m_control)
            m_source->registerControl(m_control);
    }
    m_refresh();
}

void FieldLink::setControl(DataControl* control)
{
    m_control = control;
    if (m_source && m_control)
        m_source->registerControl(m_control);
}

DataSet* FieldLink::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

bool FieldLink::isActive() const
{
    const DataSet* ds = dataSet();
    return ds && ds->isOpen() && ds->fieldIndex(m_field) >= 0;
}

bool FieldLink::canModify() const
{
    return isActive() && !dataSet()->isReadOnly();
}

const ColumnInfo* FieldLink::column() const
{
    if (!isActive())
        return nullptr;
    return &dataSet()->fields()[dataSet()->fieldIndex(m_field)];
}

QVariant FieldLink::value() const
{
    return isActive() ? dataSet()->value(m_field) : QVariant();
}

QString FieldLink::text() const
{
    return isActive() ? dataSet()->text(m_field) : QString();
}

void FieldLink::userBeginEdit()
{
    m_writing = true;
    try {
        m_source->beginUserEdit();
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
}

void FieldLink::userWrite(const QVariant& value)
{
    m_writing = true;
    try {
        m_source->beginUserEdit();
        if (dataSet()->isEditing())
            dataSet()->setValue(m_field, value);
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
}

void FieldLink::onData(const QString& field)
{
    if (field.isEmpty() || field.compare(m_field, Qt::CaseInsensitive) == 0)
        m_refresh();
}
