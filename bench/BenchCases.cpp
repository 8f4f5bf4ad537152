#include "BenchCases.h"

#include "BackupCases.h"
#include "CustomerCases.h"
#include "ExtensionCases.h"
#include "ImportCases.h"
#include "PlanCases.h"
#include "RegisterCases.h"
#include "WorkDatabase.h"

#include "app/Hlavni_f.h"
#include "codelists/CisCinnosti_f.h"
#include "exchange/TableExport.h"
#include "store/DataSet.h"
#include "store/Transaction.h"
#include "uikit/AppContext.h"
#include "uikit/RecordPanel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <memory>

namespace {

const int activityKindRows = 5000;

int rowCount(Connection& connection, const QString& table)
{
    return connection.query(QStringLiteral("SELECT count(*) FROM ") + table).rows[0][0].toInt();
}

// A window shown, as the user opens it.
std::unique_ptr<TCisCinnosti> openKindsWindow(AppContext& context)
{
    auto window = std::make_unique<TCisCinnosti>(context, nullptr);
    window->show();
    return window;
}

BenchCase kindsWindowOpen(BenchEnv& env)
{
    BenchCase c;
    c.name = QStringLiteral("TCisCinnosti open (%1 rows)").arg(activityKindRows);
    c.targetMs = 100;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 10;
    c.run = [&env] {
        std::unique_ptr<TCisCinnosti> window;
        const Sample sample =
            measureDrawn(env.context.connection, [&] { window = openKindsWindow(env.context); });
        window.reset();
        QApplication::processEvents();
        return sample;
    };
    return c;
}

BenchCase kindsWindowMove(BenchEnv& env)
{
    // One window for all moves; forward to the end, then back.
    struct State
    {
        std::unique_ptr<TCisCinnosti> window;
        RecordPanel::Command direction = RecordPanel::Next;
    };
    auto state = std::make_shared<State>();
    BenchCase c;
    c.name = QStringLiteral("TCisCinnosti move to next/prior row");
    c.targetMs = 5;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 300;
    c.prepare = [&env, state] {
        state->window = openKindsWindow(env.context);
        QApplication::processEvents();
    };
    c.run = [&env, state] {
        DataSet* data = state->window->dataSet();
        if (data->recNo() == data->recordCount())
            state->direction = RecordPanel::Previous;
        else if (data->recNo() <= 1)
            state->direction = RecordPanel::Next;
        QAction* action = state->window->panel()->action(state->direction);
        return measureDrawn(env.context.connection, [&] { action->trigger(); });
    };
    c.finish = [state] { state->window.reset(); };
    return c;
}

const QString customersQuery = QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY id");

BenchCase customersOpen(BenchEnv& env, int customers)
{
    BenchCase c;
    c.name = QStringLiteral("DataSet open (%1 customers)").arg(customers);
    c.repetitions = 5;
    c.run = [&env] {
        DataSet data(env.context.connection, QStringLiteral("DS_Export"));
        data.setCommandText(customersQuery);
        return measure(env.context.connection, [&] { data.open(); });
    };
    return c;
}

// The export cases share one data set, opened outside the measured time.
BenchCase customersExport(BenchEnv& env, int customers, bool xml)
{
    auto data = std::make_shared<std::unique_ptr<DataSet>>();
    BenchCase c;
    c.name = QStringLiteral("%1 export (%2 customers)")
                 .arg(xml ? QStringLiteral("XML") : QStringLiteral("CSV"))
                 .arg(customers);
    c.targetMs = 1000;
    c.repetitions = 5;
    c.prepare = [&env, data] {
        *data = std::make_unique<DataSet>(env.context.connection, QStringLiteral("DS_Export"));
        (*data)->setCommandText(customersQuery);
        (*data)->open();
    };
    c.run = [&env, data, xml] {
        const QString path =
            QDir(env.workDir)
                .filePath(xml ? QStringLiteral("zakaznici.xml") : QStringLiteral("zakaznici.csv"));
        return measure(env.context.connection, [&] {
            if (xml)
                UlozitXML(**data, path, QStringLiteral("data"));
            else
                UlozitCSV(**data, path);
        });
    };
    c.finish = [data] { data->reset(); };
    return c;
}

} // namespace

THlavni& mainWindow(const BenchEnv& env, const SharedWindow& window)
{
    if (*window)
        return **window;
    QFile ini(env.workDir + QStringLiteral("/Vestibor.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[konfig]\r\nhsl=0\r\nDialogUlozit=0\r\n");
    ini.close();
    env.database.pointProgramAt(env.workDir);
    *window = std::make_shared<THlavni>(env.workDir);
    (*window)->FormCreate();
    (*window)->show();
    QApplication::processEvents();
    return **window;
}

void fillActivityKinds(Connection& connection, int count)
{
    const int present = rowCount(connection, QStringLiteral("cis_cinnost"));
    QList<QVariantList> rows;
    for (int i = present + 1; i <= count; ++i)
        rows.append({QStringLiteral("Činnost č. %1 – kontrola a seřízení").arg(i, 4, 10, QChar(u'0'))});
    Transaction tx(connection);
    connection.executeMany(QStringLiteral("INSERT INTO cis_cinnost (nazev_cinnosti) VALUES (?)"), rows);
    tx.commit();
}

int onMeasuredCustomers(BenchEnv& env, BenchCase& c)
{
    Connection& db = env.context.connection;
    const int customers = rowCount(db, QStringLiteral("cis_zakaznici"));
    const qint64 lastGenerated =
        db.query(QStringLiteral("SELECT max(id) FROM cis_zakaznici")).rows[0][0].toLongLong();
    const int added = std::max(0, measuredCustomers - customers);
    c.prepare = [&db, added, prepare = c.prepare] {
        if (prepare)
            prepare();
        db.execute(QStringLiteral(
                       "INSERT INTO cis_zakaznici (nazev, osoba, ulice, mesto, psc, ico, dic, tel, mobil, "
                       "email, zaruka5let, hlidani_revizi, je_firma, poznamka1, poznamka2) "
                       "SELECT substr(nazev, 1, 90) || ' (pobočka)', osoba, ulice, mesto, psc, ico, dic, "
                       "tel, mobil, email, zaruka5let, hlidani_revizi, je_firma, poznamka1, poznamka2 "
                       "FROM cis_zakaznici ORDER BY id LIMIT %1")
                       .arg(added));
    };
    c.finish = [&db, lastGenerated, finish = c.finish] {
        if (finish)
            finish();
        db.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE id > %1").arg(lastGenerated));
    };
    return customers + added;
}

QList<BenchCase> benchCases(BenchEnv& env)
{
    fillActivityKinds(env.context.connection, activityKindRows);
    const int customers = rowCount(env.context.connection, QStringLiteral("cis_zakaznici"));
    return QList<BenchCase>{kindsWindowOpen(env), kindsWindowMove(env), customersOpen(env, customers),
                            customersExport(env, customers, true), customersExport(env, customers, false)} +
           customerCases(env) + planCases(env) + registerCases(env) + extensionCases(env) + importCases(env) +
           backupCases(env);
}
