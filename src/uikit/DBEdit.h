#pragma once

#include "store/DataControl.h"
#include "store/DataSource.h"

#include <QLineEdit>

class FieldLink;

// A single-line edit bound to a field. What the user types is written into the field at
// once when it reads as the field's kind; a text that does not (yet) read, such as a half
// typed date, is handed over before the row is saved and refused there.
class DBEdit : public QLineEdit, public DataControl
{
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr, const QString& objectName = QString());

    void bind(DataSource* source, const QString& field);
    FieldLink* link() const { return m_link; }

    // Read-only by the program's choice (the date fields), whatever the data set allows.
    void setFixedReadOnly(bool readOnly);
    bool isFixedReadOnly() const { return m_fixedReadOnly; }

    void commitPending() override;

private:
    void refresh();
    void onTextEdited(const QString& text);

    FieldLink* m_link;
    bool m_fixedReadOnly = false;
    bool m_pending = false;
};
