#include "uikit/DataSetModel.h"

#include "store/DataSet.h"

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DataSetModel::setDataSet(DataSet* dataSet)
{
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &DataSet::rowsReset, this, &DataSetModel::reset);
        connect(m_dataSet, &DataSet::rowInserted, this, [this](int row) {
            beginInsertRows(QModelIndex(), row, row);
            m_rowCount = m_dataSet->rowCount();
            endInsertRows();
        });
        connect(m_dataSet, &DataSet::rowAboutToBeRemoved, this,
                [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
        connect(m_dataSet, &DataSet::rowRemoved, this, [this](int) {
            m_rowCount = m_dataSet->rowCount();
            endRemoveRows();
        });
        connect(m_dataSet, &DataSet::rowUpdated, this, [this](int row) {
            if (row >= 0 && row < m_rowCount && !m_columns.isEmpty())
                emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
        });
    }
    reset();
}

void DataSetModel::setColumns(const QList<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    resolveColumns();
    endResetModel();
}

void DataSetModel::reset()
{
    beginResetModel();
    m_rowCount = m_dataSet ? m_dataSet->rowCount() : 0;
    resolveColumns();
    endResetModel();
}

void DataSetModel::resolveColumns()
{
    m_fieldIndexes.clear();
    for (const GridColumn& c : std::as_const(m_columns))
        m_fieldIndexes.append(m_dataSet ? m_dataSet->fieldIndex(c.field) : -1);
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !m_dataSet || !index.isValid() || index.row() >= m_rowCount)
        return {};
    const int field = m_fieldIndexes.value(index.column(), -1);
    if (field < 0)
        return {};
    return FieldValues::text(m_dataSet->fields()[field].kind, m_dataSet->rowValue(index.row(), field));
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return m_columns.value(section).title;
    if (m_rowIndicator && m_dataSet && section == m_dataSet->currentRow())
        return QStringLiteral("▶");
    return QString();
}

void DataSetModel::currentRowChanged()
{
    if (m_rowIndicator && m_rowCount > 0)
        emit headerDataChanged(Qt::Vertical, 0, m_rowCount - 1);
}
