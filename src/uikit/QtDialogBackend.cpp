#include "uikit/QtDialogBackend.h"

#include "helpers/TextConversions.h"
#include "uikit/DatePickerDialog.h"
#include "uikit/TextWindow.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

QWidget* activeOwner()
{
    return QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                             : QApplication::activeWindow();
}

} // namespace

void QtDialogBackend::message(MessageKind kind, const QString& caption, const QString& text)
{
    QMessageBox box(activeOwner());
    box.setWindowTitle(caption);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (kind) {
    case MessageKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageKind::Info:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

Answer QtDialogBackend::question(const QString& caption, const QString& text, QuestionKind kind)
{
    const bool warning = kind == QuestionKind::YesNoWarning || kind == QuestionKind::YesNoCancelWarning;
    const bool withCancel = kind == QuestionKind::YesNoCancel || kind == QuestionKind::YesNoCancelWarning;
    QMessageBox box(activeOwner());
    box.setWindowTitle(caption);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box.setIcon(warning ? QMessageBox::Warning : QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                           (withCancel ? QMessageBox::Cancel : QMessageBox::NoButton));
    box.setDefaultButton(QMessageBox::No);
    if (withCancel)
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Storno"));
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtDialogBackend::inputText(const QString& caption, const QString& prompt, bool masked)
{
    QInputDialog dialog(nullptr);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    if (auto* edit = dialog.findChild<QLineEdit*>())
        edit->setMaxLength(255);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<QDate> QtDialogBackend::pickDate(const QDate& date, const QString& caption,
                                               const QPoint& topLeft)
{
    DatePickerDialog dialog(date, caption, topLeft, activeOwner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedDate();
}

void QtDialogBackend::showText(const TextWindowOptions& options)
{
    TextWindow window(options, activeOwner());
    window.exec();
}

bool QtDialogBackend::shellOpen(const QString& target)
{
    return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

std::optional<FileChoice> QtDialogBackend::saveFile(QWidget* owner, const QString& filter,
                                                    const QString& suggestedName,
                                                    const QString& defaultSuffix)
{
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().first(),
                      int(std::max<qsizetype>(0, dialog.nameFilters().indexOf(dialog.selectedNameFilter())))};
}

std::optional<QString> QtDialogBackend::openFile(QWidget* owner, const QString& title, const QString& filter,
                                                 const QString& initialName)
{
    QFileDialog dialog(owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<int> QtDialogBackend::pickColor(QWidget* owner, int initial)
{
    const QColor chosen = QColorDialog::getColor(colorFromValue(initial), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return valueFromColor(chosen);
}

int QtDialogBackend::runModal(QDialog& dialog)
{
    return dialog.exec();
}

namespace {
QtDialogBackend qtBackend;
DialogBackend* current = &qtBackend;
} // namespace

DialogBackend& dialogBackend()
{
    return *current;
}

DialogBackend* setDialogBackend(DialogBackend* backend)
{
    DialogBackend* previous = current;
    current = backend ? backend : &qtBackend;
    return previous;
}
