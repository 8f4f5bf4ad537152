#pragma once

#include <QDialog>
#include <QVariant>

class AppContext;
class DataSet;
class DataSource;
class DBGrid;

// The list of the cards that match a search, with their owners; the user picks one.
class TOtevritKartuDetail : public QDialog
{
    Q_OBJECT
public:
    TOtevritKartuDetail(AppContext& context, const QString& listQuery, const QVariantList& params,
                        QWidget* parent);

    int cardId() const { return m_cardId; }
    int customerId() const { return m_customerId; }
    DataSet* dataSet() const { return m_dataSet; }

    void choose();
    void done(int result) override;

private:
    DataSet* m_dataSet;
    DataSource* m_source;
    DBGrid* m_grid;
    int m_cardId = 0;
    int m_customerId = 0;
};
