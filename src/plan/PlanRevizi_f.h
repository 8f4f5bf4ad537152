#pragma once

#include "plan/PlanQuery.h"

#include <QDialog>
#include <functional>
#include <memory>

class AppContext;
class PlanModel;
class PlanReminders;
class PlanRows;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// The revision plan: the heating sources whose revision is due by a day, with their
// customers' contacts, the last activity and the last reminder. From here the office opens
// a customer on the card, e-mails or prints reminders and records them. The window is not
// modal; the main window keeps working beside it.
class TPlanRevizi : public QDialog
{
    Q_OBJECT
public:
    // openCard opens the customer in the main window and makes the card current; it
    // returns false when it did not (the user kept the open customer, or it is gone).
    using CardOpener = std::function<bool(int customerId, int cardId)>;

    // openCustomerId tells which customer the main window has open (0: none).
    TPlanRevizi(AppContext& context, CardOpener openCard, std::function<int()> openCustomerId,
                QWidget* parent = nullptr);
    ~TPlanRevizi() override;

    // Shows the overdue sources of watched customers only.
    void showOverdue();
    // Reads the plan again now, keeping the current card where it is still listed.
    void refresh();
    // Lists the rows for the filters as they are set, reading the plan only when the day
    // lies beyond what was read.
    void applyFilter();
    // The data changed elsewhere: read again when the window is next activated.
    void markStale() { m_stale = true; }

    PlanFilter filter() const;
    PlanModel* model() const { return m_model; }
    QTableView* grid() const { return m_grid; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Esc closes the window as its close button does

private:
    void buildWindow();
    void applyPlacement();
    void storePlacement();
    void setUntil(const QDate& day);
    void untilTyped();
    void pickUntil();
    void showCounts();
    void keepCurrentCard(const QVariant& cardId);
    // Runs one further reading of the rows; false (with a warning) when it failed.
    bool readMore(const std::function<void()>& read);
    void updateButtons();
    int currentListedRow() const;
    QList<int> selectedListedRows() const;

    void openCurrent();
    void exportRows();

    AppContext& m_context;
    CardOpener m_openCard;
    PlanRows* m_rows = nullptr;
    PlanModel* m_model = nullptr;
    std::unique_ptr<PlanReminders> m_reminders;
    QDate m_until;
    bool m_stale = false;

    QLineEdit* m_untilEdit = nullptr;
    QCheckBox* m_watchedOnly = nullptr;
    QCheckBox* m_withoutNext = nullptr;
    QLineEdit* m_textFilter = nullptr;
    QTableView* m_grid = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_email = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_mark = nullptr;
    QPushButton* m_export = nullptr;
};
