#include "WorkDatabase.h"

#include "helpers/AppError.h"
#include "store/Connection.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QStringList logSuffixes{QStringLiteral("-wal"), QStringLiteral("-shm")};

class FileCopy : public WorkDatabase
{
public:
    FileCopy(const QString& file, const QString& programDirectory)
        : m_source(file), m_copy(QDir(programDirectory).filePath(QStringLiteral("Vestibor.mdb"))),
          m_empty(QDir(programDirectory).filePath(QStringLiteral("import.mdb")))
    {
        // With the write-ahead log, if one was left behind.
        for (const QString& suffix : {QString(), QStringLiteral("-wal")}) {
            if (suffix.isEmpty() || QFileInfo::exists(file + suffix))
                if (!QFile::copy(file + suffix, m_copy + suffix))
                    throw AppError(
                        QStringLiteral("cannot copy %1 to %2").arg(file + suffix, m_copy + suffix));
        }
    }

    QString description() const override { return QStringLiteral("a copy of ") + m_source; }
    QString filePath() const override { return m_copy; }
    void open(Connection& connection) const override { connection.open(m_copy); }
    void pointProgramAt(const QString&) const override {} // its Vestibor.mdb is the copy
    void openEmpty(Connection& connection) override
    {
        connection.close();
        QFile::remove(m_empty);
        for (const QString& suffix : logSuffixes)
            QFile::remove(m_empty + suffix);
        Schema::createDatabaseFile(m_empty);
        connection.open(m_empty);
    }

private:
    QString m_source;
    QString m_copy;
    QString m_empty;
};

} // namespace

std::unique_ptr<WorkDatabase> copyOfFile(const QString& file, const QString& programDirectory)
{
    return std::make_unique<FileCopy>(file, programDirectory);
}
