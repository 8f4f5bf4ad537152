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
#include "helpers/Errors.h"
#include "store/Connection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

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
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        out << "usage: pm41_bench <database> <template directory> [--customer ID] [--pdf DIR] [--runs N] "
               "[--extra \"Name|value|...\"]\n";
        return 2;
    }
    const auto option = [&](const QString& name) {
        const qsizetype i = args.indexOf(name);
        return i > 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const int runs = qMax(1, option(QStringLiteral("--runs")).toInt());
    const QString pdfDir = option(QStringLiteral("--pdf"));
    pm41::ParameterValues extra;
    if (const QString error = pm41::parseProgramValues(option(QStringLiteral("--extra")), extra);
        !error.isEmpty()) {
        out << "--extra: " << error << "\n";
        return 2;
    }

    Connection connection(QStringLiteral("bench"));
    try {
        connection.open(args[1]);
    } catch (const AppError& e) {
        out << "cannot open " << args[1] << ": " << e.text() << "\n";
        return 1;
    }
    qint64 customer = option(QStringLiteral("--customer")).toLongLong();
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
    for (const pm41::TemplateFile& file : pm41::listTemplates(args[2])) {
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
