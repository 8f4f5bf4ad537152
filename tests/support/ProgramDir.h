#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary program directory: an empty database made from the schema, and the
// settings and password files a test asks for.
class ProgramDir
{
public:
    // withDatabase: create Vestibor.mdb; the settings file turns the password gate off
    // unless the test writes its own.
    explicit ProgramDir(bool withDatabase = true);

    QString dir() const; // with the trailing separator
    QString path(const QString& name) const;

    void writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;
    void writeIni(const QByteArray& content) const { writeFile(QStringLiteral("Vestibor.ini"), content); }

private:
    QTemporaryDir m_dir;
};
