#include "platform/speech/engine.h"

#include "platform/speech/logging.h"

#include "platform/speech/prosodymap.h"
#include "platform/speech/soundoutput.h"
#include "platform/speech/stress.h"
#include "platform/speech/wavwriter.h"
#include "platform/text/textfile.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>

#include <espeak-ng/espeak_ng.h>

#include <future>

Q_LOGGING_CATEGORY(lcSpeech, "quenvale.speech", QtWarningMsg)

namespace speech {

namespace {

// Length of the sound eSpeak hands over at a time; a purge takes effect between two.
constexpr int chunkMs = 50;

// eSpeak's global state, set up once by the first engine thread.
struct EspeakState
{
    bool tried = false;
    QString error;
    int sampleRate = 0;
    QList<EngineVoice> voices;
};

EspeakState &espeakState()
{
    static EspeakState state;
    return state;
}

// Held by an engine thread for its whole life, so that an engine going away and a new
// one starting never touch eSpeak at the same time.
std::mutex &espeakOwnership()
{
    static std::mutex mutex;
    return mutex;
}

QString statusText(espeak_ng_STATUS status)
{
    char buffer[512] = {};
    espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
    return QString::fromLocal8Bit(buffer);
}

struct VoiceOffer
{
    const char *id;
    const char *variant; // file in voices/!v, or none for the language's own voice
    const char *description;
};

// The descriptions are what profiles store and what the replacement lists are chosen by:
// the default male voice is Nicolai, the first female one Katerina.
const VoiceOffer offers[] = {
    {"ru", nullptr, "Nicolai (eSpeak NG, русский, мужской)"},
    {"ru+m4", "m4", "Boris (eSpeak NG, русский, мужской, низкий)"},
    {"ru+f3", "f3", "Katerina (eSpeak NG, русский, женский)"},
    {"ru+f1", "f1", "Olga (eSpeak NG, русский, женский, спокойный)"},
};

QList<EngineVoice> findVoices()
{
    const char *dataPath = nullptr;
    espeak_Info(&dataPath);
    const QDir data(QFile::decodeName(dataPath ? dataPath : ""));
    // eSpeak accepts the Russian voice without its dictionary and then speaks nonsense,
    // so the dictionary is looked for here.
    if (!data.exists(QStringLiteral("ru_dict")) || espeak_ng_SetVoiceByName("ru") != ENS_OK)
        return {};
    QList<EngineVoice> voices;
    for (const VoiceOffer &offer : offers) {
        if (offer.variant && !data.exists(QStringLiteral("voices/!v/") + QLatin1String(offer.variant)))
            continue;
        voices.append({QString::fromLatin1(offer.id), QString::fromUtf8(offer.description)});
    }
    return voices;
}

int synthCallback(short *samples, int count, espeak_EVENT *events);

void initialise(const QString &dataDir, EspeakState &state)
{
    const QByteArray path = QFile::encodeName(dataDir);
    espeak_ng_InitializePath(dataDir.isEmpty() ? nullptr : path.constData());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    if (status == ENS_OK)
        status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, chunkMs, nullptr);
    if (status != ENS_OK) {
        state.error = QStringLiteral("Не удалось запустить eSpeak NG: %1").arg(statusText(status));
        return;
    }
    state.sampleRate = espeak_ng_GetSampleRate();
    espeak_SetSynthCallback(synthCallback);
    state.voices = findVoices();
}

// Where the samples of one text go; every call returns false once the text is to stop.
class Target
{
public:
    explicit Target(std::function<bool()> stopped) : m_stopped(std::move(stopped)) {}
    virtual ~Target() = default;

    virtual bool speech(const qint16 *samples, size_t count) = 0;
    virtual bool endSpeech() = 0;
    virtual bool silence(int ms) = 0;
    // The text is over (or stopped): the file is made complete, the sound played out.
    virtual void finish() = 0;

    bool stopped() const { return m_stopped(); }
    QString error;

protected:
    std::function<bool()> m_stopped;
};

class FileTarget : public Target
{
public:
    FileTarget(WavWriter &file, const SpeechChannel &channel, std::function<bool()> stopped)
        : Target(std::move(stopped)), m_file(file), m_channel(channel)
    {
    }

    bool speech(const qint16 *samples, size_t count) override
    {
        return ready() && check(m_file.writeSpeech(samples, count));
    }
    bool endSpeech() override { return check(m_file.endSpeech()); }
    bool silence(int ms) override { return ready() && check(m_file.writeSilence(ms)); }
    void finish() override { check(m_file.sync()); }

private:
    bool ready()
    {
        while (m_channel.paused && !stopped())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return !stopped();
    }
    bool check(bool ok)
    {
        if (!ok && error.isEmpty())
            error = m_file.errorString();
        return ok;
    }

    WavWriter &m_file;
    const SpeechChannel &m_channel;
};

class SoundTarget : public Target
{
public:
    SoundTarget(SoundOutput &output, int sampleRate, std::function<bool()> stopped)
        : Target(std::move(stopped)), m_output(output), m_sampleRate(sampleRate)
    {
    }

    bool speech(const qint16 *samples, size_t count) override
    {
        return m_output.write(samples, count, m_stopped);
    }
    bool endSpeech() override { return !stopped(); }
    bool silence(int ms) override
    {
        const std::vector<qint16> zeros(m_sampleRate * chunkMs / 1000, 0);
        qint64 left = static_cast<qint64>(ms) * m_sampleRate / 1000;
        while (left > 0) {
            const qint64 n = std::min<qint64>(left, zeros.size());
            if (!m_output.write(zeros.data(), n, m_stopped))
                return false;
            left -= n;
        }
        return true;
    }
    void finish() override
    {
        if (!stopped())
            m_output.drain(m_stopped);
    }

private:
    SoundOutput &m_output;
    int m_sampleRate;
};

// The target of the text being synthesised; eSpeak's callback has no other context.
thread_local Target *currentTarget = nullptr;

int synthCallback(short *samples, int count, espeak_EVENT *)
{
    if (!currentTarget)
        return 1;
    if (!samples || count <= 0)
        return currentTarget->stopped() ? 1 : 0;
    return currentTarget->speech(samples, static_cast<size_t>(count)) ? 0 : 1;
}

} // namespace

std::shared_ptr<Engine> Engine::acquire(const QString &dataDir, QString *error)
{
    static std::mutex mutex;
    static std::weak_ptr<Engine> running;
    std::lock_guard lock(mutex);
    if (auto engine = running.lock())
        return engine;
    std::shared_ptr<Engine> engine(new Engine);
    std::promise<QString> started;
    std::future<QString> result = started.get_future();
    engine->m_thread = std::thread([e = engine.get(), dataDir, &started] { e->run(dataDir, &started); });
    const QString failure = result.get();
    if (!failure.isEmpty()) {
        qCInfo(lcSpeech).noquote() << "engine did not start:" << failure;
        if (error)
            *error = failure;
        return nullptr;
    }
    qCInfo(lcSpeech).noquote() << "engine started, data"
                               << (dataDir.isEmpty() ? QStringLiteral("(installed)") : dataDir) << ","
                               << engine->voices().size() << "voices";
    running = engine;
    return engine;
}

Engine::~Engine()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

const QList<EngineVoice> &Engine::voices() const
{
    return espeakState().voices;
}

int Engine::sampleRate() const
{
    return espeakState().sampleRate;
}

void Engine::submit(const std::shared_ptr<SpeechJob> &job)
{
    {
        std::lock_guard lock(job->channel->mutex);
        ++job->channel->pending;
    }
    {
        std::lock_guard lock(m_mutex);
        job->generation = m_generation;
        m_queue.push_back(job);
    }
    m_wake.notify_all();
}

void Engine::markStopped(SpeechJob &job, const SpeechChannel *by)
{
    job.end = job.channel.get() == by ? SpeechEnd::Purged : SpeechEnd::Cut;
}

void Engine::purge(const SpeechChannel *by)
{
    std::deque<std::shared_ptr<SpeechJob>> dropped;
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        dropped.swap(m_queue);
        for (const auto &job : dropped)
            markStopped(*job, by);
        if (m_current)
            markStopped(*m_current, by);
        if (m_device)
            m_device->discard();
        if (m_clock)
            m_clock->discard();
    }
    for (const auto &job : dropped)
        finish(job, {});
}

void Engine::cancel(const std::shared_ptr<SpeechChannel> &channel)
{
    std::deque<std::shared_ptr<SpeechJob>> dropped;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_queue.begin(); it != m_queue.end();) {
            if ((*it)->channel == channel) {
                markStopped(**it, channel.get());
                dropped.push_back(*it);
                it = m_queue.erase(it);
            } else {
                ++it;
            }
        }
        if (m_current && m_current->channel == channel) {
            m_current->cancelled = true;
            markStopped(*m_current, channel.get());
            if (!m_current->file) {
                SoundOutput *output = m_current->silentAudio ? m_clock.get() : m_device.get();
                if (output)
                    output->discard();
            }
        }
    }
    for (const auto &job : dropped)
        finish(job, {});
}

void Engine::pauseChanged()
{
    std::lock_guard lock(m_mutex);
    updateOutputPause();
}

void Engine::updateOutputPause()
{
    const bool paused = m_current && !m_current->file && m_current->channel->paused;
    if (paused == m_outputPaused)
        return;
    m_outputPaused = paused;
    if (m_device)
        m_device->setPaused(paused);
    if (m_clock)
        m_clock->setPaused(paused);
}

QString Engine::dictionaryVoiceId()
{
    return QStringLiteral("ru");
}

std::shared_ptr<const ExceptionTable> Engine::exceptions()
{
    {
        // A new dictionary path (another engine version) is read at once.
        std::lock_guard lock(m_mutex);
        if (m_exceptions && m_exceptionsPath == exceptionDictionary())
            return m_exceptions;
    }
    reloadExceptions();
    std::lock_guard lock(m_mutex);
    return m_exceptions;
}

void Engine::reloadExceptions()
{
    const QString path = exceptionDictionary();
    const auto lines = path.isEmpty() ? std::optional<QStringList>() : textfile::readLines(path);
    auto table =
        std::make_shared<const ExceptionTable>(ExceptionTable::fromLines(lines.value_or(QStringList())));
    qCInfo(lcSpeech) << "exception dictionary" << path << (lines ? "read," : "not readable,") << table->size()
                     << "entries";
    std::lock_guard lock(m_mutex);
    m_exceptions = std::move(table);
    m_exceptionsPath = path;
}

QStringList Engine::phonemesOf(const QString &word) const
{
    // eSpeak may still hold the end of the text spoken before and hands it out with the
    // next look-up: a look-up of a full stop takes it. Ended as a sentence, the word itself
    // is not held back for the next call either.
    const void *flush = ".";
    espeak_TextToPhonemes(&flush, espeakCHARS_UTF8, 0);
    const QByteArray utf8 = (word + u'.').toUtf8();
    const void *text = utf8.constData();
    // One phoneme name per blank-separated item.
    const char *phonemes = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, int(' ') << 8);
    return QString::fromUtf8(phonemes ? phonemes : "").split(u' ', Qt::SkipEmptyParts);
}

bool Engine::stopped(const SpeechJob &job) const
{
    return job.cancelled || job.generation != m_generation;
}

void Engine::run(const QString &dataDir, std::promise<QString> *started)
{
    std::lock_guard ownership(espeakOwnership());
    EspeakState &state = espeakState();
    if (!state.tried) {
        state.tried = true;
        initialise(dataDir, state);
    }
    started->set_value(state.error);
    if (!state.error.isEmpty())
        return;
    for (;;) {
        std::shared_ptr<SpeechJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_queue.empty())
                break;
            job = m_queue.front();
            m_queue.pop_front();
            m_current = job;
            updateOutputPause();
        }
        if (!stopped(*job))
            speak(*job);
        {
            std::lock_guard lock(m_mutex);
            m_current.reset();
            updateOutputPause();
        }
        finish(job, job->error);
    }
    std::unique_ptr<SoundOutput> device;
    std::unique_ptr<SoundOutput> clock;
    {
        std::lock_guard lock(m_mutex);
        device = std::move(m_device);
        clock = std::move(m_clock);
    }
}

SoundOutput &Engine::soundOutput(bool silent)
{
    std::unique_ptr<SoundOutput> &slot = silent ? m_clock : m_device;
    if (!slot) {
        auto output = openSoundOutput(espeakState().sampleRate, silent);
        std::lock_guard lock(m_mutex);
        slot = std::move(output);
        slot->setPaused(m_outputPaused);
    }
    return *slot;
}

void Engine::speak(SpeechJob &job)
{
    if (job.voiceId != m_currentVoice) {
        const espeak_ng_STATUS status = espeak_ng_SetVoiceByName(job.voiceId.toUtf8().constData());
        if (status != ENS_OK) {
            m_currentVoice.clear();
            job.error = QStringLiteral("Голос %1 не загружен: %2").arg(job.voiceId, statusText(status));
            qCInfo(lcSpeech).noquote() << "voice" << job.voiceId << "not loaded:" << statusText(status);
            return;
        }
        qCInfo(lcSpeech).noquote() << "voice" << job.voiceId << "loaded";
        m_currentVoice = job.voiceId;
    }
    auto prepare = [this, &job](const Segment &segment) {
        const Segment applied = job.exceptions ? job.exceptions->apply(segment) : segment;
        return engineText(applied, [this](const QString &word) { return phonemesOf(word); });
    };
    if (job.preview) {
        for (const Segment &segment : job.segments) {
            if (!segment.isSilence())
                job.preview->append(prepare(segment).text);
        }
        return;
    }
    auto stop = [this, &job] { return stopped(job); };
    std::unique_ptr<Target> target;
    if (job.file)
        target = std::make_unique<FileTarget>(*job.file, *job.channel, stop);
    else
        target = std::make_unique<SoundTarget>(soundOutput(job.silentAudio), espeakState().sampleRate, stop);

    for (const Segment &segment : job.segments) {
        if (target->stopped())
            break;
        if (segment.isSilence()) {
            if (!target->silence(segment.silenceMs))
                break;
            continue;
        }
        // Phoneme look-ups come first: they reset eSpeak's text state, parameters included.
        const EngineText spoken = prepare(segment);
        const EngineProsody p = engineProsody(segment.prosody);
        espeak_ng_SetParameter(espeakRATE, p.wordsPerMinute, 0);
        espeak_ng_SetParameter(espeakVOLUME, p.volume, 0);
        espeak_ng_SetParameter(espeakPITCH, p.pitch, 0);
        espeak_ng_SetParameter(espeakWORDGAP, p.wordGap, 0);
        const QByteArray text = spoken.text.toUtf8();
        const unsigned flags = espeakCHARS_UTF8 | (spoken.phonemes ? espeakPHONEMES : 0);
        currentTarget = target.get();
        const espeak_ng_STATUS status = espeak_ng_Synthesize(text.constData(), text.size() + 1, 0,
                                                             POS_CHARACTER, 0, flags, nullptr, nullptr);
        currentTarget = nullptr;
        if (status != ENS_OK && status != ENS_SPEECH_STOPPED && !target->stopped()) {
            target->error = QStringLiteral("Ошибка синтеза речи: %1").arg(statusText(status));
            break;
        }
        if (!target->endSpeech())
            break;
    }
    target->finish();
    job.error = target->error;
}

void Engine::finish(const std::shared_ptr<SpeechJob> &job, const QString &error)
{
    SpeechChannel &channel = *job->channel;
    {
        std::lock_guard lock(channel.mutex);
        job->finished = true;
        job->error = error;
        if (!error.isEmpty()) {
            qCInfo(lcSpeech).noquote() << "speech failed:" << error;
            channel.failure = error;
        }
        --channel.pending;
    }
    channel.changed.notify_all();
}

} // namespace speech
