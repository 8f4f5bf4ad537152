#include "store/StoreOperations.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/Transaction.h"

bool StoreOperations::ZajistitSloupec(const QString& table, const QString& column, const QString& type)
{
    const ResultSet probe = m_connection.query(QStringLiteral("SELECT Top 1 * FROM ") + table);
    if (probe.columnIndex(column) >= 0)
        return true;
    try {
        m_connection.execute(QStringLiteral("ALTER TABLE ") + table + QStringLiteral(" ADD ") + column +
                             QStringLiteral(" ") + type);
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

bool StoreOperations::SmazatCinnostiKarty(int cardId)
{
    const QString id = QString::number(cardId);
    try {
        m_connection.execute(QStringLiteral("DELETE FROM cinnosti WHERE id_topneho_zdroje = ") + id);
        if (m_connection.hasTable(QStringLiteral("upozorneni")))
            m_connection.execute(QStringLiteral("DELETE FROM upozorneni WHERE id_topneho_zdroje = ") + id);
    } catch (const DatabaseError&) {
        return false;
    }
    return true;
}

bool StoreOperations::SmazatDataZakaznika(int customerId)
{
    const QString id = QString::number(customerId);
    QStringList statements{QStringLiteral("DELETE FROM cinnosti WHERE id_zakaznika = ") + id,
                           QStringLiteral("DELETE FROM topny_zdroj WHERE id_zakaznika = ") + id};
    if (m_connection.hasTable(QStringLiteral("upozorneni")))
        statements.prepend(QStringLiteral("DELETE FROM upozorneni WHERE id_topneho_zdroje IN "
                                          "(SELECT id FROM topny_zdroj WHERE id_zakaznika = ") +
                           id + u')');
    bool ok = true;
    for (const QString& statement : statements) {
        try {
            m_connection.execute(statement);
        } catch (const DatabaseError&) {
            ok = false;
        }
    }
    return ok;
}

QString StoreOperations::NazevZakaznika(int customerId)
{
    return findCustomerName(customerId).value_or(QStringLiteral("nenalezen"));
}

std::optional<QString> StoreOperations::findCustomerName(int customerId)
{
    const ResultSet r =
        m_connection.query(QStringLiteral("SELECT nazev FROM cis_zakaznici WHERE id = ?"), {customerId});
    if (r.isEmpty())
        return std::nullopt;
    return r.rows.first().first().toString();
}

int StoreOperations::ZakaznikKarty(int cardId)
{
    const ResultSet r =
        m_connection.query(QStringLiteral("SELECT cis_zakaznici.id FROM topny_zdroj, cis_zakaznici WHERE "
                                          "(topny_zdroj.id_zakaznika = cis_zakaznici.id) and "
                                          "(topny_zdroj.id = ?)"),
                           {cardId});
    return r.isEmpty() ? 0 : r.rows.first().first().toInt();
}

int StoreOperations::LhutaKategorie(int categoryId)
{
    const ResultSet r = m_connection.query(QStringLiteral("SELECT lhuta FROM cis_kategorie WHERE id = ") +
                                           QString::number(categoryId));
    return r.isEmpty() ? 0 : r.rows.first().first().toInt();
}

void StoreOperations::recordReminders(const QList<int>& cardIds, const QDate& day, const QString& way)
{
    QList<QVariantList> rows;
    rows.reserve(cardIds.size());
    for (const int id : cardIds)
        rows.append({id, day.toString(Qt::ISODate), way});
    Transaction transaction(m_connection);
    m_connection.executeMany(
        QStringLiteral("INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES (?, ?, ?)"), rows);
    transaction.commit();
}
