// The table export: the exact bytes of both formats and the export command around them.
#include "exchange/TableExport.h"
#include "exchange/TableWriters.h"
#include "helpers/AppError.h"
#include "helpers/SafeFile.h"
#include "store/DataSet.h"
#include "support/OpenContext.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QTest>
#include <QTimer>
#include <tuple>

namespace {

QByteArray golden(const QString& name)
{
    QFile file(QStringLiteral(VESTIBOR_GOLDEN_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing golden file");
}

QByteArray xmlOf(const DataSet& ds)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TableWriters::writeXml(buffer, ds, QStringLiteral("data"));
    return buffer.data();
}

QByteArray csvOf(const DataSet& ds)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TableWriters::writeCsv(buffer, ds);
    return buffer.data();
}

void addCategories(OpenContext& f)
{
    f.exec(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES (?, 12), (?, 24)"),
           {QStringLiteral("Plynové kotle"), QStringLiteral("Krby a kamna|sporáky")});
}

// The two categories of the worked example, open in a data set on their table.
struct Categories : OpenContext
{
    DataSet ds{context.connection, QStringLiteral("ds")};

    Categories()
    {
        addCategories(*this);
        ds.setTableName(QStringLiteral("cis_kategorie"));
        ds.open();
    }
};

} // namespace

class TestExport : public QObject
{
    Q_OBJECT

private slots:
    void theWorkedExample()
    {
        Categories f;
        QCOMPARE(xmlOf(f.ds), golden(QStringLiteral("kategorie.xml")));
        QCOMPARE(csvOf(f.ds), golden(QStringLiteral("kategorie.csv")));
    }

    void everyKindOfValue()
    {
        OpenContext f;
        f.exec(QStringLiteral(
                   "INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi, "
                   "cena_doprava, cena_prace, cena_material, cena_ostatni, poznamka) "
                   "VALUES (3, 7, 2, '2024-03-05', '2025-03-05', 1500, 1500.5, 0.125, -20, ?)"),
               {QStringLiteral("Kotel & komín <OK> \"x\" 'y'\r\nDruhý řádek | € ☺")});
        DataSet ds(f.context.connection, QStringLiteral("ds"));
        ds.setTableName(QStringLiteral("cinnosti"));
        ds.open();
        QCOMPARE(xmlOf(ds), golden(QStringLiteral("cinnost.xml")));
        QCOMPARE(csvOf(ds), golden(QStringLiteral("cinnost.csv")));
    }

    void customersWithYesNoAndEmptyValues()
    {
        OpenContext f;
        f.exec(QStringLiteral(
            "INSERT INTO cis_zakaznici (nazev, zaruka5let, hlidani_revizi) VALUES ('A', TRUE, FALSE)"));
        DataSet ds(f.context.connection, QStringLiteral("ds"));
        ds.setCommandText(QStringLiteral("SELECT * FROM cis_zakaznici ORDER BY id"));
        ds.open();
        const QByteArray csv = csvOf(ds);
        QVERIFY(csv.endsWith("\r\n1|A||||||||||True|False|||\r\n"));
        const QByteArray xml = xmlOf(ds);
        QVERIFY(
            xml.contains("    <zaruka5let>True</zaruka5let>\r\n    <hlidani_revizi>False</hlidani_revizi>\r\n"
                         "    <je_firma/>\r\n"));
    }

    void elementNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("valid");
        QTest::newRow("Czech letters") << QStringLiteral("poznámka") << true;
        QTest::newRow("Czech capital first") << QStringLiteral("Částka_2") << true;
        QTest::newRow("underscore first") << QStringLiteral("_x") << true;
        QTest::newRow("other scripts") << QStringLiteral("Ωμέγα_名前_имя") << true;
        QTest::newRow("beyond the basic plane") << QStringLiteral("\U00010000\U000EFFFF") << true;
        QTest::newRow("marks and digits after the first")
            << QStringLiteral("a-1.b\u00B7c\u0301\u203F") << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("digit first") << QStringLiteral("1bad") << false;
        QTest::newRow("hyphen first") << QStringLiteral("-x") << false;
        QTest::newRow("middle dot first") << QStringLiteral("\u00B7x") << false;
        QTest::newRow("combining mark first") << QStringLiteral("\u0301x") << false;
        QTest::newRow("space") << QStringLiteral("název kategorie") << false;
        QTest::newRow("colon, no namespaces") << QStringLiteral("a:b") << false;
        QTest::newRow("multiplication sign") << QStringLiteral("a\u00D7b") << false;
        QTest::newRow("not a character") << QStringLiteral("a\uFFFE") << false;
        QTest::newRow("beyond the allowed planes") << QStringLiteral("a\U000F0000") << false;
        QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) << false;
    }
    // A root or field name is taken when XML takes it as a name and written as it is; any
    // other name stops the export with the name in the message.
    void elementNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, valid);
        Categories f;
        // As a field name too, where the database can hold it.
        DataSet aliased(f.context.connection, QStringLiteral("ds2"));
        aliased.setCommandText(QStringLiteral("SELECT lhuta AS \"%1\" FROM cis_kategorie").arg(name));
        if (name.isValidUtf16() && !(name.isEmpty() && f.context.connection.isServer()))
            aliased.open();
        const QString root = QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<%1>\r\n");
        for (const auto& [dataSet, rootName, expected] :
             {std::tuple(&f.ds, name, root.arg(name)),
              std::tuple(&aliased, QStringLiteral("data"),
                         QStringLiteral("    <%1>12</%1>\r\n").arg(name))}) {
            if (!dataSet->isOpen())
                continue;
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            try {
                TableWriters::writeXml(buffer, *dataSet, rootName);
            } catch (const AppError& e) {
                QVERIFY2(!valid, qPrintable(e.text()));
                QCOMPARE(e.text(), QStringLiteral("Neplatný název elementu: ") + name);
                continue;
            }
            QVERIFY2(valid, buffer.data().constData());
            QVERIFY2(buffer.data().contains(expected.toUtf8()), buffer.data().constData());
        }
    }

    void exportCommandRefusalsAndTheSuggestedName()
    {
        OpenContext f;
        TestDialogs dialogs;
        DataSet ds(f.context.connection, QStringLiteral("ds"));
        ExportovatTabulku(&ds, QStringLiteral("x"), nullptr);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Databáze není aktivní ..."));
        ds.setTableName(QStringLiteral("cis_kategorie"));
        ds.open();
        ExportovatTabulku(&ds, QStringLiteral("x"), nullptr);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Databáze neobsahuje žádný záznam ..."));

        addCategories(f);
        ds.close();
        ds.open();
        dialogs.answerSaveFile(std::nullopt);
        ExportovatTabulku(&ds, QStringLiteral("Kotel SeLeCt 24"), nullptr);
        QCOMPARE(dialogs.lastSaveSuggestion, QString());
        QCOMPARE(dialogs.lastSaveFilter, QStringLiteral("Dokument XML (*.xml);;Database CSV (*.csv)"));
        QCOMPARE(dialogs.lastSaveSuffix, QStringLiteral("xml"));
        dialogs.answerSaveFile(std::nullopt);
        ExportovatTabulku(&ds, QStringLiteral("cis_kategorie"), nullptr);
        QCOMPARE(dialogs.lastSaveSuggestion, QStringLiteral("cis_kategorie"));
    }

    void theChosenTypeDecidesTheFormatAndTheRowStaysCurrent()
    {
        Categories f;
        TestDialogs dialogs;
        f.ds.last();
        int dataChanges = 0;
        connect(&f.ds, &DataSet::dataChanged, this, [&] { ++dataChanges; });
        const QString path = f.dir.path(QStringLiteral("seznam.xml"));
        dialogs.answerSaveFile(FileChoice{path, 1});
        ExportovatTabulku(&f.ds, QStringLiteral("cis_kategorie"), nullptr);
        QCOMPARE(f.dir.readFile(QStringLiteral("seznam.xml")), golden(QStringLiteral("kategorie.csv")));
        dialogs.answerSaveFile(FileChoice{path, 0});
        ExportovatTabulku(&f.ds, QStringLiteral("cis_kategorie"), nullptr);
        QCOMPARE(f.dir.readFile(QStringLiteral("seznam.xml")), golden(QStringLiteral("kategorie.xml")));
        QCOMPARE(f.ds.recNo(), 2);
        QCOMPARE(dataChanges, 0); // the bound controls did not follow any walk
    }

    // The real save dialog: XML offered first and preselected; the type the user picks
    // decides the format, whatever the file's name.
    void theTypePickedInTheSaveDialogIsWritten()
    {
        Categories f;
        QStringList offered;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            offered = dialog->nameFilters() << dialog->selectedNameFilter();
            dialog->selectNameFilter(QStringLiteral("Database CSV (*.csv)"));
            dialog->selectFile(f.dir.path(QStringLiteral("seznam.txt")));
            static_cast<QDialog*>(dialog)->accept(); // with the dialog's own checks, as Save does
        });
        ExportovatTabulku(&f.ds, QStringLiteral("cis_kategorie"), nullptr);
        QCOMPARE(offered,
                 (QStringList{QStringLiteral("Dokument XML (*.xml)"), QStringLiteral("Database CSV (*.csv)"),
                              QStringLiteral("Dokument XML (*.xml)")}));
        QCOMPARE(f.dir.readFile(QStringLiteral("seznam.txt")), golden(QStringLiteral("kategorie.csv")));
    }

    void aPendingEditIsCompletedFirst()
    {
        Categories f;
        TestDialogs dialogs;
        f.ds.edit();
        f.ds.setValue(QStringLiteral("lhuta"), 36);
        const QString path = f.dir.path(QStringLiteral("k.csv"));
        dialogs.answerSaveFile(FileChoice{path, 1});
        ExportovatTabulku(&f.ds, QString(), nullptr);
        QVERIFY(f.dir.readFile(QStringLiteral("k.csv")).contains("1|Plynov\xE9 kotle|36\r\n"));
        QCOMPARE(f.ds.state(), DataSet::State::Browse);
    }

    void failuresKeepAnExistingFile()
    {
        Categories f;
        TestDialogs dialogs;
        const QString missingDir = f.dir.path(QStringLiteral("chybi/seznam.xml"));
        dialogs.answerSaveFile(FileChoice{missingDir, 0});
        ExportovatTabulku(&f.ds, QString(), nullptr);
        dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral("XML dokument se nepodařilo vytvořit: \r\nSoubor „%1“ nelze vytvořit: "
                           "No such file or directory")
                .arg(missingDir));

        // A directory in place of the file: the CSV failure reaches the general error report
        // and nothing of the old content is lost.
        QDir().mkpath(f.dir.path(QStringLiteral("obsazeno.csv")));
        dialogs.answerSaveFile(FileChoice{f.dir.path(QStringLiteral("obsazeno.csv")), 1});
        QVERIFY_THROWS_EXCEPTION(AppError, ExportovatTabulku(&f.ds, QString(), nullptr));

        // An XML export that fails on the path of an earlier export leaves that file as it was.
        const QByteArray earlier = golden(QStringLiteral("kategorie.xml"));
        f.dir.writeFile(QStringLiteral("stary.xml"), earlier);
        DataSet badName(f.context.connection, QStringLiteral("ds2"));
        badName.setCommandText(
            QStringLiteral("SELECT id, nazev_kategorie AS \"název kategorie\" FROM cis_kategorie"));
        badName.open();
        dialogs.answerSaveFile(FileChoice{f.dir.path(QStringLiteral("stary.xml")), 0});
        ExportovatTabulku(&badName, QString(), nullptr);
        dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral(
                "XML dokument se nepodařilo vytvořit: \r\nNeplatný název elementu: název kategorie"));
        QCOMPARE(f.dir.readFile(QStringLiteral("stary.xml")), earlier);
        QVERIFY_THROWS_EXCEPTION(
            AppError, UlozitXML(f.ds, f.dir.path(QStringLiteral("x.xml")), QStringLiteral("1bad")));
        QVERIFY(!QFile::exists(f.dir.path(QStringLiteral("x.xml"))));

        // The disk fills up while the file is written: the old export stays whole and the
        // user learns the system's reason, in either format.
        const QString path = f.dir.path(QStringLiteral("seznam.xml"));
        f.dir.writeFile(QStringLiteral("seznam.xml"), "stary export");
        const QString reason = QStringLiteral("Soubor „%1“ nelze zapsat: No space left on device").arg(path);

        SafeFile::failNextForTesting(SafeFile::Step::Write, ENOSPC);
        dialogs.answerSaveFile(FileChoice{path, 0});
        ExportovatTabulku(&f.ds, QString(), nullptr);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("XML dokument se nepodařilo vytvořit: \r\n") + reason);
        QCOMPARE(f.dir.readFile(QStringLiteral("seznam.xml")), QByteArray("stary export"));

        SafeFile::failNextForTesting(SafeFile::Step::Sync, ENOSPC);
        dialogs.answerSaveFile(FileChoice{path, 1});
        try {
            ExportovatTabulku(&f.ds, QString(), nullptr);
            QFAIL("the failed CSV export was not reported");
        } catch (const AppError& e) {
            QCOMPARE(e.text(), reason);
        }
        QCOMPARE(f.dir.readFile(QStringLiteral("seznam.xml")), QByteArray("stary export"));
        QCOMPARE(QDir(f.dir.path(QString())).entryList({QStringLiteral("seznam.xml*")}, QDir::Files),
                 QStringList{QStringLiteral("seznam.xml")});
    }

    void theUserLearnsHowManyCharactersBecameQuestionMarks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("message"); // empty: none
        QTest::newRow("all in the code page") << "Kotle € Čech"
                                              << QByteArray("Kotle \x80 \xC8"
                                                            "ech")
                                              << QString();
        QTest::newRow("one character outside it")
            << "Tokio 東" << QByteArray("Tokio ?")
            << "Soubor je uložen, ale 1 znak nemá v kódování Windows-1250 obdobu a byl nahrazen "
               "znakem „?“.";
        QTest::newRow("three characters outside it, one beyond the basic plane")
            << "東京 😀" << QByteArray("?? ?")
            << "Soubor je uložen, ale 3 znaky nemají v kódování Windows-1250 obdobu a byly nahrazeny znakem "
               "„?“.";
        QTest::newRow("five characters outside it")
            << "東京東京東" << QByteArray("?????")
            << "Soubor je uložen, ale 5 znaků nemá v kódování Windows-1250 obdobu a bylo "
               "nahrazeno znakem „?“.";
    }
    void theUserLearnsHowManyCharactersBecameQuestionMarks()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, written);
        QFETCH(QString, message);
        OpenContext f;
        f.exec(QStringLiteral("INSERT INTO cis_kategorie (nazev_kategorie, lhuta) VALUES (?, 12)"), {name});
        TestDialogs dialogs;
        DataSet ds(f.context.connection, QStringLiteral("ds"));
        ds.setTableName(QStringLiteral("cis_kategorie"));
        ds.open();
        dialogs.answerSaveFile(FileChoice{f.dir.path(QStringLiteral("k.csv")), 1});
        ExportovatTabulku(&ds, QString(), nullptr);
        QCOMPARE(f.dir.readFile(QStringLiteral("k.csv")),
                 "id|nazev_kategorie|lhuta\r\n1|" + written + "|12\r\n");
        if (!message.isEmpty())
            dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"), message);
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestExport)
#include "tst_export.moc"
