#include "CustomerCases.h"

#include "BenchCases.h"
#include "RawCases.h"
#include "WorkDatabase.h"

#include "app/Hlavni_f.h"
#include "records/CardPanel.h"
#include "records/CardSearch.h"
#include "records/CustomerRecords.h"
#include "records/OtevritZakaznika_f.h"
#include "store/DataSet.h"
#include "uikit/AppContext.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <memory>

namespace {

// The customer with the most cards.
int biggestCustomer(Connection& c)
{
    return c
        .query(QStringLiteral("SELECT id_zakaznika FROM topny_zdroj GROUP BY id_zakaznika "
                              "ORDER BY count(*) DESC LIMIT 1"))
        .rows.value(0)
        .value(0)
        .toInt();
}

// What the user does, and what the raw cases record: open the customer in the main
// window, and move to the next card (from the last back to the first).
void openCustomer(THlavni& w, int id)
{
    w.records().IdOtevrenehoZakaznika = id;
    w.OtevritZakaznikaId();
}

void moveToAnotherCard(THlavni& w)
{
    DataSet* cards = w.records().DS_Karty;
    const auto command = cards->recNo() == cards->recordCount() ? RecordPanel::First : RecordPanel::Next;
    w.cardPanel()->panel()->action(command)->trigger();
}

BenchCase openBigCustomer(BenchEnv& env, const SharedWindow& window, int id)
{
    BenchCase c;
    const int cards =
        env.context.connection
            .query(QStringLiteral("SELECT count(*) FROM topny_zdroj WHERE id_zakaznika = %1").arg(id))
            .rows[0][0]
            .toInt();
    c.name = QStringLiteral("Open the customer with %1 cards").arg(cards);
    c.targetMs = 150;
    c.statementLimit = 4;
    c.repetitions = 10;
    c.prepare = [&env, window] { mainWindow(env, window); };
    c.run = [window, id] {
        THlavni& w = **window;
        const Sample sample = measureDrawn(w.context().connection, [&] { openCustomer(w, id); });
        w.closeCustomer();
        QApplication::processEvents();
        return sample;
    };
    c.runInRow = [window, id] {
        THlavni& w = **window;
        const double ms = elapsedMs([&] { openCustomer(w, id); });
        w.closeCustomer();
        return ms;
    };
    return c;
}

// The floor under a case in the main window: the statements of its action, recorded as many
// times as that case runs (after the set-up), run through SQLite's own interface.
BenchCase rawFloor(const BenchEnv& env, const SharedWindow& window,
                   const std::function<void(THlavni&)>& setUp, const std::function<void(THlavni&)>& action,
                   int repetitions)
{
    const auto recorded = [window, setUp, action, repetitions] {
        THlavni& w = **window;
        setUp(w);
        return RawCases::record(
            w.context().connection, [&] { action(w); }, repetitions);
    };
    return RawCases::replay(QStringLiteral("  raw: the same statements"), env.database.filePath(), recorded,
                            repetitions);
}

BenchCase moveCard(BenchEnv& env, const SharedWindow& window, int id)
{
    BenchCase c;
    c.name = QStringLiteral("Move to another card with its activities");
    c.targetMs = 10;
    c.statementLimit = 2;
    c.repetitions = 200;
    c.prepare = [&env, window, id] {
        openCustomer(mainWindow(env, window), id);
        QApplication::processEvents();
    };
    c.run = [window] {
        THlavni& w = **window;
        return measureDrawn(w.context().connection, [&] { moveToAnotherCard(w); });
    };
    c.runInRow = [window] { return elapsedMs([&] { moveToAnotherCard(**window); }); };
    return c;
}

// A new activity on the open customer's current card, saved as the activity panel saves it:
// the database keeps the card's next inspection on the same write.
BenchCase saveActivity(BenchEnv& env, const SharedWindow& window, int id)
{
    BenchCase c;
    c.name = QStringLiteral("Save a new activity on a card");
    c.targetMs = 50;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 50;
    c.prepare = [&env, window, id] {
        openCustomer(mainWindow(env, window), id);
        QApplication::processEvents();
    };
    c.run = [window] {
        THlavni& w = **window;
        DataSet* activities = w.records().DS_Cin;
        static int day = 0;
        const QDate date = QDate(2026, 1, 1).addDays(++day % 300);
        return measureDrawn(w.context().connection, [&] {
            activities->append();
            activities->setValue(QStringLiteral("cinnost"), 1);
            activities->setValue(QStringLiteral("datum"), date);
            activities->setValue(QStringLiteral("datum_pristi"), date.addMonths(12));
            activities->setValue(QStringLiteral("cena_prace"), 1200);
            activities->post();
        });
    };
    return c;
}

BenchCase findBySerialNumber(BenchEnv& env)
{
    BenchCase c;
    c.name = QStringLiteral("Find a card by serial number");
    c.targetMs = 5;
    c.repetitions = 50;
    auto serials = std::make_shared<QStringList>();
    c.prepare = [&env, serials] {
        for (const auto& row :
             env.context.connection
                 .query(QStringLiteral("SELECT vyrobni_cislo FROM topny_zdroj WHERE vyrobni_cislo "
                                       "IS NOT NULL ORDER BY random() LIMIT 50"))
                 .rows)
            serials->append(row[0].toString());
    };
    c.run = [&env, serials] {
        const QString serial = serials->isEmpty() ? QString() : serials->takeFirst();
        Connection& db = env.context.connection;
        return measure(db, [&] {
            if (CardSearch::count(db, QStringLiteral("vyrobni_cislo"), serial) == 1)
                env.context.store.ZakaznikKarty(
                    CardSearch::firstCardId(db, QStringLiteral("vyrobni_cislo"), serial));
        });
    };
    return c;
}

BenchCase filterByTown(BenchEnv& env)
{
    BenchCase c;
    const int customers =
        env.context.connection.query(QStringLiteral("SELECT count(*) FROM cis_zakaznici")).rows[0][0].toInt();
    c.name = QStringLiteral("Filter %1 customers by town").arg(customers);
    c.targetMs = 50;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 10;
    auto dialog = std::make_shared<std::unique_ptr<TOtevritZakaznika>>();
    auto owner = std::make_shared<QObject>(); // of the dialog's unused records
    auto records = std::make_shared<CustomerRecords>(env.context.connection, owner.get());
    c.prepare = [&env, dialog, owner, records] {
        *dialog = std::make_unique<TOtevritZakaznika>(env.context, *records, nullptr);
        (*dialog)->show();
        (*dialog)
            ->findChild<QComboBox*>(QStringLiteral("CBox_Pole"))
            ->setCurrentText(QStringLiteral("mesto"));
        (*dialog)->findChild<QLineEdit*>(QStringLiteral("Ed_Filtr"))->setText(QStringLiteral("Brno"));
        QApplication::processEvents();
    };
    c.run = [&env, dialog] {
        return measureDrawn(env.context.connection, [&] { (*dialog)->applyFilter(); });
    };
    c.finish = [dialog] { dialog->reset(); };
    return c;
}

} // namespace

QList<BenchCase> customerCases(BenchEnv& env)
{
    auto window = std::make_shared<std::shared_ptr<THlavni>>();
    const int id = biggestCustomer(env.context.connection);
    // The raw cases stand right under the cases they floor; only the database file has them.
    const bool raw = !env.database.filePath().isEmpty();
    const BenchCase open = openBigCustomer(env, window, id);
    const BenchCase move = moveCard(env, window, id);
    QList<BenchCase> cases{open};
    if (raw)
        cases << rawFloor(
            env, window, [](THlavni&) {},
            [id](THlavni& w) {
                openCustomer(w, id);
                w.closeCustomer();
            },
            open.repetitions);
    cases << move;
    if (raw) // the same moves, from the first card on
        cases << rawFloor(
            env, window, [id](THlavni& w) { openCustomer(w, id); }, moveToAnotherCard, move.repetitions);
    cases << saveActivity(env, window, id);
    BenchCase last = filterByTown(env);
    last.finish = [finish = last.finish, window] {
        finish();
        window->reset();
    };
    return cases << findBySerialNumber(env) << last;
}
