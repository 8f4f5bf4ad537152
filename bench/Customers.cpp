#include "Customers.h"

#include "GenData.h"
#include "Random.h"

namespace Customers {

namespace {

using namespace GenData;

struct Person
{
    QString first;
    QString last;
    QString full() const { return first + u' ' + last; }
};

Person person(Random& random)
{
    const Surname& s = random.pick(surnames());
    if (random.chance(0.5))
        return {random.pick(maleFirstNames()), s.male};
    return {random.pick(femaleFirstNames()), s.female};
}

// "Husova 123" or "Husova 1234/15".
QString streetAddress(Random& random)
{
    QString s = random.pick(streets()) + u' ' + QString::number(random.between(1, 2500));
    if (random.chance(0.3))
        s += u'/' + QString::number(random.between(1, 60));
    return s;
}

// An IČO: seven digits that differ for every id, and the check digit of the register.
QString companyNumber(int id)
{
    const QString base =
        QStringLiteral("%1").arg((qint64(id) * 7919 + 1234567) % 10000000, 7, 10, QChar(u'0'));
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += base[i].digitValue() * (8 - i);
    return base + QString::number((11 - sum % 11) % 10);
}

// Nine digits in groups of three after the country prefix.
QString phone(const QString& leading, Random& random)
{
    const QString n = leading + random.digits(9 - int(leading.size()));
    return QStringLiteral("+420 %1 %2 %3").arg(n.mid(0, 3), n.mid(3, 3), n.mid(6, 3));
}

QString mobilePrefix(Random& random)
{
    static const QStringList prefixes{"601", "602", "603", "604", "605", "606", "607",
                                      "608", "702", "720", "721", "723", "724", "731",
                                      "736", "737", "739", "774", "775", "776", "777"};
    return random.pick(prefixes);
}

// %T and %V both stand for the place the customer is in.
QString firmName(Random& random, const QString& pattern, const Town& place, const QString& street)
{
    QString name = pattern;
    while (name.contains(QStringLiteral("%S")))
        name.replace(name.indexOf(QStringLiteral("%S")), 2, random.pick(surnames()).male);
    name.replace(QStringLiteral("%T"), place.name);
    name.replace(QStringLiteral("%V"), place.name);
    name.replace(QStringLiteral("%U"), street);
    name.replace(QStringLiteral("%W"), random.pick(businessWords()));
    return name;
}

QString firmDomain(const QString& name)
{
    QString core = name;
    for (const char* form : {", s.r.o.", " s.r.o.", " v.o.s.", " a.s.", " a syn"})
        core.remove(QString::fromUtf8(form));
    QString domain = asciiFold(core, u'-');
    if (domain.size() > 40)
        domain.truncate(40);
    while (domain.endsWith(u'-'))
        domain.chop(1);
    return domain + QStringLiteral(".cz");
}

} // namespace

QString insertSql()
{
    return QStringLiteral(
        "INSERT INTO cis_zakaznici (id, nazev, osoba, ulice, mesto, psc, ico, dic, tel, mobil, "
        "email, zaruka5let, hlidani_revizi, je_firma, poznamka1, poznamka2) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
}

QString asciiFold(const QString& text, QChar separator)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D).toLower();
    QString out;
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out += c;
        else if (!out.isEmpty() && !out.endsWith(separator))
            out += separator;
    }
    while (out.endsWith(separator))
        out.chop(1);
    return out;
}

Made make(Random& random, int id, bool big)
{
    const QVariant none;
    Made made;
    made.firm = big || random.chance(0.35);
    const QString pattern = made.firm && !big ? random.pick(firmPatterns()) : QString();
    // Municipalities and parishes are villages; a few other customers live in one too.
    const bool inVillage = !big && (pattern.contains(QStringLiteral("%V")) || random.chance(0.15));
    const Town& place = inVillage ? random.pick(villages()) : random.pick(towns());
    const QString street = streetAddress(random);

    QString name;
    QVariant contactPerson;
    QString mail;
    const Person contact = person(random);
    if (big) {
        name = QStringLiteral("Správa domů %1, s.r.o.").arg(place.name);
        contactPerson = QStringLiteral("Ing. ") + contact.full();
        mail = QStringLiteral("dispecink@") + firmDomain(name);
    } else if (made.firm) {
        name = firmName(random, pattern, place, street);
        static const QStringList titles{"Ing. ", "Mgr. ", "Bc. ", "JUDr. "};
        contactPerson = (random.chance(0.15) ? random.pick(titles) : QString()) + contact.full();
        mail = (random.chance(0.5) ? QStringLiteral("info@") : asciiFold(contact.last, u'.') + u'@') +
               firmDomain(name);
    } else {
        name = contact.full();
        if (random.chance(0.3))
            contactPerson = person(random).first + u' ' + contact.last;
        mail = asciiFold(contact.full(), u'.') + u'@' + random.pick(mailDomains());
    }
    const bool hasCompanyNumber = made.firm || random.chance(0.1);
    const QString companyNumberText = hasCompanyNumber ? companyNumber(id) : QString();
    const bool hasVatNumber = hasCompanyNumber && random.chance(made.firm ? 0.8 : 0.5);

    made.row = {id,
                name,
                contactPerson,
                street,
                place.name,
                place.postcode,
                hasCompanyNumber ? QVariant(companyNumberText) : none,
                hasVatNumber ? QVariant(QStringLiteral("CZ") + companyNumberText) : none,
                random.chance(made.firm ? 0.8 : 0.35) ? QVariant(phone(place.areaCode, random)) : none,
                random.chance(0.8) ? QVariant(phone(mobilePrefix(random), random)) : none,
                (big || random.chance(0.7)) && !mail.isEmpty() ? QVariant(mail) : none,
                random.chance(0.2) ? 1 : 0,
                big || random.chance(0.6) ? 1 : 0,
                made.firm ? 1 : 0,
                random.chance(0.15) ? QVariant(random.pick(customerNotes())) : none,
                random.chance(0.05) ? QVariant(random.pick(customerNotes())) : none};
    return made;
}

} // namespace Customers
