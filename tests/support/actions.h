#pragma once

#include <QString>

class QWidget;

// Triggers the menu item, toolbar or push button named `objectName` inside `window` as a user
// does; a missing, ambiguous or disabled one (or on a disabled toolbar) fails the test, unrun.
bool triggerAction(QWidget &window, const QString &objectName);
