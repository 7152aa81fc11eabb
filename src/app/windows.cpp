#include "app/windows.h"

#include "app/toolwindow.h"

#include <QList>
#include <QPointer>
#include <QWidget>

namespace appwindows {
namespace {

QList<QPointer<QWidget>> &tracked()
{
    static QList<QPointer<QWidget>> windows;
    return windows;
}

} // namespace

void track(QWidget *window)
{
    keyboardreach::exposeWindowRoles();
    tracked().append(window);
}

void destroyAll()
{
    while (!tracked().isEmpty()) {
        QPointer<QWidget> window = tracked().takeFirst();
        delete window.data();
    }
}

void show(QWidget &window)
{
    window.show();
    window.raise();
    window.activateWindow();
}

void hideAllExcept(const QWidget *except)
{
    for (const QPointer<QWidget> &window : tracked()) {
        if (window && window != except)
            window->hide();
    }
}

} // namespace appwindows
