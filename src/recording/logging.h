#pragma once

#include <QLoggingCategory>

// The encoders: each command line, the encoders' error output and why a run failed.
// Silent by default: QT_LOGGING_RULES="quenvale.encoder.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcEncoder)
// A block that could not be spoken into its WAV file.
// Silent by default: QT_LOGGING_RULES="quenvale.recording.info=true".
Q_DECLARE_LOGGING_CATEGORY(lcRecording)
