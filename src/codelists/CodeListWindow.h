#pragma once

#include "uikit/RecordPanel.h"

#include <QDialog>

class AppContext;
class DataSet;
class DataSource;
class QAction;
class QLineEdit;

// What the code-list windows share: a modal window over one data set with the record
// panel, the commands Export, Výpis and Zavřít, the question before closing with pending
// changes, and Enter moving to the next field.
class CodeListWindow : public QDialog
{
    Q_OBJECT
public:
    CodeListWindow(AppContext& context, const QString& objectName, QWidget* parent);

    DataSet* dataSet() const { return m_dataSet; }
    RecordPanel* panel() const { return m_panel; }
    QAction* command(const QString& name) const;

    // Closes the window, asking first when a row is being edited or inserted. Every way of
    // closing ends here.
    void reject() override;

protected:
    // Builds the record panel over the window's data source; call once the fields exist.
    RecordPanel* createPanel(RecordPanel::Config config);
    // Enter in this single-line field moves to the next tab stop.
    void moveOnEnter(QLineEdit* field);

    // Export and listing of the concrete window.
    virtual void exportTable() = 0;
    virtual void showListing() = 0;
    // Runs after the window's data set has been closed.
    virtual void afterClose() {}

    bool eventFilter(QObject* watched, QEvent* event) override;

    // With a row being edited or inserted: asks whether to save it (Yes saves, No discards,
    // Cancel keeps it). True when nothing is pending any more.
    bool settlePendingEdit();

    AppContext& m_context;
    DataSet* m_dataSet;
    DataSource* m_source;
    RecordPanel* m_panel = nullptr;
    QAction* m_export;
    QAction* m_listing;
    QAction* m_close;

private:
    bool m_closing = false;
};
