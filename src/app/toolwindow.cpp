#include "app/toolwindow.h"

#include <QCloseEvent>

void ToolWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
