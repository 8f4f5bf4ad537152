#include "uikit/DBCheckBox.h"

#include "uikit/FieldLink.h"
#include "uikit/Guard.h"

DBCheckBox::DBCheckBox(const QString& caption, QWidget* parent, const QString& objectName)
    : QCheckBox(caption, parent)
{
    setObjectName(objectName);
    setTristate(true);
    m_link = new FieldLink(this, [this] { refresh(); });
    connect(this, &QCheckBox::clicked, this, [this] {
        const bool ticked = checkState() == Qt::Checked;
        if (!runGuarded([&] { m_link->userWrite(ticked); }))
            refresh();
    });
    refresh();
}

void DBCheckBox::bind(DataSource* source, const QString& field)
{
    m_link->bind(source, field);
}

void DBCheckBox::nextCheckState()
{
    if (!m_link->canModify())
        return;
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void DBCheckBox::refresh()
{
    if (m_link->isWriting())
        return;
    const QVariant v = m_link->value();
    setCheckState(v.isNull() ? Qt::PartiallyChecked : (v.toBool() ? Qt::Checked : Qt::Unchecked));
}
