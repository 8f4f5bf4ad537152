#include "app/Hlavni_f.h"

#include "app/AboutWindow.h"
#include "app/CommandTable.h"
#include "app/DatabaseBackups.h"
#include "app/HomePage.h"
#include "app/OpenCustomer.h"
#include "app/PlanLink.h"
#include "app/ServiceCommands.h"
#include "app/StartupSequence.h"
#include "codelists/CisCinnosti_f.h"
#include "codelists/CisKategorii_f.h"
#include "codelists/CisTechniku_f.h"
#include "codelists/CisZakazniku_f.h"
#include "exchange/ReportBinding.h"
#include "helpers/TextConversions.h"
#include "records/ActivityPanel.h"
#include "records/CardPanel.h"
#include "store/DataSet.h"
#include "uikit/CommandNames.h"
#include "uikit/Commands.h"
#include "uikit/Dialogs.h"
#include "uikit/Guard.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

THlavni::THlavni(const QString& programDirectory, QWidget* parent)
    : QMainWindow(parent), m_context(programDirectory), m_records(m_context.connection, this)
{
    setObjectName(QStringLiteral("Hlavni"));
    m_commands = std::make_unique<CommandTable>(this);
    buildWindow();
    m_customer = std::make_unique<OpenCustomer>(m_context, m_records, m_cardPanel, m_activityPanel,
                                                m_openCustomerLabel, *m_commands, this);
    m_planLink =
        std::make_unique<PlanLink>(m_context, m_records, *m_customer, m_toolbar, m_openCustomerLabel, this);
    m_backups = std::make_unique<DatabaseBackups>(m_context, *m_customer, this, [this] { FormClose(); });
    m_service = std::make_unique<ServiceCommands>(
        m_context, this, [this] { applySettings(); }, [this] { m_planLink->dataWritten(); });
    connectCommands();
}

THlavni::~THlavni() = default;

QAction* THlavni::action(const QString& name) const
{
    return m_commands->action(name);
}

bool THlavni::FormCreate()
{
    // 1. Title. 2. Program directory (set when the window was created).
    setWindowTitle(applicationTitle());
    StartupSequence startup(m_context, m_records);

    // 3. Template directory. 4. Settings. 5. Start-up password.
    if (!startup.makeTemplateDirectory())
        return false;
    startup.readSettings();
    if (!startup.passPasswordGate())
        return false;

    // 6. Initial commands.
    m_records.IdOtevrenehoZakaznika = 0;
    action(Akce_ZavritZakaznika)->setEnabled(false);
    action(Akce_ZmenaHesla)->setVisible(m_context.settings.hsl);
    m_openCustomerLabel->clear();

    // 7. to 9. The database: the file next to the program, or the shared server.
    if (!startup.connectDatabase())
        return false;

    // 10. to 13. Schema upgrade, grids, lookup data sets, field binding. A database error
    // here is reported and start-up goes on without the rest of these steps.
    runGuarded([&] { startup.openDataSets(); });
    m_planLink->setAvailable(startup.planAvailable());
    action(Akce_PlanRevizi)->setEnabled(startup.planAvailable());
    m_planLink->recountOverdue();

    // 14. and 15. Date fields and panel colours; both panels stay hidden.
    applySettings();

    // 16. Placement records.
    m_context.PoziceCiselnikuZakazniku = {x() + 80, y() + 80, -1, -1, {}};
    m_context.PoziceOtevritZakaznika = {x() + 80, y() + 80, -1, -1, {-1, -1, -1, -1}};

    m_started = true;
    return true;
}

void THlavni::OtevritZakaznikaId(int cardId)
{
    m_customer->open(cardId);
}

bool THlavni::closeCustomer()
{
    return m_customer->close();
}

void THlavni::reloadOpenCustomer()
{
    m_customer->reload();
}

TPlanRevizi* THlavni::openPlan(bool overdueOnly)
{
    return m_planLink->open(overdueOnly);
}

bool THlavni::openCardFromPlan(int customerId, int cardId)
{
    return m_planLink->openCard(customerId, cardId);
}

void THlavni::recountOverdue()
{
    m_planLink->recountOverdue();
}

QLabel* THlavni::overdueLabel() const
{
    return m_planLink->overdueLabel();
}

void THlavni::buildWindow()
{
    // The design's client area, 972 x 601, lies under the menu bar; Qt's window size
    // includes the menu bar and excludes the frame. It is also the smallest size.
    m_commands->buildMenu(menuBar());
    const QSize designSize(972, 601 + menuBar()->sizeHint().height());
    setMinimumSize(designSize);
    resize(designSize);

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_toolbar = new QFrame(central);
    m_toolbar->setObjectName(QStringLiteral("Panel_Nastrojovy"));
    m_toolbar->setFixedHeight(41);
    m_toolbar->setFrameShape(QFrame::StyledPanel);
    column->addWidget(m_toolbar);
    buildToolbar();

    auto* panels = new QHBoxLayout;
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(0);
    column->addLayout(panels, 1);

    m_activityPanel = new ActivityPanel(m_context, m_records, central);
    m_cardPanel = new CardPanel(m_context, m_records, m_activityPanel, central);
    m_cardPanel->setFixedWidth(473);
    m_cardPanel->hide();
    m_activityPanel->hide();
    panels->addWidget(m_cardPanel);
    panels->addWidget(m_activityPanel, 1);
    panels->addStretch(0);

    setCentralWidget(central);
}

void THlavni::buildToolbar()
{
    const struct
    {
        const char* command;
        int x;
    } buttons[] = {
        {Akce_OtevritTZ, 8}, {Akce_OtevritZakaznika, 112}, {Akce_ZavritZakaznika, 216}, {Akce_Tisk, 320}};
    for (const auto& b : buttons) {
        auto* button = new QPushButton(m_toolbar);
        button->setObjectName(buttonNameFor(QString::fromLatin1(b.command)));
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(b.x, 8, 97, 25);
        bindButton(button, action(QString::fromLatin1(b.command)));
    }
    m_openCustomerLabel = new QLabel(m_toolbar);
    m_openCustomerLabel->setObjectName(QStringLiteral("La_OtevrenyZakaznik"));
    m_openCustomerLabel->setGeometry(488, 12, 480, 17);
    QFont bold = m_openCustomerLabel->font();
    bold.setBold(true);
    m_openCustomerLabel->setFont(bold);
    m_openCustomerLabel->setStyleSheet(QStringLiteral("color: #800000;"));
}

template <class Window, class... Extra> void THlavni::runCodeList(DataSet* lookupToReload, Extra... extra)
{
    {
        Window window(m_context, extra..., this);
        runModal(window);
    }
    if (lookupToReload) {
        lookupToReload->close();
        lookupToReload->open();
    }
}

void THlavni::connectCommands()
{
    connect(action(Akce_Konec), &QAction::triggered, this, &QWidget::close);
    onTriggered(action(Akce_CiselnikCinnosti), this,
                [this] { runCodeList<TCisCinnosti>(m_records.DS_Cin2); });
    onTriggered(action(Akce_CiselnikKategorii), this,
                [this] { runCodeList<TCisKategorii>(m_records.DS_Kategorie); });
    onTriggered(action(Akce_CiselnikTechniku), this, [this] { runCodeList<TCisTechniku>(nullptr); });
    onTriggered(action(Akce_DomovskaStranka), this,
                [] { ShellOpen(QStringLiteral("http://") + HomePageAddress); });
    onTriggered(action(Akce_OtevritZakaznika), this, [this] { m_customer->openCommand(); });
    onTriggered(action(Akce_ZavritZakaznika), this, [this] { m_customer->close(); });
    onTriggered(action(Akce_OtevritTZ), this, [this] { m_customer->findCardCommand(); });
    onTriggered(action(Akce_CiselnikZakazniku), this, [this] {
        runCodeList<TCisZakazniku>(nullptr, [this] { return m_records.IdOtevrenehoZakaznika; });
        m_planLink->dataWritten(); // watching, customers and their cards may have changed there
    });
    onTriggered(action(Akce_PlanRevizi), this, [this] { m_planLink->open(false); });
    onTriggered(action(Akce_Konfig), this, [this] { m_service->changeSettings(); });
    onTriggered(action(Akce_UdajeUzivatele), this, [this] { m_service->changeUserData(); });
    onTriggered(action(Akce_ZmenaHesla), this, [this] { m_service->changePassword(); });
    onTriggered(action(Akce_ImportZakazniku), this, [this] { m_service->importCustomers(); });
    onTriggered(action(Akce_UctyTechniku), this, [this] { m_service->manageWebAccounts(); });
    onTriggered(action(Akce_ZalohovatDatabazi), this, [this] { m_backups->backupCommand(); });
    onTriggered(action(Akce_ObnovitZeZalohy), this, [this] { m_backups->restoreCommand(); });
    onTriggered(action(Akce_Tisk), this,
                [this] { ReportBinding::showReportGenerator(m_context, m_records.IdOtevrenehoZakaznika); });
    onTriggered(action(Akce_OProgramu), this, [this] {
        AboutWindow about(ProgramVersionText(), QStringLiteral("2025-03-25"),
                          ReportBinding::moduleVersionText(), this);
        runModal(about);
    });
    auto* reload = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(reload, &QShortcut::activated, this, [this] { runGuarded([this] { m_customer->reload(); }); });
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_Delete)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this, key] { dispatchSharedKey(key); });
    }
}

void THlavni::dispatchSharedKey(const QKeySequence& key)
{
    const RecordPanel::Command command =
        key == QKeySequence(Qt::Key_Insert) ? RecordPanel::New : RecordPanel::Delete;
    for (RecordPanel* panel : {m_cardPanel->panel(), m_activityPanel->panel()}) {
        QAction* target = panel->action(command);
        if (target->isEnabled()) {
            target->trigger();
            return;
        }
    }
}

void THlavni::applySettings()
{
    m_cardPanel->applySettings(m_context.settings);
    m_activityPanel->applySettings(m_context.settings);
}

void THlavni::closeEvent(QCloseEvent* event)
{
    // Before start-up has finished there is nothing to shut down; after the shutdown has run
    // (a restore runs it before it closes the window) nothing is left to.
    if (!m_started || m_ended) {
        event->accept();
        return;
    }
    bool mayClose = false;
    runGuarded([&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    runGuarded([&] { FormClose(); });
    event->accept();
}

bool THlavni::FormCloseQuery()
{
    return m_customer->savePendingEdits();
}

void THlavni::FormClose()
{
    m_ended = true;
    m_planLink->closeWindow(); // without remembering its place: the end of the program writes nothing
    for (DataSet* ds : {m_records.DS_Kategorie, m_records.DS_Cin2, m_records.DS_Cin, m_records.DS_Karty})
        if (ds && ds->isOpen())
            ds->close();
    m_backups->automaticBackup();
}
