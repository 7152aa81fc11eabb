#pragma once

#include <QLoggingCategory>

// The settings store and the settings window: profiles saved and restored, values a control
// rejected. Silent by default: QT_LOGGING_RULES="quenvale.settings.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
