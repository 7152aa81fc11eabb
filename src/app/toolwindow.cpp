#include "app/toolwindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

// Does `act` to the watched widget when one of `keys` is pressed with no modifier (the keypad's
// Enter counts), and takes the key.
class KeyAction : public QObject
{
public:
    KeyAction(QObject *parent, QList<int> keys, std::function<void(QObject *)> act)
        : QObject(parent), m_keys(std::move(keys)), m_act(std::move(act))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!m_keys.contains(key->key()) || key->modifiers() & ~Qt::KeypadModifier)
            return false;
        m_act(watched);
        return true;
    }

private:
    const QList<int> m_keys;
    const std::function<void(QObject *)> m_act;
};

// The name by which a button's Return filter is found again at the next showing.
constexpr auto kReturnClicks = "returnClicks";

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
        // Return and Enter click a focused tool button, as Space does.
        if (!button->findChild<KeyAction *>(QLatin1String(kReturnClicks), Qt::FindDirectChildrenOnly)) {
            auto *filter = new KeyAction(button, {Qt::Key_Return, Qt::Key_Enter}, [](QObject *watched) {
                static_cast<QToolButton *>(watched)->click();
            });
            filter->setObjectName(QLatin1String(kReturnClicks));
            button->installEventFilter(filter);
        }
    }
}

void reachToolBars(QWidget &window)
{
    for (QToolBar *bar : window.findChildren<QToolBar *>())
        reachToolBar(*bar);
}

void closeOnEscape(QWidget &window)
{
    // Sees the Escape key events the window's controls leave unused, which travel up to it.
    window.installEventFilter(new KeyAction(
        &window, {Qt::Key_Escape}, [](QObject *watched) { static_cast<QWidget *>(watched)->close(); }));
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
