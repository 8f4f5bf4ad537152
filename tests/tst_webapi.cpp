#include "helpers/AppError.h"
#include "store/DataSet.h"
#include "store/GuardedUpdate.h"
#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/CustomerSearchIndex.h"
#include "web/SearchHandler.h"
#include "web/TripHandler.h"
#include "web/WebDatabase.h"

#include <QElapsedTimer>
#include <QJsonArray>

#include <barrier>
#include <thread>

// The web app's answers and writes: the due list, the search, the customer and the card,
// new activities and cards, corrections against other users, request ids, input checks
// and an unreachable database.
class TestWebApi : public QObject
{
    Q_OBJECT

    static QString idsOf(const QJsonArray& rows, const char* key)
    {
        QStringList ids;
        for (const QJsonValue& r : rows)
            ids << QString::number(r[QLatin1String(key)].toInteger());
        return ids.join(u',');
    }

private slots:
    // The plan's rule: watched customers' cards in service, due up to today and the days
    // ahead, by town, street and customer.
    void theDueListFollowsThePlan()
    {
        WebFixture f;
        f.seed();
        f.database.writeIni("[PlanRevizi]\r\nDnyPredem=10\r\n");
        f.connection.execute(
            QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta) VALUES "
                           "(2, 'Bojler', 'B', 1, 12), (2, 'Vyřazený', 'V', 1, 12), "
                           "(1, 'Pozdější', 'P', 1, 12)"));
        f.connection.execute(
            QStringLiteral("UPDATE topny_zdroj SET vyrazeno_dne = '2024-01-01' WHERE id = 4"));
        const auto activity = [&](int card, const char* next) {
            f.connection.execute(
                QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, "
                               "datum_pristi) SELECT id_zakaznika, id, 1, '2023-03-01', ? FROM "
                               "topny_zdroj WHERE id = ?"),
                {QString::fromLatin1(next), card});
        };
        activity(1, "2024-03-25"); // due in ten days
        activity(2, "2024-03-01"); // overdue
        activity(3, "2024-03-20");
        activity(4, "2024-03-01"); // out of service
        activity(5, "2024-03-26"); // after the days ahead
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const auto all = f.get(QStringLiteral("/api/revize"), token).json;
        QCOMPARE(all[QStringLiteral("do")].toString(), QStringLiteral("2024-03-25"));
        QCOMPARE(all[QStringLiteral("pocet")].toInt(), 3);
        // Brno before Česká Lípa (Czech order), the customer's two cards by id.
        QCOMPARE(idsOf(all[QStringLiteral("radky")].toArray(), "id_topneho_zdroje"), QStringLiteral("1,2,3"));
        QCOMPARE(all[QStringLiteral("mesta")].toArray(),
                 QJsonArray({QStringLiteral("Brno"), QStringLiteral("Česká Lípa")}));
        const QJsonObject overdue = all[QStringLiteral("radky")][1].toObject();
        QCOMPARE(overdue[QStringLiteral("po_terminu")].toBool(), true);
        QCOMPARE(overdue[QStringLiteral("pristi_revize")].toString(), QStringLiteral("2024-03-01"));
        QCOMPARE(overdue[QStringLiteral("zakaznik")].toString(), QStringLiteral("Dvořáková"));
        QCOMPARE(all[QStringLiteral("radky")][0][QStringLiteral("po_terminu")].toBool(), false);
        const auto town = f.get(QStringLiteral("/api/revize?mesto=%C4%8Cesk%C3%A1%20L%C3%ADpa"), token).json;
        QCOMPARE(idsOf(town[QStringLiteral("radky")].toArray(), "id_topneho_zdroje"), QStringLiteral("2,3"));
        QCOMPARE(town[QStringLiteral("mesta")], all[QStringLiteral("mesta")]);
        QCOMPARE(town[QStringLiteral("pocet")].toInt(), 2);
        // A long list is sorted the same way (by the places along the indexes).
        QList<QVariantList> cards, activities;
        for (int i = 0; i < 2100; ++i) {
            cards.append({i % 2 + 1, QStringLiteral("Kotel %1").arg(i), 1, 12});
            activities.append(
                {i % 2 + 1, 6 + i, QStringLiteral("2024-03-%1").arg(i % 20 + 1, 2, 10, QLatin1Char('0'))});
        }
        f.connection.executeMany(
            QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta) "
                           "VALUES (?, ?, 'T', ?, ?)"),
            cards);
        f.connection.executeMany(
            QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, "
                           "datum_pristi) VALUES (?, ?, 1, '2023-03-01', ?)"),
            activities);
        // Page by page, in the same order; the count and the overdue ones of the whole list.
        QJsonArray many;
        QJsonValue from = 0;
        QJsonObject page;
        for (int pages = 0; from.isDouble(); ++pages) {
            QVERIFY(pages < 20);
            page = f.get(QStringLiteral("/api/revize?od=%1").arg(from.toInt()), token).json;
            QCOMPARE(page[QStringLiteral("od")], from);
            for (const QJsonValue& r : page[QStringLiteral("radky")].toArray())
                many.append(r);
            from = page[QStringLiteral("dalsi")];
        }
        QVERIFY(from.isNull());
        QCOMPARE(many.size(), 2103);
        QCOMPARE(page[QStringLiteral("pocet")].toInt(), 2103);
        QCOMPARE(page[QStringLiteral("po_terminu")].toInt(), 1 + 2100 / 20 * 14);
        QCOMPARE(many[0][QStringLiteral("id_topneho_zdroje")].toInt(), 1);
        QCOMPARE(many[1050][QStringLiteral("mesto")].toString(), QStringLiteral("Brno"));
        QCOMPARE(many[1051][QStringLiteral("mesto")].toString(), QStringLiteral("Česká Lípa"));
        QCOMPARE(many[1051][QStringLiteral("id_topneho_zdroje")].toInt(), 2);
        QCOMPARE(many[2102][QStringLiteral("id_topneho_zdroje")].toInt(), 2105);
        QCOMPARE(f.get(QStringLiteral("/api/revize?mesto=Brno&od=1000"), token)
                     .json[QStringLiteral("radky")][50][QStringLiteral("id_topneho_zdroje")]
                     .toInt(),
                 2104);
        for (const char* wrong : {"-1", "abc", "1e3", "+5", "99999999999"})
            QCOMPARE(f.get(QStringLiteral("/api/revize?od=%1").arg(QLatin1String(wrong)), token).status, 400);

        // A customer whose revisions are not watched is left out, as in the plan.
        f.connection.execute(QStringLiteral("UPDATE cis_zakaznici SET hlidani_revizi = ? WHERE id = 1"),
                             {false});
        QCOMPARE(f.get(QStringLiteral("/api/revize"), token).json[QStringLiteral("pocet")].toInt(), 1052);
        // A town where no card is due is not offered (a few seconds later), also beside one
        // town's list.
        f.now = f.now.addSecs(WebServices::DueTownsSeconds);
        QCOMPARE(f.get(QStringLiteral("/api/revize?mesto=%C4%8Cesk%C3%A1%20L%C3%ADpa"), token)
                     .json[QStringLiteral("mesta")]
                     .toArray(),
                 QJsonArray({QStringLiteral("Česká Lípa")}));
    }

    // One box: names, persons, towns, streets and phones without case and accents; a
    // serial number or barcode goes straight to its card.
    void theSearchIgnoresCaseAndAccents()
    {
        WebFixture f;
        f.seed();
        f.connection.execute(
            QStringLiteral("UPDATE cis_zakaznici SET osoba = 'Šárka Řeháková' WHERE id = 2"));
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const auto found = [&](const QString& text) {
            const auto r = f.get(QStringLiteral("/api/hledat?text=") +
                                     QString::fromLatin1(QUrl::toPercentEncoding(text)),
                                 token);
            if (r.json.contains(QStringLiteral("karta")))
                return QStringLiteral("karta ") +
                       QString::number(r.json[QStringLiteral("karta")].toInteger());
            return idsOf(r.json[QStringLiteral("zakaznici")].toArray(), "id");
        };
        QCOMPARE(found(QStringLiteral("novak")), QStringLiteral("1"));
        QCOMPARE(found(QStringLiteral("NOVÁK")), QStringLiteral("1"));
        QCOMPARE(found(QStringLiteral("dvorakova")), QStringLiteral("2"));
        QCOMPARE(found(QStringLiteral("sarka reh")), QStringLiteral("2"));
        QCOMPARE(found(QStringLiteral("ceska lipa")), QStringLiteral("2"));
        QCOMPARE(found(QStringLiteral("dlouha")), QStringLiteral("2,1")); // by name
        QCOMPARE(found(QStringLiteral("123456")), QStringLiteral("2,1"));
        QCOMPARE(found(QStringLiteral("%")), QString());
        QCOMPARE(found(QStringLiteral("sn-100")), QStringLiteral("karta 1"));
        QCOMPARE(found(QStringLiteral("ck-100")), QStringLiteral("karta 1"));
        QCOMPARE(found(QString()), QString());

        // What the desktop changes: the customer found is shown as it is now, one deleted is
        // left out at once, and the new texts are searched a few seconds later.
        f.connection.execute(QStringLiteral("UPDATE cis_zakaznici SET nazev = 'Procházka' WHERE id = 1"));
        f.connection.execute(QStringLiteral("INSERT INTO cis_zakaznici (id, nazev, mesto) VALUES (3, "
                                            "'Dvořák', 'Praha')"));
        const auto r = f.get(QStringLiteral("/api/hledat?text=novak"), token);
        QCOMPARE(r.json[QStringLiteral("zakaznici")][0][QStringLiteral("nazev")].toString(),
                 QStringLiteral("Procházka"));
        f.now = f.now.addSecs(CustomerSearchIndex::FreshSeconds);
        QCOMPARE(found(QStringLiteral("prochazka")), QStringLiteral("1"));
        QCOMPARE(found(QStringLiteral("novak")), QString());
        QCOMPARE(found(QStringLiteral("dvorak")), QStringLiteral("3,2"));
        f.connection.execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE id = 3"));
        QCOMPARE(found(QStringLiteral("dvorak")), QStringLiteral("2"));
        // A common text: the first fifty by name, and a word that there are more.
        QList<QVariantList> many;
        for (int i = 0; i < 60; ++i)
            many.append({100 + i, QStringLiteral("Zákazník %1").arg(i, 2, 10, QLatin1Char('0'))});
        f.connection.executeMany(QStringLiteral("INSERT INTO cis_zakaznici (id, nazev) VALUES (?, ?)"), many);
        f.now = f.now.addSecs(CustomerSearchIndex::FreshSeconds);
        const auto common = f.get(QStringLiteral("/api/hledat?text=zakaznik"), token).json;
        QCOMPARE(common[QStringLiteral("zakaznici")].toArray().size(), SearchHandler::MostCustomers);
        QCOMPARE(common[QStringLiteral("zakaznici")][49][QStringLiteral("id")].toInt(), 149);
        QCOMPARE(common[QStringLiteral("dalsi")].toBool(), true);
    }

    // The next revision as the desktop works it out: months, month ends, period 0.
    void theNextRevisionIsWorkedOutByTheServer_data()
    {
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("next");
        QTest::newRow("leap year") << 1 << "2024-01-31"
                                   << "2024-02-29";
        QTest::newRow("common year") << 1 << "2023-01-31"
                                     << "2023-02-28";
        QTest::newRow("period 0") << 0 << "2024-05-05"
                                  << "2024-05-05";
        QTest::newRow("a year") << 12 << "2024-02-29"
                                << "2025-02-28";
    }
    void theNextRevisionIsWorkedOutByTheServer()
    {
        QFETCH(int, period);
        QFETCH(QString, date);
        QFETCH(QString, next);
        WebFixture f;
        f.seed();
        f.connection.execute(QStringLiteral("UPDATE topny_zdroj SET lhuta = ? WHERE id = 1"), {period});
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QJsonObject body = f.activityBody(1, date, WebFixture::requestId(1));
        body.insert(QStringLiteral("datum_pristi"), QStringLiteral("2099-01-01")); // not the client's to say
        const auto r = f.write("POST", QStringLiteral("/api/cinnosti"), body, token);
        QCOMPARE(r.status, 201);
        QCOMPARE(r.json[QStringLiteral("cinnost")][QStringLiteral("datum_pristi")].toString(), next);
        QCOMPARE(f.connection.query(QStringLiteral("SELECT datum_pristi FROM cinnosti"))
                     .rows[0][0]
                     .toString()
                     .left(10),
                 next);
    }

    // A new activity is the desktop's row: the card's customer, the technician's name, the
    // prices by the money rules; the card shows it on top.
    void aNewActivityIsTheDesktopsRow()
    {
        WebFixture f;
        f.seed();
        const QString technician = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QString office = f.signedIn(QStringLiteral("kancl"), QStringLiteral("kancelar"), 0);
        QCOMPARE(f.addActivity(1, 1, technician, QStringLiteral("2024-03-14")).status, 201);
        QJsonObject byOffice = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(2));
        byOffice.insert(QStringLiteral("technik"), 2);
        byOffice.insert(QStringLiteral("cena_doprava"), QStringLiteral("-0.0001"));
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), byOffice, office).status, 201);
        QJsonObject asAnother = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(3));
        asAnother.insert(QStringLiteral("technik"), 2);
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), asAnother, technician).status, 403);

        const ResultSet rows = f.connection.query(QStringLiteral(
            "SELECT id_zakaznika, technik, cena_prace, cena_doprava FROM cinnosti ORDER BY id"));
        QCOMPARE(rows.rows.size(), 2);
        QCOMPARE(rows.rows[0][0].toInt(), 1);
        QCOMPARE(rows.rows[0][1].toString(), QStringLiteral("Novák Jan"));
        QCOMPARE(FieldValues::fromStorage(ColumnKind::Money, rows.rows[0][2]).toLongLong(), 12505000);
        QCOMPARE(rows.rows[1][1].toString(), QStringLiteral("Svoboda Petr"));
        QCOMPARE(FieldValues::fromStorage(ColumnKind::Money, rows.rows[1][3]).toLongLong(), -1);
        const auto card = f.get(QStringLiteral("/api/karty/1"), technician).json;
        QCOMPARE(idsOf(card[QStringLiteral("cinnosti")].toArray(), "id"), QStringLiteral("2,1"));
        QCOMPARE(card[QStringLiteral("cinnosti")][1][QStringLiteral("nazev_cinnosti")].toString(),
                 QStringLiteral("Revize"));
        QCOMPARE(card[QStringLiteral("cinnosti")][1][QStringLiteral("cena_prace")].toString(),
                 QStringLiteral("1250.5"));
        QCOMPARE(card[QStringLiteral("pristi_revize")].toString(), QStringLiteral("2025-03-15"));
        QCOMPARE(card[QStringLiteral("zakaznik")][QStringLiteral("nazev")].toString(),
                 QStringLiteral("Novák"));
        QCOMPARE(card[QStringLiteral("karta")][QStringLiteral("nazev_kategorie")].toString(),
                 QStringLiteral("Kotle"));
        const auto customer = f.get(QStringLiteral("/api/zakaznici/1"), technician).json;
        QCOMPARE(customer[QStringLiteral("zakaznik")][QStringLiteral("mesto")].toString(),
                 QStringLiteral("Brno"));
        QCOMPARE(customer[QStringLiteral("karty")][0][QStringLiteral("pristi_revize")].toString(),
                 QStringLiteral("2025-03-15"));
        QCOMPARE(f.get(QStringLiteral("/api/zakaznici/99"), technician).status, 404);
        QCOMPARE(f.get(QStringLiteral("/api/karty/99"), technician).status, 404);
    }

    // A new card takes its period from the category.
    void aNewCardTakesThePeriodOfItsCategory()
    {
        WebFixture f;
        f.seed();
        f.connection.execute(
            QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Krby', 24)"));
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QJsonObject body{{QStringLiteral("id_pozadavku"), WebFixture::requestId(1)},
                               {QStringLiteral("id_zakaznika"), 2},
                               {QStringLiteral("nazev"), QStringLiteral("Krb v obýváku")},
                               {QStringLiteral("typ"), QStringLiteral("KR-5")},
                               {QStringLiteral("vyrobni_cislo"), QStringLiteral("X-9")},
                               {QStringLiteral("rok_vyroby"), 2019},
                               {QStringLiteral("kategorie"), 2}};
        const auto r = f.write("POST", QStringLiteral("/api/karty"), body, token);
        QCOMPARE(r.status, 201);
        const QJsonObject card = r.json[QStringLiteral("karta")].toObject();
        QCOMPARE(card[QStringLiteral("lhuta")].toInt(), 24);
        QCOMPARE(card[QStringLiteral("rok_vyroby")].toInt(), 2019);
        QCOMPARE(card[QStringLiteral("vyrobce")], QJsonValue());
        QCOMPARE(
            f.get(QStringLiteral("/api/hledat?text=x-9"), token).json[QStringLiteral("karta")].toInteger(),
            card[QStringLiteral("id")].toInteger());
    }

    // A request sent twice is written once; the second answer shows the first row.
    void aRequestSentTwiceIsRecordedOnce()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QJsonObject body = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(7));
        const auto first = f.write("POST", QStringLiteral("/api/cinnosti"), body, token);
        const auto second = f.write("POST", QStringLiteral("/api/cinnosti"), body, token);
        QCOMPARE(first.status, 201);
        QCOMPARE(second.status, 201);
        QCOMPARE(second.json, first.json);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 1);
        QCOMPARE(f.count(QStringLiteral("web_prijato")), 1);
        QCOMPARE(f.connection.query(QStringLiteral("SELECT count(*) FROM web_audit WHERE udalost = 'zapis'"))
                     .rows[0][0]
                     .toInt(),
                 1);
        // The same id for another kind of write, or by another account, is refused.
        const QString other = f.signedIn(QStringLiteral("svoboda"), QStringLiteral("technik"), 2);
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), body, other).status, 409);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 1);
        // Sent again while the first is still being written (each on a connection of its own,
        // both let go at once): one row, and both answers show it.
        constexpr int Pairs = 10;
        QList<WebFixture::Reply> mine(Pairs), theirs(Pairs);
        const auto pair = [&](int n) {
            return f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(100 + n));
        };
        std::barrier together(2);
        std::thread parallel([&] {
            f.get(QStringLiteral("/api/ucet"), token); // its connection opened beforehand
            for (int n = 0; n < Pairs; ++n) {
                together.arrive_and_wait();
                theirs[n] = f.write("POST", QStringLiteral("/api/cinnosti"), pair(n), token);
            }
            f.app.threadEnds();
        });
        for (int n = 0; n < Pairs; ++n) {
            together.arrive_and_wait();
            mine[n] = f.write("POST", QStringLiteral("/api/cinnosti"), pair(n), token);
        }
        parallel.join();
        for (int n = 0; n < Pairs; ++n) {
            QCOMPARE(mine[n].status, 201);
            QCOMPARE(theirs[n].status, 201);
            QCOMPARE(mine[n].json, theirs[n].json);
        }
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 11);
    }

    // On the file, what the writes log is carried into the file about once a second while
    // they go on (by the writer whose turn ended), so the log does not grow for as long as
    // the technicians write.
    void theFilesLogIsCarriedInWhileWritesGoOn()
    {
        WebFixture f;
        if (f.connection.isServer())
            QSKIP("the server keeps its own log");
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const auto logFrames = [&] {
            return f.connection.query(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")).rows[0][1].toInt();
        };
        const auto write = [&](int n) { QCOMPARE(f.addActivity(1, n, token).status, 201); };
        write(0); // and the session's first use
        const int first = logFrames();
        for (int n = 1; n <= 10; ++n)
            write(n);
        const int perWrite = (logFrames() - first) / 10;
        QVERIFY(perWrite > 0);
        QElapsedTimer timer;
        timer.start();
        int writes = 11;
        while (timer.elapsed() < 2 * WebDatabase::CheckpointEveryMs + 300)
            write(writes++);
        QVERIFY2(logFrames() < writes * perWrite / 2,
                 qPrintable(QStringLiteral("%1 frames after %2 writes").arg(logFrames()).arg(writes)));
    }

    // A card taken out of service takes no new activity: refused with the card as it is now,
    // nothing written; a request written before it still answers with its row, even once the
    // card is deleted.
    void aCardOutOfServiceTakesNoNewActivity()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QJsonObject before = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(1));
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), before, token).status, 201);
        f.connection.execute(
            QStringLiteral("UPDATE topny_zdroj SET vyrazeno_dne = '2024-03-14' WHERE id = 1"));
        const auto refused = f.addActivity(1, 2, token);
        QCOMPARE(refused.status, 409);
        QVERIFY(refused.error().startsWith(QStringLiteral("Karta byla vyřazena z provozu")));
        QCOMPARE(refused.json[QStringLiteral("aktualni")][QStringLiteral("vyrazeno_dne")].toString(),
                 QStringLiteral("2024-03-14"));
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 1);
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), before, token).status, 201);
        QCOMPARE(f.addActivity(2, 2, token).status, 201);
        f.connection.execute(QStringLiteral("DELETE FROM topny_zdroj WHERE id = 1"));
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), before, token).status, 201);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 2);
    }

    // A card recorded without signal with activities of its own: each activity names the
    // card's request, which goes first; before it, the activity is refused and nothing written.
    void anActivityMayNameItsNewCardsRequest()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QJsonObject activity = f.activityBody(0, QStringLiteral("2024-03-15"), WebFixture::requestId(2));
        activity.remove(QStringLiteral("id_topneho_zdroje"));
        activity.insert(QStringLiteral("karta_pozadavku"), WebFixture::requestId(1));
        const auto early = f.write("POST", QStringLiteral("/api/cinnosti"), activity, token);
        QCOMPARE(early.status, 409);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 0);
        const QJsonObject card{{QStringLiteral("id_pozadavku"), WebFixture::requestId(1)},
                               {QStringLiteral("id_zakaznika"), 2},
                               {QStringLiteral("nazev"), QStringLiteral("Nový kotel")},
                               {QStringLiteral("typ"), QStringLiteral("NK")},
                               {QStringLiteral("kategorie"), 1}};
        const auto written = f.write("POST", QStringLiteral("/api/karty"), card, token);
        QCOMPARE(written.status, 201);
        const qint64 id = written.json[QStringLiteral("karta")][QStringLiteral("id")].toInteger();
        const auto linked = f.write("POST", QStringLiteral("/api/cinnosti"), activity, token);
        QCOMPARE(linked.status, 201);
        QCOMPARE(linked.json[QStringLiteral("cinnost")][QStringLiteral("id_topneho_zdroje")].toInteger(), id);
        QCOMPARE(linked.json[QStringLiteral("cinnost")][QStringLiteral("id_zakaznika")].toInteger(), 2);
        // Another account's card request does not count.
        const QString other = f.signedIn(QStringLiteral("svoboda"), QStringLiteral("technik"), 2);
        activity[QStringLiteral("id_pozadavku")] = WebFixture::requestId(3);
        QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), activity, other).status, 409);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 1);
    }

    // What a technician takes along: the customers of the towns and those named, each as the
    // customer's page reads it, their cards as the card's page with the last activities, and
    // the code lists.
    void aTripTakesTheTownsAndTheCustomersAlong()
    {
        WebFixture f;
        f.seed();
        f.connection.execute(
            QStringLiteral("INSERT INTO cis_zakaznici (id, nazev, mesto) VALUES (3, 'Adámek', "
                           "'Brno'), (4, 'Beneš', 'Zlín')"));
        QList<QVariantList> activities;
        for (int i = 1; i <= 7; ++i)
            activities.append({QStringLiteral("2023-0%1-01").arg(i)});
        f.connection.executeMany(
            QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, "
                           "datum) VALUES (1, 1, 1, ?)"),
            activities);
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const auto trip = f.get(QStringLiteral("/api/na-cestu?mesto=Brno&zakaznik=2&zakaznik=99"), token);
        QCOMPARE(trip.status, 200);
        QCOMPARE(trip.json[QStringLiteral("cas")].toString(), QStringLiteral("2024-03-15T09:00:00Z"));
        const QJsonArray customers = trip.json[QStringLiteral("zakaznici")].toArray();
        QStringList ids;
        for (const QJsonValue& c : customers)
            ids << QString::number(c[QStringLiteral("zakaznik")][QStringLiteral("id")].toInteger());
        QCOMPARE(ids.join(u','), QStringLiteral("3,1,2")); // Brno by name, then the one named
        QCOMPARE(customers[1].toObject(), f.get(QStringLiteral("/api/zakaznici/1"), token).json);
        const QJsonArray cards = trip.json[QStringLiteral("karty")].toArray();
        QCOMPARE(cards.size(), 2);
        QJsonObject whole = f.get(QStringLiteral("/api/karty/1"), token).json;
        QCOMPARE(whole[QStringLiteral("cinnosti")].toArray().size(), 7);
        const QJsonObject taken = cards[0].toObject();
        QCOMPARE(taken[QStringLiteral("cinnosti_dalsi")].toBool(), true);
        const QJsonArray last = taken[QStringLiteral("cinnosti")].toArray();
        QCOMPARE(last.size(), TripHandler::LastActivities);
        QCOMPARE(last[0][QStringLiteral("datum")].toString(), QStringLiteral("2023-07-01"));
        QJsonArray newest = whole[QStringLiteral("cinnosti")].toArray();
        while (newest.size() > TripHandler::LastActivities)
            newest.removeLast();
        whole[QStringLiteral("cinnosti")] = newest;
        whole[QStringLiteral("cinnosti_dalsi")] = true;
        QCOMPARE(taken, whole);
        QVERIFY(!cards[1].toObject().contains(QStringLiteral("cinnosti_dalsi")));
        QCOMPARE(trip.json[QStringLiteral("ciselniky")].toObject(),
                 f.get(QStringLiteral("/api/ciselniky"), token).json);
        // Bounded, with a Czech reason.
        QString many = QStringLiteral("/api/na-cestu?");
        for (int i = 0; i <= TripHandler::MostTowns; ++i)
            many += QStringLiteral("mesto=M%1&").arg(i);
        QCOMPARE(f.get(many, token).status, 400);
        QString named = QStringLiteral("/api/na-cestu?");
        for (int i = 1; i <= TripHandler::MostCustomers + 1; ++i)
            named += QStringLiteral("zakaznik=%1&").arg(i);
        QCOMPARE(f.get(named, token).error(),
                 QStringLiteral("Najednou lze uložit nejvýše 500 zákazníků; vyberte "
                                "méně měst nebo zákazníků."));
        QCOMPARE(f.get(QStringLiteral("/api/na-cestu?zakaznik=abc"), token).status, 400);
    }

    // Each field is checked by the schema's rules with a Czech message naming it, and
    // nothing is written.
    void invalidInputWritesNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("message");
        const QString activity = QStringLiteral("/api/cinnosti");
        const QString card = QStringLiteral("/api/karty");
        QTest::newRow("no request id")
            << activity << "id_pozadavku" << QJsonValue() << "Vyplňte pole „Identifikátor požadavku“.";
        QTest::newRow("short request id")
            << activity << "id_pozadavku" << QJsonValue("abc")
            << "Identifikátor požadavku musí mít 16 až 64 písmen, číslic nebo pomlček.";
        QTest::newRow("no date") << activity << "datum" << QJsonValue() << "Vyplňte pole „Datum“.";
        QTest::newRow("30 February") << activity << "datum" << QJsonValue("2024-02-30")
                                     << "Pole „Datum“ musí být platné datum ve tvaru RRRR-MM-DD.";
        QTest::newRow("Czech date") << activity << "datum" << QJsonValue("15.3.2024")
                                    << "Pole „Datum“ musí být platné datum ve tvaru RRRR-MM-DD.";
        QTest::newRow("unknown kind") << activity << "cinnost" << QJsonValue(99)
                                      << "Pole „Činnost“ neodkazuje na žádnou položku číselníku.";
        QTest::newRow("kind as text")
            << activity << "cinnost" << QJsonValue("1") << "Pole „Činnost“ má nesprávný tvar.";
        QTest::newRow("decimal comma")
            << activity << "cena_prace" << QJsonValue("12,5")
            << "Pole „Cena práce“ musí být částka s nejvýše 11 číslicemi před desetinnou "
               "tečkou a nejvýše 4 za ní.";
        QTest::newRow("12 digits")
            << activity << "cena_material" << QJsonValue("123456789012")
            << "Pole „Cena materiál“ musí být částka s nejvýše 11 číslicemi před desetinnou "
               "tečkou a nejvýše 4 za ní.";
        QTest::newRow("5 decimals")
            << activity << "cena_ostatni" << QJsonValue("1.00001")
            << "Pole „Cena ostatní“ musí být částka s nejvýše 11 číslicemi před desetinnou "
               "tečkou a nejvýše 4 za ní.";
        QTest::newRow("money as number") << activity << "cena_doprava" << QJsonValue(12)
                                         << "Pole „Cena doprava“ musí být částka s nejvýše 11 číslicemi před "
                                            "desetinnou tečkou a nejvýše 4 za ní.";
        QTest::newRow("unknown card")
            << activity << "id_topneho_zdroje" << QJsonValue(99) << "Karta nebyla nalezena.";
        QTest::newRow("long name") << card << "nazev" << QJsonValue(QString(101, u'ž'))
                                   << "Pole „Název“ smí mít nejvýše 100 znaků.";
        QTest::newRow("empty type") << card << "typ" << QJsonValue("  ") << "Vyplňte pole „Typ“.";
        QTest::newRow("long serial") << card << "vyrobni_cislo" << QJsonValue(QString(31, u'1'))
                                     << "Pole „Výrobní číslo“ smí mít nejvýše 30 znaků.";
        QTest::newRow("year") << card << "rok_vyroby" << QJsonValue(1850)
                              << "Pole „Rok výroby“ musí být rok mezi 1900 a 2100.";
        QTest::newRow("unknown category") << card << "kategorie" << QJsonValue(7)
                                          << "Pole „Kategorie“ neodkazuje na žádnou položku číselníku.";
        QTest::newRow("unknown customer")
            << card << "id_zakaznika" << QJsonValue(5) << "Zákazník nebyl nalezen.";
    }
    void invalidInputWritesNothing()
    {
        QFETCH(QString, path);
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, message);
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QJsonObject body = path.endsWith(u"karty")
                               ? QJsonObject{{QStringLiteral("id_pozadavku"), WebFixture::requestId(1)},
                                             {QStringLiteral("id_zakaznika"), 1},
                                             {QStringLiteral("nazev"), QStringLiteral("Kotel")},
                                             {QStringLiteral("typ"), QStringLiteral("T")},
                                             {QStringLiteral("kategorie"), 1}}
                               : f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(1));
        // The body as given is written: the fault is the one field.
        QJsonObject valid = body;
        valid.insert(QStringLiteral("id_pozadavku"), WebFixture::requestId(2));
        if (value.isUndefined() || value.isNull())
            body.remove(key);
        else
            body.insert(key, value);
        const int cards = f.count(QStringLiteral("topny_zdroj"));
        const auto r = f.write("POST", path, body, token);
        QCOMPARE(r.status, 400);
        QCOMPARE(r.error(), message);
        QCOMPARE(r.json[QStringLiteral("pole")].toString(), key);
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 0);
        QCOMPARE(f.count(QStringLiteral("topny_zdroj")), cards);
        QCOMPARE(f.count(QStringLiteral("web_prijato")), 0);
        QCOMPARE(f.count(QStringLiteral("web_audit")), 0);
        QCOMPARE(f.write("POST", path, valid, token).status, 201);
    }

    // A correction is saved only when the row is as it was read: the desktop's change in
    // between refuses it with the desktop's message and shows the row as it is now.
    void aCorrectionIsRefusedWhenChangedMeanwhile()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const QJsonObject read = f.addActivity(1, 1, token).json[QStringLiteral("cinnost")].toObject();
        // The desktop changes the note meanwhile, through its data set.
        DataSet desktop(f.connection, QStringLiteral("DS_Cin"));
        desktop.setCommandText(QStringLiteral("SELECT * FROM cinnosti WHERE id = 1"));
        desktop.open();
        desktop.edit();
        desktop.setValue(QStringLiteral("poznamka"), QStringLiteral("Z kanceláře"));
        desktop.post();

        QJsonObject changed = f.activityBody(1, QStringLiteral("2024-03-15"), QString());
        changed.insert(QStringLiteral("cena_prace"), QStringLiteral("2000"));
        const auto correct = [&](const QJsonObject& asRead, int n) {
            return f.write("PUT", QStringLiteral("/api/cinnosti/1"),
                           {{QStringLiteral("id_pozadavku"), WebFixture::requestId(n)},
                            {QStringLiteral("puvodni"), asRead},
                            {QStringLiteral("cinnost"), changed}},
                           token);
        };
        const auto refused = correct(read, 2);
        QCOMPARE(refused.status, 409);
        QCOMPARE(refused.error(), changedMeanwhileMessage());
        const QJsonObject current = refused.json[QStringLiteral("aktualni")].toObject();
        QCOMPARE(current[QStringLiteral("poznamka")].toString(), QStringLiteral("Z kanceláře"));
        QCOMPARE(current[QStringLiteral("cena_prace")].toString(), QStringLiteral("1250.5"));
        QCOMPARE(f.connection.query(QStringLiteral("SELECT poznamka FROM cinnosti")).rows[0][0].toString(),
                 QStringLiteral("Z kanceláře"));
        // Read again, it is saved.
        const auto saved = correct(current, 3);
        QCOMPARE(saved.status, 200);
        QCOMPARE(saved.json[QStringLiteral("cinnost")][QStringLiteral("cena_prace")].toString(),
                 QStringLiteral("2000"));
        // The row as the card lists it is the row as read, too.
        const QJsonObject card = f.get(QStringLiteral("/api/karty/1"), token).json;
        QCOMPARE(correct(card[QStringLiteral("cinnosti")][0].toObject(), 4).status, 200);
        QVERIFY(card[QStringLiteral("zakaznik")].toObject().contains(QStringLiteral("mobil")));

        // And the other way round: the desktop's edit of the row the web changed is refused.
        desktop.edit();
        desktop.setValue(QStringLiteral("poznamka"), QStringLiteral("Pozdě"));
        try {
            desktop.post();
            QFAIL("the desktop saved over the web's correction");
        } catch (const AppError& e) {
            QCOMPARE(e.text(), changedMeanwhileMessage());
        }
        QCOMPARE(FieldValues::fromStorage(
                     ColumnKind::Money,
                     f.connection.query(QStringLiteral("SELECT cena_prace FROM cinnosti")).rows[0][0])
                     .toLongLong(),
                 20000000);
    }

    // The database gone: 503 with the Czech message, and serving again by itself.
    void anUnreachableDatabaseAnswers503AndComesBack()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QCOMPARE(f.get(QStringLiteral("/api/ciselniky"), token).status, 200);
        // The connection breaks under a request, and connecting again fails meanwhile.
        f.connection.execute(QStringLiteral("ALTER TABLE cis_cinnost RENAME TO cis_cinnost_pryc"));
        f.databaseRefused = true;
        const auto gone = f.get(QStringLiteral("/api/ciselniky"), token);
        QCOMPARE(gone.status, 503);
        QCOMPARE(gone.error(), QStringLiteral("Databáze je nedostupná, zkuste to prosím za chvíli."));
        QCOMPARE(f.get(QStringLiteral("/api/ucet"), token).status, 503);
        QCOMPARE(f.addActivity(1, 1, token).status, 503);
        f.connection.execute(QStringLiteral("ALTER TABLE cis_cinnost_pryc RENAME TO cis_cinnost"));
        f.databaseRefused = false;
        QCOMPARE(f.get(QStringLiteral("/api/ciselniky"), token).status, 200);
        QCOMPARE(f.addActivity(1, 1, token).status, 201);
    }

    // The database file locked by another program's long write: the write waits its time,
    // answers 503 and goes through once the file is free. The server restarted under the
    // connection: the next request serves again.
    void aLockedFileOrARestartedServerPassesOver()
    {
        WebFixture f;
        f.seed();
        const QString token = f.signedIn(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        QCOMPARE(f.get(QStringLiteral("/api/ciselniky"), token).status, 200);
        const QJsonObject body = f.activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(1));
        if (f.connection.isServer()) {
            f.connection.execute(
                QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                               "datname = current_database() AND pid <> pg_backend_pid()"));
            const int first = f.write("POST", QStringLiteral("/api/cinnosti"), body, token).status;
            QVERIFY2(first == 201 || first == 503, QByteArray::number(first));
            if (first == 503)
                QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), body, token).status, 201);
        } else {
            f.connection.begin();
            f.connection.execute(QStringLiteral("UPDATE cis_cinnost SET nazev_cinnosti = nazev_cinnosti"));
            const auto locked = f.write("POST", QStringLiteral("/api/cinnosti"), body, token);
            f.connection.rollback();
            QCOMPARE(locked.status, 503);
            QCOMPARE(locked.error(), QStringLiteral("Databáze je nedostupná, zkuste to prosím za chvíli."));
            QCOMPARE(f.count(QStringLiteral("cinnosti")), 0);
            QCOMPARE(f.write("POST", QStringLiteral("/api/cinnosti"), body, token).status, 201);
        }
        QCOMPARE(f.count(QStringLiteral("cinnosti")), 1);
        QCOMPARE(f.get(QStringLiteral("/api/karty/1"), token).status, 200);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestWebApi)
#include "tst_webapi.moc"
