#pragma once

#include "uikit/DataSetModel.h"

#include <QPointer>
#include <QTableView>

class DataSource;

// A read-only grid over a data source: whole-row selection that follows the data set's
// current row; choosing another row moves the data set (which may refuse).
class DBGrid : public QTableView
{
    Q_OBJECT
public:
    struct Options
    {
        bool titles = false;       // title row
        bool rowIndicator = false; // marker of the current row on the left
        bool lines = false;        // cell lines
    };

    explicit DBGrid(QWidget* parent = nullptr, const QString& objectName = QString());

    void setOptions(const Options& options);
    void bind(DataSource* source);
    void setColumns(const QList<GridColumn>& columns);
    QList<int> columnWidths() const;
    DataSetModel* dataModel() const { return m_model; }

signals:
    // A double click anywhere in the rows area, also on an empty list (where the view
    // itself reports none).
    void doubleClickedAnywhere();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    void followDataSet();
    void onUserRow(int row);

    DataSetModel* m_model;
    QPointer<DataSource> m_source;
    bool m_following = false;
};
