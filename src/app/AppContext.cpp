#include "app/AppContext.h"

#include <QDir>

AppContext::AppContext(const QString& programDirectory)
{
    QString dir = QDir::cleanPath(QDir(programDirectory).absolutePath());
    if (!dir.endsWith(u'/'))
        dir += u'/';
    AdresarProgramu = dir;
}
