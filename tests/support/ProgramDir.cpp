#include "support/ProgramDir.h"

#include "store/Schema.h"

#include <QFile>

ProgramDir::ProgramDir(bool withDatabase)
{
    if (withDatabase)
        Schema::createDatabaseFile(path(QStringLiteral("Vestibor.mdb")));
    writeIni("[konfig]\r\nhsl=0\r\n");
}

QString ProgramDir::dir() const
{
    return m_dir.path() + u'/';
}

QString ProgramDir::path(const QString& name) const
{
    return dir() + name;
}

void ProgramDir::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray ProgramDir::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
