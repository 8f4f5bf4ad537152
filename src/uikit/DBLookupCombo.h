#pragma once

#include <QComboBox>
#include <QPointer>

class DataSet;
class DataSource;
class FieldLink;

// A drop-down list bound to a key field: it offers the shown field of every row of a list
// data set and stores the chosen row's key. A key that is not in the list shows no text.
class DBLookupCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit DBLookupCombo(QWidget* parent = nullptr, const QString& objectName = QString());

    void bind(DataSource* source, const QString& field);
    void setListSource(DataSet* list, const QString& keyField, const QString& shownField);
    FieldLink* link() const { return m_link; }

    // With nothing in the list there is nothing to open; a click on a list that has no
    // items while the field has no value reports a choice of nothing.
    void showPopup() override;

signals:
    // The user chose an item and its key was written into the field, or clicked an empty
    // list while the field had no value.
    void userChose();

private:
    void rebuild();
    void refresh();

    FieldLink* m_link;
    QPointer<DataSet> m_list;
    QString m_keyField;
    QString m_shownField;
};
