#include "support/actions.h"

#include <QAbstractButton>
#include <QAction>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A user cannot reach an action whose toolbar is switched off.
bool reachable(const QAction &action)
{
    if (!action.isEnabled())
        return false;
    for (QObject *o : action.associatedObjects())
        if (auto *bar = qobject_cast<QToolBar *>(o); bar && !bar->isEnabled())
            return false;
    return true;
}

} // namespace

bool triggerAction(QWidget &window, const QString &objectName)
{
    const std::string where = (window.objectName() + QLatin1Char('.') + objectName).toStdString();
    const QList<QAction *> actions = window.findChildren<QAction *>(objectName);
    const QList<QAbstractButton *> buttons = window.findChildren<QAbstractButton *>(objectName);
    if (actions.size() + buttons.size() != 1) {
        ADD_FAILURE() << where << ": " << actions.size() + buttons.size()
                      << " actions or buttons of that name, expected one";
        return false;
    }
    if (actions.isEmpty() ? !buttons.front()->isEnabled() : !reachable(*actions.front())) {
        ADD_FAILURE() << where << " is disabled";
        return false;
    }
    if (actions.isEmpty())
        buttons.front()->click();
    else
        actions.front()->trigger();
    return true;
}
