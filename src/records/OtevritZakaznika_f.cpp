#include "records/OtevritZakaznika_f.h"

#include "records/CustomerRecords.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/SqlDialect.h"
#include "uikit/AnchorLayout.h"
#include "uikit/AppContext.h"
#include "uikit/DBGrid.h"
#include "uikit/Guard.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QStringList filterColumns{QStringLiteral("nazev"), QStringLiteral("osoba"), QStringLiteral("ulice"),
                                QStringLiteral("mesto"), QStringLiteral("psc"),   QStringLiteral("ico")};

const QString allCustomers = QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY nazev");

} // namespace

TOtevritZakaznika::TOtevritZakaznika(AppContext& context, CustomerRecords& records, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_context(context),
      m_records(records)
{
    setObjectName(QStringLiteral("TOtevritZakaznika"));
    setWindowTitle(QStringLiteral("Otevřít zákazníka"));
    setMinimumSize(620, 440);
    const Placement& place = context.PoziceOtevritZakaznika;
    place.applyTo(this, QSize(620, 440));

    m_dataSet = new DataSet(context.connection, QStringLiteral("ADODataSet1"), this);
    m_source = new DataSource(m_dataSet, QStringLiteral("DataSource1"), this);

    auto* layout = new AnchorLayout(this, QSize(620, 440));
    m_grid = new DBGrid(this, QStringLiteral("DBGrid1"));
    m_grid->setOptions({true, false, true});
    layout->place(m_grid, 0, 0, 620, 440 - 41, AnchorLayout::All);

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    layout->place(strip, 0, 440 - 41, 620, 41,
                  AnchorLayout::Left | AnchorLayout::Right | AnchorLayout::Bottom);
    m_column = new QComboBox(this);
    m_column->setObjectName(QStringLiteral("CBox_Pole"));
    m_column->addItems(filterColumns);
    m_column->setFocusPolicy(Qt::ClickFocus);
    layout->place(m_column, 8, 440 - 31, 97, 21, AnchorLayout::BottomLeft);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("Ed_Filtr"));
    layout->place(m_filter, 112, 440 - 31, 185, 21, AnchorLayout::BottomLeft);
    auto* filterButton = new QPushButton(QStringLiteral("Filtr"), this);
    filterButton->setObjectName(QStringLiteral("Tl_Filtr"));
    filterButton->setAutoDefault(false);
    layout->place(filterButton, 304, 440 - 33, 75, 25, AnchorLayout::BottomLeft);
    m_open = new QPushButton(QStringLiteral("Otevřít"), this);
    m_open->setObjectName(QStringLiteral("Tl_Otevrit"));
    m_open->setDefault(true);
    layout->place(m_open, 620 - 168, 440 - 33, 75, 25, AnchorLayout::BottomRight);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setAutoDefault(false);
    layout->place(cancel, 620 - 88, 440 - 33, 75, 25, AnchorLayout::BottomRight);
    setTabOrder(m_grid, m_filter);
    setTabOrder(m_filter, filterButton);
    setTabOrder(filterButton, m_open);
    setTabOrder(m_open, cancel);

    connect(filterButton, &QPushButton::clicked, this, [this] { runGuarded([this] { applyFilter(); }); });
    connect(m_open, &QPushButton::clicked, this, &TOtevritZakaznika::chooseCurrent);
    connect(m_grid, &DBGrid::doubleClickedAnywhere, this, &TOtevritZakaznika::chooseCurrent);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_dataSet->setCommandText(allCustomers);
    m_dataSet->open();
    m_grid->bind(m_source);
    m_grid->setColumns(
        {{QStringLiteral("nazev"), QStringLiteral("Název"), place.columnWidth(0, 180)},
         {QStringLiteral("osoba"), QStringLiteral("Odpovědná osoba"), place.columnWidth(1, 180)},
         {QStringLiteral("ulice"), QStringLiteral("Ulice, č.p."), place.columnWidth(2, 100)},
         {QStringLiteral("mesto"), QStringLiteral("Město"), place.columnWidth(3, 100)}});
    m_open->setEnabled(m_dataSet->recordCount() > 0);
}

void TOtevritZakaznika::applyFilter()
{
    const QString text = m_filter->text();
    const QString column = filterColumns.value(m_column->currentIndex(), filterColumns.first());
    m_dataSet->close();
    if (text.isEmpty())
        m_dataSet->setCommandText(allCustomers);
    else
        m_dataSet->setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici WHERE ") + column +
                                      QStringLiteral(" LIKE ? ESCAPE '\\' ORDER BY ") + column,
                                  {SqlDialect::containsPattern(text)});
    m_dataSet->open();
}

void TOtevritZakaznika::chooseCurrent()
{
    m_records.IdOtevrenehoZakaznika = m_dataSet->isOpen() && m_dataSet->recordCount() > 0
                                          ? m_dataSet->value(QStringLiteral("id")).toInt()
                                          : 0;
    accept();
}

void TOtevritZakaznika::done(int result)
{
    Placement& place = m_context.PoziceOtevritZakaznika;
    place.takeFrom(this);
    place.columnWidths = m_grid->columnWidths();
    QDialog::done(result);
}
