#include "ui/ParameterForm.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>

namespace pm41 {

ParameterForm::ParameterForm(const QList<PromptedParameter>& parameters, QWidget* parent)
    : QWidget(parent), m_parameters(parameters)
{
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    if (parameters.isEmpty()) {
        auto* none = new QLabel(QStringLiteral("Sestava nemá žádné parametry."), this);
        none->setEnabled(false);
        form->addRow(none);
    }
    for (const PromptedParameter& p : parameters) {
        QWidget* editor = nullptr;
        if (p.kind == ParameterKind::Date) {
            auto* date = new QDateEdit(QDate::currentDate().addDays(p.defaultValue), this);
            date->setDisplayFormat(QStringLiteral("d.M.yyyy"));
            date->setCalendarPopup(true);
            editor = date;
        } else {
            auto* number = new QSpinBox(this);
            number->setRange(p.minimum, p.maximum);
            number->setValue(p.defaultValue);
            editor = number;
        }
        editor->setObjectName(QStringLiteral("Ed_") + p.name);
        form->addRow(p.caption + u':', editor);
        m_editors << editor;
    }
}

ParameterValues ParameterForm::values() const
{
    ParameterValues values;
    for (int i = 0; i < m_parameters.size(); ++i) {
        if (const auto* date = qobject_cast<const QDateEdit*>(m_editors[i]))
            values.insert(m_parameters[i].name, date->date());
        else if (const auto* number = qobject_cast<const QSpinBox*>(m_editors[i]))
            values.insert(m_parameters[i].name, qint64(number->value()));
    }
    return values;
}

} // namespace pm41
