#include "RegisterCases.h"

#include "BenchCases.h"
#include "ImportCases.h"

#include "codelists/CisZakazniku_f.h"
#include "exchange/TableExport.h"
#include "helpers/Settings.h"
#include "store/DataSet.h"
#include "uikit/AppContext.h"

#include <QApplication>
#include <QDir>
#include <memory>

namespace {

const QStringList orderNames{QStringLiteral("insertion"),     QStringLiteral("name"),
                             QStringLiteral("person"),        QStringLiteral("street"),
                             QStringLiteral("town"),          QStringLiteral("postcode"),
                             QStringLiteral("company number")};

// On the measured customers.
BenchCase openRegister(BenchEnv& env, int order)
{
    BenchCase c;
    c.targetMs = 150;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 5;
    c.prepare = [&env, order] { CustomerSortSetting::write(env.context.settingsFile(), order); };
    c.run = [&env] {
        std::unique_ptr<TCisZakazniku> window;
        const Sample sample = measureDrawn(env.context.connection, [&] {
            window = std::make_unique<TCisZakazniku>(
                env.context, [] { return 0; }, nullptr);
            window->show();
        });
        window->reject();
        window.reset();
        QApplication::processEvents();
        return sample;
    };
    const int customers = onMeasuredCustomers(env, c);
    c.name = QStringLiteral("Register open, %1 customers by %2").arg(customers).arg(orderNames[order]);
    return c;
}

BenchCase importExport(BenchEnv& env, int customers)
{
    BenchCase c;
    c.name = QStringLiteral("Import %1 customers from the register's export").arg(customers);
    c.targetMs = 3000;
    c.repetitions = 3;
    const QString exportFile = QDir(env.workDir).filePath(QStringLiteral("zakaznik.xml"));
    c.prepare = [&env, exportFile] {
        DataSet register_(env.context.connection, QStringLiteral("ADODataSet1"));
        register_.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY id"));
        register_.open();
        UlozitXML(register_, exportFile, QStringLiteral("data"));
    };
    // Each run imports into an empty database of its own.
    c.run = [&env, exportFile] { return importIntoEmptyDatabase(env, exportFile); };
    return c;
}

} // namespace

QList<BenchCase> registerCases(BenchEnv& env)
{
    const int customers =
        env.context.connection.query(QStringLiteral("SELECT count(*) FROM cis_zakaznici")).rows[0][0].toInt();
    QList<BenchCase> cases;
    for (int order = 0; order < orderNames.size(); ++order)
        cases << openRegister(env, order);
    cases << importExport(env, customers);
    return cases;
}
