#include "records/CardPanel.h"

#include "helpers/AppError.h"
#include "helpers/TextConversions.h"
#include "records/ActivityPanel.h"
#include "records/CustomerRecords.h"
#include "records/RecordPanelLayout.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/DatabaseError.h"
#include "store/Transaction.h"
#include "uikit/AnchorLayout.h"
#include "uikit/AppContext.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/DBComboList.h"
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
#include <QPushButton>

namespace {
constexpr int fieldX = 168;
constexpr int fieldWidth = 297;
} // namespace

CardPanel::CardPanel(AppContext& context, CustomerRecords& records, ActivityPanel* activities,
                     QWidget* parent)
    : QFrame(parent), m_context(context), m_records(records), m_activities(activities)
{
    setObjectName(QStringLiteral("Panel_TZ"));
    setAutoFillBackground(true);
    m_source = new DataSource(records.DS_Karty, QStringLiteral("DataSource_Karty"), this);
    RecordPanelLayout form(this, m_source, 473, QStringLiteral("Karty topných zdrojů"),
                           QStringLiteral("La_Karty"));
    buildFields(form);
    buildCommands(form);

    DataSet* cards = records.DS_Karty;
    cards->setOnNewRecord([this] {
        m_records.DS_Karty->setValue(QStringLiteral("id_zakaznika"), m_records.IdOtevrenehoZakaznika);
    });
    cards->setBeforePost([this] { return validate(); });
    connect(m_source, &DataSource::dataChanged, this, [this](const QString&) { followCurrentCard(); });
    connect(m_source, &DataSource::stateChanged, this, [this] { followCurrentCard(); });
}

void CardPanel::buildFields(RecordPanelLayout& form)
{
    m_mode = form.modeLabel(QStringLiteral("La_Rezim"));
    m_grid = form.grid(QStringLiteral("DBGrid1"), QStringLiteral("Nazev"), QStringLiteral("Název"));

    m_name = form.edit(QStringLiteral("Název"), QStringLiteral("nazev"), fieldX, 66, fieldWidth);
    m_type = form.edit(QStringLiteral("Typ"), QStringLiteral("typ"), fieldX, 106, fieldWidth);
    auto* maker = form.edit(QStringLiteral("Výrobce"), QStringLiteral("vyrobce"), fieldX, 146, fieldWidth);
    auto* serialNumber =
        form.edit(QStringLiteral("Výrobní číslo"), QStringLiteral("vyrobni_cislo"), fieldX, 186, 145);
    auto* barcode =
        form.edit(QStringLiteral("Čárový kód"), QStringLiteral("carovy_kod"), fieldX + 152, 186, 145);

    auto* yearList = new DBComboList(this, QStringLiteral("Cb_rok_vyroby"));
    yearList->addItem(QString());
    for (int year = QDate::currentDate().year(); year >= 1980; --year)
        yearList->addItem(QString::number(year));
    form.field(QStringLiteral("Rok výroby"), QStringLiteral("La_rok_vyroby"), yearList, fieldX, 226, 80);
    yearList->bind(m_source, QStringLiteral("rok_vyroby"));

    m_category = new DBLookupCombo(this, QStringLiteral("CB_kategorie"));
    form.field(QStringLiteral("Kategorie TZ"), QStringLiteral("La_kategorie"), m_category, fieldX + 88, 226,
               fieldWidth - 88);
    m_category->bind(m_source, QStringLiteral("kategorie"));
    m_category->setListSource(m_records.DS_Kategorie, QStringLiteral("id"),
                              QStringLiteral("nazev_kategorie"));
    connect(m_category, &DBLookupCombo::userChose, this,
            [this] { runGuarded([this] { onCategoryChosen(); }); });

    auto* period = form.edit(QStringLiteral("Lhůta"), QStringLiteral("lhuta"), fieldX, 266, 45);
    m_decommissioned =
        form.edit(QStringLiteral("Vyřazeno dne"), QStringLiteral("vyrazeno_dne"), fieldX + 52, 266, 80);
    m_decommissioned->setFocusPolicy(Qt::ClickFocus);
    auto* dateButton =
        form.button(QStringLiteral("Tl_vyrazeno_dne"), QStringLiteral("Datum"), fieldX + 138, 278, 50);
    auto* backInServiceButton = form.button(QStringLiteral("Tl_ZrusitVyrazeni"),
                                            QStringLiteral("Zrušit vyřazení"), fieldX + 194, 278, 103);
    backInServiceButton->setFocusPolicy(Qt::NoFocus);
    connect(dateButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { pickDecommissioning(); }); });
    connect(backInServiceButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { cancelDecommissioning(); }); });

    m_note =
        form.memo(QStringLiteral("Poznámka"), QStringLiteral("La_poznamka"), QStringLiteral("Me_poznamka"),
                  QStringLiteral("poznamka"), fieldX, 306, fieldWidth, 203);
    m_counter = form.counterLabel(QStringLiteral("La_Pocitadlo"));

    form.tabOrder({m_grid, m_name, m_type, maker, serialNumber, barcode, yearList, m_category, period,
                   dateButton, m_note});
}

void CardPanel::buildCommands(RecordPanelLayout& form)
{
    RecordPanel::Config config;
    config.source = m_source;
    config.modeLabel = m_mode;
    config.counterLabel = m_counter;
    config.focusOnNew = m_name;
    config.deleteGuard = [this] { return isVisible() && m_records.DS_Karty->isOpen(); };
    config.deleteQuestion = [this] {
        return RecordPanel::deleteQuestionFor(m_records.DS_Karty->text(QStringLiteral("nazev"))) +
               QStringLiteral("\r\n(současně budou odstraněny i případné záznamy činností tohoto TZ)");
    };
    config.deleteRow = [this] { deleteCard(); };
    m_panel = new RecordPanel(this, config);

    m_listing =
        makeCommand(this, Akce_Vypis, QStringLiteral("Výpis"), QStringLiteral("Výpis aktuálního záznamu"));
    m_printCard = makeCommand(this, Akce_TiskKarty, QStringLiteral("Revizní karta"),
                              QStringLiteral("Tisk revizní karty dle ČSN 33 160 ed. 2"),
                              QKeySequence(Qt::CTRL | Qt::Key_P));
    onTriggered(m_listing, this,
                [this] { RecordListing::show(QStringLiteral("Výpis karty"), listingText()); });
    onTriggered(m_printCard, this,
                [] { ShowPlainMessage(QStringLiteral("Tady bude tisk karty či revizní zprávy...")); });

    form.commands(m_panel, m_listing, m_printCard);
}

void CardPanel::applySettings(const Settings& settings)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colorFromValue(settings.BarvaKartaTZ));
    setPalette(p);
    m_decommissioned->setFixedReadOnly(!settings.PovolitPrimouEditaciDatumu);
}

bool CardPanel::validate()
{
    DataSet* cards = m_records.DS_Karty;
    const struct
    {
        const char* column;
        const char* message;
        QWidget* focus;
    } required[] = {{"nazev", "Kolonka Název musí být vyplněná!", m_name},
                    {"typ", "Kolonka Typ musí být vyplněná!", m_type},
                    {"kategorie", "Kolonka Kategorie musí být vyplněná!", m_category}};
    for (const auto& r : required) {
        if (cards->text(QString::fromLatin1(r.column)).isEmpty()) {
            ShowInfo(QString::fromUtf8(r.message));
            r.focus->setFocus();
            return false;
        }
    }
    if (m_context.settings.DialogUlozit) {
        const QString question = QStringLiteral("Byly provedeny změny v kartě tepelného zdroje \"") +
                                 m_name->text() + QStringLiteral("\". Chcete tyto změny uložit?");
        if (AskQuestion(QStringLiteral("Pozor"), question, QuestionKind::YesNo) != Answer::Yes)
            return false;
    }
    return true;
}

void CardPanel::onCategoryChosen()
{
    DataSet* cards = m_records.DS_Karty;
    if (cards->isNull(QStringLiteral("kategorie"))) {
        ShowPlainMessage(QStringLiteral(
            "Není vybraná kategorie. Naplňte číselník Kategorií a vyberte položku z tohoto číseníku."));
        return;
    }
    const int period = m_context.store.LhutaKategorie(cards->value(QStringLiteral("kategorie")).toInt());
    cards->setValue(QStringLiteral("lhuta"), period);
}

void CardPanel::pickDecommissioning()
{
    DataSet* cards = m_records.DS_Karty;
    if (!cards->isOpen())
        return;
    const QVariant current = cards->value(QStringLiteral("vyrazeno_dne"));
    QDate date = current.isNull() ? QDate::currentDate() : current.toDate();
    const QPoint below = m_decommissioned->mapToGlobal(QPoint(0, m_decommissioned->height()));
    if (!PickDate(date, QStringLiteral("Datum"), below.x(), below.y()))
        return;
    m_source->beginUserEdit();
    cards->setValue(QStringLiteral("vyrazeno_dne"), date);
}

void CardPanel::cancelDecommissioning()
{
    DataSet* cards = m_records.DS_Karty;
    if (!cards->isOpen() || cards->isNull(QStringLiteral("vyrazeno_dne")))
        return;
    m_source->beginUserEdit();
    cards->setValue(QStringLiteral("vyrazeno_dne"), QVariant());
}

void CardPanel::deleteCard()
{
    DataSet* cards = m_records.DS_Karty;
    if (cards->recordCount() < 1)
        return;
    const int cardId = cards->value(QStringLiteral("id")).toInt();
    const int before = cards->recordCount();
    try {
        // The card and its activities go together or not at all.
        Transaction transaction(m_context.connection);
        if (!m_context.store.SmazatCinnostiKarty(cardId))
            throw DatabaseError(QStringLiteral("Činnosti karty nelze smazat."));
        cards->deleteRecord();
        transaction.commit();
    } catch (const AppError&) {
        if (cards->recordCount() != before)
            cards->refresh(); // the row left the list, but its deletion was undone
        ShowPlainMessage(QStringLiteral("Při mazání záznamů nastala neočekávaná chyba..."));
    }
}

void CardPanel::reloadActivities()
{
    m_shownCardId = -1;
    followCurrentCard();
}

void CardPanel::followCurrentCard()
{
    DataSet* cards = m_records.DS_Karty;
    if (!cards->isOpen()) {
        m_shownCardId = -1;
        return;
    }
    // A new card has no id until it is saved; typing into a card does not change its id,
    // so the activities (and an activity being edited) stay as they are.
    const int cardId =
        cards->state() == DataSet::State::Insert ? 0 : cards->value(QStringLiteral("id")).toInt();
    if (cardId == m_shownCardId)
        return;
    m_shownCardId = cardId;
    m_activities->loadCard(cardId);
}

QString CardPanel::listingText() const
{
    RecordListing listing;
    for (const char* name : {"nazev", "typ", "vyrobce", "vyrobni_cislo", "carovy_kod"})
        listing.line(findChild<QLabel*>(QStringLiteral("La_") + QLatin1String(name)),
                     findChild<QWidget*>(QStringLiteral("Ed_") + QLatin1String(name)));
    listing.line(findChild<QLabel*>(QStringLiteral("La_rok_vyroby")),
                 findChild<QWidget*>(QStringLiteral("Cb_rok_vyroby")));
    listing.line(findChild<QLabel*>(QStringLiteral("La_kategorie")), m_category);
    listing.line(findChild<QLabel*>(QStringLiteral("La_lhuta")),
                 findChild<QWidget*>(QStringLiteral("Ed_lhuta")));
    listing.line(findChild<QLabel*>(QStringLiteral("La_vyrazeno_dne")), m_decommissioned);
    listing.note(findChild<QLabel*>(QStringLiteral("La_poznamka")), m_note);
    return listing.text();
}
