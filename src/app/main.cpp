#include "app/Application.h"
#include "app/Hlavni_f.h"
#include "helpers/ProgramDirectory.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    // Qt has taken its own options (-platform and the like) out of the arguments by now.
    const ProgramDirectoryChoice choice = chooseProgramDirectory(
        app.arguments(), qEnvironmentVariable("VESTIBOR_ADRESAR"), QCoreApplication::applicationDirPath());
    if (!choice.help.isEmpty()) {
        std::fputs(qUtf8Printable(choice.help), stdout);
        return 0;
    }
    if (choice.directory.isEmpty()) {
        std::fprintf(stderr, "Vestibor: %s\nPoužití: Vestibor [--adresar <adresář programu>]\n",
                     qUtf8Printable(choice.error));
        return 2;
    }
    THlavni window(choice.directory);
    if (!window.FormCreate())
        return 1;
    window.show();
    return app.exec();
}
