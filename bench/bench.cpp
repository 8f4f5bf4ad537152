// Measures the program on a database made by vestibor_gendb:
//   vestibor_bench [--only <text>] <database file>
//   vestibor_bench [--only <text>] --server "<connection string of a database prepared from such a file>"
// The measured database itself is never changed: the cases work on a copy of it. --only runs
// the cases whose names contain the text (for a profile), with the raw cases under them and
// the cases compared with them.
#include "BenchCases.h"
#include "MeasuredDatabase.h"
#include "NoDialogs.h"

#include "app/Application.h"
#include "helpers/AppError.h"
#include "helpers/CommandLine.h"
#include "store/Schema.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"

#include <QTemporaryDir>
#include <QTextStream>

namespace {

// What --help says the tool does.
const char description[] =
    "Measures the program on a database made by vestibor_gendb, or on a server database that "
    "vestibor_prepare --server ... --copy made from such a file. The measured database is "
    "never changed: the cases work on a copy of it.";

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandLine commandLine(QString::fromUtf8(description), QStringLiteral("Displays this help."));
    QCommandLineParser& parser = commandLine.parser();
    const QCommandLineOption onlyOption = commandLine.addOption(
        QStringLiteral("only"),
        QStringLiteral("Runs only the cases whose names contain the text, with the cases that follow them."),
        QStringLiteral("text"));
    const MeasuredDatabase measured(commandLine);
    if (const std::optional<int> ended = commandLine.read(
            app.arguments(), [&](const QCommandLineParser& p) { return measured.problem(p); }))
        return *ended;
    const QString only = parser.value(onlyOption);
    NoDialogs noDialogs;
    setDialogBackend(&noDialogs);

    QTemporaryDir work; // the program directory of the cases
    QList<BenchResult> results;
    try {
        if (!work.isValid())
            throw AppError(QStringLiteral("cannot make a temporary directory"));
        const std::unique_ptr<WorkDatabase> database = measured.copy(parser, work.path());
        AppContext context(work.path());
        database->open(context.connection);
        Schema::upgrade(context.connection); // as the program does at start-up
        BenchEnv env{context, work.path(), *database};
        out << "Measuring on " << database->description() << " (platform " << QGuiApplication::platformName()
            << ")\n";
        out.flush();
        bool previousRuns = false;
        for (const BenchCase& c : benchCases(env)) {
            const bool runs = c.followsCaseBefore()
                                  ? previousRuns
                                  : only.isEmpty() || c.name.contains(only, Qt::CaseInsensitive);
            previousRuns = runs;
            if (!runs)
                continue;
            results.append(runCase(c));
            out << "  " << c.name << ": done\n";
            out.flush();
        }
        context.connection.close();
    } catch (const AppError& e) {
        err << "vestibor_bench: " << e.text() << "\n";
        return 1;
    }
    compareWithCasesBefore(results);
    out << "\n" << resultTable(results);
    bool allOk = true;
    for (const BenchResult& r : results)
        allOk = allOk && r.ok();
    return allOk ? 0 : 4;
}
