#pragma once

#include "plan/PlanQuery.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QHash>
#include <QList>
#include <QPointer>

class DataSet;

// The plan's grid over the rows of the plan query: the rows the text filter lets through,
// in the order the user chose. Overdue rows are red, rows due within a week bold. Each
// listed row stands for a row of the data set, so that exporting and the buttons work on
// exactly what is listed.
class PlanModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        NextRevision,
        Days,
        Customer,
        Town,
        Phone,
        Mobile,
        Email,
        Source,
        SerialNumber,
        Category,
        LastActivity,
        Reminded,
        ColumnCount
    };

    explicit PlanModel(QObject* parent = nullptr);

    // Takes the rows of the data set as they are now (after it was opened again), with the
    // customers' places in the Czech order of names; the filters and the chosen order stay.
    void setRows(const DataSet* rows, const QHash<int, int>& customerOrder);
    // The same under a new filter, listed once.
    void setRows(const DataSet* rows, const QHash<int, int>& customerOrder, const PlanFilter& filter);
    // Which of the rows are listed; days are counted from the filter's today.
    void setFilter(const PlanFilter& filter);
    const PlanFilter& filter() const { return m_filter; }
    // Rows whose customer, town or source contains the text, without regard to case and
    // accents; every character is taken as it is.
    void setTextFilter(const QString& text);
    QString textFilter() const { return m_text; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Text in Czech order, rows with no value last; equal rows in the plan's own order: by
    // the next revision, the customer, the source. That order is where the plan starts.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    static int defaultWidth(int column);

    // The listed rows as rows of the data set, in the listed order.
    const QList<int>& listedRows() const { return m_listed; }
    int dataSetRow(int listedRow) const { return m_listed.value(listedRow, -1); }
    QVariant value(int listedRow, const QString& field) const;
    int overdueCount() const;

private:
    struct Row
    {
        QDate next;
        int days = 0;
        bool hasNext = false;
        bool watched = false;
        int customerPlace = 0;
        QDate lastActivity;
        QDate reminded;
    };

    void relist();
    void countDays();
    QString cellText(int dataSetRow, int column) const;
    bool isEmpty(int column, int row) const;
    int compareBy(int column, int a, int b) const;
    int comparePlanOrder(int a, int b) const;
    const QString& searchKey(int dataSetRow) const;

    QPointer<const DataSet> m_rows;
    QList<Row> m_facts;                  // by data set row
    mutable QList<QString> m_searchKeys; // by data set row, made when first filtered
    QList<int> m_listed;
    PlanFilter m_filter;
    QString m_text;
    int m_sortColumn = NextRevision;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<int> m_fieldIndexes; // of the data set, by the field names below
};
