// Makes a database of a heating-service firm for measuring the program on realistic data:
// vestibor_gendb <path> --customers N --cards N --activities N
//                [--big-customer-cards N --big-customer-activities-per-card N] [--seed S]
#include "Generator.h"

#include "helpers/Errors.h"
#include "store/Connection.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace {

const char usage[] =
    "usage: vestibor_gendb <new database file> --customers N --cards N --activities N\n"
    "                      [--big-customer-cards N --big-customer-activities-per-card N] [--seed S]\n"
    "Cards and activities are totals; customer 1 is the big customer with its own cards and\n"
    "activities, the rest are spread over the other customers. An existing file is never\n"
    "overwritten.\n";

// Reads the options into the generator's settings; the error text when they are wrong.
QString parseOptions(const QStringList& args, QString* path, GenOptions* options)
{
    QHash<QString, qint64> values{{"--customers", -1},
                                  {"--cards", -1},
                                  {"--activities", -1},
                                  {"--big-customer-cards", 0},
                                  {"--big-customer-activities-per-card", 0},
                                  {"--seed", 1}};
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QStringLiteral("--"))) {
            if (!path->isEmpty())
                return QStringLiteral("more than one database file given");
            *path = arg;
            continue;
        }
        if (!values.contains(arg))
            return QStringLiteral("unknown option %1").arg(arg);
        bool ok = false;
        const qint64 value = i + 1 < args.size() ? args[i + 1].toLongLong(&ok) : 0;
        if (!ok || value < 0 || value > 100000000)
            return QStringLiteral("%1 needs a number from 0 to 100000000").arg(arg);
        values[arg] = value;
        ++i;
    }
    if (path->isEmpty())
        return QStringLiteral("no database file given");
    for (const char* required : {"--customers", "--cards", "--activities"})
        if (values.value(QString::fromLatin1(required)) < 0)
            return QStringLiteral("%1 is required").arg(QString::fromLatin1(required));

    options->customers = int(values["--customers"]);
    options->cards = int(values["--cards"]);
    options->activities = int(values["--activities"]);
    options->bigCustomerCards = int(values["--big-customer-cards"]);
    options->bigCustomerActivitiesPerCard = int(values["--big-customer-activities-per-card"]);
    options->seed = quint64(values["--seed"]);

    if (options->customers < 1)
        return QStringLiteral("at least one customer is needed");
    if (options->bigCustomerCards > options->cards)
        return QStringLiteral("the big customer cannot have more cards than --cards");
    if (qint64(options->bigCustomerCards) * options->bigCustomerActivitiesPerCard > options->activities)
        return QStringLiteral("the big customer cannot have more activities than --activities");
    const int otherCards = options->cards - options->bigCustomerCards;
    if (options->customers == 1 && otherCards > 0)
        return QStringLiteral("with one customer, all cards belong to the big customer");
    if (otherCards == 0 &&
        options->activities > options->bigCustomerCards * options->bigCustomerActivitiesPerCard)
        return QStringLiteral("the activities beyond the big customer's need cards of other customers");
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString path;
    GenOptions options;
    if (const QString problem = parseOptions(app.arguments(), &path, &options); !problem.isEmpty()) {
        err << "vestibor_gendb: " << problem << "\n" << usage;
        return 2;
    }
    if (QFileInfo::exists(path)) {
        err << "vestibor_gendb: " << path << " exists already; it is never overwritten\n";
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    GenCounts counts;
    try {
        Schema::createDatabaseFile(path);
        Connection connection(QStringLiteral("gen"));
        connection.open(path);
        counts = Generator(connection, options).run();
        connection.close();
    } catch (const AppError& e) {
        // Half a database is of no use to anyone; the file is ours, made above.
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QString::fromLatin1(suffix));
        err << "vestibor_gendb: " << e.text() << "\n";
        return 1;
    }
    const double seconds = timer.elapsed() / 1000.0;

    out << "Made " << path << " (" << QString::number(QFileInfo(path).size() / 1048576.0, 'f', 1)
        << " MB) in " << QString::number(seconds, 'f', 1) << " s, seed " << options.seed << ":\n"
        << "  customers      " << counts.customers << " (customer 1 has " << options.bigCustomerCards
        << " cards with " << options.bigCustomerActivitiesPerCard << " activities each)\n"
        << "  cards          " << counts.cards << " (" << counts.discardedCards << " discarded)\n"
        << "  activities     " << counts.activities << "\n"
        << "  categories     " << counts.categories << ", activity kinds " << counts.activityKinds
        << ", technicians " << counts.technicians << "\n";
    return 0;
}
