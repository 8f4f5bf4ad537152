#include "ui/Messages.h"

#include <QMessageBox>

namespace pm41 {

QString templateFaultText(const QString& fileName, const QString& error)
{
    return QStringLiteral("Předloha „%1“ obsahuje chybu.\n%2").arg(fileName, error);
}

QString reportFaultText(const QString& title, const QString& error)
{
    return QStringLiteral("Sestavu „%1“ nelze zobrazit.\n%2").arg(title, error);
}

QString programDataFaultText(const QString& error)
{
    return QStringLiteral("Údaje od programu nelze přečíst: %1").arg(error);
}

QString failureText(const std::exception* e)
{
    return e ? QStringLiteral("Při přípravě sestavy nastala chyba: %1").arg(QString::fromLocal8Bit(e->what()))
             : QStringLiteral("Při přípravě sestavy nastala neočekávaná chyba.");
}

QString generatorCaption()
{
    return QStringLiteral("Tiskové sestavy");
}

void showFault(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, generatorCaption(), text);
}

} // namespace pm41
