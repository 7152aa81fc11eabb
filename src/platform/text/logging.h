#pragma once

#include <QLoggingCategory>

// What a maintainer needs to diagnose a failed read or write of a book, a list or a
// program-folder file. Silent by default: QT_LOGGING_RULES="quenvale.files.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
