#include "codelists/CisZakazniku_f.h"

#include "exchange/TableExport.h"
#include "helpers/AppError.h"
#include "helpers/TextConversions.h"
#include "store/DataSet.h"
#include "store/DatabaseError.h"
#include "store/Transaction.h"
#include "uikit/AnchorLayout.h"
#include "uikit/AppContext.h"
#include "uikit/Commands.h"
#include "uikit/DBCheckBox.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"
#include "uikit/RecordListing.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int designWidth = 700;
constexpr int designHeight = 550;
constexpr int topStrip = 65;
constexpr int bottomStrip = 41;

struct TextField
{
    const char* label;
    const char* column;
    int width;
};

const TextField contactFields[] = {{"Název", "nazev", 201},
                                   {"Odpovědná osoba", "osoba", 201},
                                   {"Ulice, č.p.", "ulice", 201},
                                   {"Město", "mesto", 201},
                                   {"PSČ", "psc", 49},
                                   {"IČO", "ico", 161},
                                   {"DIČ", "dic", 161},
                                   {"Telefon", "tel", 161},
                                   {"Mobil", "mobil", 161},
                                   {"E-mail", "email", 201}};
const TextField noteFields[] = {{"Poznámka 1", "poznamka1", 281}, {"Poznámka 2", "poznamka2", 281}};
const TextField checkFields[] = {{"Záruka 5 let", "zaruka5let", 89},
                                 {"Hlídání revizí", "hlidani_revizi", 89},
                                 {"Zákazník je firma (má status právnické osoby)", "je_firma", 249}};

const QStringList sortItems{QStringLiteral("Pořadí vložení"),
                            QStringLiteral("Názvu"),
                            QStringLiteral("Osoby"),
                            QStringLiteral("Ulice"),
                            QStringLiteral("Města"),
                            QStringLiteral("PSČ"),
                            QStringLiteral("IČO")};

} // namespace

const QStringList& TCisZakazniku::sortColumns()
{
    static const QStringList columns{
        QStringLiteral("id"),    QStringLiteral("nazev"), QStringLiteral("osoba"), QStringLiteral("ulice"),
        QStringLiteral("mesto"), QStringLiteral("psc"),   QStringLiteral("ico")};
    return columns;
}

TCisZakazniku::TCisZakazniku(AppContext& context, std::function<int()> openCustomerId, QWidget* parent)
    : CodeListWindow(context, QStringLiteral("TCisZakazniku"), parent),
      m_openCustomerId(std::move(openCustomerId))
{
    setWindowTitle(QStringLiteral("Číselník zákazníků"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    setMinimumSize(designWidth, designHeight);
    context.PoziceCiselnikuZakazniku.applyTo(this, QSize(designWidth, designHeight));

    auto* layout = new AnchorLayout(this, QSize(designWidth, designHeight));
    buildFields(layout);
    buildStrips(layout);

    // A sort order outside the list opens the register in the order of insertion.
    int index = CustomerSortSetting::read(context.settingsFile());
    if (index < 0 || index >= sortItems.size())
        index = 0;
    m_sort->setCurrentIndex(index);
    m_dataSet->setBeforePost([this] { return validate(); });
    openSorted(index);
}

void TCisZakazniku::buildFields(AnchorLayout* layout)
{
    auto* grid = new DBGrid(this, QStringLiteral("DBGrid1"));
    layout->place(grid, 0, topStrip, 265, designHeight - topStrip - bottomStrip, AnchorLayout::LeftTopBottom);
    grid->bind(m_source);
    grid->setColumns({{QStringLiteral("nazev"), QStringLiteral("Název"), 265 - 2 * grid->frameWidth() - 18}});

    const auto addText = [&](const TextField& f, int y) {
        auto* label = new QLabel(QString::fromUtf8(f.label), this);
        label->setObjectName(QStringLiteral("La_") + QLatin1String(f.column));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->place(label, 288, y, 89, 21);
        auto* edit = new DBEdit(this, QStringLiteral("Ed_") + QLatin1String(f.column));
        edit->bind(m_source, QString::fromLatin1(f.column));
        layout->place(edit, 384, y, f.width, 21);
        moveOnEnter(edit);
        m_textFields.append(edit);
        return edit;
    };
    int y = 80;
    for (const TextField& f : contactFields) {
        addText(f, y);
        y += 24;
    }
    m_nameEdit = m_textFields.first();
    m_email = m_textFields.last();
    auto* emailButton = new QPushButton(QStringLiteral("..."), this);
    emailButton->setObjectName(QStringLiteral("Tl_Email"));
    emailButton->setFocusPolicy(Qt::NoFocus);
    emailButton->setAutoDefault(false);
    layout->place(emailButton, 592, 296, 25, 21);
    connect(emailButton, &QPushButton::clicked, this, [this] { runGuarded([this] { sendEmail(); }); });

    y = 328;
    for (const TextField& f : checkFields) {
        auto* check = new DBCheckBox(QString::fromUtf8(f.label), this,
                                     QStringLiteral("ChB_") + QLatin1String(f.column));
        check->bind(m_source, QString::fromLatin1(f.column));
        layout->place(check, 384, y, f.width, 17);
        m_checks.append(check);
        y += 24;
    }
    addText(noteFields[0], 408);
    addText(noteFields[1], 432);
}

void TCisZakazniku::buildStrips(AnchorLayout* layout)
{
    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("Panel_Horni"));
    top->setFrameShape(QFrame::StyledPanel);
    layout->place(top, 0, 0, designWidth, topStrip,
                  AnchorLayout::Left | AnchorLayout::Top | AnchorLayout::Right);
    auto* bottom = new QFrame(this);
    bottom->setObjectName(QStringLiteral("Panel_Dolni"));
    bottom->setFrameShape(QFrame::StyledPanel);
    layout->place(bottom, 0, designHeight - bottomStrip, designWidth, bottomStrip,
                  AnchorLayout::Left | AnchorLayout::Right | AnchorLayout::Bottom);
    top->lower();
    bottom->lower();

    const int bottomY = designHeight - bottomStrip;
    auto* counter = new QLabel(QStringLiteral("0 z 0"), this);
    counter->setObjectName(QStringLiteral("La_Pocitadlo"));
    layout->place(counter, 8, bottomY + 20, 75, 17, AnchorLayout::BottomLeft);
    auto* mode = new QLabel(this);
    mode->setObjectName(QStringLiteral("La_Rezim"));
    layout->place(mode, 88, bottomY + 20, 100, 17, AnchorLayout::BottomLeft);

    RecordPanel::Config config;
    config.modeLabel = mode;
    config.counterLabel = counter;
    config.focusOnEdit = m_nameEdit;
    config.focusOnNew = m_nameEdit;
    config.deleteGuard = [this] { return mayDelete(); };
    config.deleteQuestion = [this] {
        return QStringLiteral("Opravdu chcete odstranit záznam \"") +
               m_dataSet->text(QStringLiteral("nazev")).trimmed() +
               QStringLiteral("\"?\r\n(Budou odstraněny i karty všech TZ a činnosti.)");
    };
    config.deleteRow = [this] { deleteCustomer(); };
    RecordPanel* panel = createPanel(config);

    for (int c = RecordPanel::First; c <= RecordPanel::Last; ++c)
        layout->place(panel->makeButton(RecordPanel::Command(c), this), 8 + 32 * c, 8, 33, 25);
    QList<QWidget*> order;
    for (int c = RecordPanel::New; c <= RecordPanel::Cancel; ++c)
        order << layout->place(panel->makeButton(RecordPanel::Command(c), this),
                               272 + 80 * (c - RecordPanel::New), 8, 75, 25);

    m_sort = new QComboBox(this);
    m_sort->setObjectName(QStringLiteral("CBox_SetrideniZakazniku"));
    m_sort->addItems(sortItems);
    layout->place(m_sort, 8, 40, 257, 21);
    connect(m_sort, &QComboBox::activated, this,
            [this](int index) { runGuarded([this, index] { sortChosen(index); }); });
    order << m_sort << findChild<QWidget*>(QStringLiteral("DBGrid1"));

    const auto bottomButton = [&](QAction* action, const QString& name, int x, bool tabStop) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        bindButton(b, action);
        layout->place(b, x, bottomY + 8, 75, 25, AnchorLayout::BottomLeft);
        return b;
    };
    bottomButton(m_export, QStringLiteral("Tl_Export"), 272, false);
    bottomButton(m_listing, QStringLiteral("Tl_Vypis"), 352, false);
    QWidget* close = bottomButton(m_close, QStringLiteral("Tl_Zavrit"), 592, true);

    for (int i = 0; i < 10; ++i)
        order << m_textFields[i];
    for (DBCheckBox* check : std::as_const(m_checks))
        order << check;
    order << m_textFields[10] << m_textFields[11] << close;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

int TCisZakazniku::sortIndex() const
{
    return m_sort->currentIndex();
}

void TCisZakazniku::openSorted(int index)
{
    m_dataSet->close();
    m_dataSet->setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY ") +
                              sortColumns().value(index));
    m_dataSet->open();
    m_openedIndex = index;
}

void TCisZakazniku::sortChosen(int index)
{
    if (index < 0 || index >= sortColumns().size())
        return;
    // A change being typed is not dropped without a word: the close question decides.
    if (!settlePendingEdit()) {
        m_sort->setCurrentIndex(m_openedIndex);
        return;
    }
    openSorted(index);
}

bool TCisZakazniku::validate()
{
    const QString name = m_dataSet->text(QStringLiteral("nazev"));
    if (name.isEmpty()) {
        ShowInfo(QStringLiteral("Kolonka Název musí být vyplněná!"));
        m_nameEdit->setFocus();
        return false;
    }
    if (name.endsWith(u' '))
        m_dataSet->setValue(QStringLiteral("nazev"), trimControlCharacters(name));
    return true;
}

bool TCisZakazniku::mayDelete()
{
    if (m_dataSet->recordCount() == 0 || m_dataSet->state() == DataSet::State::Insert) {
        ShowInfo(QStringLiteral("Není vybrán žádný zákazník."));
        return false;
    }
    if (m_dataSet->value(QStringLiteral("id")).toInt() == m_openCustomerId()) {
        ShowInfo(QStringLiteral("Nelze mazat zákazníka, pokud je současně otevřený!"));
        return false;
    }
    return true;
}

void TCisZakazniku::deleteCustomer()
{
    const int id = m_dataSet->value(QStringLiteral("id")).toInt();
    const int before = m_dataSet->recordCount();
    try {
        // The customer goes with its cards and activities, or nothing goes at all.
        Transaction transaction(m_context.connection);
        if (!m_context.store.SmazatDataZakaznika(id))
            throw DatabaseError(QStringLiteral("Karty a činnosti zákazníka nelze smazat."));
        m_dataSet->deleteRecord();
        transaction.commit();
    } catch (const AppError&) {
        if (m_dataSet->recordCount() != before)
            m_dataSet->refresh();
        ShowPlainMessage(QStringLiteral("Při mazání záznamů nastala neočekávaná chyba..."));
    }
}

void TCisZakazniku::sendEmail()
{
    const QString address = m_email->text();
    if (address.isEmpty()) {
        ShowInfo(QStringLiteral("Není zadaná emailová adresa."));
        return;
    }
    if (!address.contains(u'@')) {
        ShowInfo(QStringLiteral("Chybně zadaná adresa příjemce :  ") + address + QStringLiteral(" ."));
        return;
    }
    ShellOpen(QStringLiteral("mailto:") + address + QStringLiteral("?subject=Předmět...") +
              QStringLiteral("&body=Zpráva..."));
}

QString TCisZakazniku::listingText() const
{
    RecordListing listing;
    for (int i = 0; i < 10; ++i)
        listing.line(findChild<QLabel*>(QStringLiteral("La_") + QLatin1String(contactFields[i].column)),
                     m_textFields[i]);
    const auto ticked = [](const DBCheckBox* c) { return YesNoText(c->checkState() == Qt::Checked); };
    listing.literal(m_checks[0]->text() + QStringLiteral(": "), ticked(m_checks[0]));
    listing.literal(m_checks[1]->text() + QStringLiteral(": "), ticked(m_checks[1]));
    listing.literal(QStringLiteral("Zákazník je firma: "), ticked(m_checks[2]));
    listing.line(findChild<QLabel*>(QStringLiteral("La_poznamka1")), m_textFields[10]);
    listing.line(findChild<QLabel*>(QStringLiteral("La_poznamka2")), m_textFields[11]);
    return listing.text();
}

void TCisZakazniku::showListing()
{
    ShowTextWindow({.caption = QStringLiteral("Výpis zákazníka"),
                    .text = listingText(),
                    .width = 460,
                    .height = 320,
                    .scrollBars = TextScrollBars::None,
                    .fixedFont = true});
}

void TCisZakazniku::exportTable()
{
    ExportovatTabulku(m_dataSet, QStringLiteral("zakaznik"), this);
}

void TCisZakazniku::afterClose()
{
    m_context.PoziceCiselnikuZakazniku.takeFrom(this);
    // A settings file that cannot be written is reported; the window closes all the same.
    runGuarded([this] { CustomerSortSetting::write(m_context.settingsFile(), m_sort->currentIndex()); });
}
