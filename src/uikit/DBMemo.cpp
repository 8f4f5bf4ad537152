#include "uikit/DBMemo.h"

#include "uikit/FieldLink.h"
#include "uikit/Guard.h"

namespace {
QString shownForm(QString stored)
{
    return stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString storedForm(QString shown)
{
    return shown.replace(u'\n', QStringLiteral("\r\n"));
}
} // namespace

DBMemo::DBMemo(QWidget* parent, const QString& objectName) : QPlainTextEdit(parent)
{
    setObjectName(objectName);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    m_link = new FieldLink(this, [this] { refresh(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_settingText || isReadOnly())
            return;
        const QString text = toPlainText();
        runGuarded([&] { m_link->userWrite(text.isEmpty() ? QVariant() : QVariant(storedForm(text))); });
    });
    refresh();
}

void DBMemo::bind(DataSource* source, const QString& field)
{
    m_link->bind(source, field);
}

void DBMemo::refresh()
{
    if (m_link->isWriting())
        return;
    setReadOnly(!m_link->canModify());
    const QString shown = shownForm(m_link->text());
    if (toPlainText() != shown) {
        m_settingText = true;
        setPlainText(shown);
        m_settingText = false;
    }
}
