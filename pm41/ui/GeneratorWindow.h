#pragma once

#include "ReportEngine.h"

#include <QDialog>

#include <functional>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace pm41 {

class ParameterForm;

// What the program hands the generator, already read.
struct GeneratorSetup
{
    QString templatesDirectory; // full path
    UserData user;
    QString parameterError; // the parameter text could not be read
    bool closeAfterChoice = false;
    QSqlDatabase connection;
};

// The generator's window: the reports of the template directory with their descriptions
// and parameters, and the way to their preview. Every fault ends as a message in the window.
class GeneratorWindow : public QDialog
{
    Q_OBJECT

public:
    explicit GeneratorWindow(GeneratorSetup setup, QWidget* parent = nullptr);

    QString message() const;

private slots:
    void chooseReport();
    void showReport();

private:
    void showMessage(const QString& text, bool fault = true);
    void guarded(const std::function<void()>& action);
    const TemplateFile* current() const;

    GeneratorSetup m_setup;
    QList<TemplateFile> m_templates;
    QListWidget* m_list;
    QLabel* m_title;
    QLabel* m_description;
    QGroupBox* m_parameterBox;
    ParameterForm* m_form = nullptr;
    QLabel* m_message;
    QPushButton* m_show;
};

} // namespace pm41
