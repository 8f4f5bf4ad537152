// The password file, its digest and the gate at start-up.
#include "app/PasswordGate.h"
#include "helpers/AppError.h"
#include "helpers/Password.h"
#include "support/ProgramDir.h"
#include "support/TestDialogs.h"
#include "support/TestMain.h"

#include <QTest>

class TestPassword : public QObject
{
    Q_OBJECT

    ProgramDir m_dir{false};
    QString file() const { return m_dir.path(QStringLiteral("Vestibor.heslo")); }

private slots:
    void digestIsMd5OfTheTrimmedWindows1250Bytes()
    {
        QCOMPARE(Password::OtiskHesla(QStringLiteral("vestibor")),
                 QStringLiteral("21ed35965713e838db00751fe377815d"));
        QCOMPARE(Password::OtiskHesla(QStringLiteral("  vestibor\t")),
                 Password::OtiskHesla(QStringLiteral("vestibor")));
        // "ř" is one byte (0xF8) in Windows-1250: md5 of "\xF8"
        QCOMPARE(Password::OtiskHesla(QStringLiteral("ř")),
                 QStringLiteral("31741635b41d535098241fea03c1e47f"));
        QVERIFY(Password::OtiskHesla(QStringLiteral("ves tibor")) !=
                Password::OtiskHesla(QStringLiteral("vestibor")));
    }

    void theFileIsOneLineOf34Bytes()
    {
        Password::writePasswordFile(file(), QStringLiteral("tajne heslo"));
        const QByteArray bytes = m_dir.readFile(QStringLiteral("Vestibor.heslo"));
        QCOMPARE(bytes.size(), 34);
        QCOMPARE(bytes, Password::OtiskHesla(QStringLiteral("tajne heslo")).toLatin1() + "\r\n");
    }

    void fileContentIsTrimmed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        const QByteArray digest = Password::OtiskHesla(QStringLiteral("vestibor")).toLatin1();
        QTest::newRow("with CR LF") << digest + "\r\n" << true;
        QTest::newRow("bare") << digest << true;
        QTest::newRow("blank lines and spaces") << "\r\n  \t" + digest + "  \r\n\r\n" << true;
        QTest::newRow("capital letters") << digest.toUpper() << false;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + digest << false;
        QTest::newRow("second line") << digest + "\r\nx\r\n" << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void fileContentIsTrimmed()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        m_dir.writeFile(QStringLiteral("Vestibor.heslo"), content);
        QCOMPARE(Password::OveritHeslo(file(), QStringLiteral("vestibor")), accepted);
    }

    void gateRoads()
    {
        TestDialogs dialogs;
        QFile::remove(file());
        QVERIFY(!Password::runGate(file()));
        dialogs.takeMessage(
            MessageKind::Info, QStringLiteral("Vestibor"),
            QStringLiteral(
                "Nebyl nalezen soubor \"Vestibor.heslo\".\r\nChybu napravíte přeinstalací programu."));
        QVERIFY(dialogs.inputCaptions.isEmpty());

        Password::writePasswordFile(file(), QStringLiteral("vestibor"));
        dialogs.answerInput(std::nullopt); // cancelled: no message at all
        QVERIFY(!Password::runGate(file()));
        QCOMPARE(dialogs.inputCaptions.last(), QStringLiteral("Heslo"));

        dialogs.answerInput(QStringLiteral("  \t "));
        QVERIFY(!Password::runGate(file()));
        dialogs.takeMessage(MessageKind::Info, QStringLiteral("Vestibor"),
                            QStringLiteral("Zadali jste neplatnou hodnotu"));

        dialogs.answerInput(QStringLiteral("vesti bor"));
        QVERIFY(!Password::runGate(file()));
        dialogs.takeMessage(MessageKind::Warning, QStringLiteral("Pozor"),
                            QStringLiteral("Zadali jste neplatné heslo!\r\nOpakujte zadání hesla."));

        dialogs.answerInput(QStringLiteral("  vestibor  "));
        QVERIFY(Password::runGate(file()));
    }

    void anUnreadableFileIsAnError()
    {
        QFile::remove(file());
        QDir().mkpath(file()); // a directory cannot be read as the file
        QVERIFY_THROWS_EXCEPTION(AppError, Password::OveritHeslo(file(), QStringLiteral("vestibor")));
        QVERIFY_THROWS_EXCEPTION(AppError, Password::writePasswordFile(file(), QStringLiteral("vestibor")));
        QDir().rmdir(file());
    }
};

VESTIBOR_TEST_MAIN(TestPassword)
#include "tst_password.moc"
