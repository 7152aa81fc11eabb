#pragma once

#include "platform/speech/voice.h"

#include <QStringList>

#include <functional>

// A voice that speaks nothing: all voices of the factory record every call in one shared log.
struct FakeSpeechLog
{
    struct Spoken
    {
        QString text;
        int flags;
        QString voiceId;
        QString outputFile;   // empty when spoken aloud
        int outputFormat = 0; // the output file's format type
    };
    QList<Spoken> spoken;
    int purges = 0;
    QStringList selections; // ids, in the order voices were selected
    // Runs after every text spoken (a test stops a recording there).
    std::function<void()> onSpeak;
};

class FakeVoice : public speech::Voice
{
public:
    FakeVoice(FakeSpeechLog &log, QList<speech::VoiceToken> voices, int busyPolls);

    QList<speech::VoiceToken> GetVoices() const override { return m_voices; }
    bool SelectVoice(const QString &id) override;
    speech::VoiceToken CurrentVoice() const override;
    bool Speak(const QString &text, int flags) override;
    bool WaitUntilDone(int ms) override;
    speech::SpeechEnd LastEnd() const override { return speech::SpeechEnd::Ended; }
    void Pause() override {}
    void Resume() override {}
    bool OpenOutputFile(const QString &path, int formatType) override;
    bool CloseOutputFile() override;
    QString LastError() const override { return {}; }

private:
    FakeSpeechLog &m_log;
    QList<speech::VoiceToken> m_voices;
    int m_current = 0;
    int m_busyPolls;
    int m_pollsLeft = 0;
    QString m_outputFile;
    int m_outputFormat = 0;
};

class FakeVoiceFactory : public speech::VoiceFactory
{
public:
    std::unique_ptr<speech::Voice> create() override;

    FakeSpeechLog log;
    // What the fake engine offers; clear it to act as a machine without voices.
    QList<speech::VoiceToken> voices = {
        {QStringLiteral("ru"), QStringLiteral("Nicolai (eSpeak NG, русский, мужской)")},
        {QStringLiteral("ru+f3"), QStringLiteral("Katerina (eSpeak NG, русский, женский)")},
    };
    bool engineAvailable = true;
    // How many WaitUntilDone() polls a spoken text keeps the voice busy.
    int busyPolls = 0;
};
