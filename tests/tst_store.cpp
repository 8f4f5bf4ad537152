// The database file, the connection and the store operations.
#include "store/Connection.h"
#include "store/CzechText.h"
#include "store/DatabaseError.h"
#include "store/Schema.h"
#include "store/SqlDialect.h"
#include "store/StoreOperations.h"
#include "store/Transaction.h"
#include "support/ProgramDir.h"
#include "support/SeedData.h"
#include "support/TestMain.h"

#include <QTest>

class TestStore : public QObject
{
    Q_OBJECT

    ProgramDir* m_dir = nullptr;
    Connection* m_db = nullptr;

private slots:
    void init()
    {
        m_dir = new ProgramDir;
        m_db = new Connection(QStringLiteral("test"));
        m_db->open(m_dir->path(QStringLiteral("Vestibor.mdb")));
    }
    void cleanup()
    {
        delete m_db;
        delete m_dir;
    }

    void schemaHasTheSixTablesWithTheirKinds()
    {
        const auto cards = m_db->tableColumns(QStringLiteral("topny_zdroj"));
        QStringList names;
        for (const auto& c : cards)
            names << c.name;
        QCOMPARE(names,
                 (QStringList{"id", "id_zakaznika", "nazev", "typ", "vyrobce", "vyrobni_cislo", "carovy_kod",
                              "rok_vyroby", "kategorie", "lhuta", "vyrazeno_dne", "poznamka"}));
        QCOMPARE(cards[0].kind, ColumnKind::AutoKey);
        QCOMPARE(cards[2].kind, ColumnKind::Text);
        QCOMPARE(cards[2].maxLength, 100);
        QCOMPARE(cards[7].kind, ColumnKind::Year);
        QCOMPARE(cards[10].kind, ColumnKind::Date);
        QCOMPARE(cards[11].kind, ColumnKind::LongText);
        const auto activities = m_db->tableColumns(QStringLiteral("cinnosti"));
        QCOMPARE(activities[7].name, QStringLiteral("cena_doprava"));
        QCOMPARE(activities[7].kind, ColumnKind::Money);
        const auto customers = m_db->tableColumns(QStringLiteral("cis_zakaznici"));
        QCOMPARE(customers[13].name, QStringLiteral("je_firma"));
        QCOMPARE(customers[13].kind, ColumnKind::YesNo);
        QCOMPARE(m_db->tableColumns(QStringLiteral("cis_technici")).size(), 2);
        const auto accounts = m_db->tableColumns(QStringLiteral("web_ucty"));
        QCOMPARE(accounts[7].name, QStringLiteral("vytvoreno"));
        QCOMPARE(accounts[7].kind, ColumnKind::DateTime);
        QCOMPARE(accounts[5].kind, ColumnKind::YesNo);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_db->tableColumns(QStringLiteral("nic")));
    }

    void idsAreNeverReused()
    {
        addCustomer(*m_db, QStringLiteral("A"));
        addCustomer(*m_db, QStringLiteral("B"));
        m_db->execute(QStringLiteral("DELETE FROM cis_zakaznici WHERE id = 2"));
        QCOMPARE(m_db->insert(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('C')")), 3);
    }

    void theDatabaseRefusesTextLongerThanItsColumn()
    {
        QVERIFY_THROWS_EXCEPTION(DatabaseError, addCustomer(*m_db, QString(101, u'x')));
        addCustomer(*m_db, QString(100, u'x'));
    }

    void jetFormsAreAccepted()
    {
        addCustomer(*m_db, QStringLiteral("A"));
        addCustomer(*m_db, QStringLiteral("B"));
        const ResultSet top = m_db->query(QStringLiteral("SELECT Top 1 * FROM cis_zakaznici"));
        QCOMPARE(top.rows.size(), 1);
        QCOMPARE(top.columns.size(), 16);
        const ResultSet count =
            m_db->query(QStringLiteral("SELECT COUNT(nazev) as Celkem FROM cis_zakaznici WHERE nazev = 'A'"));
        QCOMPARE(count.columnIndex(QStringLiteral("celkem")), 0);
        QCOMPARE(count.rows[0][0].toInt(), 1);
        QCOMPARE(SqlDialect::translate(QStringLiteral("select top 3 * from t order by x")),
                 QStringLiteral("SELECT * from t order by x LIMIT 3"));
    }

    void czechOrderAndLike()
    {
        for (const char* name : {"Hora", "Chalupa", "Cyril", "Čech", "Dvořák", "čermák"})
            addCustomer(*m_db, QString::fromUtf8(name));
        QStringList ordered;
        for (const auto& row :
             m_db->query(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev")).rows)
            ordered << row[0].toString();
        QCOMPARE(ordered, (QStringList{"Cyril", "Čech", "čermák", "Dvořák", "Hora", "Chalupa"}));

        const ResultSet found = m_db->query(
            QStringLiteral("SELECT nazev FROM cis_zakaznici WHERE nazev LIKE ? ESCAPE '\\' ORDER BY nazev"),
            {SqlDialect::containsPattern(QStringLiteral("čech"))});
        QCOMPARE(found.rows.size(), 1);
        QCOMPARE(found.rows[0][0].toString(), QStringLiteral("Čech"));
    }

    // The collation reads the stored UTF-8 itself: three- and four-byte characters must come
    // out as the program's own comparison sees them, and distinct texts stay distinct.
    void theCollationReadsEveryCharacterWidth()
    {
        const QStringList names{"a😀", "a😁", "A😀", "😀", "𝄞 hudba", "東京", "東", "€5", "₤5", "ěšč", "Ž", "a"};
        for (const QString& name : names)
            addCustomer(*m_db, name);
        QStringList ordered;
        for (const auto& row :
             m_db->query(QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY nazev")).rows)
            ordered << row[0].toString();
        QStringList expected = names;
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return CzechText::compare(a, b) < 0; });
        QCOMPARE(ordered, expected);
        QCOMPARE(m_db->query(QStringLiteral("SELECT DISTINCT nazev FROM cis_zakaznici")).rows.size(),
                 names.size());
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM cis_zakaznici WHERE nazev = ?"),
                             {QStringLiteral("a😁")})
                     .rows.size(),
                 1);
    }

    void likeWildcardsTypedByTheUserMatchThemselves()
    {
        addCustomer(*m_db, QStringLiteral("Sleva 50%"));
        addCustomer(*m_db, QStringLiteral("Sleva 500"));
        addCustomer(*m_db, QStringLiteral("O'Brien_s"));
        const auto count = [this](const QString& typed) {
            return m_db
                ->query(QStringLiteral("SELECT id FROM cis_zakaznici WHERE nazev LIKE ? ESCAPE '\\'"),
                        {SqlDialect::containsPattern(typed)})
                .rows.size();
        };
        QCOMPARE(count(QStringLiteral("50%")), 1);
        QCOMPARE(count(QStringLiteral("o'brien")), 1);
        QCOMPARE(count(QStringLiteral("n_s")), 1);
        QCOMPARE(count(QStringLiteral("n_")), 1);
        QCOMPARE(count(QStringLiteral("e_")), 0);
        QCOMPARE(count(QStringLiteral("")), 3);
    }

    // An older database gains what a fresh one has, and the card search stays on its indexes.
    void anOlderDatabaseIsBroughtUpToDate()
    {
        m_db->execute(QStringLiteral("DROP VIEW pristi_revize"));
        m_db->execute(QStringLiteral("DROP TABLE upozorneni"));
        for (const char* table : {"web_ucty", "web_relace", "web_audit", "web_prijato"})
            m_db->execute(QStringLiteral("DROP TABLE ") + QLatin1String(table));
        m_db->execute(QStringLiteral("DROP INDEX ix_topny_zdroj_carovy_kod"));
        m_db->execute(QStringLiteral("DROP INDEX ix_topny_zdroj_vyrobni_cislo"));
        m_db->execute(
            QStringLiteral("CREATE INDEX ix_topny_zdroj_vyrobni_cislo ON topny_zdroj (vyrobni_cislo)"));
        m_db->execute(QStringLiteral("DROP INDEX ix_cinnosti_karta"));
        m_db->execute(
            QStringLiteral("CREATE INDEX ix_cinnosti_karta ON cinnosti (id_topneho_zdroje, datum, id)"));
        const QString objects = QStringLiteral("SELECT type || ' ' || name || ': ' || sql FROM sqlite_master "
                                               "WHERE sql IS NOT NULL ORDER BY name");
        const auto fresh = [&] {
            ProgramDir other;
            Connection db(QStringLiteral("fresh"));
            db.open(other.path(QStringLiteral("Vestibor.mdb")));
            return db.query(objects).rows;
        }();
        QVERIFY(m_db->query(objects).rows != fresh);
        QVERIFY(Schema::upgrade(*m_db));
        QCOMPARE(m_db->query(objects).rows, fresh);
        QVERIFY(Schema::upgrade(*m_db)); // nothing left to do
        QCOMPARE(m_db->query(objects).rows, fresh);

        for (const char* column : {"vyrobni_cislo", "carovy_kod"}) {
            const ResultSet plan =
                m_db->query(QStringLiteral("EXPLAIN QUERY PLAN SELECT id FROM topny_zdroj WHERE "
                                           "%1 = ? COLLATE caseless")
                                .arg(QLatin1String(column)),
                            {QStringLiteral("x")});
            QVERIFY2(plan.rows.last().last().toString().contains(QStringLiteral("INDEX ix_topny_zdroj_")),
                     qPrintable(plan.rows.last().last().toString()));
        }
    }

    void addsAMissingColumnOnceFindingItInAnyCase()
    {
        m_db->execute(
            QStringLiteral("CREATE TABLE stara (id INTEGER PRIMARY KEY AUTOINCREMENT, nazev VARCHAR(10))"));
        // The columns the connection keeps of the table are read again once one is added.
        QCOMPARE(m_db->tableColumns(QStringLiteral("stara")).size(), 2);
        StoreOperations store(*m_db);
        QVERIFY(store.ZajistitSloupec(QStringLiteral("stara"), QStringLiteral("je_firma"),
                                      QStringLiteral("BIT")));
        QCOMPARE(m_db->tableColumns(QStringLiteral("stara")).size(), 3);
        QCOMPARE(m_db->tableColumns(QStringLiteral("stara")).last().kind, ColumnKind::YesNo);
        QVERIFY(store.ZajistitSloupec(QStringLiteral("stara"), QStringLiteral("JE_FIRMA"),
                                      QStringLiteral("BIT")));
        QCOMPARE(m_db->tableColumns(QStringLiteral("stara")).size(), 3);
        QVERIFY_THROWS_EXCEPTION(
            DatabaseError,
            store.ZajistitSloupec(QStringLiteral("nic"), QStringLiteral("x"), QStringLiteral("BIT")));
        QVERIFY(!store.ZajistitSloupec(QStringLiteral("stara"), QStringLiteral("chybny"),
                                       QStringLiteral("BIT BIT(")));
    }

    void lookUpsAndTheirResultsForMissingRows()
    {
        StoreOperations store(*m_db);
        addCustomer(*m_db, QStringLiteral("Novák"));
        m_db->execute(
            QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES ('Kotle', 24)"));
        m_db->execute(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (1, 'K', 'T', 1)"));
        m_db->execute(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (9, 'K', 'T', 1)"));
        QCOMPARE(store.NazevZakaznika(1), QStringLiteral("Novák"));
        QCOMPARE(store.NazevZakaznika(77), QStringLiteral("nenalezen"));
        QCOMPARE(store.ZakaznikKarty(1), 1);
        QCOMPARE(store.ZakaznikKarty(2), 0); // its customer does not exist
        QCOMPARE(store.ZakaznikKarty(3), 0);
        QCOMPARE(store.LhutaKategorie(1), 24);
        QCOMPARE(store.LhutaKategorie(5), 0);
    }

    void cascadesDeleteActivitiesThenCards()
    {
        StoreOperations store(*m_db);
        for (int card = 1; card <= 2; ++card)
            m_db->execute(QStringLiteral(
                "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (1, 'K', 'T', 1)"));
        m_db->execute(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (2, 'K', 'T', 1)"));
        for (int i = 0; i < 3; ++i) {
            m_db->execute(QStringLiteral(
                "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost) VALUES (1, 1, 1)"));
            m_db->execute(QStringLiteral(
                "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost) VALUES (2, 3, 1)"));
        }
        m_db->execute(QStringLiteral(
            "INSERT INTO upozorneni (id_topneho_zdroje, datum, zpusob) VALUES "
            "(1, '2024-01-01', 'dopis'), (2, '2024-01-01', 'e-mail'), (3, '2024-01-01', 'ručně')"));
        const auto reminded = [this] {
            return m_db->query(QStringLiteral("SELECT group_concat(id_topneho_zdroje) FROM upozorneni"))
                .rows[0][0]
                .toString();
        };
        QVERIFY(store.SmazatCinnostiKarty(1));
        QCOMPARE(
            m_db->query(QStringLiteral("SELECT id FROM cinnosti WHERE id_topneho_zdroje = 1")).rows.size(),
            0);
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM cinnosti")).rows.size(), 3);
        QCOMPARE(reminded(), QStringLiteral("2,3"));

        QVERIFY(store.SmazatDataZakaznika(2));
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM cinnosti")).rows.size(), 0);
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM topny_zdroj")).rows.size(), 2);
        QCOMPARE(reminded(), QStringLiteral("2"));

        // A database without the reminder log still deletes.
        m_db->execute(QStringLiteral("DROP TABLE upozorneni"));
        QVERIFY(store.SmazatDataZakaznika(1));
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM topny_zdroj")).rows.size(), 0);
    }

    void cardsAreDeletedEvenWhenTheActivitiesCannotBe()
    {
        StoreOperations store(*m_db);
        m_db->execute(QStringLiteral(
            "INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie) VALUES (4, 'K', 'T', 1)"));
        m_db->execute(QStringLiteral("ALTER TABLE cinnosti RENAME TO cinnosti_jinde"));
        QVERIFY(!store.SmazatCinnostiKarty(1));
        QVERIFY(!store.SmazatDataZakaznika(4));
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM topny_zdroj")).rows.size(), 0);
    }

    void transactionsRollBackUnlessCommitted()
    {
        {
            Transaction tx(*m_db);
            addCustomer(*m_db, QStringLiteral("A"));
            {
                Transaction inner(*m_db);
                addCustomer(*m_db, QStringLiteral("B"));
                inner.commit();
            }
        }
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM cis_zakaznici")).rows.size(), 0);
        {
            Transaction tx(*m_db);
            addCustomer(*m_db, QStringLiteral("A"));
            tx.commit();
        }
        QCOMPARE(m_db->query(QStringLiteral("SELECT id FROM cis_zakaznici")).rows.size(), 1);
    }

    // The connection keeps its statements and what their columns are; a column another
    // program added since is read, with its kind, all the same.
    void aKeptStatementReadsColumnsAddedSince()
    {
        const QString sql = QStringLiteral("SELECT * FROM cis_kategorie");
        QCOMPARE(m_db->query(sql).columns.size(), 3);
        {
            Connection other(QStringLiteral("other"));
            other.open(m_dir->path(QStringLiteral("Vestibor.mdb")));
            other.execute(QStringLiteral("ALTER TABLE cis_kategorie ADD cena MONEY"));
        }
        const ResultSet after = m_db->query(sql);
        QCOMPARE(after.columns.size(), 4);
        QCOMPARE(after.columns.last().name, QStringLiteral("cena"));
        QCOMPARE(after.columns.last().kind, ColumnKind::Money);
    }

    void refusesFilesThatAreNotDatabases()
    {
        Connection other(QStringLiteral("other"));
        m_dir->writeFile(QStringLiteral("text.mdb"), "Toto není databáze, ale obyčejný text.\n");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, other.open(m_dir->path(QStringLiteral("text.mdb"))));
        QVERIFY(!other.isOpen());
        QByteArray jet(4096, '\0');
        jet.replace(4, 15, "Standard Jet DB");
        m_dir->writeFile(QStringLiteral("jet.mdb"), jet);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, other.open(m_dir->path(QStringLiteral("jet.mdb"))));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, other.open(m_dir->path(QStringLiteral("chybi.mdb"))));
        QVERIFY(!QFile::exists(m_dir->path(QStringLiteral("chybi.mdb"))));
    }

    void aNewDatabaseIsNeverWrittenOverAnExistingFile()
    {
        QVERIFY_THROWS_EXCEPTION(DatabaseError,
                                 Schema::createDatabaseFile(m_dir->path(QStringLiteral("Vestibor.mdb"))));
        QCOMPARE(m_db->query(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'"))
                     .rows[0][0]
                     .toInt(),
                 13); // seven tables, the kept next inspections, the four of the web app and the id
                      // sequence
    }
};

VESTIBOR_TEST_MAIN(TestStore)
#include "tst_store.moc"
