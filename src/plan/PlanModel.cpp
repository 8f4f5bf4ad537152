#include "plan/PlanModel.h"

#include "helpers/TextConversions.h"
#include "store/ColumnKind.h"
#include "store/CzechText.h"
#include "store/DataSet.h"

#include <QBrush>
#include <QFont>
#include <algorithm>

namespace {

// The fields of the plan query the model reads, in this order.
enum Field
{
    F_Watched,
    F_CustomerId,
    F_Next,
    F_Customer,
    F_Town,
    F_Phone,
    F_Mobile,
    F_Email,
    F_Source,
    F_Serial,
    F_Category,
    F_LastDate,
    F_LastKind,
    F_Reminded,
    F_ReminderWay,
    FieldCount
};

const char* const fieldNames[FieldCount] = {"hlidani_revizi",
                                            "id_zakaznika",
                                            "pristi_revize",
                                            "zakaznik",
                                            "mesto",
                                            "telefon",
                                            "mobil",
                                            "email",
                                            "zdroj",
                                            "vyrobni_cislo",
                                            "kategorie",
                                            "posledni_datum",
                                            "posledni_cinnost",
                                            "upozorneno",
                                            "zpusob_upozorneni"};

struct ColumnDefinition
{
    const char* title;
    Field field; // the text of the column, for the plain ones
    int width;
};

const ColumnDefinition columns[PlanModel::ColumnCount] = {
    {"Příští revize", F_Next, 80},
    {"Dní", F_Next, 44},
    {"Zákazník", F_Customer, 180},
    {"Město", F_Town, 110},
    {"Telefon", F_Phone, 90},
    {"Mobil", F_Mobile, 90},
    {"E-mail", F_Email, 150},
    {"Topný zdroj", F_Source, 140},
    {"Výrobní číslo", F_Serial, 100},
    {"Kategorie", F_Category, 110},
    {"Poslední činnost", F_LastDate, 170},
    {"Upozorněno", F_Reminded, 130},
};

QDate dateOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    return QDate::fromString(value.toString().left(10), Qt::ISODate);
}

QString joined(const QString& first, const QString& second)
{
    return second.isEmpty() ? first : first.isEmpty() ? second : first + u' ' + second;
}

template <class T> int compared(const T& a, const T& b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

} // namespace

PlanModel::PlanModel(QObject* parent) : QAbstractTableModel(parent) {}

int PlanModel::defaultWidth(int column)
{
    return column >= 0 && column < ColumnCount ? columns[column].width : 80;
}

void PlanModel::setRows(const DataSet* rows, const QHash<int, int>& customerOrder)
{
    setRows(rows, customerOrder, m_filter);
}

void PlanModel::setRows(const DataSet* rows, const QHash<int, int>& customerOrder, const PlanFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    m_rows = rows;
    m_facts.clear();
    m_searchKeys.clear();
    m_fieldIndexes.clear();
    if (rows && rows->isOpen()) {
        for (const char* name : fieldNames)
            m_fieldIndexes << rows->fieldIndex(QString::fromLatin1(name));
        m_facts.reserve(rows->recordCount());
        for (int r = 0; r < rows->recordCount(); ++r) {
            Row fact;
            fact.next = dateOf(rows->rowValue(r, m_fieldIndexes[F_Next]));
            fact.hasNext = fact.next.isValid();
            fact.watched = rows->rowValue(r, m_fieldIndexes[F_Watched]).toBool();
            // A customer added since the order was read goes after the others.
            fact.customerPlace = customerOrder.value(rows->rowValue(r, m_fieldIndexes[F_CustomerId]).toInt(),
                                                     int(customerOrder.size()));
            fact.lastActivity = dateOf(rows->rowValue(r, m_fieldIndexes[F_LastDate]));
            fact.reminded = dateOf(rows->rowValue(r, m_fieldIndexes[F_Reminded]));
            m_facts << fact;
        }
    }
    countDays();
    relist();
    endResetModel();
}

void PlanModel::setFilter(const PlanFilter& filter)
{
    beginResetModel();
    m_filter = filter;
    countDays();
    relist();
    endResetModel();
}

void PlanModel::countDays()
{
    for (Row& fact : m_facts)
        fact.days = fact.hasNext ? int(m_filter.today.daysTo(fact.next)) : 0;
}

void PlanModel::setTextFilter(const QString& text)
{
    if (text == m_text)
        return;
    beginResetModel();
    m_text = text;
    relist();
    endResetModel();
}

void PlanModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    beginResetModel();
    m_sortColumn = column;
    m_sortOrder = order;
    relist();
    endResetModel();
}

void PlanModel::relist()
{
    m_listed.clear();
    const QString wanted = ::searchKey(m_text);
    for (int r = 0; r < m_facts.size(); ++r)
        if (PlanQuery::accepts(m_filter, m_facts[r].watched, m_facts[r].next) &&
            (wanted.isEmpty() || searchKey(r).contains(wanted)))
            m_listed << r;
    const int sign = m_sortOrder == Qt::AscendingOrder ? 1 : -1;
    std::sort(m_listed.begin(), m_listed.end(), [this, sign](int a, int b) {
        const bool emptyA = isEmpty(m_sortColumn, a);
        if (emptyA != isEmpty(m_sortColumn, b))
            return !emptyA; // rows with no value last in either direction
        const int c = emptyA ? 0 : sign * compareBy(m_sortColumn, a, b);
        return c != 0 ? c < 0 : comparePlanOrder(a, b) < 0;
    });
}

int PlanModel::comparePlanOrder(int a, int b) const
{
    const Row& x = m_facts[a];
    const Row& y = m_facts[b];
    if (x.hasNext != y.hasNext)
        return x.hasNext ? -1 : 1;
    if (const int c = compared(x.next, y.next))
        return c;
    if (const int c = compared(x.customerPlace, y.customerPlace))
        return c;
    if (const int c = CzechText::compare(cellText(a, Source), cellText(b, Source)))
        return c;
    return compared(a, b);
}

bool PlanModel::isEmpty(int column, int row) const
{
    const Row& fact = m_facts[row];
    switch (column) {
    case NextRevision:
    case Days:
        return !fact.hasNext;
    case LastActivity:
        return !fact.lastActivity.isValid();
    case Reminded:
        return !fact.reminded.isValid();
    case Customer:
        return false;
    default:
        return cellText(row, column).isEmpty();
    }
}

// Two rows that both have a value in the column.
int PlanModel::compareBy(int column, int a, int b) const
{
    const Row& x = m_facts[a];
    const Row& y = m_facts[b];
    switch (column) {
    case NextRevision:
    case Days:
        return compared(x.next, y.next);
    case LastActivity:
        return compared(x.lastActivity, y.lastActivity);
    case Reminded:
        return compared(x.reminded, y.reminded);
    case Customer:
        return compared(x.customerPlace, y.customerPlace);
    default: {
        const QString p = cellText(a, column);
        const QString q = cellText(b, column);
        return p == q ? 0 : CzechText::compare(p, q);
    }
    }
}

const QString& PlanModel::searchKey(int dataSetRow) const
{
    if (m_searchKeys.isEmpty() && !m_facts.isEmpty())
        m_searchKeys.resize(m_facts.size());
    QString& key = m_searchKeys[dataSetRow];
    if (key.isNull()) {
        key = ::searchKey(cellText(dataSetRow, Customer) + u'\n' + cellText(dataSetRow, Town) + u'\n' +
                          cellText(dataSetRow, Source));
    }
    return key;
}

QString PlanModel::cellText(int dataSetRow, int column) const
{
    const auto field = [&](Field f) { return m_rows->rowValue(dataSetRow, m_fieldIndexes[f]); };
    const Row& fact = m_facts[dataSetRow];
    switch (column) {
    case NextRevision:
        return FieldValues::dateText(fact.next);
    case Days:
        return fact.hasNext ? QString::number(fact.days) : QString();
    case LastActivity:
        return joined(FieldValues::dateText(fact.lastActivity), field(F_LastKind).toString());
    case Reminded: {
        const QString way = field(F_ReminderWay).toString();
        return joined(FieldValues::dateText(fact.reminded), way.isEmpty() ? way : u'(' + way + u')');
    }
    default:
        return field(columns[column].field).toString();
    }
}

int PlanModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_listed.size());
}

int PlanModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PlanModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_rows || index.row() >= m_listed.size())
        return {};
    const int r = m_listed[index.row()];
    const Row& fact = m_facts[r];
    switch (role) {
    case Qt::DisplayRole:
        return cellText(r, index.column());
    case Qt::ForegroundRole:
        if (fact.hasNext && fact.days < 0)
            return QBrush(Qt::red);
        return {};
    case Qt::FontRole:
        if (fact.hasNext && fact.days >= 0 && fact.days <= 7) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Days)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromUtf8(columns[section].title);
}

QVariant PlanModel::value(int listedRow, const QString& field) const
{
    const int r = dataSetRow(listedRow);
    if (r < 0 || !m_rows)
        return {};
    return m_rows->rowValue(r, m_rows->fieldIndex(field));
}

int PlanModel::overdueCount() const
{
    return int(std::count_if(m_listed.begin(), m_listed.end(),
                             [this](int r) { return m_facts[r].hasNext && m_facts[r].days < 0; }));
}
