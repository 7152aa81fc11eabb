#pragma once

#include "recording/encoders.h"
#include "recording/jobstep.h"

namespace encoderprocess {
class Run;
}

// The format page's encoding choices as the settings window shows them now.
encoders::Settings encoderSettings();

// Turns the block's WAV file into the chosen output with the outside encoders, one after the
// other, removes the files that format does not keep, and updates the monitor's progress. An
// encoder that fails keeps the WAV file and fails the block; failure() then names the encoder,
// the block and why, except for an encoder the program's exit or the user's stop ended.
class BlockEncoding : public JobStep
{
    Q_OBJECT
public:
    BlockEncoding(const encoders::BlockPaths &paths, const QString &blockName, QObject *parent);

private:
    void next();
    void stepEnded(encoderprocess::Run *run);

    encoders::BlockPaths m_paths;
    QString m_blockName;
    encoders::Settings m_settings;
    QList<encoders::Step> m_steps;
};

// Starts encoding the block; `parent` owns the run.
BlockEncoding *EncodeBlock(const encoders::BlockPaths &paths, const QString &blockName, QObject *parent);
