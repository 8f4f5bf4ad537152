-- Each card in service with its next inspection: the latest next date of its activities, NULL
-- when none of them has one. Beside it stand what the revision plan shows of the card: its
-- customer and whether that customer's inspections are watched, the date and kind of its
-- latest activity, and its latest reminder. The server keeps it true by the triggers below,
-- whoever writes:
-- the program, the import, the copy of a database file, or any other client. The triggers
-- on activities, reminders and cards run once per statement over the rows it changed, so
-- that a copy of many rows at a time looks up each card once; those on customers run for each
-- row, which costs a new customer (mostly one without cards) almost nothing. Everything here is made anew in one transaction whenever the
-- definition noted on the table differs, and the rows are then worked out again.
CREATE TABLE IF NOT EXISTS pristi_revize_karet (
    id_topneho_zdroje INTEGER PRIMARY KEY,
    id_zakaznika INTEGER,
    hlidani_revizi BOOLEAN,
    datum DATE,
    posledni_datum DATE,
    posledni_cinnost INTEGER,
    upozorneno DATE,
    zpusob_upozorneni VARCHAR(10)
);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_datum ON pristi_revize_karet (datum);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_hlidane ON pristi_revize_karet (hlidani_revizi, datum);
CREATE INDEX IF NOT EXISTS ix_pristi_revize_zakaznik ON pristi_revize_karet (id_zakaznika);

-- What is kept of the given cards' activities, as they stand now.
CREATE OR REPLACE FUNCTION pristi_revize_z_cinnosti(karty INTEGER[])
RETURNS TABLE (id INTEGER, datum DATE, posledni_datum DATE, posledni_cinnost INTEGER)
-- Mostly a card or two: the planner then looks each up by its key instead of reading all.
LANGUAGE sql STABLE ROWS 10 AS $$
    SELECT k.id, (SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = k.id), l.datum, l.cinnost
    FROM unnest(karty) AS k(id)
    LEFT JOIN LATERAL (SELECT c.datum, c.cinnost FROM cinnosti c WHERE c.id_topneho_zdroje = k.id
                       ORDER BY c.datum DESC, c.id DESC LIMIT 1) l ON TRUE
$$;

-- The cards whose activities changed: looked up again, written only where they differ.
CREATE OR REPLACE FUNCTION pristi_revize_prepocet(karty INTEGER[]) RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    UPDATE pristi_revize_karet p
    SET datum = n.datum, posledni_datum = n.posledni_datum, posledni_cinnost = n.posledni_cinnost
    FROM pristi_revize_z_cinnosti(karty) n
    WHERE p.id_topneho_zdroje = n.id
      AND (p.datum, p.posledni_datum, p.posledni_cinnost) IS DISTINCT FROM (n.datum, n.posledni_datum, n.posledni_cinnost);
END
$$;

-- The cards whose reminders changed: their latest reminders looked up again.
CREATE OR REPLACE FUNCTION pristi_revize_upozorneni(karty INTEGER[]) RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    UPDATE pristi_revize_karet p
    SET upozorneno = l.datum, zpusob_upozorneni = l.zpusob
    FROM unnest(karty) AS k(id)
    LEFT JOIN LATERAL (SELECT u.datum, u.zpusob FROM upozorneni u WHERE u.id_topneho_zdroje = k.id
                       ORDER BY u.datum DESC, u.id DESC LIMIT 1) l ON TRUE
    WHERE p.id_topneho_zdroje = k.id
      AND (p.upozorneno, p.zpusob_upozorneni) IS DISTINCT FROM (l.datum, l.zpusob);
END
$$;

-- The cards given, as they stand now: a card in service is kept with its customer's
-- watching, what its activities say and its latest reminder; any other is left out.
CREATE OR REPLACE FUNCTION pristi_revize_karty(karty INTEGER[]) RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    DELETE FROM pristi_revize_karet WHERE id_topneho_zdroje = ANY (karty);
    INSERT INTO pristi_revize_karet
        (id_topneho_zdroje, id_zakaznika, hlidani_revizi, datum, posledni_datum, posledni_cinnost)
    SELECT t.id, t.id_zakaznika, (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = t.id_zakaznika),
           n.datum, n.posledni_datum, n.posledni_cinnost
    FROM topny_zdroj t JOIN pristi_revize_z_cinnosti(karty) n ON n.id = t.id
    WHERE t.vyrazeno_dne IS NULL;
    PERFORM pristi_revize_upozorneni(karty);
END
$$;

-- The triggers' one function: the rows a statement wrote, deleted or changed (old and new)
-- name the cards or customers (their column in the first argument) that the function in the
-- second argument works out again.
CREATE OR REPLACE FUNCTION pristi_revize_po_zmene() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    radky text := CASE TG_OP
        WHEN 'INSERT' THEN format('SELECT %I FROM nove', TG_ARGV[0])
        WHEN 'DELETE' THEN format('SELECT %I FROM stare', TG_ARGV[0])
        ELSE format('SELECT %1$I FROM nove UNION SELECT %1$I FROM stare', TG_ARGV[0]) END;
BEGIN
    EXECUTE format('SELECT %I(ARRAY(SELECT DISTINCT k FROM (%s) AS r(k) WHERE k IS NOT NULL))', TG_ARGV[1], radky);
    RETURN NULL;
END
$$;

-- A customer written, changed or deleted: the cards of its id, before and after, take its
-- watching as it stands now.
CREATE OR REPLACE FUNCTION pristi_revize_po_zakaznikovi() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    UPDATE pristi_revize_karet p
    SET hlidani_revizi = (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = p.id_zakaznika)
    WHERE p.id_zakaznika IN (OLD.id, NEW.id)
      AND p.hlidani_revizi IS DISTINCT FROM (SELECT z.hlidani_revizi FROM cis_zakaznici z WHERE z.id = p.id_zakaznika);
    RETURN NULL;
END
$$;

DROP TRIGGER IF EXISTS pristi_revize_cinnost_nova ON cinnosti;
DROP TRIGGER IF EXISTS pristi_revize_cinnost_zmenena ON cinnosti;
DROP TRIGGER IF EXISTS pristi_revize_cinnost_smazana ON cinnosti;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_nove ON upozorneni;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_zmenene ON upozorneni;
DROP TRIGGER IF EXISTS pristi_revize_upozorneni_smazane ON upozorneni;
DROP TRIGGER IF EXISTS pristi_revize_karta_nova ON topny_zdroj;
DROP TRIGGER IF EXISTS pristi_revize_karta_zmenena ON topny_zdroj;
DROP TRIGGER IF EXISTS pristi_revize_karta_smazana ON topny_zdroj;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_novy ON cis_zakaznici;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_zmeneny ON cis_zakaznici;
DROP TRIGGER IF EXISTS pristi_revize_zakaznik_smazany ON cis_zakaznici;

CREATE TRIGGER pristi_revize_cinnost_nova AFTER INSERT ON cinnosti
    REFERENCING NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_prepocet');
CREATE TRIGGER pristi_revize_cinnost_zmenena AFTER UPDATE ON cinnosti
    REFERENCING OLD TABLE AS stare NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_prepocet');
CREATE TRIGGER pristi_revize_cinnost_smazana AFTER DELETE ON cinnosti
    REFERENCING OLD TABLE AS stare FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_prepocet');
CREATE TRIGGER pristi_revize_upozorneni_nove AFTER INSERT ON upozorneni
    REFERENCING NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_upozorneni');
CREATE TRIGGER pristi_revize_upozorneni_zmenene AFTER UPDATE ON upozorneni
    REFERENCING OLD TABLE AS stare NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_upozorneni');
CREATE TRIGGER pristi_revize_upozorneni_smazane AFTER DELETE ON upozorneni
    REFERENCING OLD TABLE AS stare FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id_topneho_zdroje', 'pristi_revize_upozorneni');
CREATE TRIGGER pristi_revize_karta_nova AFTER INSERT ON topny_zdroj
    REFERENCING NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id', 'pristi_revize_karty');
CREATE TRIGGER pristi_revize_karta_zmenena AFTER UPDATE ON topny_zdroj
    REFERENCING OLD TABLE AS stare NEW TABLE AS nove FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id', 'pristi_revize_karty');
CREATE TRIGGER pristi_revize_karta_smazana AFTER DELETE ON topny_zdroj
    REFERENCING OLD TABLE AS stare FOR EACH STATEMENT EXECUTE FUNCTION pristi_revize_po_zmene('id', 'pristi_revize_karty');
CREATE TRIGGER pristi_revize_zakaznik_novy AFTER INSERT ON cis_zakaznici
    FOR EACH ROW EXECUTE FUNCTION pristi_revize_po_zakaznikovi();
CREATE TRIGGER pristi_revize_zakaznik_zmeneny AFTER UPDATE OF id, hlidani_revizi ON cis_zakaznici
    FOR EACH ROW EXECUTE FUNCTION pristi_revize_po_zakaznikovi();
CREATE TRIGGER pristi_revize_zakaznik_smazany AFTER DELETE ON cis_zakaznici
    FOR EACH ROW EXECUTE FUNCTION pristi_revize_po_zakaznikovi();

-- The view the report templates (and a firm's own) read.
CREATE OR REPLACE VIEW pristi_revize AS
SELECT id_topneho_zdroje, datum FROM pristi_revize_karet;
COMMENT ON VIEW pristi_revize IS NULL;

DELETE FROM pristi_revize_karet;
SELECT pristi_revize_karty(ARRAY(SELECT id FROM topny_zdroj WHERE id IS NOT NULL));
