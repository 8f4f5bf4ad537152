#include "uikit/DBComboList.h"

#include "uikit/FieldLink.h"
#include "uikit/Guard.h"

DBComboList::DBComboList(QWidget* parent, const QString& objectName) : QComboBox(parent)
{
    setObjectName(objectName);
    setEditable(false);
    m_link = new FieldLink(this, [this] { refresh(); });
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QString chosen = itemText(index);
        const bool written = runGuarded([&] {
            const ColumnInfo* column = m_link->column();
            if (!column)
                return;
            m_link->userWrite(chosen.isEmpty() ? QVariant() : FieldValues::parse(column->kind, chosen));
        });
        refresh();
        if (written)
            emit userChose();
    });
    refresh();
}

void DBComboList::bind(DataSource* source, const QString& field)
{
    m_link->bind(source, field);
}

void DBComboList::refresh()
{
    if (m_link->isWriting())
        return;
    const QString text = m_link->text();
    const int index = m_link->value().isNull() ? findText(QString()) : findText(text);
    setCurrentIndex(index);
}
