#pragma once

#include <QDialog>

class QCalendarWidget;
class QPushButton;

// The small calendar dialog of PickDate: "Ok" is enabled only after the user has clicked
// into the calendar.
class DatePickerDialog : public QDialog
{
    Q_OBJECT
public:
    DatePickerDialog(const QDate& date, const QString& caption, const QPoint& topLeft,
                     QWidget* parent = nullptr);

    QDate selectedDate() const;
    QCalendarWidget* calendar() const { return m_calendar; }
    QPushButton* okButton() const { return m_ok; }

private:
    QCalendarWidget* m_calendar;
    QPushButton* m_ok;
};
