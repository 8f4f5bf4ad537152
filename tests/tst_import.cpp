// The customer import: how the elements of a record become column values, where an import
// stops, files that are not what they claim, the export of the register read back, and the
// import command with its dialogs.
#include "app/Hlavni_f.h"
#include "exchange/CustomerImport.h"
#include "exchange/TableExport.h"
#include "helpers/Cp1250.h"
#include "store/DataSet.h"
#include "store/Errors.h"
#include "support/Fixture.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/Dialogs.h"
#include "uikit/QtDialogBackend.h"

#include <QAction>
#include <QTest>
#include <QUrl>

namespace {

QString record(const QString& fields)
{
    return QStringLiteral("  <zaznam>") + fields + QStringLiteral("</zaznam>\r\n");
}

QByteArray document(const QString& records)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<data>\r\n") + records +
            QStringLiteral("</data>\r\n"))
        .toUtf8();
}

// Every row of a query as "a|b|c", with "∅" for an empty (NULL) value.
QStringList rows(OpenContext& f, const QString& sql)
{
    QStringList out;
    for (const auto& row : f.context.connection.query(sql).rows) {
        QStringList values;
        for (const QVariant& v : row)
            values << (v.isNull() ? QStringLiteral("∅") : v.toString());
        out << values.join(u'|');
    }
    return out;
}

// Imports bytes written to a file of the test's directory; the error text, or empty.
QString import(OpenContext& f, const QByteArray& bytes,
               const QString& table = QStringLiteral("cis_zakaznici"))
{
    f.dir.writeFile(QStringLiteral("import.xml"), bytes);
    try {
        ImportovatXML(f.context.connection, f.dir.path(QStringLiteral("import.xml")), table);
    } catch (const AppError& e) {
        return e.text().isEmpty() ? QStringLiteral("(an error without text)") : e.text();
    }
    return QString();
}

const char* const typesTable =
    "CREATE TABLE typy (id INTEGER PRIMARY KEY AUTOINCREMENT, d DATE, dt DATETIME, "
    "i INTEGER, f FLOAT, m MONEY, b BIT, t VARCHAR(10) CHECK (length(t) <= 10), lt MEMO, r YEAR)";

} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void recordsElementsAndFlags()
    {
        OpenContext f;
        f.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Stávající')"));
        const QString error = import(
            f,
            document(
                record(QStringLiteral("<id>1</id><nazev>Novák &amp; syn</nazev><nazev>Druhý</nazev>"
                                      "<Osoba>velké O</Osoba><osoba></osoba><ulice/><mesto>  Brno  </mesto>"
                                      "<jine>x<b/></jine><zaruka5let>True</zaruka5let>"
                                      "<hlidani_revizi>true</hlidani_revizi><je_firma>TRUE</je_firma>")) +
                record(QStringLiteral("<je_firma/><psc>602 00</psc><zaruka5let>1</zaruka5let>"
                                      "<hlidani_revizi>ano</hlidani_revizi><email>a@b</email>"
                                      "<ulice><![CDATA[<Dlouhá> & 5]]></ulice>"
                                      "<osoba>\r\n  <![CDATA[ Jan ]]>\r\n</osoba><mesto> \r\n </mesto>")) +
                QStringLiteral("  <!-- komentář -->\r\n  text\r\n  <jiny/>\r\n")));
        QCOMPARE(error, QString());
        QCOMPARE(rows(f, QStringLiteral("SELECT id, nazev, osoba, ulice, mesto, psc, email, zaruka5let, "
                                        "hlidani_revizi, je_firma FROM cis_zakaznici ORDER BY id")),
                 (QStringList{"1|Stávající|∅|∅|∅|∅|∅|∅|∅|∅", "2|Novák & syn|∅|∅|  Brno  |∅|∅|1|1|1",
                              "3|∅| Jan |<Dlouhá> & 5|∅|602 00|a@b|0|0|∅", "4|∅|∅|∅|∅|∅|∅|∅|∅|∅",
                              "5|∅|∅|∅|∅|∅|∅|∅|∅|∅", "6|∅|∅|∅|∅|∅|∅|∅|∅|∅"}));

        // A root without children imports nothing.
        QCOMPARE(import(f, document(QString())), QString());
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 6);
    }

    void everyColumnType()
    {
        OpenContext f;
        f.exec(QString::fromLatin1(typesTable));
        const QString error = import(
            f,
            document(record(QStringLiteral("<id>77</id><d>5.3.2024</d><dt>05.03.2024 14:30</dt><i>+15 ks</i>"
                                           "<f>1 234.5 Kč</f><m>12,50 Kč</m><b>True</b><t>&lt;ab&gt; č</t>"
                                           "<lt>řádek 1\nřádek 2</lt><r>1998</r>")) +
                     record(QStringLiteral("<d>31.12.99</d><i>abc</i><f>-3,25</f><m>0</m><b>False</b>"
                                           "<t>   x</t><lt/><r>-5</r>"))),
            QStringLiteral("typy"));
        QCOMPARE(error, QString());
        QCOMPARE(
            rows(f, QStringLiteral("SELECT id, d, dt, i, f, m, b, t, lt, r FROM typy ORDER BY id")),
            (QStringList{"1|2024-03-05|2024-03-05 14:30:00|15|1234.5|12.5|1|<ab> č|řádek 1\nřádek 2|1998",
                         "2|1999-12-31|∅|0|-3.25|0|0|   x|∅|-5"}));
    }

    void anErrorStopsAtItsRecord_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("third");  // the record that fails, after two good ones
        QTest::addColumn<QString>("reason"); // a part of the error's text
        const QString types = QStringLiteral("typy");
        QTest::newRow("date in another form") << types << "<d>2024-03-05</d>"
                                              << "2024-03-05";
        QTest::newRow("date that does not exist") << types << "<d>30.2.2024</d>"
                                                  << "30.2.2024";
        QTest::newRow("time without a date") << types << "<dt>14:30</dt>"
                                             << "14:30";
        QTest::newRow("money without digits") << types << "<m>zdarma</m>"
                                              << "„“ není platné číslo.";
        QTest::newRow("two decimal commas") << types << "<f>1,2,3</f>"
                                            << "1,2,3";
        QTest::newRow("year in words") << types << "<r>devatenáct</r>"
                                       << "devatenáct";
        QTest::newRow("element inside the value") << types << "<t><b>x</b></t>"
                                                  << "Element does not contain a single text node";
        QTest::newRow("comment inside the value") << types << "<t>a<!-- x -->b</t>"
                                                  << "Element does not contain a single text node";
        QTest::newRow("text and a CDATA section") << types << "<t>a<![CDATA[b]]></t>"
                                                  << "Element does not contain a single text node";
        QTest::newRow("a CDATA section and text") << types << "<t><![CDATA[a]]> b</t>"
                                                  << "Element does not contain a single text node";
        QTest::newRow("two CDATA sections") << types << "<t><![CDATA[a]]><![CDATA[b]]></t>"
                                            << "Element does not contain a single text node";
        QTest::newRow("longer than its column") << types << "<t>12345678901</t>"
                                                << "CHECK constraint failed";
        QTest::newRow("name of 101 characters")
            << "cis_zakaznici" << QStringLiteral("<nazev>%1</nazev>").arg(QString(101, u'ř'))
            << "CHECK constraint failed";
        QTest::newRow("required column missing") << "cinnosti"
                                                 << "<poznamka>bez činnosti</poznamka>"
                                                 << "NOT NULL constraint failed: cinnosti.cinnost";
    }
    void anErrorStopsAtItsRecord()
    {
        QFETCH(QString, table);
        QFETCH(QString, third);
        QFETCH(QString, reason);
        OpenContext f;
        f.exec(QString::fromLatin1(typesTable));
        const QString good = table == u"cinnosti" ? QStringLiteral("<cinnost>1</cinnost>") : QString();
        const QString error =
            import(f, document(record(good) + record(good) + record(third) + record(good)), table);
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(f.count(table), 2);
    }

    void filesThatDoNotParseImportNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line"); // where the parser stops, 0: not checked
        const QByteArray good = document(record(QStringLiteral("<nazev>A</nazev>")).repeated(3));
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("only white space") << QByteArray("  \r\n\r\n") << 0;
        QTest::newRow("truncated") << good.left(good.size() - 20) << 0;
        QTest::newRow("plain text") << QByteArray("nazev;osoba\r\nNovák;Jan\r\n") << 0;
        QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFE\x89PNG\r\n", 10) << 0;
        QTest::newRow("tags that do not match")
            << QByteArray(
                   "<data>\n<zaznam>\n<nazev>A</nazev>\n</zaznam>\n<zaznam>\n<nazev>B</osoba>\n</data>")
            << 6;
        QTest::newRow("two roots") << QByteArray("<data><zaznam/></data><data/>") << 0;
        QTest::newRow("an undeclared entity")
            << document(record(QStringLiteral("<nazev>&nbsp;</nazev>"))) << 0;
    }
    void filesThatDoNotParseImportNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        OpenContext f;
        const QString error = import(f, bytes);
        QVERIFY(!error.isEmpty());
        if (line)
            QVERIFY2(error.contains(QString::number(line)), qPrintable(error));
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 0);
    }

    void otherEncodingsAndDocumentTypes()
    {
        OpenContext f;
        // The encoding named in the declaration.
        QCOMPARE(import(f, "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<data><zaznam><nazev>" +
                               Cp1250::encode(QStringLiteral("Šťastný Žluťoučký")) +
                               "</nazev></zaznam></data>"),
                 QString());
        QByteArray utf16 = QByteArray("\xFF\xFE");
        const QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-16\"?><data><zaznam><nazev>"
                                            "Čížek</nazev></zaznam></data>");
        utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QCOMPARE(import(f, utf16), QString());
        // An entity of the document's own type is expanded, a character reference read.
        QCOMPARE(import(f, "<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY firma \"Kotle s.r.o.\">]>"
                           "<data><zaznam><nazev>&#268;ech &firma;</nazev></zaznam></data>"),
                 QString());
        QCOMPARE(rows(f, QStringLiteral("SELECT nazev FROM cis_zakaznici ORDER BY id")),
                 (QStringList{"Šťastný Žluťoučký", "Čížek", "Čech Kotle s.r.o."}));

        // Entities that would grow beyond any measure make the parser refuse the file, and
        // nothing of it is imported.
        QString laughs = QStringLiteral("<!ENTITY l0 \"ha\">");
        for (int i = 1; i <= 9; ++i)
            laughs += QStringLiteral("<!ENTITY l%1 \"%2\">")
                          .arg(i)
                          .arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
        const QString error = import(f, ("<?xml version=\"1.0\"?><!DOCTYPE data [" + laughs +
                                         "]><data><zaznam><poznamka1>&l9;</poznamka1></zaznam></data>")
                                            .toUtf8());
        QVERIFY2(error.startsWith(QStringLiteral("Soubor XML nelze přečíst (řádek 1, sloupec ")),
                 qPrintable(error));
        QCOMPARE(f.count(QStringLiteral("cis_zakaznici")), 3);

        // An entity or a document type that names a file does not bring the file's content in:
        // the record comes without it.
        f.dir.writeFile(QStringLiteral("tajne.txt"), "TAJNE");
        const QString secret = QUrl::fromLocalFile(f.dir.path(QStringLiteral("tajne.txt"))).toString();
        for (const QString& head : {QStringLiteral("<!DOCTYPE data [<!ENTITY x SYSTEM \"%1\">]>").arg(secret),
                                    QStringLiteral("<!DOCTYPE data SYSTEM \"%1\">").arg(secret)}) {
            const QString body = head.contains(u'[') ? QStringLiteral("<nazev>&x;</nazev>") : QString();
            QCOMPARE(import(f, ("<?xml version=\"1.0\"?>" + head + "<data><zaznam>" + body +
                                "<osoba>B</osoba></zaznam></data>")
                                   .toUtf8()),
                     QString());
        }
        QCOMPARE(rows(f, QStringLiteral("SELECT nazev, osoba FROM cis_zakaznici WHERE id > 3 ORDER BY id")),
                 (QStringList{"∅|B", "∅|B"}));
    }

    void everyRecordOfALongFileArrives()
    {
        // Long enough that the file is read in several pieces; the timing of large files is
        // measured by the benchmark program.
        OpenContext f;
        QString records;
        QStringList expected;
        for (int i = 1; i <= 500; ++i) {
            records +=
                record(QStringLiteral("<nazev>Zákazník %1</nazev><mesto>Brno</mesto><je_firma>%2</je_firma>")
                           .arg(i)
                           .arg(i % 2 ? QStringLiteral("True") : QStringLiteral("False")));
            expected << QStringLiteral("%1|Zákazník %1|Brno|%2").arg(i).arg(i % 2);
        }
        QCOMPARE(import(f, document(records)), QString());
        QCOMPARE(rows(f, QStringLiteral("SELECT id, nazev, mesto, je_firma FROM cis_zakaznici ORDER BY id")),
                 expected);
    }

    void theRegisterExportComesBack()
    {
        // Control characters that XML cannot carry are left out of the file; a lone CR, a tab, a
        // line break and a character beyond the basic plane come back as they were. (U+FFFE and
        // U+FFFF never get this far: the database stores them as U+FFFD.)
        const QString withControls =
            QStringLiteral("a") + QChar(0x01) + u'b' + QChar(0x1F) + QStringLiteral("c\rd\te 😀\r\nf");
        const QString carried = QStringLiteral("abc\rd\te 😀\r\nf");
        OpenContext source;
        source.exec(
            QStringLiteral(
                "INSERT INTO cis_zakaznici (nazev, osoba, ulice, mesto, psc, ico, dic, tel, mobil, email, "
                "zaruka5let, "
                "hlidani_revizi, je_firma, poznamka1, poznamka2) VALUES (?, 'Jan Čermák', 'Dlouhá 5', 'Ústí "
                "n. L.', "
                "'400 01', '12345678', 'CZ12345678', '+420 475 000 000', '602000000', 'a@b.cz', 1, 0, NULL, "
                "?, ?), "
                "('Druhý', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, 1, 1, ?, NULL)"),
            {QStringLiteral("  Kotle & <Kamna> \"U Nováků\" 'a' ]]> €"), QString(255, u'ž'),
             QStringLiteral("tab\there; středník; svislítko | konec "), withControls});
        DataSet ds(source.context.connection, QStringLiteral("ds"));
        ds.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY id"));
        ds.open();
        const QString file = source.dir.path(QStringLiteral("zakaznik.xml"));
        UlozitXML(ds, file, QStringLiteral("data"));
        source.exec(QStringLiteral("UPDATE cis_zakaznici SET poznamka1 = ? WHERE poznamka1 = ?"),
                    {carried, withControls});

        OpenContext target;
        target.exec(QStringLiteral("INSERT INTO cis_zakaznici (nazev) VALUES ('Jiný')"));
        target.exec(QStringLiteral("DELETE FROM cis_zakaznici"));
        ImportovatXML(target.context.connection, file, QStringLiteral("cis_zakaznici"));
        const QString everyColumnButId =
            QStringLiteral("SELECT nazev, osoba, ulice, mesto, psc, ico, dic, tel, mobil, email, zaruka5let, "
                           "hlidani_revizi, je_firma, poznamka1, poznamka2 FROM cis_zakaznici ORDER BY id");
        QCOMPARE(rows(target, everyColumnButId), rows(source, everyColumnButId));
        QCOMPARE(rows(target, QStringLiteral("SELECT id FROM cis_zakaznici ORDER BY id")),
                 (QStringList{"2", "3"}));
        ImportovatXML(target.context.connection, file, QStringLiteral("cis_zakaznici"));
        QCOMPARE(target.count(QStringLiteral("cis_zakaznici")), 4);
    }

    void theImportCommand()
    {
        ProgramDir dir;
        THlavni main(dir.dir());
        QVERIFY(main.FormCreate());
        TestDialogs dialogs;
        const auto run = [&](std::optional<QString> chosen) {
            dialogs.answerOpenFile(chosen);
            main.action(QStringLiteral("Akce_ImportZakazniku"))->trigger();
        };
        const auto count = [&] {
            return main.context()
                .connection.query(QStringLiteral("SELECT count(*) FROM cis_zakaznici"))
                .rows[0][0]
                .toInt();
        };
        run(std::nullopt);
        QCOMPARE(dialogs.lastOpenTitle, QStringLiteral("Importovat data ze souboru ..."));
        QCOMPARE(dialogs.lastOpenFilter, QStringLiteral("Dokument XML (*.xml)|*.xml"));
        QCOMPARE(fileTypeFilters(dialogs.lastOpenFilter),
                 QStringList{QStringLiteral("Dokument XML (*.xml)")});
        QCOMPARE(dialogs.lastOpenInitialName, QStringLiteral("name"));

        const QByteArray two = document(record(QStringLiteral("<nazev>A</nazev>")).repeated(2));
        for (const char* name : {"zakaznici.txt", "zakaznici", "zakaznici.xml.bak"}) {
            dir.writeFile(QString::fromLatin1(name), two);
            run(dir.path(QString::fromLatin1(name)));
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                                QStringLiteral("Soubor \"") + dir.path(QString::fromLatin1(name)) +
                                    QStringLiteral("\" není v očekávaném formátu."));
        }
        const QString question = QStringLiteral("Opravdu chcete importovat záznamy? (nevratná operace)");
        dir.writeFile(QStringLiteral("zakaznici.XML"), two);
        dialogs.answerQuestion(AnswerNo);
        run(dir.path(QStringLiteral("zakaznici.XML")));
        dialogs.takeQuestion(1, QStringLiteral("Pozor!"), question);
        QCOMPARE(count(), 0);
        dialogs.answerQuestion(AnswerYes);
        run(dir.path(QStringLiteral("zakaznici.XML")));
        dialogs.take();
        QCOMPARE(count(), 2);

        // An error reaches the general error report; the records before it stay.
        dir.writeFile(QStringLiteral("chyba.xml"), document(record(QStringLiteral("<nazev>B</nazev>")) +
                                                            record(QStringLiteral("<nazev><i/></nazev>"))));
        dialogs.answerQuestion(AnswerYes);
        run(dir.path(QStringLiteral("chyba.xml")));
        dialogs.take();
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"),
                            QStringLiteral("Element does not contain a single text node"));
        QCOMPARE(count(), 3);
        QCOMPARE(QApplication::overrideCursor(), nullptr); // the busy cursor is gone again
    }
};

VESTIBOR_TEST_MAIN(TestImport)
#include "tst_import.moc"
