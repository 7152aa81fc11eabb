#pragma once

#include <QString>

class QWidget;

// Drives a window as a user does: a menu item, toolbar button or push button found by its
// objectName inside `window`. A missing, ambiguous or disabled one (or one on a disabled
// toolbar) fails the running test and is not triggered; the result says whether it ran.
bool triggerAction(QWidget &window, const QString &objectName);
