// The settings dialog, the user data dialog and the password change: what they show, when
// "Ok" may confirm, what is written to the settings and password files and what the main
// window applies at once.
#include "app/Hlavni_f.h"
#include "app/Konfig_f.h"
#include "app/UdajeUzivatele_f.h"
#include "helpers/Password.h"
#include "helpers/SafeFile.h"
#include "helpers/TextConversions.h"
#include "support/MainWindowFixture.h"
#include "support/SeedData.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"
#include "support/Typing.h"
#include "uikit/CommandNames.h"
#include "uikit/DBEdit.h"
#include "uikit/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {

// A second name for a file, so that a test can see whether the file is rewritten in place
// or replaced by a new one.
bool hardLink(const QString& from, const QString& to)
{
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// "x,y wxh" of the named children, for one comparison.
QString geometries(QWidget& w, std::initializer_list<const char*> names)
{
    QStringList out;
    for (const char* name : names) {
        const QRect r = child(w, name)->geometry();
        out << QString::asprintf("%d,%d %dx%d", r.x(), r.y(), r.width(), r.height());
    }
    return out.join(u'|');
}

QColor shown(QWidget& w, const char* panel)
{
    return child(w, panel)->palette().color(QPalette::Window);
}

const char* const konfigBoxes[] = {"ChBox_DialogUlozit", "ChBox_ZaviratFrmTisk",
                                   "ChBox_PovolitPrimouEditaciDatumu", "ChBox_hsl"};
const char* const userFields[] = {
    "Ed_NazevSubjektu", "Ed_OdpovednaOsoba", "Ed_Ulice", "Ed_PSC", "Ed_Mesto", "Ed_ICO", "Ed_DIC",
    "Ed_Tel",           "Ed_Email",          "Ed_WWW"};

// The main window on its own program directory, with a customer whose card has an activity,
// so that the date fields are bound to open data sets.
struct Main : MainWindowFixture
{
    explicit Main(const QByteArray& ini = "[konfig]\r\nhsl=0\r\n") : MainWindowFixture(ini) {}
    void start()
    {
        MainWindowFixture::start();
        addCustomer(connection(), QStringLiteral("Novák"));
        addCardWithActivity();
        open(1);
    }
    QByteArray ini() const { return dir.readFile(QStringLiteral("Vestibor.ini")); }
    // Which of the three date fields are read-only, as "111" or "000".
    QString readOnlyDates() const
    {
        QString s;
        for (const char* name : {"Ed_vyrazeno_dne", "Ed_datum", "Ed_datum_pristi"})
            s += child<DBEdit>(*w, name)->isReadOnly() ? u'1' : u'0';
        return s;
    }
};

} // namespace

class TestSettingsDialogs : public QObject
{
    Q_OBJECT
private slots:
    void konfigShowsTheSettingsAndEnterDoesNothingUntilAChange()
    {
        Settings s;
        s.BarvaKartaTZ = 0x0000FF; // red in the lowest byte
        s.BarvaKartaCinnosti = 0x00FF00;
        s.DialogUlozit = false;
        s.ZaviratFrmTisk = true;
        s.PovolitPrimouEditaciDatumu = true;
        s.hsl = false;
        TKonfig d(s, nullptr);
        showActive(&d);
        QCOMPARE(d.windowTitle(), QStringLiteral("Nastavení prostředí"));
        QCOMPARE(d.size(), QSize(424, 323));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(geometries(d, {"Panel_BarvaKartaTZ", "Panel_BarvaKartaCinnosti", "Tl_VychoziBarvy",
                                "ChBox_DialogUlozit", "ChBox_ZaviratFrmTisk",
                                "ChBox_PovolitPrimouEditaciDatumu", "ChBox_hsl", "Tl_Ok", "Tl_Storno"}),
                 QStringLiteral("152,16 113x25|152,48 113x25|152,88 81x25|8,128 249x17|8,160 281x17|"
                                "8,192 169x17|8,224 217x17|240,272 75x25|320,272 75x25"));
        QCOMPARE(shown(d, "Panel_BarvaKartaTZ"), QColor(255, 0, 0));
        QCOMPARE(shown(d, "Panel_BarvaKartaCinnosti"), QColor(0, 255, 0));
        QStringList boxes;
        for (const char* name : konfigBoxes)
            boxes << child<QCheckBox>(d, name)->text() +
                         (child<QCheckBox>(d, name)->isChecked() ? " 1" : " 0");
        QCOMPARE(boxes,
                 (QStringList{"Před uložením vyvolávat dialog pro potvrzení 0",
                              "Po výběru sestavy zavřít formulář tiskového modulu 1",
                              "Povolit přímou editaci datumů 1", "Používat zabezpečení spuštění heslem 0"}));
        auto* ok = child<QPushButton>(d, "Tl_Ok");
        QVERIFY(ok->isDefault());
        QVERIFY(!ok->isEnabled());
        QVERIFY(!(child(d, "Tl_VychoziBarvy")->focusPolicy() & Qt::TabFocus));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(&d, Qt::Key_Enter);
        QVERIFY(d.isVisible());
        QCOMPARE(d.QDialog::result(), int(QDialog::Rejected));
        QVERIFY(!ok->isEnabled());
        QVERIFY(!d.chosenSettings().DialogUlozit &&
                d.chosenSettings().ZaviratFrmTisk); // Enter toggled nothing
    }

    // Enter on a focused button presses that button, not the dialog's default one.
    void enterPressesTheFocusedButton()
    {
        Settings s;
        s.DialogUlozit = false;
        {
            TKonfig d(s, nullptr);
            showActive(&d);
            QTest::mouseClick(child(d, "ChBox_DialogUlozit"), Qt::LeftButton); // Ok is enabled now
            child(d, "Tl_Storno")->setFocus();
            QTest::keyClick(child(d, "Tl_Storno"), Qt::Key_Return);
            QCOMPARE(d.QDialog::result(), int(QDialog::Rejected));
            QVERIFY(!d.isVisible());
        }
        {
            s.BarvaKartaTZ = 0x123456;
            TKonfig d(s, nullptr);
            showActive(&d);
            child(d, "Tl_VychoziBarvy")->setFocus();
            QTest::keyClick(child(d, "Tl_VychoziBarvy"), Qt::Key_Enter);
            QVERIFY(d.isVisible()); // the colours are back, the dialog stays open
            QCOMPARE(d.chosenSettings().BarvaKartaTZ, Settings::DefaultBarvaKartaTZ);
            child(d, "Tl_Ok")->setFocus();
            QTest::keyClick(child(d, "Tl_Ok"), Qt::Key_Return);
            QCOMPARE(d.QDialog::result(), int(QDialog::Accepted));
        }
        for (const char* button : {"Tl_Ok", "Tl_Storno"}) {
            TUdajeUzivatele d(s, nullptr);
            showActive(&d);
            typeText(child(d, "Ed_WWW"), QStringLiteral("x")); // Ok is enabled by a change
            QTest::keyClick(child(d, "Ed_WWW"), Qt::Key_Return);
            QVERIFY(d.isVisible()); // Enter in a field confirms nothing
            child(d, button)->setFocus();
            QTest::keyClick(child(d, button), Qt::Key_Return);
            QCOMPARE(d.QDialog::result(),
                     int(qstrcmp(button, "Tl_Ok") == 0 ? QDialog::Accepted : QDialog::Rejected));
            QVERIFY(!d.isVisible());
        }
    }

    void coloursAndDefaultColours()
    {
        TestDialogs dialogs;
        Settings s;
        s.BarvaKartaTZ = 0x010203;
        s.BarvaKartaCinnosti = 0x040506;
        TKonfig d(s, nullptr);
        showActive(&d);
        auto* ok = child<QPushButton>(d, "Tl_Ok");
        dialogs.answerColor(std::nullopt); // the colour dialog cancelled: nothing changes
        QTest::mouseClick(child(d, "Panel_BarvaKartaTZ"), Qt::LeftButton);
        QVERIFY(!ok->isEnabled());
        QCOMPARE(d.chosenSettings().BarvaKartaTZ, 0x010203);

        dialogs.answerColor(0x203040);
        QTest::mouseClick(child(d, "Panel_BarvaKartaCinnosti"), Qt::LeftButton);
        QVERIFY(ok->isEnabled());
        QCOMPARE(shown(d, "Panel_BarvaKartaCinnosti"), QColor(0x40, 0x30, 0x20));
        QCOMPARE(d.chosenSettings().BarvaKartaCinnosti, 0x203040);
        QCOMPARE(d.chosenSettings().BarvaKartaTZ, 0x010203);

        TKonfig fresh(s, nullptr);
        QTest::mouseClick(child(fresh, "Tl_VychoziBarvy"), Qt::LeftButton);
        QVERIFY(child<QPushButton>(fresh, "Tl_Ok")->isEnabled());
        QCOMPARE(fresh.chosenSettings().BarvaKartaTZ, 6401967); // each panel its own default
        QCOMPARE(fresh.chosenSettings().BarvaKartaCinnosti, 12183270);
        QCOMPARE(shown(fresh, "Panel_BarvaKartaTZ"), QColor(175, 175, 97));
    }

    void everyCheckBoxEnablesOkForGood()
    {
        for (const char* name : konfigBoxes) {
            TKonfig d(Settings(), nullptr);
            showActive(&d);
            auto* box = child<QCheckBox>(d, name);
            const bool before = box->isChecked();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space); // by keyboard
            QVERIFY2(child<QPushButton>(d, "Tl_Ok")->isEnabled(), name);
            QTest::mouseClick(box, Qt::LeftButton); // and back by mouse
            QCOMPARE(box->isChecked(), before);
            QVERIFY2(child<QPushButton>(d, "Tl_Ok")->isEnabled(), name);
        }
    }

    void userDataDialog()
    {
        Settings s;
        for (int i = 0; i < 10; ++i)
            *s.userDataValue(i) = QStringLiteral("v%1").arg(i);
        s.PSC = QStringLiteral("1234567"); // longer than the field takes, written by hand
        TUdajeUzivatele d(s, nullptr);
        showActive(&d);
        QCOMPARE(d.windowTitle(), QStringLiteral("Údaje uživatele"));
        QCOMPARE(d.size(), QSize(411, 346));
        QStringList labels;
        for (const QLabel* l : d.findChildren<QLabel*>())
            labels << QString::asprintf("%d,%d ", l->x(), l->y()) + l->text();
        QCOMPARE(labels.join(u'|'),
                 QStringLiteral("8,16 Název subjektu|8,40 Odpovědná osoba|8,64 Ulice|8,88 PSČ|"
                                "8,112 Město|8,136 IČO|8,160 DIČ|8,184 Telefon/Mobil|"
                                "8,208 Email|8,232 WWW"));
        QCOMPARE(
            geometries(d, {"Ed_NazevSubjektu", "Ed_PSC", "Ed_ICO", "Ed_DIC", "Ed_Tel", "Ed_WWW", "Tl_Ok"}),
            QStringLiteral("120,16 249x21|120,88 65x21|120,136 153x21|120,160 177x21|120,184 153x21|"
                           "120,232 257x21|200,296 75x25"));
        QStringList texts;
        for (const char* name : userFields)
            texts << child<QLineEdit>(d, name)->text();
        QCOMPARE(texts.join(u'|'), QStringLiteral("v0|v1|v2|1234567|v4|v5|v6|v7|v8|v9"));
        auto* ok = child<QPushButton>(d, "Tl_Ok");
        QVERIFY(!ok->isEnabled());
        QCOMPARE(d.chosenSettings().PSC, QStringLiteral("1234567"));
        QTest::keyClick(child(d, "Ed_PSC"), Qt::Key_End);
        typeText(child(d, "Ed_PSC"), QStringLiteral("8")); // shown whole, but not to be made longer
        QCOMPARE(child<QLineEdit>(d, "Ed_PSC")->text(), QStringLiteral("1234567"));

        // Tab order: "Ok", "Storno", then the fields in row order.
        child(d, "Tl_Storno")->setFocus();
        QStringList order;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order.join(u' '),
                 QStringLiteral("Ed_NazevSubjektu Ed_OdpovednaOsoba Ed_Ulice Ed_PSC Ed_Mesto "
                                "Ed_ICO Ed_DIC Ed_Tel Ed_Email Ed_WWW"));

        const struct
        {
            const char* field;
            const char* typed;
            const char* kept;
        } limits[] = {{"Ed_PSC", "12345678", "123456"},
                      {"Ed_ICO", "1234567890", "12345678"},
                      {"Ed_DIC", "CZ12345678901", "CZ1234567890"},
                      {"Ed_Tel", "+420 123 456 789 / 602 000 000", "+420 123 456 789 / 602 000 000"}};
        for (const auto& l : limits) {
            auto* field = child<QLineEdit>(d, l.field);
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            typeText(field, QString::fromUtf8(l.typed));
            QCOMPARE(field->text(), QString::fromUtf8(l.kept));
        }
        QVERIFY(ok->isEnabled());
        QTest::keyClick(child(d, "Ed_Tel"), Qt::Key_Return); // Enter does not confirm
        QTest::keyClick(child(d, "Ed_Tel"), Qt::Key_Enter);
        QVERIFY(d.isVisible());
        QCOMPARE(d.chosenSettings().ICO, QStringLiteral("12345678"));
        QCOMPARE(d.chosenSettings().WWW, QStringLiteral("v9"));
    }

    // Confirmed: the run state, the panels and the date fields change at once, and all six
    // keys are written; Esc and "Storno" change and write nothing.
    void konfigThroughTheMainWindow()
    {
        Main m;
        m.start();
        TestDialogs dialogs;
        QCOMPARE(shown(*m.w, "Panel_TZ"), QColor(175, 175, 97));
        QCOMPARE(shown(*m.w, "Panel_Cinnosti"), QColor(230, 230, 185));
        QCOMPARE(m.readOnlyDates(), QStringLiteral("111"));
        dialogs.onModal([](QDialog& d) {
            QTest::mouseClick(child(d, "ChBox_hsl"), Qt::LeftButton);
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        m.run(Akce_Konfig);
        dialogs.onModal([](QDialog& d) {
            QTest::mouseClick(child(d, "ChBox_hsl"), Qt::LeftButton);
            QTest::mouseClick(child(d, "Tl_Storno"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_Konfig);
        QCOMPARE(m.ini(), QByteArray("[konfig]\r\nhsl=0\r\n"));
        QVERIFY(!m.w->context().settings.hsl);

        dialogs.answerColor(0x0000FF);
        dialogs.answerColor(0x00FF00);
        dialogs.onModal([](QDialog& d) {
            showActive(&d);
            QTest::mouseClick(child(d, "Panel_BarvaKartaTZ"), Qt::LeftButton);
            QTest::mouseClick(child(d, "Panel_BarvaKartaCinnosti"), Qt::LeftButton);
            for (const char* name : {"ChBox_DialogUlozit", "ChBox_PovolitPrimouEditaciDatumu", "ChBox_hsl"})
                QTest::mouseClick(child(d, name), Qt::LeftButton);
            QTest::keyClick(&d, Qt::Key_Return); // now "Ok" is enabled and the default
            return d.result();
        });
        m.run(Akce_Konfig);
        QCOMPARE(shown(*m.w, "Panel_TZ"), QColor(255, 0, 0));
        QCOMPARE(shown(*m.w, "Panel_Cinnosti"), QColor(0, 255, 0));
        QCOMPARE(m.readOnlyDates(), QStringLiteral("000"));
        QVERIFY(!m.w->context().settings.DialogUlozit);
        QVERIFY(m.w->context().settings.hsl);
        QVERIFY(!m.w->action(Akce_ZmenaHesla)->isVisible()); // only at the next start
        QCOMPARE(m.ini(),
                 QByteArray("[konfig]\r\nhsl=1\r\nBarvaKartaTZ=255\r\nBarvaKartaCinnosti=65280\r\n"
                            "DialogUlozit=0\r\nZaviratFrmTisk=0\r\nPovolitPrimouEditaciDatumu=1\r\n"));
    }

    // Without the password gate switched off in the file: the gate runs, the password change
    // is offered, and the settings dialog writes its section anew in key order.
    void aNewKonfigSectionAndThePasswordChange()
    {
        Main m("[uzivatel]\r\nNazevSubjektu=Firma\r\n");
        const QString heslo = m.dir.path(QStringLiteral("Vestibor.heslo"));
        Password::writePasswordFile(heslo, QStringLiteral("vestibor"));
        TestDialogs dialogs;
        dialogs.answerInput(QStringLiteral("vestibor"));
        m.start();
        QVERIFY(m.w->action(Akce_ZmenaHesla)->isVisible());
        dialogs.onModal([](QDialog& d) {
            QTest::mouseClick(child(d, "ChBox_ZaviratFrmTisk"), Qt::LeftButton);
            QTest::mouseClick(child(d, "ChBox_ZaviratFrmTisk"), Qt::LeftButton);
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_Konfig);
        QCOMPARE(m.ini(),
                 QByteArray("[uzivatel]\r\nNazevSubjektu=Firma\r\n[konfig]\r\nBarvaKartaTZ=6401967\r\n"
                            "BarvaKartaCinnosti=12183270\r\nDialogUlozit=1\r\nZaviratFrmTisk=0\r\n"
                            "PovolitPrimouEditaciDatumu=0\r\nhsl=1\r\n"));

        const QByteArray old = m.dir.readFile(QStringLiteral("Vestibor.heslo"));
        dialogs.answerInput(std::nullopt);
        m.run(Akce_ZmenaHesla);
        QCOMPARE(dialogs.inputCaptions.last(), QStringLiteral("Změna hesla"));
        dialogs.takeMessage(MessageKind::Plain, QStringLiteral("Vestibor"),
                            QStringLiteral("Akce byla stornována."));
        dialogs.answerInput(QStringLiteral("     abcd\t\r\n"));
        m.run(Akce_ZmenaHesla);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Heslo musí mít alespoň 5 znaků."));
        QCOMPARE(m.dir.readFile(QStringLiteral("Vestibor.heslo")), old);

        // The new file replaces the old one: a second name of the old file keeps the old content.
        QVERIFY(hardLink(heslo, heslo + QStringLiteral(".stare")));
        dialogs.answerInput(QStringLiteral("  ab cd\t"));
        m.run(Akce_ZmenaHesla); // no message confirms it
        const QByteArray written = m.dir.readFile(QStringLiteral("Vestibor.heslo"));
        QCOMPARE(written.size(), 34);
        QCOMPARE(written, Password::OtiskHesla(QStringLiteral("ab cd")).toLatin1() + "\r\n");
        QVERIFY(Password::OveritHeslo(heslo, QStringLiteral("ab cd")));
        QCOMPARE(m.dir.readFile(QStringLiteral("Vestibor.heslo.stare")), old);

        // A password of characters outside the code page would digest as "?????": refused.
        dialogs.answerInput(QStringLiteral("東京東京東"));
        m.run(Akce_ZmenaHesla);
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Heslo nesmí obsahovat znak „東“. Použijte písmena české abecedy, "
                                           "číslice a běžné znaky."));
        dialogs.answerInput(QStringLiteral("heslo😀"));
        m.run(Akce_ZmenaHesla);
        QVERIFY(dialogs.take().text.contains(QStringLiteral("„😀“")));
        QCOMPARE(m.dir.readFile(QStringLiteral("Vestibor.heslo")), written);

        // A full disk: the old password stays in force and the user is told why.
        SafeFile::failNextForTesting(SafeFile::Step::Write, ENOSPC);
        dialogs.answerInput(QStringLiteral("abcde"));
        m.run(Akce_ZmenaHesla);
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"),
                            QStringLiteral("Soubor „%1“ nelze zapsat: No space left on device").arg(heslo));
        QCOMPARE(m.dir.readFile(QStringLiteral("Vestibor.heslo")), written);
    }

    void userDataThroughTheMainWindow()
    {
        Main m;
        m.start();
        TestDialogs dialogs;
        dialogs.onModal([](QDialog& d) {
            typeText(child(d, "Ed_Mesto"), QStringLiteral("Brno"));
            QTest::keyClick(&d, Qt::Key_Escape);
            return d.result();
        });
        m.run(Akce_UdajeUzivatele);
        QCOMPARE(m.ini(), QByteArray("[konfig]\r\nhsl=0\r\n"));
        QVERIFY(m.w->context().settings.Mesto.isEmpty());

        dialogs.onModal([](QDialog& d) {
            typeText(child(d, "Ed_NazevSubjektu"), QStringLiteral("Topení Šťastný"));
            typeText(child(d, "Ed_PSC"), QStringLiteral("602 00x"));
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_UdajeUzivatele);
        QCOMPARE(m.w->context().settings.NazevSubjektu, QStringLiteral("Topení Šťastný"));
        QCOMPARE(m.ini(),
                 QByteArray("[konfig]\r\nhsl=0\r\n[uzivatel]\r\nNazevSubjektu=Topen\xED \x8A\x9D"
                            "astn\xFD\r\nOdpovednaOsoba=\r\nUlice=\r\nPSC=602 00\r\nMesto=\r\nICO=\r\n"
                            "DIC=\r\nTel=\r\nEmail=\r\nWWW=\r\n"));

        dialogs.onModal([](QDialog& d) { // everything emptied: ten empty keys
            for (const char* name : userFields)
                child<QLineEdit>(d, name)->clear();
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_UdajeUzivatele);
        QVERIFY(m.ini().endsWith("[uzivatel]\r\nNazevSubjektu=\r\nOdpovednaOsoba=\r\nUlice=\r\nPSC=\r\n"
                                 "Mesto=\r\nICO=\r\nDIC=\r\nTel=\r\nEmail=\r\nWWW=\r\n"));
        QVERIFY(Settings::read(m.w->context().settingsFile()).NazevSubjektu.isEmpty());
    }

    // A settings file that cannot be written: the general error report names it, and the
    // program goes on with the new values.
    void aSettingsFileThatCannotBeWritten()
    {
        Main m;
        m.start();
        const QString ini = m.dir.path(QStringLiteral("Vestibor.ini"));
        TestDialogs dialogs;

        // First: the new file replaces the old one instead of being written into it.
        QVERIFY(hardLink(ini, ini + QStringLiteral(".stary")));
        dialogs.onModal([](QDialog& d) {
            QTest::mouseClick(child(d, "Tl_VychoziBarvy"), Qt::LeftButton);
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_Konfig);
        QCOMPARE(m.dir.readFile(QStringLiteral("Vestibor.ini.stary")), QByteArray("[konfig]\r\nhsl=0\r\n"));
        QVERIFY(m.ini().contains("BarvaKartaTZ=6401967\r\n"));

        // Then a full disk: the file keeps every byte, the message says why.
        const QByteArray before = m.ini();
        const QString full = QStringLiteral("Unable to write to %1\r\nNo space left on device").arg(ini);
        SafeFile::failNextForTesting(SafeFile::Step::Write, ENOSPC);
        dialogs.answerColor(0x112233);
        dialogs.onModal([](QDialog& d) {
            QTest::mouseClick(child(d, "Panel_BarvaKartaTZ"), Qt::LeftButton);
            QTest::mouseClick(child(d, "ChBox_PovolitPrimouEditaciDatumu"), Qt::LeftButton);
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_Konfig);
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"), full);
        QCOMPARE(m.w->context().settings.BarvaKartaTZ, 0x112233);
        QCOMPARE(shown(*m.w, "Panel_TZ"), QColor(0x33, 0x22, 0x11));
        QCOMPARE(m.readOnlyDates(), QStringLiteral("000"));
        QCOMPARE(m.ini(), before);

        SafeFile::failNextForTesting(SafeFile::Step::Sync, EIO);
        dialogs.onModal([](QDialog& d) {
            typeText(child(d, "Ed_WWW"), QStringLiteral("www.firma.cz"));
            QTest::mouseClick(child(d, "Tl_Ok"), Qt::LeftButton);
            return d.result();
        });
        m.run(Akce_UdajeUzivatele);
        dialogs.takeMessage(MessageKind::Error, QStringLiteral("Vestibor"),
                            QStringLiteral("Unable to write to %1\r\nInput/output error").arg(ini));
        QCOMPARE(m.w->context().settings.WWW, QStringLiteral("www.firma.cz"));
        QCOMPARE(m.ini(), before);
        QCOMPARE(QDir(m.dir.path(QString())).entryList(QDir::Files).filter(QStringLiteral("Vestibor.ini.")),
                 QStringList{QStringLiteral("Vestibor.ini.stary")});
    }
};

VESTIBOR_TEST_MAIN(TestSettingsDialogs)
#include "tst_settingsdialogs.moc"
