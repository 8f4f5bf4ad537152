#include "uikit/DBEdit.h"

#include "helpers/ConversionError.h"
#include "store/DataSet.h"
#include "uikit/FieldLink.h"
#include "uikit/Guard.h"

#include <QRegularExpressionValidator>

namespace {

QValidator* validatorFor(ColumnKind kind, QObject* parent)
{
    switch (kind) {
    case ColumnKind::Integer:
    case ColumnKind::Year:
    case ColumnKind::AutoKey:
        return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[+-]?\\d{0,9}$")), parent);
    case ColumnKind::Money:
        return new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("^[+-]?\\d{0,11}([.,]\\d{0,4})?$")), parent);
    case ColumnKind::Date:
    case ColumnKind::DateTime:
        return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9.: ]*$")), parent);
    default:
        return nullptr;
    }
}

} // namespace

DBEdit::DBEdit(QWidget* parent, const QString& objectName) : QLineEdit(parent)
{
    setObjectName(objectName);
    m_link = new FieldLink(this, [this] { refresh(); });
    m_link->setControl(this);
    connect(this, &QLineEdit::textEdited, this,
            [this](const QString& text) { runGuarded([&] { onTextEdited(text); }); });
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (!m_pending)
            refresh();
    });
    refresh();
}

void DBEdit::bind(DataSource* source, const QString& field)
{
    m_link->bind(source, field);
}

void DBEdit::setFixedReadOnly(bool readOnly)
{
    m_fixedReadOnly = readOnly;
    refresh();
}

void DBEdit::refresh()
{
    if (m_link->isWriting())
        return;
    const ColumnInfo* column = m_link->column();
    setReadOnly(m_fixedReadOnly || !m_link->canModify());
    const int maxLength =
        column && column->kind == ColumnKind::Text && column->maxLength > 0 ? column->maxLength : 32767;
    if (this->maxLength() != maxLength)
        setMaxLength(maxLength);
    if (column && !validator())
        setValidator(validatorFor(column->kind, this));
    const QString shown = m_link->text();
    if (text() != shown)
        setText(shown);
    m_pending = false;
}

void DBEdit::onTextEdited(const QString& typed)
{
    const ColumnInfo* column = m_link->column();
    if (!column || isReadOnly())
        return;
    const int cursor = cursorPosition();
    QVariant value;
    bool readable = true;
    try {
        value = typed.isEmpty() ? QVariant() : FieldValues::parse(column->kind, typed);
    } catch (const ConversionError&) {
        readable = false;
    }
    if (readable)
        m_link->userWrite(value);
    else
        m_link->userBeginEdit();
    m_pending = !readable;
    if (text() != typed)
        setText(typed);
    setCursorPosition(cursor);
}

void DBEdit::commitPending()
{
    if (!m_pending)
        return;
    const ColumnInfo* column = m_link->column();
    if (!column)
        return;
    try {
        const QVariant value = FieldValues::parse(column->kind, text());
        m_link->userWrite(value);
        m_pending = false;
    } catch (const ConversionError&) {
        setFocus();
        throw;
    }
}
