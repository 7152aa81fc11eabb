#pragma once

#include <QLoggingCategory>

// The speech engine: its start, the voices it loads, failed speech and output files.
// Silent by default: QT_LOGGING_RULES="quenvale.speech.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcSpeech)
