#include "app/Application.h"

#include "helpers/AppError.h"
#include "helpers/CzechQtTranslation.h"
#include "uikit/Dialogs.h"

#include <QFont>
#include <QLocale>

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Vestibor"));
    setUpCzech();
    QFont font(QStringLiteral("DejaVu Sans Condensed"), 8);
    setFont(font);
}

void Application::setUpCzech()
{
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    installCzechQtTranslation();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError& e) {
        showErrorReport(e.text());
    } catch (const std::exception& e) {
        showErrorReport(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
