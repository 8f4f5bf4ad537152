// The plan window itself: its controls, its filters, reading the plan and remembering the
// window's place; its buttons go to the reminders, the export and the card opener.
#include "plan/PlanRevizi_f.h"

#include "exchange/TableExport.h"
#include "helpers/PlanSettings.h"
#include "plan/PlanModel.h"
#include "plan/PlanReminders.h"
#include "plan/PlanRows.h"
#include "store/ColumnKind.h"
#include "store/DatabaseError.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"
#include "uikit/EnterPress.h"
#include "uikit/Guard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton* addButton(QHBoxLayout* row, QWidget* owner, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, owner);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    pressOnEnter(button);
    row->addWidget(button);
    return button;
}

} // namespace

TPlanRevizi::TPlanRevizi(AppContext& context, CardOpener openCard, std::function<int()> openCustomerId,
                         QWidget* parent)
    : QDialog(parent), m_context(context), m_openCard(std::move(openCard))
{
    setObjectName(QStringLiteral("PlanRevizi"));
    setWindowTitle(QStringLiteral("Plán revizí"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(false);
    m_rows = new PlanRows(context.connection, this);
    m_model = new PlanModel(this);
    m_reminders = std::make_unique<PlanReminders>(
        context, *m_model, [this] { refresh(); }, std::move(openCustomerId));
    buildWindow();
    setUntil(QDate::currentDate().addDays(PlanSettings::read(context.settingsFile()).DnyPredem));
    applyPlacement();
}

TPlanRevizi::~TPlanRevizi() = default;

void TPlanRevizi::buildWindow()
{
    auto* filters = new QHBoxLayout;
    auto* untilLabel = new QLabel(QStringLiteral("Revize do:"), this);
    m_untilEdit = new QLineEdit(this);
    m_untilEdit->setObjectName(QStringLiteral("Ed_RevizeDo"));
    m_untilEdit->setFixedWidth(80);
    untilLabel->setBuddy(m_untilEdit);
    auto* pick = new QPushButton(QStringLiteral("Datum"), this);
    pick->setObjectName(QStringLiteral("Tl_RevizeDo"));
    pick->setAutoDefault(false);
    pressOnEnter(pick);
    m_watchedOnly = new QCheckBox(QStringLiteral("Jen zákazníci s hlídáním revizí"), this);
    m_watchedOnly->setObjectName(QStringLiteral("CB_JenHlidane"));
    m_watchedOnly->setChecked(true);
    m_withoutNext = new QCheckBox(QStringLiteral("Také zdroje bez revize"), this);
    m_withoutNext->setObjectName(QStringLiteral("CB_BezRevize"));
    auto* textLabel = new QLabel(QStringLiteral("Hledat:"), this);
    m_textFilter = new QLineEdit(this);
    m_textFilter->setObjectName(QStringLiteral("Ed_Filtr"));
    m_textFilter->setClearButtonEnabled(true);
    m_textFilter->setToolTip(QStringLiteral("Zákazník, město nebo topný zdroj"));
    textLabel->setBuddy(m_textFilter);
    filters->addWidget(untilLabel);
    filters->addWidget(m_untilEdit);
    filters->addWidget(pick);
    filters->addSpacing(12);
    filters->addWidget(m_watchedOnly);
    filters->addWidget(m_withoutNext);
    filters->addSpacing(12);
    filters->addWidget(textLabel);
    filters->addWidget(m_textFilter, 1);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("Grid_Plan"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSortingEnabled(false); // the plan's own order until a title is clicked
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->horizontalHeader()->setSortIndicator(m_model->sortColumn(), m_model->sortOrder());
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setWordWrap(false);
    m_grid->installEventFilter(this);

    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("La_Pocitadlo"));

    auto* buttons = new QHBoxLayout;
    m_open = addButton(buttons, this, "Tl_Otevrit", QStringLiteral("Otevřít"));
    m_email = addButton(buttons, this, "Tl_Email", QStringLiteral("E-mail"));
    m_print = addButton(buttons, this, "Tl_TiskUpozorneni", QStringLiteral("Tisk upozornění"));
    m_mark = addButton(buttons, this, "Tl_OznacitUpozorneni", QStringLiteral("Označit upozornění"));
    m_export = addButton(buttons, this, "Tl_Export", QStringLiteral("Export"));
    buttons->addStretch(1);
    QPushButton* close = addButton(buttons, this, "Tl_Zavrit", QStringLiteral("Zavřít"));

    auto* column = new QVBoxLayout(this);
    column->addLayout(filters);
    column->addWidget(m_grid, 1);
    column->addWidget(m_counts);
    column->addLayout(buttons);

    connect(m_untilEdit, &QLineEdit::editingFinished, this, [this] { runGuarded([this] { untilTyped(); }); });
    connect(pick, &QPushButton::clicked, this, [this] { runGuarded([this] { pickUntil(); }); });
    for (QCheckBox* box : {m_watchedOnly, m_withoutNext})
        connect(box, &QCheckBox::toggled, this, [this] { runGuarded([this] { applyFilter(); }); });
    connect(m_textFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        runGuarded([&] {
            m_model->setTextFilter(text);
            showCounts();
            updateButtons();
        });
    });
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        runGuarded([&] {
            const Qt::SortOrder order =
                m_model->sortColumn() == column && m_model->sortOrder() == Qt::AscendingOrder
                    ? Qt::DescendingOrder
                    : Qt::AscendingOrder;
            m_model->sort(column, order);
            m_grid->horizontalHeader()->setSortIndicator(column, order);
            updateButtons();
        });
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this] { runGuarded([this] { openCurrent(); }); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { updateButtons(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { updateButtons(); });
    connect(m_open, &QPushButton::clicked, this, [this] { runGuarded([this] { openCurrent(); }); });
    connect(m_email, &QPushButton::clicked, this, [this] {
        runGuarded([this] { m_reminders->sendEmail(currentListedRow(), selectedListedRows()); });
    });
    connect(m_print, &QPushButton::clicked, this,
            [this] { runGuarded([this] { m_reminders->printReminders(selectedListedRows()); }); });
    connect(m_mark, &QPushButton::clicked, this,
            [this] { runGuarded([this] { m_reminders->markReminded(selectedListedRows()); }); });
    connect(m_export, &QPushButton::clicked, this, [this] { runGuarded([this] { exportRows(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* reread = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(reread, &QShortcut::activated, this, [this] { runGuarded([this] { refresh(); }); });
}

void TPlanRevizi::applyPlacement()
{
    const PlanSettings settings = PlanSettings::read(m_context.settingsFile());
    if (settings.geometry.isValid()) {
        resize(settings.geometry.size());
        move(settings.geometry.topLeft());
    } else {
        resize(1120, 600);
    }
    for (int c = 0; c < PlanModel::ColumnCount; ++c)
        m_grid->setColumnWidth(c, settings.columnWidths.value(c, PlanModel::defaultWidth(c)));
}

void TPlanRevizi::storePlacement()
{
    PlanSettings settings;
    settings.geometry = QRect(pos(), size());
    for (int c = 0; c < PlanModel::ColumnCount; ++c)
        settings.columnWidths << m_grid->columnWidth(c);
    settings.writePlacement(m_context.settingsFile());
}

void TPlanRevizi::closeEvent(QCloseEvent* event)
{
    // Only the user's closing of the window is remembered; the end of the program writes
    // nothing.
    runGuarded([this] { storePlacement(); });
    event->accept();
}

void TPlanRevizi::reject()
{
    close();
}

bool TPlanRevizi::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_stale)
        runGuarded([this] { refresh(); });
    return QDialog::event(event);
}

bool TPlanRevizi::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            runGuarded([this] { openCurrent(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

PlanFilter TPlanRevizi::filter() const
{
    PlanFilter f;
    f.today = QDate::currentDate();
    f.until = m_until;
    f.watchedOnly = m_watchedOnly->isChecked();
    f.withoutNext = m_withoutNext->isChecked();
    return f;
}

void TPlanRevizi::setUntil(const QDate& day)
{
    m_until = day;
    m_untilEdit->setText(FieldValues::dateText(day));
}

void TPlanRevizi::untilTyped()
{
    QDate day;
    if (!FieldValues::parseDate(m_untilEdit->text().trimmed(), &day) || !day.isValid()) {
        const QString typed = m_untilEdit->text();
        setUntil(m_until);
        ShowInfo(QStringLiteral("„%1“ není platné datum. Zadejte datum ve tvaru den.měsíc.rok.").arg(typed));
        return;
    }
    if (day == m_until)
        return;
    setUntil(day);
    applyFilter();
}

void TPlanRevizi::pickUntil()
{
    QDate day = m_until;
    const QPoint below = m_untilEdit->mapToGlobal(QPoint(0, m_untilEdit->height()));
    if (!PickDate(day, QStringLiteral("Revize do"), below.x(), below.y()))
        return;
    setUntil(day);
    applyFilter();
}

void TPlanRevizi::showOverdue()
{
    const QSignalBlocker watched(m_watchedOnly);
    const QSignalBlocker without(m_withoutNext);
    const QSignalBlocker text(m_textFilter);
    m_watchedOnly->setChecked(true);
    m_withoutNext->setChecked(false);
    m_textFilter->clear();
    m_model->setTextFilter(QString());
    setUntil(QDate::currentDate().addDays(-1));
    applyFilter();
}

void TPlanRevizi::applyFilter()
{
    if (!m_rows->isRead()) {
        refresh();
        return;
    }
    const int row = currentListedRow();
    const QVariant currentCard =
        row >= 0 ? m_model->value(row, QStringLiteral("id_topneho_zdroje")) : QVariant();
    // Only what was not read yet is read and put after the others: the other customers'
    // cards, then the cards a later day adds.
    bool readAny = false;
    if (!m_watchedOnly->isChecked() && !m_rows->allCustomers())
        readAny |= readMore([this] { m_rows->readOtherCustomers(); });
    if (m_until > m_rows->until())
        readAny |= readMore([this] { m_rows->readUntil(m_until); });
    // The rows and the filter are listed together, once.
    if (readAny)
        m_model->setRows(m_rows->dataSet(), m_rows->customerOrder(), filter());
    else
        m_model->setFilter(filter());
    keepCurrentCard(currentCard);
}

bool TPlanRevizi::readMore(const std::function<void()>& read)
{
    try {
        read();
        return true;
    } catch (const DatabaseError& e) {
        ShowWarning(QStringLiteral("Plán revizí se nepodařilo načíst: ") + e.text());
        return false;
    }
}

void TPlanRevizi::refresh()
{
    const int row = currentListedRow();
    const QVariant currentCard =
        row >= 0 ? m_model->value(row, QStringLiteral("id_topneho_zdroje")) : QVariant();
    m_stale = false;
    try {
        m_rows->read(m_until, !m_watchedOnly->isChecked());
    } catch (const DatabaseError& e) {
        m_model->setRows(nullptr, {});
        keepCurrentCard({});
        ShowWarning(QStringLiteral("Plán revizí se nepodařilo načíst: ") + e.text());
        return;
    }
    m_model->setRows(m_rows->dataSet(), m_rows->customerOrder(), filter());
    keepCurrentCard(currentCard);
}

void TPlanRevizi::keepCurrentCard(const QVariant& cardId)
{
    int again = 0;
    for (int r = 0; cardId.isValid() && r < m_model->rowCount(); ++r)
        if (m_model->value(r, QStringLiteral("id_topneho_zdroje")) == cardId) {
            again = r;
            break;
        }
    if (m_model->rowCount() > 0) {
        const QModelIndex index = m_model->index(again, 0);
        // Current, not selected: without a selection the letters go to every listed row.
        m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_grid->scrollTo(index);
    }
    showCounts();
    updateButtons();
}

void TPlanRevizi::showCounts()
{
    m_counts->setText(QStringLiteral("Zdrojů: %1, z toho po termínu: %2")
                          .arg(m_model->rowCount())
                          .arg(m_model->overdueCount()));
}

void TPlanRevizi::updateButtons()
{
    const int row = currentListedRow();
    const bool any = m_model->rowCount() > 0;
    m_open->setEnabled(row >= 0);
    m_email->setEnabled(row >= 0 &&
                        !m_model->value(row, QStringLiteral("email")).toString().trimmed().isEmpty());
    m_print->setEnabled(any);
    m_mark->setEnabled(any);
    m_export->setEnabled(any);
}

int TPlanRevizi::currentListedRow() const
{
    const QModelIndex current = m_grid->selectionModel()->currentIndex();
    return current.isValid() && current.row() < m_model->rowCount() ? current.row() : -1;
}

QList<int> TPlanRevizi::selectedListedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : m_grid->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TPlanRevizi::openCurrent()
{
    const int row = currentListedRow();
    if (row < 0)
        return;
    m_openCard(m_model->value(row, QStringLiteral("id_zakaznika")).toInt(),
               m_model->value(row, QStringLiteral("id_topneho_zdroje")).toInt());
}

void TPlanRevizi::exportRows()
{
    ExportovatTabulku(m_rows->dataSet(), QStringLiteral("plan_revizi"), this, m_model->listedRows());
}
