#pragma once

#include <QLineEdit>

// A line edit whose text the user cannot make longer than a limit, while a longer text
// put in by the program (for instance read from the settings file) is shown and kept whole.
class LimitedLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    LimitedLineEdit(int limit, QWidget* parent = nullptr);

private:
    int m_limit;
    QString m_shown;
    QString m_previous;
};
