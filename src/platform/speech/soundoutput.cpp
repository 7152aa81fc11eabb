#include "platform/speech/soundoutput.h"

#include "platform/speech/resampler.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

namespace speech {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How often blocked writers look at their stop check when nothing wakes them.
constexpr auto pollStep = 10ms;

class ClockOutput : public SoundOutput
{
public:
    explicit ClockOutput(int sampleRate) : m_rate(sampleRate), m_lead(sampleRate / 10) {}

    bool write(const qint16 *, size_t count, const StopCheck &stopped) override
    {
        if (stopped())
            return false;
        std::unique_lock lock(m_mutex);
        const auto now = Clock::now();
        if (heard(now) >= m_written) {
            // Nothing was sounding: the clock starts with these samples.
            m_base = m_written;
            m_start = now;
        }
        m_written += static_cast<qint64>(count);
        while (!stopped() && m_written - heard(Clock::now()) > m_lead)
            m_wake.wait_for(lock, pollStep);
        return !stopped();
    }

    bool drain(const StopCheck &stopped) override
    {
        std::unique_lock lock(m_mutex);
        while (!stopped() && heard(Clock::now()) < m_written)
            m_wake.wait_for(lock, pollStep);
        return !stopped();
    }

    void discard() override
    {
        std::lock_guard lock(m_mutex);
        const auto now = Clock::now();
        m_base = m_written = heard(now);
        m_start = now;
        m_wake.notify_all();
    }

    void setPaused(bool paused) override
    {
        std::lock_guard lock(m_mutex);
        if (paused == m_paused)
            return;
        const auto now = Clock::now();
        if (paused)
            m_base = heard(now);
        m_start = now;
        m_paused = paused;
        m_wake.notify_all();
    }

private:
    qint64 heard(Clock::time_point now) const
    {
        if (m_paused)
            return std::min(m_base, m_written);
        const double seconds = std::chrono::duration<double>(now - m_start).count();
        return std::min(m_written, m_base + static_cast<qint64>(seconds * m_rate));
    }

    const int m_rate;
    const qint64 m_lead;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    qint64 m_written = 0;
    qint64 m_base = 0;
    Clock::time_point m_start = Clock::now();
    bool m_paused = false;
};

// The sound card. The sink lives on a thread of its own with an event loop, where a
// timer moves queued bytes into it; the engine thread only fills the queue.
class DeviceOutput : public SoundOutput
{
public:
    explicit DeviceOutput(int sourceRate) : m_sourceRate(sourceRate) {}

    ~DeviceOutput() override
    {
        if (m_worker) {
            QMetaObject::invokeMethod(
                m_worker.get(),
                [this] {
                    m_timer.reset();
                    if (m_sink)
                        m_sink->stop();
                    m_sink.reset();
                },
                Qt::BlockingQueuedConnection);
        }
        m_thread.quit();
        m_thread.wait();
    }

    bool start()
    {
        m_thread.setObjectName(QStringLiteral("speech audio"));
        m_thread.start();
        m_worker = std::make_unique<QObject>();
        m_worker->moveToThread(&m_thread);
        bool ok = false;
        QMetaObject::invokeMethod(
            m_worker.get(), [this, &ok] { ok = startSink(); }, Qt::BlockingQueuedConnection);
        return ok;
    }

    bool write(const qint16 *samples, size_t count, const StopCheck &stopped) override
    {
        if (stopped())
            return false;
        if (m_resampler) {
            m_converted.clear();
            m_resampler->process(samples, count, m_converted);
            samples = m_converted.data();
            count = m_converted.size();
        }
        std::unique_lock lock(m_mutex);
        if (m_failed)
            return !stopped(); // the device went away: drop the sound, keep speaking
        append(samples, count);
        while (!stopped() && !m_failed && m_queue.size() > m_leadBytes)
            m_wake.wait_for(lock, pollStep);
        return !stopped();
    }

    bool drain(const StopCheck &stopped) override
    {
        if (m_resampler) {
            m_converted.clear();
            m_resampler->finish(m_converted);
            std::lock_guard lock(m_mutex);
            append(m_converted.data(), m_converted.size());
        }
        std::unique_lock lock(m_mutex);
        while (!stopped() && !m_failed && !heardAll())
            m_wake.wait_for(lock, pollStep);
        return !stopped();
    }

    void discard() override
    {
        {
            std::lock_guard lock(m_mutex);
            const bool sounding = !heardAll();
            m_queue.clear();
            m_wake.notify_all();
            // A new stream takes a while to start on some servers: keep the one that is
            // silent anyway.
            if (!sounding)
                return;
        }
        QMetaObject::invokeMethod(m_worker.get(), [this] {
            if (!m_sink)
                return;
            // Drops what the sink holds; a new stream starts counting from zero.
            m_sink->reset();
            m_device = m_sink->start();
            std::lock_guard lock(m_mutex);
            m_sent = 0;
            m_heard = 0;
            m_progress = Clock::now();
        });
    }

    void setPaused(bool paused) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_paused = paused;
            m_progress = Clock::now();
        }
        QMetaObject::invokeMethod(m_worker.get(), [this, paused] {
            if (!m_sink)
                return;
            if (paused)
                m_sink->suspend();
            else
                m_sink->resume();
        });
    }

private:
    // On the audio thread.
    bool startSink()
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(m_sourceRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format))
            format = device.preferredFormat();
        if (format.sampleFormat() != QAudioFormat::Int16 && format.sampleFormat() != QAudioFormat::Float)
            return false;
        if (format.channelCount() < 1)
            return false;
        m_format = format;
        if (format.sampleRate() != m_sourceRate) {
            m_resampler = std::make_unique<Resampler>(m_sourceRate, format.sampleRate());
            if (!m_resampler->isValid())
                return false;
        }
        m_leadBytes = format.bytesForDuration(200000);
        m_sink = std::make_unique<QAudioSink>(device, format);
        m_device = m_sink->start();
        if (!m_device || m_sink->error() != QAudio::NoError)
            return false;
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(5);
        QObject::connect(m_timer.get(), &QTimer::timeout, m_worker.get(), [this] { pump(); });
        m_timer->start();
        return true;
    }

    // On the audio thread: feeds the sink from the queue and notes how much was heard.
    void pump()
    {
        std::lock_guard lock(m_mutex);
        if (m_sink->error() == QAudio::FatalError || m_sink->error() == QAudio::OpenError) {
            m_failed = true;
            m_queue.clear();
            m_wake.notify_all();
            return;
        }
        if (!m_paused && m_device) {
            const qsizetype frame = m_format.bytesPerFrame();
            const qsizetype n = std::min<qsizetype>(m_queue.size(), m_sink->bytesFree()) / frame * frame;
            if (n > 0) {
                const qint64 written = m_device->write(m_queue.constData(), n);
                if (written > 0) {
                    m_queue.remove(0, written);
                    m_sent += written;
                }
            }
        }
        const qint64 heard = m_sink->processedUSecs();
        if (heard != m_heard) {
            m_heard = heard;
            m_progress = Clock::now();
        }
        m_wake.notify_all();
    }

    // Under m_mutex: the sink has played everything it was given. Its own count of what
    // it played decides; a sink whose count stands still for a second is taken as done.
    bool heardAll() const
    {
        if (!m_queue.isEmpty())
            return false;
        const qint64 sentUSecs = m_format.durationForBytes(m_sent);
        if (m_heard + 30000 >= sentUSecs)
            return true;
        return !m_paused && Clock::now() - m_progress > 1s;
    }

    // Under m_mutex: converts mono 16-bit samples into the sink's format.
    void append(const qint16 *samples, size_t count)
    {
        m_progress = Clock::now();
        const int channels = m_format.channelCount();
        const qsizetype start = m_queue.size();
        m_queue.resize(start + static_cast<qsizetype>(count) * m_format.bytesPerFrame());
        char *out = m_queue.data() + start;
        for (size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                if (m_format.sampleFormat() == QAudioFormat::Int16) {
                    std::memcpy(out, &samples[i], 2);
                    out += 2;
                } else {
                    const float f = samples[i] / 32768.0f;
                    std::memcpy(out, &f, 4);
                    out += 4;
                }
            }
        }
    }

    const int m_sourceRate;
    QThread m_thread;
    std::unique_ptr<QObject> m_worker;
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QTimer> m_timer;
    QIODevice *m_device = nullptr; // owned by the sink
    QAudioFormat m_format;
    std::unique_ptr<Resampler> m_resampler; // engine thread only
    std::vector<qint16> m_converted;        // engine thread only
    qsizetype m_leadBytes = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    QByteArray m_queue;
    qint64 m_sent = 0;  // bytes given to the sink
    qint64 m_heard = 0; // microseconds the sink reports played
    Clock::time_point m_progress = Clock::now();
    bool m_paused = false;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<SoundOutput> openSilentOutput(int sampleRate)
{
    return std::make_unique<ClockOutput>(sampleRate);
}

std::unique_ptr<SoundOutput> openSoundOutput(int sampleRate, bool silent)
{
    if (!silent && QCoreApplication::instance()) {
        auto device = std::make_unique<DeviceOutput>(sampleRate);
        if (device->start())
            return device;
    }
    return openSilentOutput(sampleRate);
}

} // namespace speech
