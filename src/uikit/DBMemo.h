#pragma once

#include <QPlainTextEdit>

class DataSource;
class FieldLink;

// A multi-line text bound to a field. Lines are kept with CR LF in the database.
class DBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr, const QString& objectName = QString());

    void bind(DataSource* source, const QString& field);
    FieldLink* link() const { return m_link; }

private:
    void refresh();

    FieldLink* m_link;
    bool m_settingText = false;
};
