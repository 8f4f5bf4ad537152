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

const QStringList orderNames{QStringLiteral("insertion"), QStringLiteral("name"),     QStringLiteral("person"),
                             QStringLiteral("street"),    QStringLiteral("town"),     QStringLiteral("postcode"),
                             QStringLiteral("company number")};

BenchCase openRegister(BenchEnv& env, int order, int customers)
{
    BenchCase c;
    c.name = QStringLiteral("Register open, %1 customers by %2").arg(customers).arg(orderNames[order]);
    c.targetMs = 150;
    c.statementLimit = windowStatementLimit;
    c.repetitions = 5;
    c.prepare = [&env, order] { CustomerSortSetting::write(env.context.settingsFile(), order); };
    c.run = [&env] {
        std::unique_ptr<TCisZakazniku> window;
        const Sample sample = measureDrawn(env.context.connection, [&] {
            window = std::make_unique<TCisZakazniku>(env.context, nullptr);
            window->show();
        });
        window->reject();
        window.reset();
        QApplication::processEvents();
        return sample;
    };
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

// The register is measured on this many customers: the generated ones, and as many more as
// needed made from them for each of its cases (and removed after it).
constexpr int registerCustomers = 20000;

QList<BenchCase> registerCases(BenchEnv& env)
{
    Connection& db = env.context.connection;
    const int customers = db.query(QStringLiteral("SELECT count(*) FROM cis_zakaznici")).rows[0][0].toInt();
    const qint64 lastGenerated = db.query(QStringLiteral("SELECT max(id) FROM cis_zakaznici")).rows[0][0].toLongLong();
    const int added = std::max(0, registerCustomers - customers);
    QList<BenchCase> cases;
    for (int order = 0; order < orderNames.size(); ++order) {
        BenchCase c = openRegister(env, order, customers + added);
        c.prepare = [&db, added, prepare = c.prepare] {
            prepare();
            db.execute(QStringLiteral(
                           "INSERT INTO cis_zakaznici (nazev, osoba, ulice, mesto, psc, ico, dic, tel, mobil, email, "
                           "zaruka5let, hlidani_revizi, je_firma, poznamka1, poznamka2) "
                           "SELECT substr(nazev, 1, 90) || ' (pobočka)', osoba, ulice, mesto, psc, ico, dic, tel, "
                           "mobil, email, zaruka5let, hlidani_revizi, je_firma, poznamka1, poznamka2 "
                           "FROM cis_zakaznici ORDER BY id LIMIT %1")
                           .arg(added));
        };
        c.finish = [&db, lastGenerated] {
            db.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE id > %1").arg(lastGenerated));
        };
        cases << c;
    }
    cases << importExport(env, customers);
    return cases;
}
