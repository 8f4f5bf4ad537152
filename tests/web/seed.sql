-- What the browser tests find in their throwaway database: two technicians, the code lists,
-- customers with accented names, cards due and overdue, and cards to record activities on.
-- The same on both engines: run.sh puts in the dates relative to today (@…@).
INSERT INTO cis_technici (cislo, jmeno_technika) VALUES (1, 'Petr Novák'), (2, 'Jan Dvořák');
INSERT INTO cis_cinnost (id, nazev_cinnosti) VALUES (1, 'Revize'), (2, 'Kontrola'), (3, 'Oprava');
INSERT INTO cis_kategorie (id, nazev_kategorie, lhuta) VALUES (1, 'Plynový kotel', 12), (2, 'Kotel na tuhá paliva', 24);
INSERT INTO cis_zakaznici (id, nazev, osoba, ulice, mesto, psc, tel, mobil, email, hlidani_revizi, je_firma, poznamka1)
VALUES (1, 'Šťastná Věra', NULL, 'Žižkova 12', 'Třebíč', '674 01', '568 111 222', '602 333 444', 'vera@example.cz', TRUE, FALSE,
        'Klíč od kotelny u sousedky.'),
       (2, 'Teplo Čermák s.r.o.', 'Ing. Čeněk Čermák', 'Husova 5', 'Brno', '602 00', '541 000 111', NULL, NULL, TRUE, TRUE, NULL),
       (3, 'Dvořáková Jana', NULL, 'Polní 3', 'Brno', '612 00', NULL, '777 123 456', NULL, TRUE, FALSE, NULL);
INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, vyrobce, vyrobni_cislo, carovy_kod, rok_vyroby, kategorie, lhuta)
VALUES (1, 1, 'Kotel v kotelně', 'Condens 24', 'Kotlárna Jih', 'VC-2024-ABC', '8594001234567', 2016, 1, 12),
       (2, 2, 'Kaskáda kotlů', 'XL-90', 'Kotlárna Jih', 'KS-77', NULL, 2019, 1, 12),
       (3, 3, 'Kamna v obýváku', 'K-200', NULL, 'KM-3', '8594003000034', NULL, 2, 24),
-- Cards without activities for the tests that record some: they never join the due list.
       (4, 2, 'Kotel v dílně', 'Condens 35', 'Kotlárna Jih', 'ZK-4', NULL, 2020, 1, 12),
       (5, 3, 'Kotel v suterénu', 'Kompakt 12', NULL, 'ZK-5', NULL, NULL, 1, 12);
INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi, technik, cena_doprava, cena_prace)
VALUES (1, 1, 1, '@-13 months@', '@-1 months@', 'Jan Dvořák', 250, 1200),
       (2, 2, 1, '@-11 months@', '@+10 days@', 'Jan Dvořák', 300, 1500),
       (3, 3, 2, '@-25 months@', '@-1 months@', 'Petr Novák', NULL, 800);
