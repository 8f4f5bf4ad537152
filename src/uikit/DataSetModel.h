#pragma once

#include "store/DataSet.h"
#include <QAbstractTableModel>

#include <QPointer>

struct GridColumn
{
    QString field;
    QString title;
    int width = 64;
};

// The rows of a data set as a read-only table for a grid; the row being inserted shows
// at the end, the row being edited with its unsaved values.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return m_dataSet; }
    void setColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& columns() const { return m_columns; }
    void setRowIndicator(bool on) { m_rowIndicator = on; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void currentRowChanged(); // repaints the row indicator

private:
    void reset();
    void resolveColumns();

    QPointer<DataSet> m_dataSet;
    QList<GridColumn> m_columns;
    QList<int> m_fieldIndexes;
    int m_rowCount = 0;
    bool m_rowIndicator = false;
};
