#pragma once

#include "platform/speech/exceptions.h"
#include "platform/speech/markup.h"
#include "platform/speech/voice.h"

#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace speech {

class SoundOutput;
class WavWriter;

struct EngineVoice
{
    QString id;          // eSpeak's name for it, "ru" or "ru+f3"
    QString description; // what the user sees
};

// What one voice handle shares with the engine thread: its count of unfinished texts,
// its pause switch and the failure of a text spoken asynchronously.
struct SpeechChannel
{
    std::mutex mutex;
    std::condition_variable changed;
    int pending = 0;
    QString failure;
    std::atomic<bool> paused{false};
};

struct SpeechJob
{
    QList<Segment> segments;
    QString voiceId;
    std::shared_ptr<WavWriter> file; // none: aloud
    bool silentAudio = false;
    std::shared_ptr<SpeechChannel> channel;
    // The exception dictionary applied to the text (the dictionary voice only).
    std::shared_ptr<const ExceptionTable> exceptions;
    // Nothing is spoken: the engine puts the texts it would synthesise here.
    std::shared_ptr<QStringList> preview;

    // Set by the engine.
    quint64 generation = 0;
    std::atomic<bool> cancelled{false};
    std::atomic<SpeechEnd> end{SpeechEnd::Ended};
    bool finished = false; // under channel->mutex
    QString error;         // under channel->mutex
};

// The one eSpeak NG engine of the process. eSpeak is not re-entrant and keeps global
// state, so a single thread makes every eSpeak call and speaks the queued texts in
// order. eSpeak is initialised once per process and never terminated (its terminate
// call hangs when repeated), so the data folder of the first start holds for the process.
class Engine
{
public:
    // The running engine, or a new one; nothing when eSpeak cannot start (`error` says why).
    static std::shared_ptr<Engine> acquire(const QString &dataDir, QString *error);
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    // The Russian voices found at start, in a fixed order.
    const QList<EngineVoice> &voices() const;
    int sampleRate() const;

    void submit(const std::shared_ptr<SpeechJob> &job);
    // Drops every queued text and ends the one being spoken, of every voice handle; the
    // texts of other handles than `by` count as cut.
    void purge(const SpeechChannel *by);
    // The same for one handle's texts only (a handle going away).
    void cancel(const std::shared_ptr<SpeechChannel> &channel);
    // A handle's pause switch changed.
    void pauseChanged();

    // The voice whose exception dictionary the engine keeps (our default voice).
    static QString dictionaryVoiceId();
    // The exception dictionary in force, read on first use.
    std::shared_ptr<const ExceptionTable> exceptions();
    // Reads the exception dictionary file again (the dictionary voice was selected anew).
    void reloadExceptions();

private:
    Engine() = default;
    void run(const QString &dataDir, std::promise<QString> *started);
    void speak(SpeechJob &job);
    QStringList phonemesOf(const QString &word) const;
    void finish(const std::shared_ptr<SpeechJob> &job, const QString &error);
    SoundOutput &soundOutput(bool silent);
    void updateOutputPause();
    bool stopped(const SpeechJob &job) const;
    static void markStopped(SpeechJob &job, const SpeechChannel *by);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<SpeechJob>> m_queue;
    std::shared_ptr<SpeechJob> m_current;
    std::atomic<quint64> m_generation{0};
    bool m_quit = false;
    QString m_currentVoice; // engine thread only
    std::unique_ptr<SoundOutput> m_device;
    std::unique_ptr<SoundOutput> m_clock;
    bool m_outputPaused = false;
    std::shared_ptr<const ExceptionTable> m_exceptions; // under m_mutex; none: not read yet
    QString m_exceptionsPath;                           // under m_mutex: the file it was read from
};

} // namespace speech
