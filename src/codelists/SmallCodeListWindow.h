#pragma once

#include "codelists/CodeListDefinition.h"
#include "codelists/CodeListWindow.h"

#include <QList>

class Connection;
class DBEdit;

// The shared window of the three code lists: activity kinds, categories, technicians.
class SmallCodeListWindow : public CodeListWindow
{
    Q_OBJECT
public:
    SmallCodeListWindow(AppContext& context, const CodeListDefinition& definition, QWidget* parent);

    const CodeListDefinition& definition() const { return m_definition; }

    // The listing text of the table: header, rule, empty line, one row per line.
    static QString listingText(Connection& connection, const CodeListDefinition& definition);

protected:
    void exportTable() override;
    void showListing() override;

private:
    bool validate();

    const CodeListDefinition& m_definition;
    QList<DBEdit*> m_edits;
};
