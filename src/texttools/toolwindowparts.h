#pragma once

#include <QAction>
#include <QIcon>
#include <QString>
#include <QToolBar>

#include <functional>

// Small pieces the text tools' windows are built from.
namespace toolwindowparts {

// The widget with its object name, which is its control name.
template <class W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// A toolbar button named after its command; `clicked` gets its 1-based place on the bar,
// on which the window's toolbar handler dispatches.
inline QAction *button(QToolBar &bar, int index, const QString &name, const QString &caption,
                       const QString &toolTip, const QIcon &icon, const std::function<void(int)> &clicked)
{
    QAction *action = bar.addAction(icon, caption);
    action->setObjectName(name);
    action->setToolTip(toolTip);
    QObject::connect(action, &QAction::triggered, &bar, [clicked, index] { clicked(index); });
    return action;
}

} // namespace toolwindowparts
