#include "app/Application.h"
#include "app/Hlavni_f.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    Application app(argc, argv);
    THlavni window(QCoreApplication::applicationDirPath());
    if (!window.FormCreate())
        return 1;
    window.show();
    return app.exec();
}
