#include "support/fakevoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

FakeVoice::FakeVoice(FakeSpeechLog &log, QList<speech::VoiceToken> voices, int busyPolls)
    : m_log(log), m_voices(std::move(voices)), m_busyPolls(busyPolls)
{
}

bool FakeVoice::SelectVoice(const QString &id)
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

speech::VoiceToken FakeVoice::CurrentVoice() const
{
    return m_current < m_voices.size() ? m_voices[m_current] : speech::VoiceToken{};
}

bool FakeVoice::Speak(const QString &text, int flags)
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

bool FakeVoice::WaitUntilDone(int)
{
    if (m_pollsLeft > 0) {
        --m_pollsLeft;
        return false;
    }
    return true;
}

bool FakeVoice::OpenOutputFile(const QString &path, int formatType)
{
    // As the real voice: a file in a folder that does not exist cannot be made.
    if (!QFileInfo(path).dir().exists())
        return false;
    // As the real voice, the file exists from here on (empty: nothing is really spoken).
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    m_outputFile = path;
    m_outputFormat = formatType;
    return true;
}

bool FakeVoice::CloseOutputFile()
{
    m_outputFile.clear();
    return true;
}

std::unique_ptr<speech::Voice> FakeVoiceFactory::create()
{
    if (!engineAvailable)
        return nullptr;
    return std::make_unique<FakeVoice>(log, voices, busyPolls);
}
