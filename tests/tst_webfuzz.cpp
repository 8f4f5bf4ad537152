#include "support/TestMain.h"
#include "support/WebFixture.h"
#include "web/RouteTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

// Damaged requests at every endpoint: malformed JSON, bad UTF-8, overlong and missing
// fields, wrong types, odd paths. None may end the program or get a 500, and a refused
// one writes nothing. VESTIBOR_FUZZ_ROUNDS and VESTIBOR_FUZZ_SEED as for the templates.
class TestWebFuzz : public QObject
{
    Q_OBJECT

    QRandomGenerator m_random;

    int pick(int n) { return int(m_random.bounded(n)); }

    QHash<QString, int> m_lengths; // of the text columns a body may carry

    QJsonValue oddValue(const QString& key)
    {
        // Often one character over the column's length in the schema: the one fault that
        // only the database would notice.
        if (m_lengths.contains(key) && pick(3) == 0)
            return QString(m_lengths.value(key) + 1, QChar(u'ř'));
        switch (pick(9)) {
        case 0:
            return QJsonValue();
        case 1:
            return QJsonValue(QJsonArray{1, 2});
        case 2:
            return QJsonObject{{QStringLiteral("a"), 1}};
        case 3:
            return true;
        case 4:
            return double(m_random.generate()) * (pick(2) ? -1e10 : 1e-3);
        case 5: {
            // One over each length of the schema, or far over the body limit.
            static const int lengths[]{31, 51, 101, 256, 70000};
            return QString(lengths[pick(5)], QChar(u'ř'));
        }
        case 6:
            return QStringLiteral("2024-13-45");
        case 7:
            return QStringLiteral("'; DROP TABLE cinnosti; --");
        default:
            return QString();
        }
    }

    QJsonObject validBody(const Route& route, int n) const
    {
        const QString path = QLatin1String(route.pattern);
        if (path == u"/api/prihlaseni")
            return {{QStringLiteral("login"), QStringLiteral("nikdo")},
                    {QStringLiteral("heslo"), QStringLiteral("x")}};
        if (path == u"/api/heslo")
            return {{QStringLiteral("heslo"), QStringLiteral("x")},
                    {QStringLiteral("nove_heslo"), QStringLiteral("y")}};
        if (path == u"/api/karty")
            return {{QStringLiteral("id_pozadavku"), WebFixture::requestId(n)},
                    {QStringLiteral("id_zakaznika"), 1},
                    {QStringLiteral("nazev"), QStringLiteral("K")},
                    {QStringLiteral("typ"), QStringLiteral("T")},
                    {QStringLiteral("vyrobce"), QStringLiteral("V")},
                    {QStringLiteral("vyrobni_cislo"), QStringLiteral("S")},
                    {QStringLiteral("carovy_kod"), QStringLiteral("C")},
                    {QStringLiteral("rok_vyroby"), 2000},
                    {QStringLiteral("kategorie"), 1}};
        const QJsonObject activity =
            WebFixture::activityBody(1, QStringLiteral("2024-03-15"), WebFixture::requestId(n));
        if (path == u"/api/cinnosti/#")
            return {{QStringLiteral("id_pozadavku"), WebFixture::requestId(n)},
                    {QStringLiteral("puvodni"), activity},
                    {QStringLiteral("cinnost"), activity}};
        return activity;
    }

    // A body damaged one way or another; sometimes beyond JSON.
    std::string damaged(QJsonObject body)
    {
        const QStringList keys = body.keys();
        for (int i = 0, n = pick(10) < 7 ? 1 : 2; i < n; ++i) {
            const QString key = keys.isEmpty() ? QStringLiteral("x") : keys[pick(int(keys.size()))];
            if (pick(2))
                body.remove(key);
            else
                body.insert(key, oddValue(key));
        }
        std::string text = QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
        switch (pick(16)) {
        case 0:
            text.resize(text.size() / 2); // cut short
            break;
        case 1:
            text.insert(text.size() / 2, "\xff\xfe\xc3");
            break;
        case 2:
            text = "[" + text + "]";
            break;
        case 3:
            for (int i = 0; i < 5 && !text.empty(); ++i)
                text[size_t(pick(int(text.size())))] = char(pick(256));
            break;
        default:
            break;
        }
        return text;
    }

    QString oddPath(const Route& route)
    {
        static const QStringList odd{QStringLiteral("0"),
                                     QStringLiteral("-1"),
                                     QStringLiteral("99999999999999999999"),
                                     QStringLiteral("1/x"),
                                     QStringLiteral("1.5"),
                                     QStringLiteral("%00"),
                                     QStringLiteral("ž"),
                                     QStringLiteral("../../etc/passwd"),
                                     QString()};
        QString path = QString::fromLatin1(route.pattern);
        if (path.contains(u'#'))
            return path.replace(u'#', pick(3) ? QStringLiteral("1") : odd[pick(int(odd.size()))]);
        return pick(4) ? path : path + odd[pick(int(odd.size()))];
    }

private slots:
    void damagedRequestsNeverEndTheProgram()
    {
        const int rounds = qEnvironmentVariableIntValue("VESTIBOR_FUZZ_ROUNDS") > 0
                               ? qEnvironmentVariableIntValue("VESTIBOR_FUZZ_ROUNDS")
                               : 3000;
        m_random.seed(quint32(qEnvironmentVariableIntValue("VESTIBOR_FUZZ_SEED") + 1));
        WebFixture f;
        f.seed();
        for (const QString& table : {QStringLiteral("topny_zdroj"), QStringLiteral("web_ucty")}) {
            for (const ColumnInfo& column : f.connection.tableColumns(table)) {
                if (column.kind == ColumnKind::Text)
                    m_lengths.insert(column.name, column.maxLength);
            }
        }
        f.addActivity(1, 0, f.signedIn(QStringLiteral("zaklad"), QStringLiteral("kancelar"), 0));
        const qint64 technician = f.addAccount(QStringLiteral("novak"), QStringLiteral("technik"), 1);
        const qint64 office = f.addAccount(QStringLiteral("kancl"), QStringLiteral("kancelar"), 0);
        const QList<Route>& routes = RouteTable::routes();
        const QStringList tables{QStringLiteral("cinnosti"), QStringLiteral("topny_zdroj"),
                                 QStringLiteral("web_prijato"), QStringLiteral("web_ucty")};
        const auto counts = [&] {
            QList<int> c;
            for (const QString& t : tables)
                c << f.count(t);
            return c;
        };
        QList<int> before = counts();
        const QList<int> known{200, 201, 400, 401, 403, 404, 405, 409, 413, 415, 429};
        for (int round = 1; round <= rounds; ++round) {
            const Route& route = routes[pick(int(routes.size()))];
            const QString path = oddPath(route);
            httplib::Headers headers{{"Host", WebFixture::Host}};
            if (pick(16))
                headers.emplace("Origin", std::string("https://") + WebFixture::Host);
            if (pick(16))
                headers.emplace("Content-Type", pick(12) ? "application/json" : "text/plain");
            const int who = pick(4) % 3;
            if (who)
                headers.emplace("Cookie", WebFixture::cookieOf(f.sessionOf(who == 1 ? technician : office)));
            const std::string method = pick(10) ? route.method : (pick(2) ? "DELETE" : "PATCH");
            const std::string body = route.writes ? damaged(validBody(route, round)) : std::string();
            const auto r = f.send(method, path, body, headers);
            const QByteArray what = QByteArray::number(round) + ' ' + QByteArray::fromStdString(method) +
                                    ' ' + path.toUtf8() + ' ' + QByteArray::fromStdString(body).left(200);
            QVERIFY2(known.contains(r.status), what + " -> " + QByteArray::number(r.status));
            QVERIFY2(r.json.contains(QStringLiteral("chyba")) || r.status < 400, what);
            if (r.status >= 400)
                QVERIFY2(counts() == before, what);
            else
                before = counts();
        }
    }
};

VESTIBOR_TEST_MAIN_BOTH_ENGINES(TestWebFuzz)
#include "tst_webfuzz.moc"
