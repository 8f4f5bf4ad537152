#include "records/OtevritKartuDetail_f.h"

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "uikit/AppContext.h"
#include "uikit/DBGrid.h"
#include "uikit/FixedDialog.h"

#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>

TOtevritKartuDetail::TOtevritKartuDetail(AppContext& context, const QString& listQuery,
                                         const QVariantList& params, QWidget* parent)
    : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("TOtevritKartuDetail"),
                     QStringLiteral("Otevřít kartu - více detailů"), QSize(753, 352));

    m_dataSet = new DataSet(context.connection, QStringLiteral("ADODataSet1"), this);
    m_source = new DataSource(m_dataSet, QStringLiteral("DataSource1"), this);
    m_grid = new DBGrid(this, QStringLiteral("DBGrid1"));
    m_grid->setOptions({true, true, true});

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    strip->setFixedHeight(41);
    auto* ok = new QPushButton(QStringLiteral("Ok"), strip);
    ok->setObjectName(QStringLiteral("Tl_Ok"));
    ok->setGeometry(520, 8, 75, 25);
    auto* cancel = new QPushButton(QStringLiteral("Storno"), strip);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(616, 8, 75, 25);
    cancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_grid, 1);
    layout->addWidget(strip);

    connect(ok, &QPushButton::clicked, this, &TOtevritKartuDetail::choose);
    connect(m_grid, &DBGrid::doubleClickedAnywhere, this, &TOtevritKartuDetail::choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_dataSet->setCommandText(listQuery, params);
    m_dataSet->open();
    m_grid->bind(m_source);
    m_grid->setColumns({{QStringLiteral("id"), QStringLiteral("Id"), 30},
                        {QStringLiteral("nazev_zakaznika"), QStringLiteral("Zákazník"), 150},
                        {QStringLiteral("nazev"), QStringLiteral("Název"), 150},
                        {QStringLiteral("typ"), QStringLiteral("Typ"), 100},
                        {QStringLiteral("vyrobce"), QStringLiteral("Výrobce"), 100},
                        {QStringLiteral("vyrobni_cislo"), QStringLiteral("Výrobní číslo"), 100},
                        {QStringLiteral("carovy_kod"), QStringLiteral("Čárový kód"), 100},
                        {QStringLiteral("rok_vyroby"), QStringLiteral("Rok výroby"), 60},
                        {QStringLiteral("kategorie"), QStringLiteral("Kategorie"), 50},
                        {QStringLiteral("lhuta"), QStringLiteral("Lhůta"), 50}});
    m_grid->setFocus();
}

void TOtevritKartuDetail::choose()
{
    if (m_dataSet->isOpen() && m_dataSet->recordCount() > 0) {
        m_cardId = m_dataSet->value(QStringLiteral("id")).toInt();
        m_customerId = m_dataSet->value(QStringLiteral("id_zakaznika")).toInt();
    }
    accept();
}

void TOtevritKartuDetail::done(int result)
{
    m_dataSet->close();
    QDialog::done(result);
}
