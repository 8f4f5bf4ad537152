#pragma once

#include <QString>
#include <QVariantList>

class Random;

// One made-up customer of the firm: a person, or a firm, a municipality or an owners'
// association, with address, contacts and the flags of the register.
namespace Customers {

// The columns of a row, in the order make() fills them.
QString insertSql();

struct Made
{
    QVariantList row;
    bool firm = false;
};

// The customer with the given id; the big customer is always a housing firm that has its
// revisions watched.
Made make(Random& random, int id, bool big);

// A text reduced to plain lower-case ASCII letters, digits and the given separator, for
// e-mail addresses.
QString asciiFold(const QString& text, QChar separator);

} // namespace Customers
