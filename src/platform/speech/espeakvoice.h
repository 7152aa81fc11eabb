#pragma once

#include "platform/speech/voice.h"

#include <memory>

namespace speech {

class Engine;
struct SpeechChannel;
class WavWriter;
struct SpeechJob;

// A voice over eSpeak NG. Every voice object is a handle on the one engine thread of the
// process: texts of all handles are spoken in the order given, and a purge by any handle
// silences them all.
//
// Errors: Speak() returns false for what is known at once (no voice, a broken output
// file); a failure found while a text is spoken asynchronously shows in LastError() once
// WaitUntilDone() reports the end, and CloseOutputFile() fails when the file was not
// written completely.
class EspeakVoice : public Voice
{
public:
    EspeakVoice(std::shared_ptr<Engine> engine, bool silentAudio);
    ~EspeakVoice() override;

    QList<VoiceToken> GetVoices() const override;
    bool SelectVoice(const QString &id) override;
    VoiceToken CurrentVoice() const override;

    bool Speak(const QString &text, int flags) override;
    bool WaitUntilDone(int ms) override;
    SpeechEnd LastEnd() const override;
    void Pause() override;
    void Resume() override;

    bool OpenOutputFile(const QString &path, int formatType) override;
    bool CloseOutputFile() override;

    QString LastError() const override;

    // What the engine would synthesise for this text with the current voice, one text per
    // run of speech: the exception dictionary applied, stressed words as phonemes.
    QStringList engineTexts(const QString &text, int flags);

private:
    std::shared_ptr<SpeechJob> newJob();
    bool waitIdle(int ms);

    std::shared_ptr<Engine> m_engine;
    std::shared_ptr<SpeechChannel> m_channel;
    bool m_silentAudio;
    QString m_voiceId;
    std::shared_ptr<WavWriter> m_file;
    std::shared_ptr<SpeechJob> m_last; // the text given last
    mutable QString m_error;
};

class EspeakVoiceFactory : public VoiceFactory
{
public:
    struct Options
    {
        // The folder holding espeak-ng-data (or that folder itself); empty for eSpeak's own.
        // eSpeak starts once per process, so only the first engine start uses it.
        QString dataDir;
        // Speak "aloud" at real-time pace without a sound card (tests, benchmarks).
        bool silentAudio = false;
    };

    EspeakVoiceFactory();
    explicit EspeakVoiceFactory(Options options);
    ~EspeakVoiceFactory() override;

    // Starts the engine on first use; nothing when it cannot start (errorString() says why).
    std::unique_ptr<Voice> create() override;
    QString errorString() const { return m_error; }

private:
    Options m_options;
    std::shared_ptr<Engine> m_engine;
    QString m_error;
};

} // namespace speech
