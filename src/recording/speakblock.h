#pragma once

#include "recording/jobstep.h"

#include <QString>
#include <QTimer>

#include <optional>

// The wave format of a block's WAV file for output tab `tab` (WAV, MP3, OGG, AMR, VMO,
// WMA): the listed format's type for WAV output; 22 kHz for MP3 and OGG with a Katerina
// voice (isKaterinaVoice), else 16 kHz; 16 kHz for AMR, 8 kHz for VMO. Nothing when WAV output has
// no listed format and for WMA: the file then gets kDefaultWaveFormat.
std::optional<int> blockWaveFormat(int tab, std::optional<int> listedType, const QString &voiceDescription);

// The format of a WAV file nobody chose one for: 22 kHz, 16 bit, mono.
constexpr int kDefaultWaveFormat = 22;

namespace speech {
class Voice;
}

// Speaks BlockText with the settings window's voice into the block's WAV file `wavPath`,
// through a temporary name that becomes `wavPath` only when the speech is whole. The engine
// speaks on its own thread; the end is polled for while window events go on. A stop
// (StopFlag) ends the speech at the next poll and leaves no file. A WAV file that cannot be
// made fails the block, failure() naming `wavPath`; so does a block whose speech something
// else cut short. A failed block leaves no temporary file.
class BlockSpeech : public JobStep
{
    Q_OBJECT
public:
    BlockSpeech(const QString &wavPath, QObject *parent);
    // Speech still going is aborted.
    ~BlockSpeech() override;

    // Ends the speech at once, closing and removing its file: the program is exiting. The
    // block fails without a message.
    void abort();

private:
    void poll();
    void spoken();
    void fail(const QString &reason);

    QString m_wav;
    QString m_speaking; // the temporary name
    speech::Voice *m_voice = nullptr;
    QTimer m_poll;
};

// Starts speaking the block; `parent` owns the speech.
BlockSpeech *SpeakBlockToWav(const QString &wavPath, QObject *parent);

// Aborts the block speech in progress, if any (BlockSpeech::abort).
void abortSpeaking();
