-- The database of the program. Text columns have their maximum length enforced by the
-- database itself; the columns that lists are sorted by use the Czech collation.
PRAGMA journal_mode = WAL;

CREATE TABLE cis_zakaznici (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazev VARCHAR(100) COLLATE czech CHECK (length(nazev) <= 100),
    osoba VARCHAR(50) COLLATE czech CHECK (length(osoba) <= 50),
    ulice VARCHAR(50) COLLATE czech CHECK (length(ulice) <= 50),
    mesto VARCHAR(50) COLLATE czech CHECK (length(mesto) <= 50),
    psc VARCHAR(10) COLLATE czech CHECK (length(psc) <= 10),
    ico VARCHAR(15) COLLATE czech CHECK (length(ico) <= 15),
    dic VARCHAR(20) CHECK (length(dic) <= 20),
    tel VARCHAR(30) CHECK (length(tel) <= 30),
    mobil VARCHAR(30) CHECK (length(mobil) <= 30),
    email VARCHAR(100) CHECK (length(email) <= 100),
    zaruka5let BIT,
    hlidani_revizi BIT,
    je_firma BIT,
    poznamka1 VARCHAR(255) CHECK (length(poznamka1) <= 255),
    poznamka2 VARCHAR(255) CHECK (length(poznamka2) <= 255)
);

CREATE TABLE topny_zdroj (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_zakaznika INTEGER,
    nazev VARCHAR(100) NOT NULL COLLATE czech CHECK (length(nazev) <= 100),
    typ VARCHAR(50) NOT NULL CHECK (length(typ) <= 50),
    vyrobce VARCHAR(50) CHECK (length(vyrobce) <= 50),
    vyrobni_cislo VARCHAR(30) CHECK (length(vyrobni_cislo) <= 30),
    carovy_kod VARCHAR(30) CHECK (length(carovy_kod) <= 30),
    rok_vyroby YEAR,
    kategorie INTEGER NOT NULL,
    lhuta INTEGER,
    vyrazeno_dne DATE,
    poznamka MEMO
);

CREATE TABLE cinnosti (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_zakaznika INTEGER,
    id_topneho_zdroje INTEGER,
    cinnost INTEGER NOT NULL,
    datum DATE,
    datum_pristi DATE,
    technik VARCHAR(50) CHECK (length(technik) <= 50),
    cena_doprava MONEY,
    cena_prace MONEY,
    cena_material MONEY,
    cena_ostatni MONEY,
    poznamka MEMO
);

CREATE TABLE cis_kategorie (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazev_kategorie VARCHAR(50) NOT NULL COLLATE czech CHECK (length(nazev_kategorie) <= 50),
    lhuta INTEGER NOT NULL
);

CREATE TABLE cis_cinnost (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    nazev_cinnosti VARCHAR(50) NOT NULL COLLATE czech CHECK (length(nazev_cinnosti) <= 50)
);

CREATE TABLE cis_technici (
    cislo INTEGER NOT NULL,
    jmeno_technika VARCHAR(50) NOT NULL COLLATE czech CHECK (length(jmeno_technika) <= 50)
);

-- The reminders of an inspection sent to the customer, per card.
CREATE TABLE upozorneni (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    id_topneho_zdroje INTEGER NOT NULL,
    datum DATE NOT NULL,
    zpusob VARCHAR(10) NOT NULL CHECK (zpusob IN ('e-mail', 'dopis', 'ručně'))
);

-- Every lookup the program makes, and the sort orders of the customer lists. An older
-- database gets the indexes as they stand here when the program starts.
CREATE INDEX ix_topny_zdroj_zakaznik ON topny_zdroj (id_zakaznika, id);
CREATE INDEX ix_topny_zdroj_vyrobni_cislo ON topny_zdroj (vyrobni_cislo COLLATE caseless);
CREATE INDEX ix_topny_zdroj_carovy_kod ON topny_zdroj (carovy_kod COLLATE caseless);
CREATE INDEX ix_cinnosti_karta ON cinnosti (id_topneho_zdroje, datum, id, cinnost);
CREATE INDEX ix_cinnosti_karta_pristi ON cinnosti (id_topneho_zdroje, datum_pristi);
CREATE INDEX ix_cinnosti_zakaznik ON cinnosti (id_zakaznika);
CREATE INDEX ix_zakaznici_nazev ON cis_zakaznici (nazev, id);
CREATE INDEX ix_zakaznici_osoba ON cis_zakaznici (osoba);
CREATE INDEX ix_zakaznici_ulice ON cis_zakaznici (ulice);
CREATE INDEX ix_zakaznici_mesto ON cis_zakaznici (mesto);
CREATE INDEX ix_zakaznici_psc ON cis_zakaznici (psc);
CREATE INDEX ix_zakaznici_ico ON cis_zakaznici (ico);
-- Customers by address (town, street, name), a missing text as an empty one: the web app's
-- due list pages along it.
CREATE INDEX ix_zakaznici_adresa ON cis_zakaznici (coalesce(mesto, '') COLLATE czech,
    coalesce(ulice, '') COLLATE czech, coalesce(nazev, '') COLLATE czech, id);
CREATE INDEX ix_technici_jmeno ON cis_technici (jmeno_technika);
CREATE INDEX ix_upozorneni_zdroj ON upozorneni (id_topneho_zdroje, datum);

-- The technicians' accounts of the web app, their sessions, what they did and the requests
-- already written. Times are UTC. No part of the table exports.
CREATE TABLE web_ucty (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    login VARCHAR(50) NOT NULL UNIQUE CHECK (length(login) <= 50),
    role VARCHAR(10) NOT NULL CHECK (role IN ('technik', 'kancelar')),
    technik INTEGER,
    heslo VARCHAR(255) NOT NULL CHECK (length(heslo) <= 255),
    aktivni BIT NOT NULL,
    zmenit_heslo BIT NOT NULL,
    vytvoreno DATETIME NOT NULL,
    posledni_prihlaseni DATETIME
);

CREATE TABLE web_relace (
    token_hash VARCHAR(64) PRIMARY KEY CHECK (length(token_hash) <= 64),
    ucet INTEGER NOT NULL,
    vytvoreno DATETIME NOT NULL,
    naposledy DATETIME NOT NULL,
    platnost_do DATETIME NOT NULL
);

CREATE TABLE web_audit (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    cas DATETIME NOT NULL,
    ucet INTEGER,
    adresa VARCHAR(45) CHECK (length(adresa) <= 45),
    udalost VARCHAR(30) NOT NULL CHECK (length(udalost) <= 30),
    tabulka VARCHAR(30) CHECK (length(tabulka) <= 30),
    id_radku INTEGER,
    pred MEMO,
    po MEMO
);

CREATE TABLE web_prijato (
    id_pozadavku VARCHAR(64) PRIMARY KEY CHECK (length(id_pozadavku) <= 64),
    ucet INTEGER NOT NULL,
    tabulka VARCHAR(30) NOT NULL CHECK (length(tabulka) <= 30),
    id_radku INTEGER NOT NULL,
    cas DATETIME NOT NULL
);

CREATE INDEX ix_web_relace_ucet ON web_relace (ucet);
CREATE INDEX ix_web_audit_cas ON web_audit (cas);
