#pragma once

#include "report/ReportRunner.h"
#include "report/Template.h"

#include <QWidget>

namespace pm41 {

// The editors of a report's own parameters: a spin box for a number, a date field with a
// calendar for a date, each starting at the template's default.
class ParameterForm : public QWidget
{
    Q_OBJECT

public:
    ParameterForm(const QList<PromptedParameter>& parameters, QWidget* parent = nullptr);

    ParameterValues values() const;

private:
    QList<PromptedParameter> m_parameters;
    QList<QWidget*> m_editors;
};

} // namespace pm41
