#pragma once

#include <QLoggingCategory>

// The text tools: replacement lists that could not be read or written, what a list run and
// a chapter search did. Silent by default: QT_LOGGING_RULES="quenvale.texttools.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcTextTools)
