#pragma once

#include "codelists/CodeListSpec.h"
#include "codelists/CodeListWindow.h"

#include <QList>

class Connection;
class DBEdit;

// The shared window of the three code lists: activity kinds, categories, technicians.
class SmallCodeListWindow : public CodeListWindow
{
    Q_OBJECT
public:
    SmallCodeListWindow(AppContext& context, const CodeListSpec& spec, QWidget* parent);

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
