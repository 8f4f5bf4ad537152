#include "codelists/SmallCodeListWindow.h"

#include "exchange/TableExport.h"
#include "store/DataSet.h"
#include "uikit/AnchorLayout.h"
#include "uikit/AppContext.h"
#include "uikit/Commands.h"
#include "uikit/DBEdit.h"
#include "uikit/DBGrid.h"
#include "uikit/Dialogs.h"
#include "uikit/FixedDialog.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

SmallCodeListWindow::SmallCodeListWindow(AppContext& context, const CodeListDefinition& definition,
                                         QWidget* parent)
    : CodeListWindow(context, definition.className, parent), m_definition(definition)
{
    setUpFixedDialog(*this, definition.className, definition.caption, QSize(547, 347));
    auto* layout = new AnchorLayout(this, QSize(547, 347));

    auto* grid = new DBGrid(this, QStringLiteral("DBGrid1"));
    layout->place(grid, 8, 40, 161, 265);

    int y = 40;
    for (const CodeListDefinition::Field& field : definition.fields) {
        auto* label = new QLabel(field.label, this);
        label->setObjectName(field.labelName);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout->place(label, 184, y, 89, 21);
        auto* edit = new DBEdit(this, field.editName);
        edit->bind(m_source, field.column);
        layout->place(edit, 280, y, field.width, 21);
        moveOnEnter(edit);
        m_edits.append(edit);
        y += 24;
    }

    auto* counter = new QLabel(QStringLiteral("0 z 0"), this);
    counter->setObjectName(QStringLiteral("La_Pocitadlo"));
    layout->place(counter, 8, 312, 60, 21);
    auto* mode = new QLabel(this);
    mode->setObjectName(QStringLiteral("La_Rezim"));
    layout->place(mode, 72, 312, 100, 21);

    RecordPanel::Config config;
    config.modeLabel = mode;
    config.counterLabel = counter;
    config.focusOnEdit = findChild<QWidget*>(definition.editFocusField);
    config.deleteQuestion = [this] {
        return RecordPanel::deleteQuestionFor(m_dataSet->text(m_definition.quotedColumn));
    };
    RecordPanel* panel = createPanel(config);

    const int navX[] = {8, 40, 72, 104};
    for (int c = RecordPanel::First; c <= RecordPanel::Last; ++c)
        layout->place(panel->makeButton(RecordPanel::Command(c), this), navX[c], 8, 33, 25);
    QList<QWidget*> editingButtons;
    int x = 144;
    for (int c = RecordPanel::New; c <= RecordPanel::Cancel; ++c, x += 80)
        editingButtons << layout->place(panel->makeButton(RecordPanel::Command(c), this), x, 8, 75, 25);

    const auto bottomButton = [&](QAction* action, const QString& name, int bx, bool tabStop) {
        auto* button = new QPushButton(this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
        bindButton(button, action);
        layout->place(button, bx, 312, 75, 25);
        return button;
    };
    QWidget* exportButton = bottomButton(m_export, QStringLiteral("Tl_Export"), 224, false);
    QWidget* listingButton = bottomButton(m_listing, QStringLiteral("Tl_Vypis"), 304, false);
    QWidget* closeButton = bottomButton(m_close, QStringLiteral("Tl_Zavrit"), 464, true);

    QList<QWidget*> order{grid};
    order << editingButtons;
    for (DBEdit* edit : std::as_const(m_edits))
        order << edit;
    order << exportButton << listingButton << closeButton;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    m_dataSet->setBeforePost([this] { return validate(); });
    m_dataSet->setTableName(definition.table);
    m_dataSet->open();
    grid->bind(m_source);
    grid->setColumns({{definition.listColumn, definition.listTitle, 161 - 2 * grid->frameWidth() - 18}});
}

bool SmallCodeListWindow::validate()
{
    for (int i = 0; i < m_definition.fields.size(); ++i) {
        if (m_dataSet->text(m_definition.fields[i].column).isEmpty()) {
            ShowInfo(m_definition.fields[i].emptyMessage);
            m_edits[i]->setFocus();
            return false;
        }
    }
    return true;
}

QString SmallCodeListWindow::listingText(Connection& connection, const CodeListDefinition& definition)
{
    QString text = definition.listingHeader + QString(34, u'=') + QStringLiteral("\r\n\r\n");
    const ResultSet rows = connection.query(definition.listingQuery);
    QList<int> columns;
    for (const QString& name : definition.listingColumns)
        columns << rows.columnIndex(name);
    for (const auto& row : rows.rows) {
        QStringList values;
        for (int c : std::as_const(columns)) {
            const ColumnKind kind = c >= 0 ? rows.columns[c].kind : ColumnKind::Text;
            values << (c >= 0 ? FieldValues::text(kind, FieldValues::fromStorage(kind, row[c])) : QString());
        }
        text += values.join(u'\t') + QStringLiteral("\r\n");
    }
    return text;
}

void SmallCodeListWindow::showListing()
{
    ShowTextWindow({.caption = m_definition.listingTitle,
                    .text = listingText(m_context.connection, m_definition),
                    .width = 500,
                    .height = 600,
                    .scrollBars = TextScrollBars::VerticalOnly,
                    .fixedFont = true});
}

void SmallCodeListWindow::exportTable()
{
    ExportovatTabulku(m_dataSet, m_definition.exportName, this);
}
