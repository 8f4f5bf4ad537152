#include "helpers/IniFile.h"
#include "store/SqliteEngine.h"
#include "web/AccountCommand.h"
#include "web/DatabaseOpening.h"
#include "web/WebApp.h"
#include "web/WebCommandLine.h"
#include "web/WebServer.h"
#include "web/WebSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

#include <csignal>
#include <cstdio>
#include <malloc.h>
#include <pthread.h>
#include <thread>

namespace {

void print(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
}

// SIGINT and SIGTERM end the server: blocked in every thread, waited for in one.
sigset_t endingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

int serve(const QString& directory)
{
    const QString ini = QDir(directory).filePath(QStringLiteral("Vestibor.ini"));
    const WebSettings settings = WebSettings::read(IniFile(ini), directory);
    QString problem = settings.problem();
    if (problem.isEmpty())
        problem = DatabaseOpening::problem(directory);
    if (!problem.isEmpty()) {
        print(stderr, problem);
        return 2;
    }
    const sigset_t stopping = endingSignals();
    pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

    WebOptions options;
    options.openDatabase = DatabaseOpening::opener(directory);
    options.tls = settings.tls();
    options.settingsFile = ini;
    options.shellFolder = settings.Aplikace;
    WebApp app(options);
    WebServer server(app, settings);
    problem = server.bind();
    if (!problem.isEmpty()) {
        print(stderr, problem);
        return 1;
    }
    std::thread ending([&server, stopping] {
        int signal = 0;
        sigwait(&stopping, &signal);
        server.stop();
    });
    ending.detach();
    print(stderr, QStringLiteral("vestibor-web naslouchá na %1://%2:%3")
                      .arg(settings.tls() ? QStringLiteral("https") : QStringLiteral("http"), settings.Adresa)
                      .arg(server.port()));
    if (!settings.Aplikace.isEmpty())
        print(stderr, QStringLiteral("Aplikace se podává ze složky %1.").arg(settings.Aplikace));
    server.run();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // The memory of a large answer goes back to the system when it is sent, whichever of
    // the 32 threads made it: a few shared arenas for the small pieces instead of one for
    // each thread, and the large buffers mapped apart.
    mallopt(M_ARENA_MAX, 2);
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    SqliteEngine::preferManyThreads();
    QCoreApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const WebCommandLine line =
        WebCommandLine::parse(application.arguments(), qEnvironmentVariable("VESTIBOR_ADRESAR"),
                              QCoreApplication::applicationDirPath());
    if (line.help) {
        std::fputs(WebCommandLine::helpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (!line.error.isEmpty()) {
        print(stderr, line.error);
        print(stderr, QStringLiteral("Nápovědu vypíše vestibor-web --help."));
        return 2;
    }
    if (!line.accountCommand.isEmpty())
        return AccountCommand::run(line.directory, line.accountCommand);
    return serve(line.directory);
}
