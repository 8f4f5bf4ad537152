#include "CustomerCases.h"

#include "BenchCases.h"

#include "app/Hlavni_f.h"
#include "records/CardPanel.h"
#include "records/CardSearch.h"
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
    return c.query(QStringLiteral("SELECT id_zakaznika FROM topny_zdroj GROUP BY id_zakaznika "
                                  "ORDER BY count(*) DESC LIMIT 1"))
        .rows.value(0)
        .value(0)
        .toInt();
}

BenchCase openBigCustomer(BenchEnv& env, std::shared_ptr<std::shared_ptr<THlavni>> window)
{
    BenchCase c;
    const int id = biggestCustomer(env.context.connection);
    const int cards = env.context.connection
                          .query(QStringLiteral("SELECT count(*) FROM topny_zdroj WHERE id_zakaznika = %1").arg(id))
                          .rows[0][0]
                          .toInt();
    c.name = QStringLiteral("Open the customer with %1 cards").arg(cards);
    c.targetMs = 150;
    c.repetitions = 10;
    c.prepare = [&env, window] { *window = mainWindow(env); };
    c.run = [window, id] {
        THlavni& w = **window;
        const double ms = elapsedMs([&] {
            w.context().IdOtevrenehoZakaznika = id;
            w.OtevritZakaznikaId();
            QApplication::processEvents();
        });
        w.ZavritZakaznika();
        QApplication::processEvents();
        return ms;
    };
    return c;
}

BenchCase moveCard(std::shared_ptr<std::shared_ptr<THlavni>> window, BenchEnv& env)
{
    BenchCase c;
    c.name = QStringLiteral("Move to another card with its activities");
    c.targetMs = 10;
    c.repetitions = 200;
    const int id = biggestCustomer(env.context.connection);
    c.prepare = [window, id] {
        THlavni& w = **window;
        w.context().IdOtevrenehoZakaznika = id;
        w.OtevritZakaznikaId();
        QApplication::processEvents();
    };
    c.run = [window] {
        THlavni& w = **window;
        DataSet* cards = w.context().DS_Karty;
        const auto command = cards->recNo() == cards->recordCount() ? RecordPanel::NaZacatek : RecordPanel::Vpred;
        return elapsedMs([&] {
            w.cardPanel()->panel()->action(command)->trigger();
            QApplication::processEvents();
        });
    };
    c.finish = [window] { (*window)->ZavritZakaznika(); };
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
        for (const auto& row : env.context.connection
                                   .query(QStringLiteral("SELECT vyrobni_cislo FROM topny_zdroj WHERE vyrobni_cislo "
                                                         "IS NOT NULL ORDER BY random() LIMIT 50"))
                                   .rows)
            serials->append(row[0].toString());
    };
    c.run = [&env, serials] {
        const QString serial = serials->isEmpty() ? QString() : serials->takeFirst();
        Connection& db = env.context.connection;
        return elapsedMs([&] {
            if (CardSearch::count(db, QStringLiteral("vyrobni_cislo"), serial) == 1)
                env.context.store.ZakaznikKarty(CardSearch::firstCardId(db, QStringLiteral("vyrobni_cislo"), serial));
        });
    };
    return c;
}

BenchCase filterByTown(BenchEnv& env)
{
    BenchCase c;
    const int customers = env.context.connection.query(QStringLiteral("SELECT count(*) FROM cis_zakaznici")).rows[0][0].toInt();
    c.name = QStringLiteral("Filter %1 customers by town").arg(customers);
    c.targetMs = 50;
    c.repetitions = 10;
    auto dialog = std::make_shared<std::unique_ptr<TOtevritZakaznika>>();
    c.prepare = [&env, dialog] {
        *dialog = std::make_unique<TOtevritZakaznika>(env.context, nullptr);
        (*dialog)->show();
        (*dialog)->findChild<QComboBox*>(QStringLiteral("CBox_Pole"))->setCurrentText(QStringLiteral("mesto"));
        (*dialog)->findChild<QLineEdit*>(QStringLiteral("Ed_Filtr"))->setText(QStringLiteral("Brno"));
        QApplication::processEvents();
    };
    c.run = [dialog] {
        return elapsedMs([&] {
            (*dialog)->applyFilter();
            QApplication::processEvents();
        });
    };
    c.finish = [dialog] { dialog->reset(); };
    return c;
}

} // namespace

QList<BenchCase> customerCases(BenchEnv& env)
{
    auto window = std::make_shared<std::shared_ptr<THlavni>>();
    BenchCase last = filterByTown(env);
    last.finish = [finish = last.finish, window] {
        finish();
        window->reset();
    };
    return {openBigCustomer(env, window), moveCard(window, env), findBySerialNumber(env), last};
}
