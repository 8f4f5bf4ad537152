// The print command, what it hands to the report generator, and the About window.
#include "PM41.h"
#include "ReportEngine.h"
#include "app/AboutWindow.h"
#include "exchange/ReportBinding.h"
#include "helpers/TextConversions.h"
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "uikit/CommandNames.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTest>

namespace {

// Records what the print command hands to the generator instead of showing its window.
struct GeneratorSpy
{
    QList<ReportBinding::Call> calls;
    QString customers; // the shipped customer list, as the generator reads it through the connection
    bool connectionOpen = false;
    ReportBinding::Launcher previous;

    GeneratorSpy()
    {
        previous = ReportBinding::setLauncher([this](const ReportBinding::Call& call) {
            calls << call;
            connectionOpen = call.connection && call.connection->isOpen();
            if (connectionOpen)
                customers = customerList(call);
        });
    }
    static QString customerList(const ReportBinding::Call& call)
    {
        pm41::UserData user;
        pm41::Template report;
        pm41::ReportData data;
        QString error = pm41::parseParameterText(call.parameters, user);
        if (error.isEmpty())
            error = pm41::loadTemplate(QFINDTESTDATA("../pm41/templates/seznam_zakazniku.sestava"), report);
        if (error.isEmpty())
            error = pm41::runReport(report, user, {}, *call.connection, data);
        QStringList names;
        for (const pm41::ReportRow& row : std::as_const(data.rows))
            names << row.cells.value(0);
        return error.isEmpty() ? names.join(u", ") : error;
    }
    ~GeneratorSpy() { ReportBinding::setLauncher(previous); }
};

} // namespace

class TestPrint : public QObject
{
    Q_OBJECT
private slots:
    void parameterTextOfTheWorkedExample()
    {
        Settings s;
        s.NazevSubjektu = QStringLiteral("Firma s.r.o.");
        QCOMPARE(ReportBinding::parameterText(s, 12),
                 QStringLiteral(
                     "NazevSubjektu|Firma s.r.o.|OdpovednaOsoba||Ulice||PSC||Mesto||ICO||DIC||Tel||Email||"
                     "WWW||OtevrenyZakaznik|12"));
        s.Ulice = QStringLiteral("Dlouhá 5|7"); // not escaped
        s.WWW = QStringLiteral("www.firma.cz");
        QCOMPARE(ReportBinding::parameterText(s, 0),
                 QStringLiteral(
                     "NazevSubjektu|Firma s.r.o.|OdpovednaOsoba||Ulice|Dlouhá 5|7|PSC||Mesto||ICO||DIC||"
                     "Tel||Email||WWW|www.firma.cz|OtevrenyZakaznik|0"));
    }

    void printHandsTheRunStateToTheGenerator()
    {
        // The settings file is Windows-1250: "í" is one byte.
        MainWindowFixture m(
            "[konfig]\r\nhsl=0\r\nZaviratFrmTisk=1\r\n[uzivatel]\r\nNazevSubjektu=Topen\xED s.r.o.\r\n");
        m.start();
        addCustomers(m.connection(), {QStringLiteral("Alfa"), QStringLiteral("Beta")});
        m.open(2);
        GeneratorSpy generator;
        QTest::keyClick(m.w.get(), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(generator.calls.size(), 1);
        const ReportBinding::Call& call = generator.calls.first();
        QCOMPARE(call.templatesDirectory,
                 m.w->context().path(QStringLiteral("Ses"))); // not beside the executable
        QCOMPARE(call.parameters,
                 QStringLiteral("NazevSubjektu|Topení s.r.o.|OdpovednaOsoba||Ulice||PSC||Mesto||ICO||"
                                "DIC||Tel||Email||WWW||OtevrenyZakaznik|2"));
        QCOMPARE(call.reserved, -1);
        QCOMPARE(call.closeAfterChoice, -1);
        QVERIFY(generator.connectionOpen);
        QCOMPARE(generator.customers, QStringLiteral("Alfa, Beta"));

        // The user's data and the switch are read at every call.
        m.w->context().settings.ZaviratFrmTisk = false;
        m.w->context().settings.Tel = QStringLiteral("123");
        m.run(Akce_Tisk);
        QCOMPARE(generator.calls.last().closeAfterChoice, 0);
        QVERIFY(generator.calls.last().parameters.contains(QStringLiteral("|Tel|123|")));
    }

    void aMissingTemplateDirectoryIsNamed()
    {
        MainWindowFixture m;
        m.start();
        QVERIFY(QDir(m.dir.path(QStringLiteral("Ses"))).removeRecursively());
        GeneratorSpy generator;
        TestDialogs dialogs;
        m.run(Akce_Tisk);
        dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Upozornění"),
            QStringLiteral("Generátor sestav nelze spustit, nebyl nalezen adresář předloh \"") +
                m.dir.path(QStringLiteral("Ses")) + QStringLiteral("\"."));
        QVERIFY(generator.calls.isEmpty());
    }

    void aboutWindow()
    {
        const QString module = ReportBinding::moduleVersionText();
        QCOMPARE(module, QStringLiteral("PM41  ") + QString::fromUtf16(OznaceniVerzeDLL()));
        QVERIFY(module.size() > 6);

        AboutWindow about(ProgramVersionText(), QStringLiteral("2025-03-25"), module);
        about.show();
        QCOMPARE(about.windowTitle(), QStringLiteral("O programu Vestibor"));
        QCOMPARE(about.width(), 486);
        QCOMPARE(child<QLabel>(about, "La_VerzeProgramu")->text(),
                 ProgramVersionText() + QStringLiteral("     2025-03-25"));
        QCOMPARE(child<QLabel>(about, "La_VerzeTiskovehoModulu")->text(), module);
        auto* link = child<QLabel>(about, "La_DomovskaStranka");
        QCOMPARE(link->text(), QStringLiteral("www.vestibor.cz"));
        QCOMPARE(link->pos(), QPoint(216, 72));
        QCOMPARE(child<QPushButton>(about, "Tl_Ok")->pos(), QPoint(376, 72 + 28));
        QCOMPARE(about.height(), 72 + 93);

        QVERIFY(link->font().underline());
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(link, &enter);
        QVERIFY(!link->font().underline());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(link, &leave);
        QVERIFY(link->font().underline());

        TestDialogs dialogs;
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(dialogs.shellTargets, QStringList{QStringLiteral("http://www.vestibor.cz")});

        AboutWindow withoutModule(ProgramVersionText(), QStringLiteral("2025-03-25"), QString());
        QVERIFY(noChild<QLabel>(withoutModule, QStringLiteral("La_VerzeTiskovehoModulu")));
        QCOMPARE(withoutModule.height(), 48 + 93);
    }

    void aboutCommandShowsTheWindow()
    {
        MainWindowFixture m;
        m.start();
        TestDialogs dialogs;
        QString title;
        dialogs.onModal([&](QDialog& d) {
            title = d.windowTitle();
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        m.run(Akce_OProgramu);
        QCOMPARE(title, QStringLiteral("O programu Vestibor"));
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestPrint)
#include "tst_print.moc"
