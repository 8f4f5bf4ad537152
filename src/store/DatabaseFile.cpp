#include "store/DatabaseFile.h"

#include "store/CzechText.h"

#include <QFile>
#include <QStringList>
#include <QUrl>

#include <sqlite3.h>

namespace DatabaseFile {

namespace {

const char* const programTables[] = {"cis_zakaznici", "topny_zdroj", "cinnosti",
                                     "cis_kategorie", "cis_cinnost", "cis_technici"};

// A read-only connection of its own to the file, closed with the object.
class ReadOnlyFile
{
public:
    explicit ReadOnlyFile(const QString& path)
    {
        // Immutable: the bytes of the file alone are looked at, as they would be taken, and
        // SQLite leaves no files of its own beside it.
        const QByteArray uri = QUrl::fromLocalFile(path).toEncoded() + "?immutable=1";
        const int opened =
            sqlite3_open_v2(uri.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
        if (opened != SQLITE_OK)
            m_error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("nedostatek paměti");
        else if (!CzechText::registerOn(m_db))
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    }
    ~ReadOnlyFile() { sqlite3_close(m_db); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    const QString& error() const { return m_error; }

    // Calls working every few thousand steps of SQLite's machine.
    void whileWorking(const std::function<void()>* working)
    {
        if (working && *working)
            sqlite3_progress_handler(m_db, 20000, &ReadOnlyFile::tick,
                                     const_cast<std::function<void()>*>(working));
    }

    // The first column of every row; nothing when SQLite refused (the reason in error()).
    std::optional<QStringList> column(const char* sql)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return std::nullopt;
        }
        QStringList values;
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(stmt)) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        if (step != SQLITE_DONE)
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(stmt);
        if (step != SQLITE_DONE)
            return std::nullopt;
        return values;
    }

private:
    static int tick(void* working)
    {
        (*static_cast<std::function<void()>*>(working))();
        return 0;
    }

    sqlite3* m_db = nullptr;
    QString m_error;
};

std::optional<QString> integrityOf(ReadOnlyFile& file, Check check = Check::Full)
{
    const std::optional<QStringList> findings =
        file.column(check == Check::Full ? "PRAGMA integrity_check" : "PRAGMA quick_check");
    if (!findings)
        return QStringLiteral("Soubor nelze přečíst: %1").arg(file.error());
    if (findings->size() == 1 && findings->first() == u"ok")
        return std::nullopt;
    return QStringLiteral("Soubor je poškozený: %1").arg(findings->mid(0, 5).join(QStringLiteral("; ")));
}

} // namespace

std::optional<QString> whyNotProgramDatabase(const QString& path, const std::function<void()>& working)
{
    QFile raw(path);
    if (!raw.open(QIODevice::ReadOnly))
        return QStringLiteral("Soubor nelze otevřít: %1").arg(raw.errorString());
    const QByteArray header = raw.read(16);
    if (header.isEmpty())
        return QStringLiteral("Soubor je prázdný.");
    if (header != QByteArrayLiteral("SQLite format 3\0"))
        return QStringLiteral("Soubor není databází.");
    raw.close();

    ReadOnlyFile file(path);
    if (!file.error().isEmpty())
        return QStringLiteral("Soubor nelze otevřít jako databázi: %1").arg(file.error());
    const std::optional<QStringList> tables =
        file.column("SELECT name FROM sqlite_master WHERE type = 'table'");
    if (!tables)
        return QStringLiteral("Soubor nelze přečíst jako databázi: %1").arg(file.error());
    QStringList missing;
    for (const char* table : programTables)
        if (!tables->contains(QLatin1String(table), Qt::CaseInsensitive))
            missing << QLatin1String(table);
    if (!missing.isEmpty())
        return QStringLiteral("Soubor není databází tohoto programu (chybí v něm tabulky %1).")
            .arg(missing.join(QStringLiteral(", ")));
    file.whileWorking(&working);
    return integrityOf(file);
}

std::optional<QString> damage(const QString& path, const std::function<void()>& working, Check check)
{
    ReadOnlyFile file(path);
    if (!file.error().isEmpty())
        return QStringLiteral("Soubor nelze otevřít jako databázi: %1").arg(file.error());
    file.whileWorking(&working);
    return integrityOf(file, check);
}

} // namespace DatabaseFile
