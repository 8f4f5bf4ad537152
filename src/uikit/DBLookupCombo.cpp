#include "uikit/DBLookupCombo.h"

#include "store/DataSet.h"
#include "uikit/FieldLink.h"
#include "uikit/Guard.h"

DBLookupCombo::DBLookupCombo(QWidget* parent, const QString& objectName) : QComboBox(parent)
{
    setObjectName(objectName);
    setEditable(false);
    m_link = new FieldLink(this, [this] { refresh(); });
    connect(this, &QComboBox::activated, this, [this](int index) {
        const QVariant key = itemData(index);
        const bool written = runGuarded([&] { m_link->userWrite(key); });
        refresh();
        if (written)
            emit userChose();
    });
}

void DBLookupCombo::bind(DataSource* source, const QString& field)
{
    m_link->bind(source, field);
}

void DBLookupCombo::showPopup()
{
    if (count() > 0) {
        QComboBox::showPopup();
        return;
    }
    if (m_link->isActive() && m_link->value().isNull())
        emit userChose();
}

void DBLookupCombo::setListSource(DataSet* list, const QString& keyField, const QString& shownField)
{
    if (m_list)
        disconnect(m_list, nullptr, this, nullptr);
    m_list = list;
    m_keyField = keyField;
    m_shownField = shownField;
    if (m_list) {
        connect(m_list, &DataSet::rowsReset, this, &DBLookupCombo::rebuild);
        connect(m_list, &DataSet::rowRemoved, this, &DBLookupCombo::rebuild);
        connect(m_list, &DataSet::rowUpdated, this, &DBLookupCombo::rebuild);
    }
    rebuild();
}

void DBLookupCombo::rebuild()
{
    const QSignalBlocker block(this);
    clear();
    if (m_list && m_list->isOpen()) {
        const int key = m_list->fieldIndex(m_keyField);
        const int shown = m_list->fieldIndex(m_shownField);
        if (key >= 0 && shown >= 0) {
            for (int row = 0; row < m_list->recordCount(); ++row) {
                const ColumnKind kind = m_list->fields()[shown].kind;
                addItem(FieldValues::text(kind, m_list->rowValue(row, shown)), m_list->rowValue(row, key));
            }
        }
    }
    refresh();
}

void DBLookupCombo::refresh()
{
    if (m_link->isWriting())
        return;
    const QVariant value = m_link->value();
    const QSignalBlocker block(this);
    setCurrentIndex(value.isNull() ? -1 : findData(value));
}
