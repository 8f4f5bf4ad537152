#include "report/TemplateParser.h"

#include "report/LetterText.h"
#include "report/QueryText.h"
#include "report/ReportError.h"
#include "report/TemplateSections.h"

#include <QRegularExpression>

#include <algorithm>

namespace pm41 {

namespace {

// The keys of one section, each looked up by its folded name; whatever the section holds
// beyond the allowed keys is refused at its own line.
class Keys
{
public:
    Keys(const TemplateSection& section, const QStringList& allowed) : m_section(section)
    {
        for (const TemplateEntry& e : section.entries)
            if (!allowed.contains(e.key))
                fail(e.line, QStringLiteral("neznámý klíč „%1“ v oddílu %2. Oddíl zná klíče: %3.")
                                 .arg(e.keyText, section.shown(), allowed.join(QStringLiteral(", "))));
    }

    const TemplateEntry* find(const QString& key) const
    {
        for (const TemplateEntry& e : m_section.entries)
            if (e.key == key)
                return &e;
        return nullptr;
    }

    const TemplateEntry& required(const QString& key) const
    {
        const TemplateEntry* e = find(key);
        if (!e)
            fail(m_section.line, QStringLiteral("v oddílu %1 chybí klíč „%2“.").arg(m_section.shown(), key));
        if (e->value.isEmpty())
            fail(e->line, QStringLiteral("klíč „%1“ nemá hodnotu.").arg(e->keyText));
        return *e;
    }

    QString text(const QString& key, const QString& fallback = QString()) const
    {
        const TemplateEntry* e = find(key);
        return e ? e->value : fallback;
    }

    // The index of the value among the listed choices (given folded).
    int choice(const QString& key, const QStringList& choices, int fallback) const
    {
        const TemplateEntry* e = find(key);
        if (!e)
            return fallback;
        const int i = int(choices.indexOf(foldText(e->value)));
        if (i < 0)
            fail(e->line, QStringLiteral("klíč „%1“ nemůže mít hodnotu „%2“; povolené hodnoty: %3.")
                              .arg(e->keyText, e->value, choices.join(QStringLiteral(", "))));
        return i;
    }

    int integer(const QString& key, int fallback) const
    {
        const TemplateEntry* e = find(key);
        if (!e)
            return fallback;
        bool ok = false;
        const int v = e->value.toInt(&ok);
        if (!ok)
            fail(e->line,
                 QStringLiteral("klíč „%1“ musí mít celé číslo, nalezeno „%2“.").arg(e->keyText, e->value));
        return v;
    }

    int lineOf(const QString& key) const
    {
        const TemplateEntry* e = find(key);
        return e ? e->line : m_section.line;
    }

private:
    const TemplateSection& m_section;
};

const QStringList yesNo{QStringLiteral("ne"), QStringLiteral("ano")};

void readReport(const TemplateSection& s, Template& t)
{
    const Keys keys(s, {QStringLiteral("nazev"), QStringLiteral("popis"), QStringLiteral("orientace"),
                        QStringLiteral("vyzaduje_zakaznika"), QStringLiteral("pismo"),
                        QStringLiteral("skupina"), QStringLiteral("od_programu")});
    t.title = keys.required(QStringLiteral("nazev")).value;
    t.description = keys.text(QStringLiteral("popis"));
    t.orientation = keys.choice(QStringLiteral("orientace"),
                                {QStringLiteral("na vysku"), QStringLiteral("na sirku")}, 0) == 1
                        ? Orientation::Landscape
                        : Orientation::Portrait;
    t.requiresCustomer = keys.choice(QStringLiteral("vyzaduje_zakaznika"), yesNo, 0) == 1;
    if (const TemplateEntry* size = keys.find(QStringLiteral("pismo"))) {
        bool ok = false;
        t.fontSize = QString(size->value).replace(u',', u'.').toDouble(&ok);
        if (!ok || !(t.fontSize >= 6 && t.fontSize <= 12)) // also refuses "nan"
            fail(size->line, QStringLiteral("písmo musí mít 6 až 12 bodů, nalezeno „%1“.").arg(size->value));
    }
    if (const TemplateEntry* group = keys.find(QStringLiteral("skupina"))) {
        if (!isName(group->value))
            fail(group->line,
                 QStringLiteral("skupina musí být jméno pole z dotazu, nalezeno „%1“.").arg(group->value));
        t.groupField = group->value;
        t.groupLine = group->line;
        t.letter = true;
    }
    if (const TemplateEntry* given = keys.find(QStringLiteral("od_programu"))) {
        t.programValuesLine = given->line;
        for (const QString& raw : given->value.split(u',')) {
            const QString name = raw.trimmed();
            if (!isName(name))
                fail(given->line,
                     QStringLiteral("„%1“ není platné jméno hodnoty od programu; jméno tvoří písmena "
                                    "bez diakritiky, číslice a podtržítko.")
                         .arg(name));
            if (builtInParameters().contains(name, Qt::CaseInsensitive))
                fail(given->line,
                     QStringLiteral("„%1“ je jméno, které sestava dostává od programu vždy; hodnota "
                                    "od programu se musí jmenovat jinak.")
                         .arg(name));
            if (t.programValues.contains(name, Qt::CaseInsensitive))
                fail(given->line, QStringLiteral("hodnota „%1“ je v klíči od_programu podruhé.").arg(name));
            t.programValues << name;
        }
    }
}

void readParameter(const TemplateSection& s, Template& t)
{
    if (builtInParameters().contains(s.argument, Qt::CaseInsensitive) ||
        t.programValues.contains(s.argument, Qt::CaseInsensitive))
        fail(s.line,
             QStringLiteral("„%1“ je jméno, které sestava dostává od programu; parametr sestavy se musí "
                            "jmenovat jinak.")
                 .arg(s.argument));
    const Keys keys(s, {QStringLiteral("druh"), QStringLiteral("popisek"), QStringLiteral("vychozi"),
                        QStringLiteral("min"), QStringLiteral("max")});
    PromptedParameter p;
    p.name = s.argument;
    p.line = s.line;
    keys.required(QStringLiteral("druh"));
    p.kind = keys.choice(QStringLiteral("druh"), {QStringLiteral("cislo"), QStringLiteral("datum")}, 0) == 1
                 ? ParameterKind::Date
                 : ParameterKind::Number;
    p.caption = keys.required(QStringLiteral("popisek")).value;
    p.defaultValue = keys.integer(QStringLiteral("vychozi"), 0);
    if (p.kind == ParameterKind::Date) {
        for (const QString& key : {QStringLiteral("min"), QStringLiteral("max")})
            if (keys.find(key))
                fail(keys.lineOf(key),
                     QStringLiteral("klíč „%1“ patří jen k parametru druhu cislo.").arg(key));
        p.minimum = -36500;
        p.maximum = 36500;
    } else {
        p.minimum = keys.integer(QStringLiteral("min"), 0);
        p.maximum = keys.integer(QStringLiteral("max"), 99999);
        if (p.minimum > p.maximum)
            fail(keys.lineOf(QStringLiteral("max")), QStringLiteral("max je menší než min."));
    }
    if (p.defaultValue < p.minimum || p.defaultValue > p.maximum)
        fail(keys.lineOf(QStringLiteral("vychozi")),
             QStringLiteral("výchozí hodnota %1 leží mimo rozsah %2 až %3.")
                 .arg(p.defaultValue)
                 .arg(p.minimum)
                 .arg(p.maximum));
    t.parameters << p;
}

void readColumn(const TemplateSection& s, Template& t)
{
    const Keys keys(s, {QStringLiteral("titulek"), QStringLiteral("sirka"), QStringLiteral("zarovnani"),
                        QStringLiteral("format")});
    Column c;
    c.field = s.argument;
    c.line = s.line;
    c.title = keys.required(QStringLiteral("titulek")).value;
    c.format = ValueFormat(keys.choice(
        QStringLiteral("format"),
        {QStringLiteral("text"), QStringLiteral("datum"), QStringLiteral("penize"), QStringLiteral("cislo")},
        0));
    const bool numeric = c.format == ValueFormat::Money || c.format == ValueFormat::Number;
    c.alignment = Alignment(keys.choice(
        QStringLiteral("zarovnani"),
        {QStringLiteral("vlevo"), QStringLiteral("vpravo"), QStringLiteral("na stred")}, numeric ? 1 : 0));
    if (const TemplateEntry* width = keys.find(QStringLiteral("sirka"))) {
        bool ok = false;
        c.width = QString(width->value).replace(u',', u'.').toDouble(&ok);
        if (!ok || !(c.width > 0 && c.width <= 1000)) // also refuses "nan"
            fail(width->line,
                 QStringLiteral("šířka musí být kladné číslo nejvýš 1000, nalezeno „%1“.").arg(width->value));
    }
    t.columns << c;
}

void readTotals(const TemplateSection& s, Template& t)
{
    const Keys keys(s, {QStringLiteral("sloupce"), QStringLiteral("popisek"), QStringLiteral("mena")});
    Totals totals;
    totals.line = s.line;
    const TemplateEntry& fields = keys.required(QStringLiteral("sloupce"));
    for (const QString& raw : fields.value.split(u',')) {
        const QString field = raw.trimmed();
        const auto column = std::find_if(t.columns.cbegin(), t.columns.cend(), [&](const Column& c) {
            return c.field.compare(field, Qt::CaseInsensitive) == 0;
        });
        if (column == t.columns.cend())
            fail(fields.line,
                 QStringLiteral("součet „%1“: sestava nemá takový sloupec; oddíl [soucty] patří za "
                                "oddíly [sloupec …].")
                     .arg(field));
        if (column->format != ValueFormat::Money)
            fail(fields.line,
                 QStringLiteral("sloupec „%1“ nemá formát penize; sečíst lze jen peníze.").arg(field));
        totals.fields << column->field;
    }
    totals.caption = keys.text(QStringLiteral("popisek"), totals.caption);
    totals.currency = keys.choice(QStringLiteral("mena"), yesNo, 1) == 1;
    t.totals = totals;
}

void readMark(const TemplateSection& s, Template& t)
{
    const Keys keys(s, {QStringLiteral("pole"), QStringLiteral("legenda")});
    t.mark = RowMark{keys.required(QStringLiteral("pole")).value,
                     keys.required(QStringLiteral("legenda")).value, keys.lineOf(QStringLiteral("pole"))};
}

void readText(const TemplateSection& s, Template& t)
{
    LetterText& text = s.kind == u"adresat" ? t.recipient : s.kind == u"uvod" ? t.intro : t.closing;
    text = readLetterText(s);
    t.letter = true;
}

// A letter ends with its closing text, not with sums or a legend.
void refuseTableTrailer(const Template& t)
{
    if (!t.letter)
        return;
    const auto refuse = [](int line, const QString& section) {
        fail(line, QStringLiteral("oddíl [%1] do dopisu nepatří; dopis (předloha s klíčem skupina nebo s "
                                  "oddíly [adresat], [uvod], [zaver]) nemá součty ani legendu.")
                       .arg(section));
    };
    if (t.totals)
        refuse(t.totals->line, QStringLiteral("soucty"));
    if (t.mark)
        refuse(t.mark->line, QStringLiteral("zvyrazneni"));
}

const PromptedParameter* parameterNamed(const Template& t, const QString& name)
{
    for (const PromptedParameter& p : t.parameters)
        if (p.name == name)
            return &p;
    return nullptr;
}

// [datum jméno] with "hodnota = dnes + dni": today or a date parameter, and whole days added
// or taken away, a number or a number parameter. Read after the parameters it may use.
void readDerivedDate(const TemplateSection& s, Template& t)
{
    const auto sameName = [&](const QString& name) {
        return name.compare(s.argument, Qt::CaseInsensitive) == 0;
    };
    if (builtInParameters().contains(s.argument, Qt::CaseInsensitive) ||
        t.programValues.contains(s.argument, Qt::CaseInsensitive) ||
        std::any_of(t.parameters.cbegin(), t.parameters.cend(),
                    [&](const PromptedParameter& p) { return sameName(p.name); }))
        fail(s.line, QStringLiteral("„%1“ už je jméno parametru nebo údaje, který sestava dostává; vypočtené "
                                    "datum se musí jmenovat jinak.")
                         .arg(s.argument));
    const Keys keys(s, {QStringLiteral("hodnota")});
    const TemplateEntry& value = keys.required(QStringLiteral("hodnota"));
    static const QRegularExpression form(
        QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\s*([+-])\\s*([A-Za-z_][A-Za-z0-9_]*|[0-9]{1,5}))?$"));
    const QRegularExpressionMatch m = form.match(value.value);
    if (!m.hasMatch())
        fail(value.line,
             QStringLiteral("hodnota vypočteného data se zapisuje jako „dnes + dni“ nebo „do + 1“: "
                            "dnes nebo parametr druhu datum, případně plus nebo minus počet dní; "
                            "nalezeno „%1“.")
                 .arg(value.value));
    DerivedDate d;
    d.name = s.argument;
    d.line = value.line;
    d.base = m.captured(1);
    d.subtract = m.captured(2) == u"-";
    const QString days = m.captured(3);
    const PromptedParameter* base = parameterNamed(t, d.base);
    if (d.base != u"dnes" && !(base && base->kind == ParameterKind::Date))
        fail(value.line, QStringLiteral("„%1“ není dnes ani parametr druhu datum; vypočtené datum vychází "
                                        "z jednoho z nich.")
                             .arg(d.base));
    if (!days.isEmpty() && days[0].isDigit()) {
        d.fixedDays = days.toInt();
    } else if (!days.isEmpty()) {
        const PromptedParameter* count = parameterNamed(t, days);
        if (!count || count->kind != ParameterKind::Number)
            fail(value.line,
                 QStringLiteral("„%1“ není parametr druhu cislo; k datu se přičítá celý počet dní "
                                "nebo parametr druhu cislo.")
                     .arg(days));
        d.daysParameter = days;
    }
    t.derivedDates << d;
}

// [dotaz], [dotaz QSQLITE] or [dotaz QPSQL]; each is checked, whichever database runs it.
void readQuery(const TemplateSection& s, Template& t)
{
    TemplateQuery query;
    query.driver = s.argument;
    query.sql = s.textLines.join(u'\n');
    query.line = s.textLines.isEmpty() ? s.line : s.textLine;
    QStringList known = builtInParameters() + t.programValues;
    for (const PromptedParameter& p : std::as_const(t.parameters))
        known << p.name;
    for (const DerivedDate& d : std::as_const(t.derivedDates))
        known << d.name;
    query.prepared = prepareQuery(query.sql, query.line, known);
    t.queries << query;
}

} // namespace

QString foldText(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c.toLower();
    return out.simplified();
}

Template parseTemplateText(const QString& text)
{
    int lineCount = 0;
    const QList<TemplateSection> sections = splitSections(text, &lineCount);
    if (sections.isEmpty() || sections.first().kind != u"sestava")
        fail(sections.isEmpty() ? 1 : sections.first().line,
             QStringLiteral("předloha musí začínat oddílem [sestava] s názvem sestavy."));

    Template t;
    QList<const TemplateSection*> dates, queries;
    // Computed dates and the queries are read last: they may use parameters declared after them.
    for (const TemplateSection& s : sections) {
        if (s.kind == u"sestava")
            readReport(s, t);
        else if (s.kind == u"parametr")
            readParameter(s, t);
        else if (s.kind == u"sloupec")
            readColumn(s, t);
        else if (s.kind == u"soucty")
            readTotals(s, t);
        else if (s.kind == u"zvyrazneni")
            readMark(s, t);
        else if (s.kind == u"datum")
            dates << &s;
        else if (s.kind == u"dotaz")
            queries << &s;
        else if (s.holdsText())
            readText(s, t);
    }
    if (queries.isEmpty())
        fail(lineCount, QStringLiteral("předloha skončila bez oddílu [dotaz]."));
    if (t.columns.isEmpty())
        fail(lineCount,
             QStringLiteral(
                 "předloha skončila bez oddílu [sloupec …]; sestava potřebuje aspoň jeden sloupec."));
    refuseTableTrailer(t);
    for (const TemplateSection* s : std::as_const(dates))
        readDerivedDate(*s, t);
    for (const TemplateSection* s : std::as_const(queries))
        readQuery(*s, t);
    return t;
}

} // namespace pm41
