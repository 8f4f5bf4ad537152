// The settings file: its value rules, defaults, writing and its failures.
#include "helpers/AppError.h"
#include "helpers/Cp1250.h"
#include "helpers/IniFile.h"
#include "helpers/Settings.h"
#include "support/ProgramDir.h"
#include "support/TestMain.h"

#include <QDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT

    ProgramDir m_dir{false};
    IniFile ini() const { return IniFile(m_dir.path(QStringLiteral("Vestibor.ini"))); }

private slots:
    void init() { QFile::remove(m_dir.path(QStringLiteral("Vestibor.ini"))); }

    void withoutAFileEveryDefaultApplies()
    {
        const Settings s = Settings::read(ini());
        QCOMPARE(s.BarvaKartaTZ, 0x61AFAF);
        QCOMPARE(s.BarvaKartaCinnosti, 0xB9E6E6);
        QVERIFY(s.DialogUlozit);
        QVERIFY(!s.ZaviratFrmTisk);
        QVERIFY(!s.PovolitPrimouEditaciDatumu);
        QVERIFY(s.hsl);
        QVERIFY(s.NazevSubjektu.isEmpty());
        QVERIFY(!QFile::exists(ini().path())); // reading never creates the file
    }

    void integerAndFlagRules_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("integer"); // read with default 77
        QTest::addColumn<int>("flag");    // read with default on: 1 on, 0 off
        QTest::newRow("decimal") << QByteArray("12") << 12 << 1;
        QTest::newRow("negative") << QByteArray("-5") << -5 << 1;
        QTest::newRow("zero") << QByteArray("0") << 0 << 0;
        QTest::newRow("2, a flag on too") << QByteArray("2") << 2 << 1;
        QTest::newRow("hex 0x") << QByteArray("0xFF0000") << 0xFF0000 << 1;
        QTest::newRow("hex 0X") << QByteArray("0X10") << 16 << 1;
        QTest::newRow("hex $") << QByteArray("$ff") << 255 << 1;
        QTest::newRow("true") << QByteArray("true") << 77 << 1;
        QTest::newRow("ano") << QByteArray("ano") << 77 << 1;
        QTest::newRow("empty") << QByteArray("") << 77 << 1;
        QTest::newRow("trailing letters") << QByteArray("12ab") << 77 << 1;
        QTest::newRow("too large") << QByteArray("99999999999") << 77 << 1;
        QTest::newRow("spaces around") << QByteArray("  7  ") << 7 << 1;
        QTest::newRow("second prefix") << QByteArray("0x0x0000FF") << 77 << 1;
        QTest::newRow("space after $") << QByteArray("$ FF00") << 77 << 1;
        QTest::newRow("sign after 0x") << QByteArray("0x+0") << 77 << 1;
        QTest::newRow("sign after $") << QByteArray("$+1") << 77 << 1;
        QTest::newRow("space after 0X") << QByteArray("0X 1") << 77 << 1;
        QTest::newRow("hex junk after") << QByteArray("0x1g") << 77 << 1;
    }
    void integerAndFlagRules()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, integer);
        QFETCH(int, flag);
        m_dir.writeIni("[Konfig]\r\nX=" + value + "\r\n");
        QCOMPARE(ini().readInteger(QStringLiteral("konfig"), QStringLiteral("x"), 77), integer);
        QCOMPARE(int(ini().readFlag(QStringLiteral("KONFIG"), QStringLiteral("X"), true)), flag);
    }

    void flagsKeepTheirOwnDefaultsForWords()
    {
        m_dir.writeIni(
            "[konfig]\r\nhsl=true\r\nZaviratFrmTisk=true\r\nDialogUlozit=2\r\nBarvaKartaTZ=0xFF0000\r\n");
        const Settings s = Settings::read(ini());
        QVERIFY(s.hsl);
        QVERIFY(!s.ZaviratFrmTisk);
        QVERIFY(s.DialogUlozit);
        QCOMPARE(s.BarvaKartaTZ, 0xFF0000); // pure blue: blue is the third byte
    }

    void textValues()
    {
        m_dir.writeIni(
            Cp1250::encode(QStringLiteral("[uzivatel]\r\nNazevSubjektu=Topení Šťastný s.r.o.\r\n"
                                          "Ulice=  Dlouhá 5  \r\nPSC=1234567\r\nMesto=\"Brno\"\r\n")) +
            "Tel=" + QByteArray(3000, 'x') + "\r\n");
        const Settings s = Settings::read(ini());
        QCOMPARE(s.NazevSubjektu, QStringLiteral("Topení Šťastný s.r.o."));
        QCOMPARE(s.Ulice, QStringLiteral("Dlouhá 5"));
        QCOMPARE(s.PSC, QStringLiteral("1234567")); // a longer value written by hand is kept
        QCOMPARE(s.Mesto, QStringLiteral("Brno"));
        QCOMPARE(s.Tel.size(), 2047);
    }

    void garbageNeverBreaksReading()
    {
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(char(i * 7 % 256));
        m_dir.writeIni(garbage + "\n[konfig\nhsl\n=\n[]\nBarvaKartaTZ=12\n" + QByteArray(100000, 'a'));
        const Settings s = Settings::read(ini());
        QVERIFY(s.hsl);
        QCOMPARE(s.BarvaKartaTZ, 0x61AFAF);        // the key stands in no proper section
        m_dir.writeIni("hsl=0\nBarvaKartaTZ=1\n"); // keys without a section
        QVERIFY(Settings::read(ini()).hsl);
    }

    void writingKeepsEverythingElseAndWritesInOrder()
    {
        m_dir.writeIni("; poznámka\r\n[CisZakazniku]\r\nTrideni=3\r\n\r\n[konfig]\r\nhsl=1\r\nJiny=x\r\n");
        Settings s;
        s.BarvaKartaTZ = 1;
        s.hsl = false;
        s.writeConfiguration(ini());
        QCOMPARE(m_dir.readFile(QStringLiteral("Vestibor.ini")),
                 QByteArray(
                     "; poznámka\r\n[CisZakazniku]\r\nTrideni=3\r\n\r\n[konfig]\r\nhsl=0\r\nJiny=x\r\n"
                     "BarvaKartaTZ=1\r\nBarvaKartaCinnosti=12183270\r\nDialogUlozit=1\r\nZaviratFrmTisk=0\r\n"
                     "PovolitPrimouEditaciDatumu=0\r\n"));
        QCOMPARE(CustomerSortSetting::read(ini()), 3);
        CustomerSortSetting::write(ini(), 5);
        QCOMPARE(CustomerSortSetting::read(ini()), 5);
        QVERIFY(!Settings::read(ini()).hsl);
    }

    void writingCreatesFileAndSectionAndRoundTripsText()
    {
        Settings s;
        s.NazevSubjektu = QStringLiteral("Kotle Čech");
        s.Ulice = QStringLiteral("  odsazeno ");
        s.Mesto = QStringLiteral("\"v uvozovkách\"");
        s.writeUserData(ini());
        const QByteArray bytes = m_dir.readFile(QStringLiteral("Vestibor.ini"));
        QVERIFY(bytes.startsWith("[uzivatel]\r\nNazevSubjektu=Kotle \xC8"
                                 "ech\r\nOdpovednaOsoba=\r\n"));
        const Settings back = Settings::read(ini());
        QCOMPARE(back.NazevSubjektu, s.NazevSubjektu);
        QCOMPARE(back.Ulice, s.Ulice);
        QCOMPARE(back.Mesto, s.Mesto);
        QVERIFY(back.WWW.isEmpty());
    }

    // A value stays on its line: a line break in it must not start a section of its own,
    // which would let a typed value switch the password off.
    void aValueCannotBreakOutOfItsLine()
    {
        m_dir.writeIni("[konfig]\r\nhsl=1\r\n");
        Settings s = Settings::read(ini());
        s.WWW = QStringLiteral("www\r\n[konfig]\r\nhsl=0\n[konfig]\rhsl=0");
        s.writeUserData(ini());
        QVERIFY(Settings::read(ini()).hsl);
        QCOMPARE(Settings::read(ini()).WWW, QStringLiteral("www  [konfig]  hsl=0 [konfig] hsl=0"));
    }

    void theFirstOfTwoSectionsOfOneNameCounts()
    {
        m_dir.writeIni("[konfig]\r\nhsl=1\r\n[KONFIG]\r\nhsl=0\r\nBarvaKartaTZ=5\r\n");
        const Settings s = Settings::read(ini());
        QVERIFY(s.hsl);
        QCOMPARE(s.BarvaKartaTZ, 0x61AFAF);
    }

    void aFailedWriteRaisesItsMessageAndKeepsTheOldFile()
    {
        // A directory in place of the file cannot be written.
        ProgramDir other(false);
        QFile::remove(other.path(QStringLiteral("Vestibor.ini")));
        QDir().mkpath(other.path(QStringLiteral("Vestibor.ini")));
        const IniFile blocked(other.path(QStringLiteral("Vestibor.ini")));
        try {
            Settings().writeConfiguration(blocked);
            QFAIL("no error");
        } catch (const AppError& e) {
            // The path, then the system's reason on a line of its own.
            QVERIFY2(e.text().startsWith(QStringLiteral("Unable to write to %1\r\n").arg(blocked.path())) &&
                         !e.text().endsWith(u'\n'),
                     qPrintable(e.text()));
        }
        // A file in a directory that does not exist.
        const IniFile nowhere(other.path(QStringLiteral("chybi/Vestibor.ini")));
        QVERIFY_THROWS_EXCEPTION(AppError, CustomerSortSetting::write(nowhere, 1));
    }
};

VESTIBOR_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
