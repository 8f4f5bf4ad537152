#include "support/MainWindowFixture.h"

#include "store/DataSet.h"
#include "support/SeedData.h"
#include "support/Typing.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>

MainWindowFixture::MainWindowFixture(const QByteArray& ini)
{
    writeIni(ini);
}

void MainWindowFixture::start()
{
    w = std::make_unique<THlavni>(dir.dir());
    w->FormCreate();
    showActive(w.get());
}

Connection& MainWindowFixture::connection() const
{
    return w->context().connection;
}

void MainWindowFixture::exec(const QString& sql, const QVariantList& params)
{
    connection().execute(sql, params);
}

QVariant MainWindowFixture::scalar(const QString& sql) const
{
    return w->context().connection.query(sql).rows.value(0).value(0);
}

QString MainWindowFixture::column(const QString& sql) const
{
    QStringList values;
    for (const QVariantList& row : w->context().connection.query(sql).rows)
        values << row.value(0).toString();
    return values.join(u',');
}

QString MainWindowFixture::text(const char* name) const
{
    QObject* o = find<QObject>(name);
    if (auto* label = qobject_cast<QLabel*>(o))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(o))
        return edit->text();
    return QStringLiteral("<no label or edit %1>").arg(QString::fromLatin1(name));
}

void MainWindowFixture::run(const char* command)
{
    w->action(QString::fromLatin1(command))->trigger();
}

bool MainWindowFixture::enabled(const char* command) const
{
    return w->action(QString::fromLatin1(command))->isEnabled();
}

void MainWindowFixture::open(int customerId)
{
    w->records().IdOtevrenehoZakaznika = customerId;
    w->OtevritZakaznikaId();
}

void MainWindowFixture::reloadLookups()
{
    for (DataSet* lookup : {w->records().DS_Kategorie, w->records().DS_Cin2}) {
        lookup->close();
        lookup->open();
    }
}

void MainWindowFixture::addCardWithActivity()
{
    addKotleAndRevize(connection());
    exec(QStringLiteral("INSERT INTO topny_zdroj (id_zakaznika, nazev, typ, kategorie, lhuta) "
                        "VALUES (1, 'Kotel', 'K1', 1, 12)"));
    exec(QStringLiteral("INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum) "
                        "VALUES (1, 1, 1, '2024-03-05')"));
}
