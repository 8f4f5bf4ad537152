#pragma once

#include "codelists/CodeListWindow.h"

#include <QList>

class Connection;
class DBEdit;

// What one of the three small code lists is: its table, fields, validation, listing and
// export. The windows differ only by these values.
struct CodeListSpec
{
    struct Field
    {
        QString label;     // caption of the label
        QString labelName; // La_...
        QString editName;  // Ed_...
        QString column;
        int width;
        QString emptyMessage; // the validation message when the field is empty
    };

    QString className;
    QString caption;
    QString table;
    QString listColumn;
    QString listTitle;
    QList<Field> fields;    // in tab order, one row each from y = 40
    QString editFocusField; // editName focused by "Oprava"
    QString quotedColumn;   // named by the delete question
    QString listingTitle;
    QString listingQuery;
    QString listingHeader;
    QStringList listingColumns;
    QString exportName;
};

namespace CodeListSpecs {
const CodeListSpec& cinnosti();
const CodeListSpec& kategorie();
const CodeListSpec& technici();
} // namespace CodeListSpecs

// The shared window of the three code lists: activity kinds, categories, technicians.
class TCiselnik : public CodeListWindow
{
    Q_OBJECT
public:
    TCiselnik(AppContext& context, const CodeListSpec& spec, QWidget* parent);

    const CodeListSpec& spec() const { return m_spec; }

    // The listing text of the table: header, rule, empty line, one row per line.
    static QString listingText(Connection& connection, const CodeListSpec& spec);

protected:
    void exportTable() override;
    void showListing() override;

private:
    bool validate();

    const CodeListSpec& m_spec;
    QList<DBEdit*> m_edits;
};
