// Measures the program on a database made by vestibor_gendb: vestibor_bench <database file>
// The file itself is never changed: the cases work on a copy in a temporary directory.
#include "BenchCases.h"
#include "NoDialogs.h"

#include "app/Application.h"
#include "store/Errors.h"
#include "store/Schema.h"
#include "uikit/AppContext.h"
#include "uikit/Dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Copies the database with its write-ahead log, if one was left behind.
void copyDatabase(const QString& from, const QString& to)
{
    for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
        if (suffix.isEmpty() || QFileInfo::exists(from + suffix))
            if (!QFile::copy(from + suffix, to + suffix))
                throw AppError(QStringLiteral("cannot copy %1 to %2").arg(from + suffix, to + suffix));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 2 || !QFileInfo(args[1]).isFile()) {
        err << "usage: vestibor_bench <database file made by vestibor_gendb>\n";
        return 2;
    }
    NoDialogs noDialogs;
    setDialogBackend(&noDialogs);

    QTemporaryDir work;
    QList<BenchResult> results;
    try {
        if (!work.isValid())
            throw AppError(QStringLiteral("cannot make a temporary directory"));
        const QString database = work.filePath(QStringLiteral("Vestibor.mdb"));
        copyDatabase(args[1], database);
        AppContext context(work.path());
        context.connection.open(database);
        Schema::upgrade(context.connection); // as the program does at start-up
        BenchEnv env{context, work.path()};
        out << "Measuring on a copy of " << args[1] << " (platform " << QGuiApplication::platformName()
            << ")\n";
        out.flush();
        for (const BenchCase& c : benchCases(env)) {
            results.append(runCase(c));
            out << "  " << c.name << ": done\n";
            out.flush();
        }
        context.connection.close();
    } catch (const AppError& e) {
        err << "vestibor_bench: " << e.text() << "\n";
        return 1;
    }
    out << "\n" << resultTable(results);
    bool allOk = true;
    for (const BenchResult& r : results)
        allOk = allOk && r.ok();
    return allOk ? 0 : 4;
}
