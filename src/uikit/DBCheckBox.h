#pragma once

#include <QCheckBox>

class DataSource;
class FieldLink;

// A check box bound to a yes/no field: ticked for true, empty for false, greyed for an
// empty value. A click on a greyed box ticks it.
class DBCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit DBCheckBox(const QString& caption, QWidget* parent = nullptr,
                        const QString& objectName = QString());

    void bind(DataSource* source, const QString& field);
    FieldLink* link() const { return m_link; }

protected:
    void nextCheckState() override;

private:
    void refresh();

    FieldLink* m_link;
};
