#include "app/toolwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

namespace {

// Return and Enter click a focused tool button, as Space does.
class ReturnClicks : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            key->modifiers() & ~Qt::KeypadModifier)
            return false;
        static_cast<QToolButton *>(watched)->click();
        return true;
    }
};

// Sees the Escape key events the window's controls leave unused, which travel up to it.
class EscapeCloses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        static_cast<QWidget *>(watched)->close();
        return true;
    }
};

QAccessibleInterface *windowRole(const QString &className, QObject *object)
{
    // Only a plain top-level widget: every other class keeps the interface Qt gives it.
    auto *widget = qobject_cast<QWidget *>(object);
    if (className != QLatin1String("QWidget") || !widget || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

ToolWindow::ToolWindow(QWidget *parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    keyboardreach::closeOnEscape(*this);
}

void ToolWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void ToolWindow::showEvent(QShowEvent *event)
{
    // Buttons added since the last showing are reached as well.
    keyboardreach::reachToolBars(*this);
    QWidget::showEvent(event);
}

namespace keyboardreach {

void reachToolBar(QToolBar &bar)
{
    for (QAction *action : bar.actions()) {
        auto *button = qobject_cast<QToolButton *>(bar.widgetForAction(action));
        if (!button || action->isSeparator())
            continue;
        button->setFocusPolicy(Qt::StrongFocus);
        // The tool tip falls back to the caption.
        button->setAccessibleName(action->toolTip().trimmed());
        if (!button->findChild<ReturnClicks *>(QString(), Qt::FindDirectChildrenOnly))
            button->installEventFilter(new ReturnClicks(button));
    }
}

void reachToolBars(QWidget &window)
{
    for (QToolBar *bar : window.findChildren<QToolBar *>())
        reachToolBar(*bar);
}

void closeOnEscape(QWidget &window)
{
    window.installEventFilter(new EscapeCloses(&window));
}

void exposeWindowRoles()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowRole);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace keyboardreach
