#pragma once

#include "platform/speech/voice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    // How every text ends: Cut acts as another window purging the engine.
    speech::SpeechEnd end = speech::SpeechEnd::Ended;
    // Between Pause() and Resume() no text ends.
    bool paused = false;
};

class FakeVoice : public speech::Voice
{
public:
    FakeVoice(FakeSpeechLog &log, QList<speech::VoiceToken> voices, int busyPolls)
        : m_log(log), m_voices(std::move(voices)), m_busyPolls(busyPolls)
    {
    }

    QList<speech::VoiceToken> GetVoices() const override { return m_voices; }
    bool SelectVoice(const QString &id) override
    {
        for (int i = 0; i < m_voices.size(); ++i) {
            if (m_voices[i].id == id) {
                m_current = i;
                m_log.selections.append(id);
                return true;
            }
        }
        return false;
    }
    speech::VoiceToken CurrentVoice() const override { return m_voices.value(m_current); }
    bool Speak(const QString &text, int flags) override
    {
        if (flags & speech::PurgeBeforeSpeak) {
            ++m_log.purges;
            m_pollsLeft = 0;
        }
        if (text.isEmpty())
            return true;
        m_log.spoken.append({text, flags, CurrentVoice().id, m_outputFile, m_outputFormat});
        m_pollsLeft = m_busyPolls;
        if (m_log.onSpeak)
            m_log.onSpeak();
        return true;
    }
    speech::SpeechEnd LastEnd() const override { return m_log.end; }
    bool WaitUntilDone(int) override
    {
        if (m_log.paused)
            return false;
        if (m_pollsLeft == 0)
            return true;
        --m_pollsLeft;
        return false;
    }
    void Pause() override { m_log.paused = true; }
    void Resume() override { m_log.paused = false; }
    // As the real voice: the file exists from here on (empty: nothing is really spoken), and
    // one in a folder that does not exist cannot be made.
    bool OpenOutputFile(const QString &path, int formatType) override
    {
        QFile file(path);
        if (!QFileInfo(path).dir().exists() || !file.open(QIODevice::WriteOnly))
            return false;
        m_outputFile = path;
        m_outputFormat = formatType;
        return true;
    }
    bool CloseOutputFile() override
    {
        m_outputFile.clear();
        return true;
    }
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
    std::unique_ptr<speech::Voice> create() override
    {
        return engineAvailable ? std::make_unique<FakeVoice>(log, voices, busyPolls) : nullptr;
    }

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
