#include "records/ActivityPanel.h"

#include "helpers/TextConversions.h"
#include "records/CustomerRecords.h"
#include "records/RecordPanelLayout.h"
#include "rules/NextRevisionDate.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "uikit/AppContext.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/DBLookupCombo.h"
#include "uikit/DBMemo.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"
#include "uikit/RecordListing.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace {
constexpr int fieldX = 168;
} // namespace

ActivityPanel::ActivityPanel(AppContext& context, CustomerRecords& records, QWidget* parent)
    : QFrame(parent), m_context(context), m_records(records)
{
    setObjectName(QStringLiteral("Panel_Cinnosti"));
    setAutoFillBackground(true);
    m_source = new DataSource(records.DS_Cin, QStringLiteral("DataSource_Cin"), this);
    RecordPanelLayout form(this, m_source, 499, QStringLiteral("Činnosti"), QStringLiteral("La_Cinnosti"));
    buildFields(form);
    buildCommands(form);
    records.DS_Cin->setOnNewRecord([this] { setDefaults(); });
    records.DS_Cin->setBeforePost([this] { return validate(); });
}

void ActivityPanel::buildFields(RecordPanelLayout& form)
{
    m_mode = form.modeLabel(QStringLiteral("La_Rezim_Cin"));
    DBGrid* grid = form.grid(QStringLiteral("DBGrid2"), QStringLiteral("datum"), QStringLiteral("Datum"));

    m_activityKind = new DBLookupCombo(this, QStringLiteral("CB_cinnost"));
    form.field(QStringLiteral("Činnost"), QStringLiteral("La_cinnost"), m_activityKind, fieldX, 66, 305);
    m_activityKind->bind(m_source, QStringLiteral("cinnost"));
    m_activityKind->setListSource(m_records.DS_Cin2, QStringLiteral("id"), QStringLiteral("nazev_cinnosti"));

    m_date = form.edit(QStringLiteral("Datum uskutečnění"), QStringLiteral("datum"), fieldX, 106, 89);
    m_nextDate = form.edit(QStringLiteral("Datum příští revize/kontroly"), QStringLiteral("datum_pristi"),
                           fieldX, 146, 89);
    auto* dateButton = form.button(QStringLiteral("Tl_datum"), QStringLiteral("Datum"), 264, 118, 60);
    auto* nextDateButton =
        form.button(QStringLiteral("Tl_datum_pristi"), QStringLiteral("Datum"), 264, 158, 60);
    for (DBEdit* date : {m_date, m_nextDate})
        date->setFocusPolicy(Qt::ClickFocus);
    connect(dateButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { pickDate(m_date, true); }); });
    connect(nextDateButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { pickDate(m_nextDate, false); }); });

    m_technician = form.edit(QStringLiteral("Technik"), QStringLiteral("technik"), fieldX, 186, 273);
    auto* technicianButton =
        form.button(QStringLiteral("Tl_technik"), QStringLiteral("..."), 448, 200, 25, 21);
    technicianButton->setFocusPolicy(Qt::NoFocus);
    m_technicians = new QMenu(this);
    m_technicians->setObjectName(QStringLiteral("PMenu_Technik"));
    connect(technicianButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { showTechnicianMenu(); }); });

    const struct
    {
        const char* caption;
        const char* column;
        int x;
        int width;
    } prices[] = {{"Cena doprava", "cena_doprava", 168, 73},
                  {"Cena práce", "cena_prace", 248, 73},
                  {"Cena materiál", "cena_material", 328, 73},
                  {"Cena ostatní", "cena_ostatni", 408, 65}};
    QList<QWidget*> order{grid, m_activityKind, dateButton, nextDateButton, m_technician};
    for (const auto& p : prices) {
        DBEdit* price =
            form.edit(QString::fromUtf8(p.caption), QString::fromLatin1(p.column), p.x, 234, p.width);
        price->setAlignment(Qt::AlignRight);
        order << price;
    }
    m_note = form.memo(QStringLiteral("Poznámka"), QStringLiteral("La_poznamka2"),
                       QStringLiteral("Me_poznamka2"), QStringLiteral("poznamka"), fieldX, 282, 305, 217);
    order << m_note;
    m_counter = form.counterLabel(QStringLiteral("La_Pocitadlo_Cin"));
    form.tabOrder(order);
}

void ActivityPanel::buildCommands(RecordPanelLayout& form)
{
    RecordPanel::Config config;
    config.source = m_source;
    config.suffix = QStringLiteral("_Cin");
    config.modeLabel = m_mode;
    config.counterLabel = m_counter;
    config.deleteQuestion = [this] {
        return QStringLiteral("Opravdu chcete odstranit činnost ze dne \"") +
               FieldValues::dateText(m_records.DS_Cin->value(QStringLiteral("datum")).toDate()) +
               QStringLiteral("\" ?");
    };
    m_panel = new RecordPanel(this, config);
    m_listing = makeCommand(this, Akce_Vypis_Cin, QStringLiteral("Výpis"),
                            QStringLiteral("Výpis aktuálního záznamu"));
    onTriggered(m_listing, this,
                [this] { RecordListing::show(QStringLiteral("Výpis činnosti"), listingText()); });
    form.commands(m_panel, m_listing);
}

void ActivityPanel::applySettings(const Settings& settings)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colorFromValue(settings.BarvaKartaCinnosti));
    setPalette(p);
    m_date->setFixedReadOnly(!settings.PovolitPrimouEditaciDatumu);
    m_nextDate->setFixedReadOnly(!settings.PovolitPrimouEditaciDatumu);
}

void ActivityPanel::loadCard(int cardId)
{
    DataSet* activities = m_records.DS_Cin;
    if (cardId != 0) {
        setEnabled(true);
        activities->disableControls();
        try {
            activities->setCommandText(
                QStringLiteral("SELECT * FROM cinnosti WHERE id_topneho_zdroje = ? ORDER BY datum, id"),
                {cardId});
            activities->open();
        } catch (...) {
            activities->enableControls();
            throw;
        }
        activities->enableControls();
        return;
    }
    activities->close();
    activities->clearCommand();
    setEnabled(false);
    m_mode->setText(QStringLiteral("[---]"));
}

int ActivityPanel::cardPeriod() const
{
    return m_records.DS_Karty->value(QStringLiteral("lhuta")).toInt();
}

void ActivityPanel::setDefaults()
{
    DataSet* activities = m_records.DS_Cin;
    const QDate today = QDate::currentDate();
    activities->setValue(QStringLiteral("id_zakaznika"), m_records.IdOtevrenehoZakaznika);
    activities->setValue(QStringLiteral("id_topneho_zdroje"),
                         m_records.DS_Karty->value(QStringLiteral("id")));
    activities->setValue(QStringLiteral("datum"), today);
    activities->setValue(QStringLiteral("datum_pristi"), nextRevisionDate(today, cardPeriod()));
}

bool ActivityPanel::validate()
{
    if (m_records.DS_Cin->isNull(QStringLiteral("cinnost"))) {
        ShowInfo(QStringLiteral("Volba Činnost musí být zvolená!"));
        m_activityKind->setFocus();
        return false;
    }
    if (m_context.settings.DialogUlozit &&
        AskQuestion(QStringLiteral("Pozor"),
                    QStringLiteral("Byly provedeny změny v záznamu Činnosti. Chcete tyto změny uložit?"),
                    QuestionKind::YesNo) != Answer::Yes)
        return false;
    return true;
}

void ActivityPanel::pickDate(DBEdit* field, bool recomputeNext)
{
    DataSet* activities = m_records.DS_Cin;
    if (!activities->isOpen())
        return;
    const QString column = field == m_date ? QStringLiteral("datum") : QStringLiteral("datum_pristi");
    const QVariant current = activities->value(column);
    QDate date = current.isNull() ? QDate::currentDate() : current.toDate();
    const QPoint below = field->mapToGlobal(QPoint(0, field->height()));
    if (!PickDate(date, QStringLiteral("Datum"), below.x(), below.y()))
        return;
    m_source->beginUserEdit();
    activities->setValue(column, date);
    if (recomputeNext)
        activities->setValue(QStringLiteral("datum_pristi"), nextRevisionDate(date, cardPeriod()));
}

void ActivityPanel::rebuildTechnicianMenu()
{
    m_technicians->clear();
    const ResultSet technicians =
        m_context.connection.query(QStringLiteral("SELECT * FROM cis_technici ORDER BY jmeno_technika"));
    const int name = technicians.columnIndex(QStringLiteral("jmeno_technika"));
    const int number = technicians.columnIndex(QStringLiteral("cislo"));
    for (const auto& row : technicians.rows) {
        QAction* item = m_technicians->addAction(row[name].toString());
        item->setData(row[number]);
        item->setObjectName(QStringLiteral("PMenu_Tech") + row[number].toString());
        connect(item, &QAction::triggered, this,
                [this, item] { runGuarded([this, item] { chooseTechnician(item->text()); }); });
    }
}

void ActivityPanel::showTechnicianMenu()
{
    rebuildTechnicianMenu();
    m_technicians->popup(m_technician->mapToGlobal(QPoint(0, m_technician->height())));
}

void ActivityPanel::chooseTechnician(const QString& caption)
{
    if (!m_records.DS_Cin->isOpen())
        return;
    m_source->beginUserEdit();
    m_records.DS_Cin->setValue(QStringLiteral("technik"), RemoveChar(caption, u'&'));
}

QString ActivityPanel::listingText() const
{
    RecordListing listing;
    listing.line(findChild<QLabel*>(QStringLiteral("La_cinnost")), m_activityKind);
    listing.line(findChild<QLabel*>(QStringLiteral("La_datum")), m_date);
    listing.line(findChild<QLabel*>(QStringLiteral("La_datum_pristi")), m_nextDate);
    listing.line(findChild<QLabel*>(QStringLiteral("La_technik")), m_technician);
    for (const char* price : {"cena_doprava", "cena_prace", "cena_material", "cena_ostatni"})
        listing.line(findChild<QLabel*>(QStringLiteral("La_") + QLatin1String(price)),
                     findChild<QWidget*>(QStringLiteral("Ed_") + QLatin1String(price)),
                     QStringLiteral(" Kč"));
    listing.note(findChild<QLabel*>(QStringLiteral("La_poznamka2")), m_note);
    return listing.text();
}
