#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class DataSet;
class DataSource;
class QAbstractButton;
class QAction;
class QLabel;
class QWidget;

// The browse, edit and insert pattern that every place where the user works with the rows
// of a table follows: the navigation and editing commands with their enabling, the mode
// label, the counter and the deletion. The six panels of the program differ only by the
// configuration they hand in.
class RecordPanel : public QObject
{
    Q_OBJECT
public:
    enum Command
    {
        First,
        Previous,
        Next,
        Last,
        New,
        Edit,
        Delete,
        Save,
        Cancel,
        CommandCount
    };

    struct Config
    {
        DataSource* source = nullptr;
        QString suffix;                 // appended to the command names: "" or "_Cin"
        QLabel* modeLabel = nullptr;    // La_Rezim
        QLabel* counterLabel = nullptr; // La_Pocitadlo
        QWidget* focusOnEdit = nullptr; // field that "Oprava" focuses first, if any
        QWidget* focusOnNew = nullptr;  // field that "Nový" focuses first, if any
        // Refusals of the panel's own before the common ones; false stops the deletion.
        std::function<bool()> deleteGuard;
        // The text of the delete question.
        std::function<QString()> deleteQuestion;
        // Deletes the current row after the user said Yes; by default the data set's delete.
        std::function<void()> deleteRow;
    };

    RecordPanel(QWidget* owner, Config config);

    QAction* action(Command command) const { return m_actions[command]; }
    DataSet* dataSet() const;
    DataSource* source() const { return m_config.source; }

    // A button for a command: navigation commands get a flat picture button, the others a
    // push button with the caption.
    QAbstractButton* makeButton(Command command, QWidget* parent) const;

    // The commands, as the buttons and shortcuts execute them.
    void deleteCurrent();

    // The two refreshes; they run by themselves on every change reported by the source.
    void refreshData();
    void refreshState();

    static QString modeText(DataSet* dataSet);
    // "Opravdu chcete odstranit záznam "<name>" ?"
    static QString deleteQuestionFor(const QString& name);

private:
    Config m_config;
    QAction* m_actions[CommandCount] = {};
};
