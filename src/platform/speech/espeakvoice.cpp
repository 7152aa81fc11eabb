#include "platform/speech/espeakvoice.h"

#include "platform/speech/engine.h"
#include "platform/speech/markup.h"
#include "platform/speech/wavwriter.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>

#include <chrono>

namespace speech {

EspeakVoice::EspeakVoice(std::shared_ptr<Engine> engine, bool silentAudio)
    : m_engine(std::move(engine)), m_channel(std::make_shared<SpeechChannel>()), m_silentAudio(silentAudio)
{
    if (!m_engine->voices().isEmpty())
        m_voiceId = m_engine->voices().front().id;
}

EspeakVoice::~EspeakVoice()
{
    m_engine->cancel(m_channel);
    waitIdle(-1);
    if (m_file)
        m_file->close();
}

QList<VoiceToken> EspeakVoice::GetVoices() const
{
    QList<VoiceToken> tokens;
    for (const EngineVoice &v : m_engine->voices())
        tokens.append({v.id, v.description});
    return tokens;
}

bool EspeakVoice::SelectVoice(const QString &id)
{
    for (const EngineVoice &v : m_engine->voices()) {
        if (v.id == id) {
            // The engine reads its exception dictionary when its voice is selected anew.
            if (id == Engine::dictionaryVoiceId() && m_voiceId != id)
                m_engine->reloadExceptions();
            m_voiceId = id;
            m_error.clear();
            return true;
        }
    }
    m_error = QStringLiteral("Голос %1 не установлен").arg(id);
    return false;
}

VoiceToken EspeakVoice::CurrentVoice() const
{
    for (const EngineVoice &v : m_engine->voices()) {
        if (v.id == m_voiceId)
            return {v.id, v.description};
    }
    return {};
}

bool EspeakVoice::Speak(const QString &text, int flags)
{
    m_error.clear();
    if (flags & PurgeBeforeSpeak)
        m_engine->purge(m_channel.get());
    QList<Segment> segments = (flags & IsXML) || looksLikeMarkup(text) ? parseMarkup(text) : parsePlain(text);
    if (segments.isEmpty())
        return (flags & Async) || waitIdle(-1);
    if (m_voiceId.isEmpty()) {
        m_error = QStringLiteral("Нет голоса: русский голос eSpeak NG не установлен (пакет espeak-ng-data)");
        return false;
    }
    if (m_file && !m_file->errorString().isEmpty()) {
        m_error = m_file->errorString();
        return false;
    }
    auto job = newJob();
    job->segments = std::move(segments);
    m_last = job;
    m_engine->submit(job);
    if (flags & Async)
        return true;
    waitIdle(-1);
    std::lock_guard lock(m_channel->mutex);
    if (job->error.isEmpty())
        return true;
    // Reported here, so not again by LastError() later.
    m_error = job->error;
    if (m_channel->failure == job->error)
        m_channel->failure.clear();
    return false;
}

std::shared_ptr<SpeechJob> EspeakVoice::newJob()
{
    auto job = std::make_shared<SpeechJob>();
    job->voiceId = m_voiceId;
    job->file = m_file;
    job->silentAudio = m_silentAudio;
    job->channel = m_channel;
    if (m_voiceId == Engine::dictionaryVoiceId())
        job->exceptions = m_engine->exceptions();
    return job;
}

QStringList EspeakVoice::engineTexts(const QString &text, int flags)
{
    if (m_voiceId.isEmpty())
        return {};
    auto job = newJob();
    job->segments = (flags & IsXML) || looksLikeMarkup(text) ? parseMarkup(text) : parsePlain(text);
    job->file.reset();
    job->preview = std::make_shared<QStringList>();
    m_engine->submit(job);
    waitIdle(-1);
    return *job->preview;
}

bool EspeakVoice::waitIdle(int ms)
{
    std::unique_lock lock(m_channel->mutex);
    auto idle = [this] { return m_channel->pending == 0; };
    if (ms < 0)
        m_channel->changed.wait(lock, idle);
    else
        m_channel->changed.wait_for(lock, std::chrono::milliseconds(ms), idle);
    if (m_channel->pending != 0)
        return false;
    if (!m_channel->failure.isEmpty())
        m_error = std::exchange(m_channel->failure, QString());
    return true;
}

bool EspeakVoice::WaitUntilDone(int ms)
{
    return waitIdle(ms);
}

SpeechEnd EspeakVoice::LastEnd() const
{
    return m_last ? m_last->end.load() : SpeechEnd::Ended;
}

void EspeakVoice::Pause()
{
    m_channel->paused = true;
    m_engine->pauseChanged();
}

void EspeakVoice::Resume()
{
    m_channel->paused = false;
    m_engine->pauseChanged();
}

bool EspeakVoice::OpenOutputFile(const QString &path, int formatType)
{
    m_error.clear();
    const auto format = AudioFormat::fromType(formatType);
    if (!format) {
        m_error = QStringLiteral("Неизвестный формат звука %1").arg(formatType);
        return false;
    }
    if (m_file && !CloseOutputFile())
        return false;
    auto file = std::make_shared<WavWriter>(m_engine->sampleRate());
    if (!file->open(path, *format)) {
        m_error = file->errorString();
        return false;
    }
    m_file = std::move(file);
    return true;
}

bool EspeakVoice::CloseOutputFile()
{
    if (!m_file)
        return true;
    // Texts already given still go into this file.
    waitIdle(-1);
    const bool ok = m_file->close();
    if (!ok)
        m_error = m_file->errorString();
    m_file.reset();
    return ok;
}

QString EspeakVoice::LastError() const
{
    std::lock_guard lock(m_channel->mutex);
    if (!m_channel->failure.isEmpty())
        m_error = std::exchange(m_channel->failure, QString());
    return m_error;
}

EspeakVoiceFactory::EspeakVoiceFactory() : EspeakVoiceFactory(Options{}) {}

EspeakVoiceFactory::EspeakVoiceFactory(Options options) : m_options(std::move(options))
{
    // Qt's audio backend is brought up here, on the window thread, rather than on first
    // use by the audio thread.
    if (!m_options.silentAudio && QCoreApplication::instance())
        QMediaDevices::defaultAudioOutput();
}

EspeakVoiceFactory::~EspeakVoiceFactory() = default;

std::unique_ptr<Voice> EspeakVoiceFactory::create()
{
    if (!m_engine) {
        m_error.clear();
        m_engine = Engine::acquire(m_options.dataDir, &m_error);
        if (!m_engine)
            return nullptr;
    }
    return std::make_unique<EspeakVoice>(m_engine, m_options.silentAudio);
}

} // namespace speech
