#include "uikit/DBGrid.h"

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "uikit/Guard.h"

#include <QHeaderView>

DBGrid::DBGrid(QWidget* parent, const QString& objectName) : QTableView(parent)
{
    setObjectName(objectName);
    m_model = new DataSetModel(this);
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setOptions({});
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!m_following && current.isValid())
                    onUserRow(current.row());
            });
}

void DBGrid::setOptions(const Options& options)
{
    horizontalHeader()->setVisible(options.titles);
    verticalHeader()->setVisible(options.rowIndicator);
    if (options.rowIndicator)
        verticalHeader()->setFixedWidth(14);
    m_model->setRowIndicator(options.rowIndicator);
    setShowGrid(options.lines);
}

void DBGrid::bind(DataSource* source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    m_model->setDataSet(source ? source->dataSet() : nullptr);
    if (m_source) {
        connect(m_source, &DataSource::dataChanged, this, [this](const QString& field) {
            if (field.isEmpty())
                followDataSet();
        });
        connect(m_source, &DataSource::stateChanged, this, &DBGrid::followDataSet);
    }
    followDataSet();
}

void DBGrid::setColumns(const QList<GridColumn>& columns)
{
    m_model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i)
        setColumnWidth(i, columns[i].width);
    followDataSet();
}

QList<int> DBGrid::columnWidths() const
{
    QList<int> widths;
    for (int i = 0; i < m_model->columnCount(); ++i)
        widths << columnWidth(i);
    return widths;
}

void DBGrid::followDataSet()
{
    DataSet* ds = m_model->dataSet();
    const int row = ds && ds->isOpen() ? ds->currentRow() : -1;
    m_following = true;
    if (row >= 0 && row < m_model->rowCount()) {
        const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
        if (index.isValid()) {
            // The data set reports its state and its data one after the other: the second
            // report finds its row current and the only one selected already.
            const bool selected = index == currentIndex() &&
                                  selectionModel()->isRowSelected(row, QModelIndex()) &&
                                  selectionModel()->selectedRows().size() == 1;
            if (!selected)
                selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
            scrollTo(index);
        }
    } else {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_model->currentRowChanged();
    m_following = false;
}

void DBGrid::onUserRow(int row)
{
    DataSet* ds = m_model->dataSet();
    if (!ds || !ds->isOpen() || row == ds->currentRow())
        return;
    runGuarded([&] { ds->moveTo(row + 1); });
    followDataSet();             // back to the data set's row when the move was refused
    if (ds->currentRow() != row) // a click selects its row after this; undo that too
        QMetaObject::invokeMethod(this, &DBGrid::followDataSet, Qt::QueuedConnection);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit doubleClickedAnywhere();
}

void DBGrid::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    // the view moves its current row off the removed rows; that is no choice of the user
    const bool following = m_following;
    m_following = true;
    QTableView::rowsAboutToBeRemoved(parent, start, end);
    m_following = following;
}
