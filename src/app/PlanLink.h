#pragma once

#include <QObject>
#include <QPointer>

class AppContext;
class CustomerRecords;
class OpenCustomer;
class QFrame;
class QLabel;
class QWidget;
class TPlanRevizi;

// The main window's part in the revision plan: the plan window beside it, the overdue count
// in the toolbar (a link to the overdue sources), and opening a customer on a card from the
// plan. Whatever is written to the cards and activities counts the overdue sources again
// and has the plan read again.
class PlanLink : public QObject
{
    Q_OBJECT
public:
    // The overdue count goes at the right end of the toolbar, where the open customer's name
    // gives way to it; window is the plan's parent, raised when a card opens from the plan.
    PlanLink(AppContext& context, CustomerRecords& records, OpenCustomer& customer, QFrame* toolbar,
             QLabel* customerLabel, QWidget* window);

    // Whether the database has the plan's tables; until it is known, the plan is off.
    void setAvailable(bool available) { m_available = available; }

    // The plan window, opened when not open yet; overdueOnly shows the overdue sources.
    // Null when the plan is off.
    TPlanRevizi* open(bool overdueOnly);
    // Closes the plan window without remembering its place.
    void closeWindow();
    // Opens the customer from the plan with the card current; false when the user kept
    // the open customer or the customer no longer exists.
    bool openCard(int customerId, int cardId);
    // Counts the overdue sources of watched customers again for the toolbar.
    void recountOverdue();
    // Something was written elsewhere: the count and the plan follow.
    void dataWritten();
    QLabel* overdueLabel() const { return m_overdueLabel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeToolbarLabels();

    AppContext& m_context;
    CustomerRecords& m_records;
    OpenCustomer& m_customer;
    QFrame* m_toolbar;
    QLabel* m_customerLabel;
    QWidget* m_window;
    QLabel* m_overdueLabel;
    bool m_available = false;
    QPointer<TPlanRevizi> m_plan;
};
