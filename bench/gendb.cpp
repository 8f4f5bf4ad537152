// Makes a database of a heating-service firm for measuring the program on realistic data:
// vestibor_gendb <path> --customers N --cards N --activities N
//                [--big-customer-cards N --big-customer-activities-per-card N] [--seed S]
#include "Generator.h"

#include "helpers/AppError.h"
#include "helpers/CommandLine.h"
#include "store/Connection.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTextStream>

namespace {

// What --help says the tool does.
const char description[] =
    "Makes a new database of a made-up heating-service firm. Cards and activities are totals; "
    "customer 1 is the big customer with its own cards and activities, the rest are spread "
    "over the other customers. An existing file is never overwritten.";

// The numbers the generator takes, with their defaults; -1 marks a required one.
const struct
{
    const char* name;
    const char* description;
    qint64 fallback;
} numberOptions[] = {
    {"customers", "How many customers.", -1},
    {"cards", "How many cards in all.", -1},
    {"activities", "How many activities in all.", -1},
    {"big-customer-cards", "Cards of customer 1, the big customer (default 0).", 0},
    {"big-customer-activities-per-card", "Activities on each card of the big customer (default 0).", 0},
    {"seed", "The seed of the made-up data (default 1).", 1},
};

// Reads the options into the generator's settings; the error text when they are wrong.
QString readOptions(const QCommandLineParser& parser, QString* path, GenOptions* options)
{
    QHash<QString, qint64> values;
    for (const auto& o : numberOptions) {
        const QString name = QString::fromLatin1(o.name);
        values[name] = o.fallback;
        if (!parser.isSet(name))
            continue;
        bool ok = false;
        const qint64 value = parser.value(name).toLongLong(&ok);
        if (!ok || value < 0 || value > 100000000)
            return QStringLiteral("--%1 needs a number from 0 to 100000000").arg(name);
        values[name] = value;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return QStringLiteral("more than one database file given");
    if (files.isEmpty())
        return QStringLiteral("no database file given");
    *path = files.first();
    for (const auto& o : numberOptions)
        if (values.value(QString::fromLatin1(o.name)) < 0)
            return QStringLiteral("--%1 is required").arg(QString::fromLatin1(o.name));

    options->customers = int(values["customers"]);
    options->cards = int(values["cards"]);
    options->activities = int(values["activities"]);
    options->bigCustomerCards = int(values["big-customer-cards"]);
    options->bigCustomerActivitiesPerCard = int(values["big-customer-activities-per-card"]);
    options->seed = quint64(values["seed"]);

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

    CommandLine commandLine(QString::fromUtf8(description), QStringLiteral("Displays this help."));
    for (const auto& o : numberOptions)
        commandLine.addOption(QString::fromLatin1(o.name), QString::fromLatin1(o.description),
                              QStringLiteral("N"));
    commandLine.addArgument(QStringLiteral("database"), QStringLiteral("The new database file."));
    QString path;
    GenOptions options;
    if (const std::optional<int> ended =
            commandLine.read(app.arguments(), [&](const QCommandLineParser& parser) {
                return readOptions(parser, &path, &options);
            }))
        return *ended;
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
