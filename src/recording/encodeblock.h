#pragma once

#include "recording/encoders.h"

// The format page's encoding choices as the settings window shows them now.
encoders::Settings encoderSettings();

// Turns the block's WAV file into the chosen output with the outside encoders, removes
// the files that format does not keep, and updates the monitor's progress. An encoder
// that fails keeps the WAV file, is reported to the user naming the encoder and the
// block `blockName`, and stops the recording (StopFlag); the result is false then.
bool EncodeBlock(const encoders::BlockPaths &paths, const QString &blockName);
