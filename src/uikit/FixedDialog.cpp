#include "uikit/FixedDialog.h"

#include <QDialog>

void setUpFixedDialog(QDialog& dialog, const QString& objectName, const QString& title, QSize size)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    if (size.isValid())
        dialog.setFixedSize(size);
}

void paintBackgroundWhite(QWidget& widget)
{
    widget.setAutoFillBackground(true);
    QPalette p = widget.palette();
    p.setColor(QPalette::Window, Qt::white);
    widget.setPalette(p);
}
