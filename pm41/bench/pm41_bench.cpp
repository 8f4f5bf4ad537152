// Times every report of a template directory from "show report" to a finished preview on a
// large database, and optionally writes each one as PDF:
//   QT_QPA_PLATFORM=offscreen pm41_bench <database> <template directory>
//       [--customer ID] [--pdf DIR] [--runs N] [--extra "Name|value|…"]
// Without --customer the customer with the most cards is the open one. --extra gives the
// values the program hands over to the reports that need them (Zdroje|1,5,9 for the
// reminder letters); a report that needs one not given is reported and skipped. Work on a copy of the
// database: the connection is the program's own, which may leave WAL files beside it.
#include "ReportEngine.h"
#include "app/Application.h"
#include "helpers/AppError.h"
#include "helpers/CommandLine.h"
#include "store/Connection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

// What --help says the tool does.
const char description[] =
    "Times every report of a template directory from \"show report\" to a finished preview, "
    "and writes each one as PDF when asked. Work on a copy of the database: the connection "
    "is the program's own, which may leave WAL files beside it.";

QString parameterText(qint64 customer)
{
    return QStringLiteral(
               "NazevSubjektu|Topservis Novák s.r.o.|OdpovednaOsoba|Ing. Jan Novák|Ulice|Průmyslová 1820/12|"
               "PSC|602 00|Mesto|Brno|ICO|27451234|DIC|CZ27451234|Tel|+420 543 210 987|"
               "Email|servis@topservis-novak.cz|WWW|www.topservis-novak.cz|OtevrenyZakaznik|%1")
        .arg(customer);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Application::setUpCzech();
    CommandLine commandLine(QString::fromUtf8(description), QStringLiteral("Displays this help."));
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption customerOption = commandLine.addOption(
        QStringLiteral("customer"),
        QStringLiteral("The open customer (default: the one with the most cards)."), QStringLiteral("ID"));
    const QCommandLineOption pdfOption = commandLine.addOption(
        QStringLiteral("pdf"), QStringLiteral("Writes each report as PDF there."), QStringLiteral("DIR"));
    const QCommandLineOption runsOption = commandLine.addOption(
        QStringLiteral("runs"), QStringLiteral("Runs of each report (default 1)."), QStringLiteral("N"));
    const QCommandLineOption extraOption = commandLine.addOption(
        QStringLiteral("extra"),
        QStringLiteral(
            "The values the program hands over to the reports that need them (Zdroje|1,5,9 for the "
            "reminder letters); a report that needs one not given is reported and skipped."),
        QStringLiteral("Name|value|..."));
    commandLine.addArgument(QStringLiteral("database"), QStringLiteral("The database file."));
    commandLine.addArgument(QStringLiteral("templates"), QStringLiteral("The template directory."));
    pm41::ParameterValues extra;
    if (const std::optional<int> ended = commandLine.read(app.arguments(), [&](const QCommandLineParser& p) {
            if (p.positionalArguments().size() != 2)
                return QStringLiteral("a database and a template directory are needed");
            const QString error = pm41::parseProgramValues(p.value(extraOption), extra);
            return error.isEmpty() ? QString() : QStringLiteral("--extra: ") + error;
        }))
        return *ended;
    const QString databaseFile = parser.positionalArguments().at(0);
    const QString templateDir = parser.positionalArguments().at(1);
    const int runs = qMax(1, parser.value(runsOption).toInt());
    const QString pdfDir = parser.value(pdfOption);

    QTextStream out(stdout);
    Connection connection(QStringLiteral("bench"));
    try {
        connection.open(databaseFile);
    } catch (const AppError& e) {
        out << "cannot open " << databaseFile << ": " << e.text() << "\n";
        return 1;
    }
    qint64 customer = parser.value(customerOption).toLongLong();
    if (customer == 0)
        customer = connection
                       .query(QStringLiteral("SELECT id_zakaznika FROM topny_zdroj GROUP BY id_zakaznika "
                                             "ORDER BY count(*) DESC, id_zakaznika LIMIT 1"))
                       .rows.value(0)
                       .value(0)
                       .toLongLong();
    out << "open customer " << customer << ", " << runs << " run(s) per report\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("report"), -28)
               .arg(QStringLiteral("rows"), 7)
               .arg(QStringLiteral("pages"), 6)
               .arg(QStringLiteral("query ms"), 9)
               .arg(QStringLiteral("median ms"), 10)
               .arg(QStringLiteral("max ms"), 8);
    out.flush();

    pm41::UserData user;
    pm41::parseParameterText(parameterText(customer), user);
    bool slow = false;
    for (const pm41::TemplateFile& file : pm41::listTemplates(templateDir)) {
        if (!file.ok()) {
            out << file.fileName() << ": " << file.error << "\n";
            continue;
        }
        QList<qint64> times;
        QList<qint64> queryTimes;
        pm41::ReportData data;
        int pages = 0;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            const QString error = pm41::runReport(file.report, user, extra, connection.database(), data);
            if (!error.isEmpty()) {
                out << file.fileName() << ": " << error << "\n";
                break;
            }
            queryTimes << timer.elapsed();
            pages = pm41::openAndClosePreview(data);
            times << timer.elapsed();
        }
        if (times.isEmpty())
            continue;
        std::sort(times.begin(), times.end());
        std::sort(queryTimes.begin(), queryTimes.end());
        slow = slow || times.last() >= 2000;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(file.report.title, -28)
                   .arg(data.rows.size(), 7)
                   .arg(pages, 6)
                   .arg(queryTimes[queryTimes.size() / 2], 9)
                   .arg(times[times.size() / 2], 10)
                   .arg(times.last(), 8);
        out.flush();
        if (!pdfDir.isEmpty()) {
            QDir().mkpath(pdfDir);
            const QString pdf =
                QDir(pdfDir).filePath(QFileInfo(file.path).completeBaseName() + QStringLiteral(".pdf"));
            const QString error = pm41::renderToPdf(data, pdf);
            out << "  " << (error.isEmpty() ? pdf : error) << "\n";
        }
    }
    return slow ? 4 : 0;
}
