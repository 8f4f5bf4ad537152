#include "uikit/DatePickerDialog.h"

#include "uikit/FixedDialog.h"

#include <QCalendarWidget>
#include <QFrame>
#include <QPushButton>

DatePickerDialog::DatePickerDialog(const QDate& date, const QString& caption, const QPoint& topLeft,
                                   QWidget* parent)
    : QDialog(parent)
{
    setUpFixedDialog(*this, QStringLiteral("DatePicker"), caption);
    paintBackgroundWhite(*this);

    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(QStringLiteral("MonthCalendar1"));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setSelectedDate(date.isValid() ? date : QDate::currentDate());
    const QSize calendarSize = m_calendar->sizeHint();
    m_calendar->setGeometry(8, 8, calendarSize.width(), calendarSize.height());

    const int width = std::max(210, calendarSize.width() + 16);
    const int height = std::max(241, calendarSize.height() + 8 + 8 + 41);
    setFixedSize(width, height);
    move(topLeft);

    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("Shape1"));
    strip->setAutoFillBackground(true);
    QPalette sp = strip->palette();
    sp.setColor(QPalette::Window, palette().color(QPalette::Button));
    strip->setPalette(sp);
    strip->setGeometry(0, height - 41, width, 41);

    m_ok = new QPushButton(QStringLiteral("Ok"), this);
    m_ok->setObjectName(QStringLiteral("Tl_Ok"));
    m_ok->setGeometry(16, height - 25 - 7, 75, 25);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Storno"), this);
    cancel->setObjectName(QStringLiteral("Tl_Storno"));
    cancel->setGeometry(112, height - 25 - 7, 75, 25);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(m_calendar, &QCalendarWidget::clicked, m_ok, [this] { m_ok->setEnabled(true); });
    // The calendar takes Enter for itself: it confirms the chosen day as the default Ok would.
    connect(m_calendar, &QCalendarWidget::activated, this, [this] {
        m_ok->setEnabled(true);
        m_ok->click();
    });
}

QDate DatePickerDialog::selectedDate() const
{
    return m_calendar->selectedDate();
}
