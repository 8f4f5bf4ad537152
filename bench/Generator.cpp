#include "Generator.h"

#include "Customers.h"
#include "GenData.h"

#include "store/Connection.h"
#include "store/Transaction.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace GenData;

const QDate firstDay(2015, 1, 1);
const QDate lastDay(2026, 12, 31);

// Rows of one INSERT, collected and written a batch at a time: one prepared statement per
// batch, and the batch never holds the whole table.
class RowWriter
{
public:
    RowWriter(Connection& connection, QString sql) : m_connection(connection), m_sql(std::move(sql)) {}

    void add(QVariantList row)
    {
        m_rows.append(std::move(row));
        if (m_rows.size() >= 5000)
            flush();
    }

    void flush()
    {
        if (m_rows.isEmpty())
            return;
        m_connection.executeMany(m_sql, m_rows);
        m_rows.clear();
    }

private:
    Connection& m_connection;
    QString m_sql;
    QList<QVariantList> m_rows;
};

struct Card
{
    int customer;
    int category; // index into categories()
    int year;
    int activities = 0;
};

// Deals total items out to slots: one each first when asked and there are enough, the rest
// drawn by the slots' weights.
QList<int> spread(Random& random, int total, const QList<int>& weights, bool oneEachFirst)
{
    QList<int> counts(weights.size(), 0);
    if (weights.isEmpty() || total <= 0)
        return counts;
    if (oneEachFirst && total >= weights.size()) {
        counts.fill(1);
        total -= int(weights.size());
    }
    std::vector<int> cumulative;
    cumulative.reserve(weights.size());
    int sum = 0;
    for (int w : weights)
        cumulative.push_back(sum += w);
    for (int i = 0; i < total; ++i) {
        const int r = random.between(0, sum - 1);
        ++counts[int(std::upper_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin())];
    }
    return counts;
}

QString isoDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

QString serialNumber(int cardId)
{
    return QStringLiteral("SN%1").arg((qint64(cardId) * 104729 + 123456789) % 1000000000, 9, 10, QChar(u'0'));
}

// Thirteen digits with the EAN check digit; a different code for every card.
QString barcode(int cardId)
{
    const QString base = QStringLiteral("%1").arg((qint64(cardId) * 1000003 + 859000000000) % 1000000000000,
                                                  12, 10, QChar(u'0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += base[i].digitValue() * (i % 2 ? 3 : 1);
    return base + QString::number((10 - sum % 10) % 10);
}

QVariant money(qint64 cents)
{
    return cents / 100.0;
}

// Work prices by activity kind (index into activityKinds()), in crowns of 2015.
const int priceFrom[] = {650, 400, 800, 500, 600, 1200};
const int priceTo[] = {1500, 900, 1800, 4500, 1500, 2500};
const int kindWeights[] = {30, 20, 25, 12, 10, 3};
const int commissioning = 5;
const int repair = 3;

} // namespace

Generator::Generator(Connection& connection, const GenOptions& options)
    : m_connection(connection), m_options(options), m_random(options.seed)
{
}

GenCounts Generator::run()
{
    Transaction tx(m_connection);
    writeCodeLists();
    writeCustomers();
    writeCardsAndActivities();
    tx.commit();
    return m_counts;
}

void Generator::writeCodeLists()
{
    RowWriter categoryRows(
        m_connection,
        QStringLiteral("INSERT INTO cis_kategorie (id, nazev_kategorie, lhuta) VALUES (?, ?, ?)"));
    int id = 0;
    for (const Category& c : categories())
        categoryRows.add({++id, c.name, c.periodMonths});
    categoryRows.flush();
    m_counts.categories = id;

    RowWriter activityKindRows(m_connection,
                               QStringLiteral("INSERT INTO cis_cinnost (id, nazev_cinnosti) VALUES (?, ?)"));
    id = 0;
    for (const QString& name : activityKinds())
        activityKindRows.add({++id, name});
    activityKindRows.flush();
    m_counts.activityKinds = id;

    RowWriter technicianRows(
        m_connection, QStringLiteral("INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (?, ?)"));
    for (const Technician& t : technicians())
        technicianRows.add({t.number, t.name});
    technicianRows.flush();
    m_counts.technicians = int(technicians().size());
}

void Generator::writeCustomers()
{
    RowWriter rows(m_connection, Customers::insertSql());
    m_customerIsFirm.reserve(m_options.customers);
    for (int id = 1; id <= m_options.customers; ++id) {
        Customers::Made made = Customers::make(m_random, id, id == 1);
        m_customerIsFirm.append(made.firm);
        rows.add(std::move(made.row));
    }
    rows.flush();
    m_counts.customers = m_options.customers;
}

void Generator::writeCardsAndActivities()
{
    const QList<Category>& cats = categories();
    QList<int> categoryWeights;
    for (const Category& c : cats)
        categoryWeights.append(c.weight);
    const QList<int> kinds(std::begin(kindWeights), std::end(kindWeights));

    // Firms, municipalities and owners' associations have more to look after than a household.
    QList<int> customerWeights;
    for (int i = 1; i < m_customerIsFirm.size(); ++i)
        customerWeights.append(m_customerIsFirm[i] ? 3 : 1);
    const QList<int> cardsOf =
        spread(m_random, m_options.cards - m_options.bigCustomerCards, customerWeights, true);

    QList<Card> cards;
    cards.reserve(m_options.cards);
    for (int c = 0; c < m_options.customers; ++c) {
        const int count = c == 0 ? m_options.bigCustomerCards : cardsOf[c - 1];
        for (int k = 0; k < count; ++k) {
            const int category = m_random.weighted(categoryWeights);
            cards.append({c + 1, category, m_random.between(cats[category].firstYear, 2025)});
        }
    }

    // Activities go to the other cards by the years each card has been in service.
    QList<int> serviceYears;
    QList<int> otherCards;
    for (int i = 0; i < cards.size(); ++i) {
        if (cards[i].customer == 1) {
            cards[i].activities = m_options.bigCustomerActivitiesPerCard;
            continue;
        }
        otherCards.append(i);
        serviceYears.append(lastDay.year() - std::max(firstDay.year(), cards[i].year) + 1);
    }
    const int bigActivities = m_options.bigCustomerCards * m_options.bigCustomerActivitiesPerCard;
    const QList<int> activitiesOf =
        spread(m_random, m_options.activities - bigActivities, serviceYears, false);
    for (int i = 0; i < otherCards.size(); ++i)
        cards[otherCards[i]].activities = activitiesOf[i];

    RowWriter cardRows(
        m_connection, QStringLiteral("INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, vyrobce, "
                                     "vyrobni_cislo, carovy_kod, rok_vyroby, kategorie, lhuta, vyrazeno_dne, "
                                     "poznamka) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    RowWriter activityRows(
        m_connection, QStringLiteral("INSERT INTO cinnosti (id, id_zakaznika, id_topneho_zdroje, cinnost, "
                                     "datum, datum_pristi, technik, cena_doprava, cena_prace, "
                                     "cena_material, cena_ostatni, poznamka) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QVariant none;
    int activityId = 0;
    for (int i = 0; i < cards.size(); ++i) {
        const Card& card = cards[i];
        const int cardId = i + 1;
        const Category& category = cats[card.category];
        const Model& model = m_random.pick(category.models);

        const QDate start = std::max(firstDay, QDate(card.year, 1, 1));
        std::vector<qint64> days;
        days.reserve(card.activities);
        for (int k = 0; k < card.activities; ++k)
            days.push_back(start.toJulianDay() + m_random.between(0, int(start.daysTo(lastDay))));
        std::sort(days.begin(), days.end());

        QVariant discarded;
        if (m_random.chance(0.05)) {
            QDate from = days.empty() ? std::max(firstDay, QDate(card.year + 1, 1, 1))
                                      : QDate::fromJulianDay(days.back()).addDays(m_random.between(1, 180));
            from = std::min(from, lastDay);
            discarded = isoDate(from.addDays(m_random.between(0, int(from.daysTo(lastDay)))));
            ++m_counts.discardedCards;
        }
        QString name = category.noun + u' ' + model.maker;
        if (m_random.chance(0.3))
            name += QStringLiteral(" – ") + m_random.pick(cardPlaces());
        cardRows.add({cardId, card.customer, name, model.type, model.maker, serialNumber(cardId),
                      barcode(cardId), card.year, card.category + 1, category.periodMonths, discarded,
                      m_random.chance(0.08) ? QVariant(m_random.pick(cardNotes())) : none});

        const QString usualTechnician = m_random.pick(technicians()).name;
        for (int k = 0; k < card.activities; ++k) {
            const QDate date = QDate::fromJulianDay(days[k]);
            const int kind = k == 0 && card.year >= firstDay.year() && m_random.chance(0.7)
                                 ? commissioning
                                 : m_random.weighted(kinds);
            const double inflation = 1.0 + 0.04 * (date.year() - firstDay.year());
            const auto crowns = [&](int lo, int hi) {
                return qint64(std::llround(m_random.between(lo, hi) * inflation)) * 100;
            };
            QVariant travel = none;
            if (m_random.chance(0.9))
                travel = money(
                    m_random.chance(0.2) ? 0 : std::llround(m_random.between(3, 60) * 1250 * inflation));
            qint64 labour = crowns(priceFrom[kind], priceTo[kind]);
            if (m_random.chance(0.2))
                labour += 50;
            qint64 material = 0;
            if (kind == repair)
                material = crowns(150, 12000) + m_random.between(0, 99);
            else if (m_random.chance(0.4))
                material = crowns(20, 600) + m_random.between(0, 99);
            const bool noted = m_random.chance(kind == repair ? 0.5 : 0.1);
            activityRows.add({++activityId, card.customer, cardId, kind + 1, isoDate(date),
                              isoDate(date.addMonths(category.periodMonths)),
                              m_random.chance(0.75) ? usualTechnician : m_random.pick(technicians()).name,
                              travel, money(labour), money(material),
                              m_random.chance(0.15) ? money(crowns(50, 500)) : none,
                              noted ? QVariant(m_random.pick(activityNotes())) : none});
        }
    }
    cardRows.flush();
    activityRows.flush();
    m_counts.cards = int(cards.size());
    m_counts.activities = activityId;
}
