// The one writer of every file: a failure at any step leaves the old file whole.
#include "helpers/SafeFile.h"
#include "support/ProgramDir.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

namespace {

QStringList filesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

    ProgramDir m_dir{false};

private slots:
    void aFailingStepKeepsTheOldFile_data()
    {
        QTest::addColumn<SafeFile::Step>("step");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("create") << SafeFile::Step::Create << EACCES << "Permission denied";
        QTest::newRow("write") << SafeFile::Step::Write << ENOSPC << "No space left on device";
        QTest::newRow("sync") << SafeFile::Step::Sync << EIO << "Input/output error";
        QTest::newRow("rename") << SafeFile::Step::Rename << EXDEV << "Invalid cross-device link";
    }
    void aFailingStepKeepsTheOldFile()
    {
        QFETCH(SafeFile::Step, step);
        QFETCH(int, error);
        QFETCH(QString, reason);
        const QString path = m_dir.path(QStringLiteral("soubor.csv"));
        m_dir.writeFile(QStringLiteral("soubor.csv"), "stary obsah\r\n");
        const QStringList before = filesIn(m_dir.path(QString()));

        SafeFile::failNextForTesting(step, error);
        // More than the writer buffers, so that the write step runs before the commit too.
        const QByteArray content(200 * 1024, 'x');
        QCOMPARE(SafeFile::writeWhole(path, content), std::optional<QString>(reason));
        QCOMPARE(m_dir.readFile(QStringLiteral("soubor.csv")), QByteArray("stary obsah\r\n"));
        QCOMPARE(filesIn(m_dir.path(QString())), before); // no temporary file left behind

        // The fault was for one run only: the next write goes through.
        QCOMPARE(SafeFile::writeWhole(path, content), std::nullopt);
        QCOMPARE(m_dir.readFile(QStringLiteral("soubor.csv")), content);
        QCOMPARE(filesIn(m_dir.path(QString())), before);
    }

    void aRefusedLookKeepsTheOldFile()
    {
        const QString path = m_dir.path(QStringLiteral("zaloha.mdb"));
        m_dir.writeFile(QStringLiteral("zaloha.mdb"), "stara zaloha");
        const QStringList before = filesIn(m_dir.path(QString()));
        QByteArray seen;
        const auto refuse = [&](const QString& written) -> std::optional<QString> {
            QFile file(written);
            if (file.open(QIODevice::ReadOnly))
                seen = file.readAll(); // written whole and synced before the look
            return QStringLiteral("Soubor je poškozený.");
        };
        SafeFile file(path);
        QVERIFY(file.open());
        file.write("nova zaloha");
        QVERIFY(!file.commit(refuse));
        QCOMPARE(file.errorString(), QStringLiteral("Soubor je poškozený."));
        QCOMPARE(seen, QByteArray("nova zaloha"));
        QCOMPARE(m_dir.readFile(QStringLiteral("zaloha.mdb")), QByteArray("stara zaloha"));
        QCOMPARE(filesIn(m_dir.path(QString())), before);
    }

    void aLinkKeepsPointingAtTheNewContent()
    {
        m_dir.writeFile(QStringLiteral("cil.ini"), "a");
        const QString link = m_dir.path(QStringLiteral("odkaz.ini"));
        QVERIFY(QFile::link(m_dir.path(QStringLiteral("cil.ini")), link));
        QCOMPARE(SafeFile::writeWhole(link, "b"), std::nullopt);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(m_dir.readFile(QStringLiteral("cil.ini")), QByteArray("b"));
    }

    // A disk with little room left: the write that no longer fits is cut short, and the next
    // one fails. On a small file system where the machine lets the test mount one, and for
    // every user on a disk that the writer is told is that full.
    void aFullDisk_data()
    {
        QTest::addColumn<bool>("mounted");
        QTest::newRow("small file system") << true;
        QTest::newRow("little room left") << false;
    }
    void aFullDisk()
    {
        QFETCH(bool, mounted);
        const QString folder = m_dir.path(QStringLiteral("maly_disk"));
        QVERIFY(QDir().mkpath(folder));
        if (mounted && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("mounting a small file system needs root");
        const auto restore = qScopeGuard([&] {
            if (mounted)
                ::umount(QFile::encodeName(folder).constData());
            SafeFile::limitRoomForTesting(-1);
        });
        const QString path = folder + QStringLiteral("/Vestibor.ini");
        const QByteArray old(40 * 1024, 'o');
        QCOMPARE(SafeFile::writeWhole(path, old), std::nullopt);
        if (!mounted)
            SafeFile::limitRoomForTesting(24 * 1024); // what is left of the small file system

        // Small enough to sit in a buffer until the end, and too large for what is left.
        QCOMPARE(SafeFile::writeWhole(path, QByteArray(30 * 1024, 'x')),
                 std::optional<QString>(QStringLiteral("No space left on device")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(filesIn(folder), QStringList{QStringLiteral("Vestibor.ini")});
    }
};

VESTIBOR_TEST_MAIN(TestSafeFile)
#include "tst_safefile.moc"
