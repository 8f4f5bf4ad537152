#pragma once

#include <QList>
#include <QString>
#include <functional>

class AppContext;
class PlanModel;

// Reminding the customers of the plan's sources: an e-mail to one customer, letters for
// many, and recording the reminders given, so that the plan shows them. The sources are
// named by their places among the listed rows of the plan.
class PlanReminders
{
public:
    // afterRecording reads the plan again, so that it shows the reminders just recorded;
    // openCustomerId tells which customer the main window has open, for the letters.
    PlanReminders(AppContext& context, const PlanModel& model, std::function<void()> afterRecording,
                  std::function<int()> openCustomerId);

    // An e-mail to the customer of the row (the current one) about the selected sources of
    // that customer, or about the row's source alone when the row is not selected.
    void sendEmail(int row, const QList<int>& selected);
    // Letters about the selected sources, or about every listed one when none is selected.
    void printReminders(const QList<int>& selected);
    // Records a reminder the office gave by hand for the selected sources.
    void markReminded(const QList<int>& selected);

private:
    QList<int> cardIds(const QList<int>& listedRows) const;
    void offerToRecord(const QList<int>& cardIds, const QString& way);
    bool record(const QList<int>& cardIds, const QString& way);

    AppContext& m_context;
    const PlanModel* m_model;
    std::function<void()> m_afterRecording;
    std::function<int()> m_openCustomerId;
};
