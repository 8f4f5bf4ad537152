#include "ImportCases.h"

#include "BenchCases.h"
#include "WorkDatabase.h"

#include "exchange/CustomerImport.h"
#include "helpers/AppError.h"
#include "store/Connection.h"

#include <QDir>
#include <QFile>

namespace {

// A file of the export's shape: one customer per record, with the columns a firm fills in.
void writeCustomerFile(const QString& path, int customers)
{
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<data>\r\n";
    for (int i = 1; i <= customers; ++i) {
        const QString yes = i % 2 ? QStringLiteral("True") : QStringLiteral("False");
        bytes += QStringLiteral("  <zaznam>\r\n"
                                "    <id>%1</id>\r\n"
                                "    <nazev>Zákazník %1</nazev>\r\n"
                                "    <osoba>Jan Čermák</osoba>\r\n"
                                "    <ulice>Dlouhá %2</ulice>\r\n"
                                "    <mesto>Ústí nad Labem</mesto>\r\n"
                                "    <psc>400 01</psc>\r\n"
                                "    <tel>+420 475 %3</tel>\r\n"
                                "    <email>zakaznik%1@example.cz</email>\r\n"
                                "    <zaruka5let>%4</zaruka5let>\r\n"
                                "    <hlidani_revizi>True</hlidani_revizi>\r\n"
                                "    <je_firma/>\r\n"
                                "  </zaznam>\r\n")
                     .arg(i)
                     .arg(i % 300 + 1)
                     .arg(i % 1000000, 6, 10, QChar(u'0'))
                     .arg(yes)
                     .toUtf8();
    }
    bytes += "</data>\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw AppError(QStringLiteral("cannot write %1").arg(path));
}

BenchCase importGenerated(BenchEnv& env, int customers, double targetMs, int repetitions)
{
    BenchCase c;
    c.name = QStringLiteral("Import %1 customers from a generated file").arg(customers);
    c.targetMs = targetMs;
    c.repetitions = repetitions;
    const QString file = QDir(env.workDir).filePath(QStringLiteral("vygenerovano.xml"));
    c.prepare = [file, customers] { writeCustomerFile(file, customers); };
    c.run = [&env, file] { return importIntoEmptyDatabase(env, file); };
    c.finish = [file] { QFile::remove(file); };
    return c;
}

} // namespace

Sample importIntoEmptyDatabase(const BenchEnv& env, const QString& file)
{
    Connection connection(QStringLiteral("bench-import"));
    env.database.openEmpty(connection);
    return measure(connection, [&] { ImportovatXML(connection, file, QStringLiteral("cis_zakaznici")); });
}

QList<BenchCase> importCases(BenchEnv& env)
{
    // The large file is only reported: it shows how the time grows with the file.
    return {importGenerated(env, 20000, 5000, 3), importGenerated(env, 100000, 0, 1)};
}
