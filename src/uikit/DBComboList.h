#pragma once

#include <QComboBox>

class DataSource;
class FieldLink;

// A fixed drop-down list bound to a field: the field holds the text of the chosen item
// (read as the field's kind); an empty item clears the field.
class DBComboList : public QComboBox
{
    Q_OBJECT
public:
    explicit DBComboList(QWidget* parent = nullptr, const QString& objectName = QString());

    void bind(DataSource* source, const QString& field);
    FieldLink* link() const { return m_link; }

signals:
    // The user chose an item and it was written into the field.
    void userChose();

private:
    void refresh();

    FieldLink* m_link;
};
