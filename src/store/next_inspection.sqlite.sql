-- Each card in service with its next inspection: the latest next date of its activities, NULL
-- when none of them has one. Beside it stand what the revision plan shows of the card: its
-- customer and whether that customer's inspections are watched, the date and kind of its
-- latest activity, and its latest reminder. The database keeps it true by the triggers
-- below, whoever writes: the program, the import, or another tool through the extension.
-- Everything here is made anew in one transaction whenever a trigger is missing or defined
-- otherwise, and the rows are then worked out again.
CREATE TABLE IF NOT EXISTS pristi_revize_karet (
    id_topneho_zdroje INTEGER PRIMARY KEY,
    id_zakaznika INTEGER,
    hlidani_revizi BIT,
    datum DATE,
    posledni_datum DATE,
    posledni_cinnost INTEGER,
    upozorneno DATE,
    zpusob_upozorneni VARCHAR(10)
);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_datum ON pristi_revize_karet (datum);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_hlidane ON pristi_revize_karet (hlidani_revizi, datum);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_zakaznik ON pristi_revize_karet (id_zakaznika);

DROP TRIGGER IF EXISTS pristi_revize_cinnost_nova;
DROP TRIGGER IF EXISTS pristi_revize_cinnost_zmenena;
DROP TRIGGER IF EXISTS pristi_revize_cinnost_smazana;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_nove;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_zmenene;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_smazane;
DROP TRIGGER IF EXISTS pristi_revize_radek_novy;
DROP TRIGGER IF EXISTS pristi_revize_karta_nova;
DROP TRIGGER IF EXISTS pristi_revize_karta_zmenena;
DROP TRIGGER IF EXISTS pristi_revize_karta_smazana;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_novy;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_zmeneny;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_smazany;

-- An activity written, changed or deleted: its card's latest next date and latest activity
-- are looked up again in the indexes of the activities.
CREATE TRIGGER pristi_revize_cinnost_nova AFTER INSERT ON cinnosti
BEGIN
    UPDATE pristi_revize_karet
    SET datum = (SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = NEW.id_topneho_zdroje),
        (posledni_datum, posledni_cinnost) =
            (SELECT c.datum, c.cinnost FROM cinnosti c WHERE c.id_topneho_zdroje = NEW.id_topneho_zdroje
             ORDER BY c.datum DESC, c.id DESC LIMIT 1)
    WHERE id_topneho_zdroje = NEW.id_topneho_zdroje;
END;

CREATE TRIGGER pristi_revize_cinnost_zmenena
AFTER UPDATE OF id, id_topneho_zdroje, cinnost, datum, datum_pristi ON cinnosti
BEGIN
    UPDATE pristi_revize_karet
    SET datum = (SELECT max(c.datum_pristi) FROM cinnosti c
                 WHERE c.id_topneho_zdroje = pristi_revize_karet.id_topneho_zdroje),
        (posledni_datum, posledni_cinnost) =
            (SELECT c.datum, c.cinnost FROM cinnosti c WHERE c.id_topneho_zdroje = pristi_revize_karet.id_topneho_zdroje
             ORDER BY c.datum DESC, c.id DESC LIMIT 1)
    WHERE id_topneho_zdroje IN (OLD.id_topneho_zdroje, NEW.id_topneho_zdroje);
END;

CREATE TRIGGER pristi_revize_cinnost_smazana AFTER DELETE ON cinnosti
BEGIN
    UPDATE pristi_revize_karet
    SET datum = (SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = OLD.id_topneho_zdroje),
        (posledni_datum, posledni_cinnost) =
            (SELECT c.datum, c.cinnost FROM cinnosti c WHERE c.id_topneho_zdroje = OLD.id_topneho_zdroje
             ORDER BY c.datum DESC, c.id DESC LIMIT 1)
    WHERE id_topneho_zdroje = OLD.id_topneho_zdroje;
END;

-- A reminder recorded, changed or deleted: its card's latest reminder is looked up again.
CREATE TRIGGER pristi_revize_upozorneni_nove AFTER INSERT ON upozorneni
BEGIN
    UPDATE pristi_revize_karet
    SET (upozorneno, zpusob_upozorneni) =
            (SELECT u.datum, u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = NEW.id_topneho_zdroje
             ORDER BY u.datum DESC, u.id DESC LIMIT 1)
    WHERE id_topneho_zdroje = NEW.id_topneho_zdroje;
END;

CREATE TRIGGER pristi_revize_upozorneni_zmenene AFTER UPDATE ON upozorneni
BEGIN
    UPDATE pristi_revize_karet
    SET (upozorneno, zpusob_upozorneni) =
            (SELECT u.datum, u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = pristi_revize_karet.id_topneho_zdroje
             ORDER BY u.datum DESC, u.id DESC LIMIT 1)
    WHERE id_topneho_zdroje IN (OLD.id_topneho_zdroje, NEW.id_topneho_zdroje);
END;

CREATE TRIGGER pristi_revize_upozorneni_smazane AFTER DELETE ON upozorneni
BEGIN
    UPDATE pristi_revize_karet
    SET (upozorneno, zpusob_upozorneni) =
            (SELECT u.datum, u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = OLD.id_topneho_zdroje
             ORDER BY u.datum DESC, u.id DESC LIMIT 1)
    WHERE id_topneho_zdroje = OLD.id_topneho_zdroje;
END;

-- A kept row, when it is written for a card, takes what the card's activities and reminders
-- say: the triggers of the cards and the filling below write only the card, its customer and
-- the watching.
CREATE TRIGGER pristi_revize_radek_novy AFTER INSERT ON pristi_revize_karet
BEGIN
    UPDATE pristi_revize_karet
    SET datum = (SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = NEW.id_topneho_zdroje),
        (posledni_datum, posledni_cinnost) =
            (SELECT c.datum, c.cinnost FROM cinnosti c WHERE c.id_topneho_zdroje = NEW.id_topneho_zdroje
             ORDER BY c.datum DESC, c.id DESC LIMIT 1),
        (upozorneno, zpusob_upozorneni) =
            (SELECT u.datum, u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = NEW.id_topneho_zdroje
             ORDER BY u.datum DESC, u.id DESC LIMIT 1)
    WHERE id_topneho_zdroje = NEW.id_topneho_zdroje;
END;

-- A card joins the kept rows when it is in service, and leaves them when it is taken out of
-- service or deleted; a card that moves to another customer takes that customer's watching.
CREATE TRIGGER pristi_revize_karta_nova AFTER INSERT ON topny_zdroj
WHEN NEW.vyrazeno_dne IS NULL
BEGIN
    INSERT OR REPLACE INTO pristi_revize_karet (id_topneho_zdroje, id_zakaznika, hlidani_revizi)
    VALUES (NEW.id, NEW.id_zakaznika, (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = NEW.id_zakaznika));
END;

CREATE TRIGGER pristi_revize_karta_zmenena AFTER UPDATE OF id, id_zakaznika, vyrazeno_dne ON topny_zdroj
BEGIN
    DELETE FROM pristi_revize_karet WHERE id_topneho_zdroje = OLD.id;
    INSERT OR REPLACE INTO pristi_revize_karet (id_topneho_zdroje, id_zakaznika, hlidani_revizi)
    SELECT NEW.id, NEW.id_zakaznika, (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = NEW.id_zakaznika)
    WHERE NEW.vyrazeno_dne IS NULL;
END;

CREATE TRIGGER pristi_revize_karta_smazana AFTER DELETE ON topny_zdroj
BEGIN
    DELETE FROM pristi_revize_karet WHERE id_topneho_zdroje = OLD.id;
END;

-- The customer's watching is kept with each of its cards.
CREATE TRIGGER pristi_revize_zakaznik_novy AFTER INSERT ON cis_zakaznici
BEGIN
    UPDATE pristi_revize_karet SET hlidani_revizi = NEW.hlidani_revizi
    WHERE id_zakaznika = NEW.id AND hlidani_revizi IS NOT NEW.hlidani_revizi;
END;

CREATE TRIGGER pristi_revize_zakaznik_zmeneny AFTER UPDATE OF id, hlidani_revizi ON cis_zakaznici
BEGIN
    UPDATE pristi_revize_karet
    SET hlidani_revizi = (SELECT z.hlidani_revizi FROM cis_zakaznici z
                          WHERE z.id = pristi_revize_karet.id_zakaznika)
    WHERE id_zakaznika IN (OLD.id, NEW.id);
END;

CREATE TRIGGER pristi_revize_zakaznik_smazany AFTER DELETE ON cis_zakaznici
BEGIN
    UPDATE pristi_revize_karet SET hlidani_revizi = NULL WHERE id_zakaznika = OLD.id;
END;

-- The view the report templates (and a firm's own) read.
DROP VIEW IF EXISTS pristi_revize;
CREATE VIEW pristi_revize AS
SELECT id_topneho_zdroje, datum FROM pristi_revize_karet;

DELETE FROM pristi_revize_karet;
INSERT INTO pristi_revize_karet (id_topneho_zdroje, id_zakaznika, hlidani_revizi)
SELECT t.id, t.id_zakaznika, (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = t.id_zakaznika)
FROM topny_zdroj t
WHERE t.vyrazeno_dne IS NULL;
