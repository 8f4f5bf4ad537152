#pragma once

#include <QDialog>

class AppContext;
class CustomerRecords;
class DataSet;
class DataSource;
class DBGrid;
class QComboBox;
class QLineEdit;
class QPushButton;

// The open-customer dialog: the customers in a grid, filtered on a chosen column. Choosing
// one sets IdOtevrenehoZakaznika; the dialog remembers where it stood for the run.
class TOtevritZakaznika : public QDialog
{
    Q_OBJECT
public:
    TOtevritZakaznika(AppContext& context, CustomerRecords& records, QWidget* parent);

    DataSet* dataSet() const { return m_dataSet; }

    // Runs the filter with the chosen column and the text as typed.
    void applyFilter();
    // Takes the current row's id as the customer to open and closes the dialog.
    void chooseCurrent();

    void done(int result) override;

private:
    AppContext& m_context;
    CustomerRecords& m_records;
    DataSet* m_dataSet;
    DataSource* m_source;
    DBGrid* m_grid;
    QComboBox* m_column;
    QLineEdit* m_filter;
    QPushButton* m_open;
};
