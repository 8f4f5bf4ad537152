#include "ui/GeneratorWindow.h"

#include "ui/Messages.h"
#include "ui/ParameterForm.h"
#include "ui/PreviewDialog.h"
#include "ui/WaitCursor.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace pm41 {

GeneratorWindow::GeneratorWindow(GeneratorSetup setup, QWidget* parent)
    : QDialog(parent), m_setup(std::move(setup))
{
    setObjectName(QStringLiteral("TGeneratorSestav"));
    setWindowTitle(generatorCaption());
    resize(820, 480);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LB_Sestavy"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("La_Nazev"));
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("La_Popis"));
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_parameterBox = new QGroupBox(QStringLiteral("Parametry sestavy"), this);
    m_parameterBox->setObjectName(QStringLiteral("GB_Parametry"));
    new QVBoxLayout(m_parameterBox);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("La_Zprava"));
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_message->hide();

    auto* buttons = new QDialogButtonBox(this);
    m_show = buttons->addButton(QStringLiteral("Zobrazit náhled…"), QDialogButtonBox::AcceptRole);
    m_show->setObjectName(QStringLiteral("Tl_Nahled"));
    m_show->setDefault(true);
    QPushButton* close = buttons->addButton(QStringLiteral("Zavřít"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("Tl_Zavrit"));
    connect(m_show, &QPushButton::clicked, this, &GeneratorWindow::showReport);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* directory = new QLabel(
        QStringLiteral("Předlohy: %1").arg(QDir::toNativeSeparators(m_setup.templatesDirectory)), this);
    directory->setObjectName(QStringLiteral("La_Adresar"));
    directory->setEnabled(false);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Sestavy:"), this));
    left->addWidget(m_list, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_description);
    right->addWidget(m_parameterBox);
    right->addWidget(m_message);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addSpacing(12);
    columns->addLayout(right, 3);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(directory, 1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);

    connect(m_list, &QListWidget::currentRowChanged, this, &GeneratorWindow::chooseReport);
    connect(m_list, &QListWidget::itemActivated, this, &GeneratorWindow::showReport);

    guarded([this] {
        const QString shown = QDir::toNativeSeparators(m_setup.templatesDirectory);
        if (!QFileInfo(m_setup.templatesDirectory).isDir()) {
            showMessage(
                QStringLiteral("Adresář předloh „%1“ neexistuje, a tak není z čeho tisknout.").arg(shown));
        } else {
            m_templates = listTemplates(m_setup.templatesDirectory);
            if (m_templates.isEmpty())
                showMessage(
                    QStringLiteral("V adresáři předloh „%1“ nejsou žádné sestavy (soubory *.sestava).")
                        .arg(shown),
                    false);
        }
        for (const TemplateFile& file : std::as_const(m_templates)) {
            auto* item = new QListWidgetItem(file.shownTitle(), m_list);
            item->setToolTip(file.ok() ? file.report.description : file.error);
            if (!file.ok())
                item->setForeground(QColor(0x8b, 0, 0));
        }
        if (m_templates.isEmpty())
            chooseReport();
        else
            m_list->setCurrentRow(0);
    });
}

QString GeneratorWindow::message() const
{
    return m_message->isHidden() ? QString() : m_message->text();
}

const TemplateFile* GeneratorWindow::current() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_templates.size() ? &m_templates[row] : nullptr;
}

void GeneratorWindow::showMessage(const QString& text, bool fault)
{
    m_message->setStyleSheet(fault ? QStringLiteral("QLabel { background: #fbeaea; color: #8b0000; "
                                                    "border: 1px solid #e0b4b4; padding: 6px; }")
                                   : QStringLiteral("QLabel { background: #eef2f6; color: #1f3a5a; "
                                                    "border: 1px solid #c5d0dc; padding: 6px; }"));
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void GeneratorWindow::guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        showMessage(failureText(&e));
    } catch (...) {
        showMessage(failureText(nullptr));
    }
}

void GeneratorWindow::chooseReport()
{
    guarded([this] {
        delete m_form;
        m_form = nullptr;
        const TemplateFile* file = current();
        m_show->setEnabled(file && file->ok() && m_setup.parameterError.isEmpty());
        m_parameterBox->setVisible(file && file->ok());
        if (!file) {
            m_title->clear();
            m_description->clear();
            return;
        }
        m_title->setText(file->shownTitle());
        if (!file->ok()) {
            m_description->setText(
                QStringLiteral("Tuto předlohu nelze použít, dokud v ní nebude opravena chyba."));
            showMessage(templateFaultText(file->fileName(), file->error));
            return;
        }
        m_description->setText(file->report.description);
        m_form = new ParameterForm(file->report.parameters, m_parameterBox);
        m_parameterBox->layout()->addWidget(m_form);
        m_form->show();
        if (!m_setup.parameterError.isEmpty()) {
            showMessage(programDataFaultText(m_setup.parameterError));
        } else if (!file->report.programValues.isEmpty()) {
            // Such a report needs what only the program's own window knows, say which cards.
            m_show->setEnabled(false);
            showMessage(QStringLiteral("Tuto sestavu tiskne program ze svého okna, které jí předá potřebné "
                                       "údaje (%1). Ze seznamu sestav ji zobrazit nelze.")
                            .arg(file->report.programValues.join(QStringLiteral(", "))),
                        false);
        } else {
            showMessage(QString());
        }
    });
}

void GeneratorWindow::showReport()
{
    guarded([this] {
        const TemplateFile* file = current();
        if (!file || !file->ok() || !m_setup.parameterError.isEmpty() || !m_form ||
            !file->report.programValues.isEmpty())
            return;
        WaitCursor wait;
        ReportData data;
        const QString error =
            runReport(file->report, m_setup.user, m_form->values(), m_setup.connection, data);
        if (!error.isEmpty()) {
            showMessage(reportFaultText(file->report.title, error));
            return;
        }
        showMessage(QString());
        PreviewDialog preview(data, this);
        preview.render();
        wait.release();
        preview.exec();
        if (m_setup.closeAfterChoice)
            accept();
    });
}

} // namespace pm41
