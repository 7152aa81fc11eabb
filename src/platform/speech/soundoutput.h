#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

namespace speech {

// Where speech goes when no file is open: the sound card, or, without one, a clock that
// takes the samples at real-time pace so that speaking still lasts as long as it sounds.
// write() and drain() run on the engine thread; discard(), setPaused() from any thread.
class SoundOutput
{
public:
    using StopCheck = std::function<bool()>;

    virtual ~SoundOutput() = default;

    // Queues mono samples at the engine's rate; blocks while a little more than a chunk is
    // already waiting. False when `stopped` turned true first.
    virtual bool write(const qint16 *samples, size_t count, const StopCheck &stopped) = 0;
    // Waits until everything queued has been heard; false when `stopped` turned true first.
    virtual bool drain(const StopCheck &stopped) = 0;
    // Drops everything queued and not yet heard (a purge).
    virtual void discard() = 0;
    virtual void setPaused(bool paused) = 0;
};

// The default sound card through Qt Multimedia, or the clock when there is none (or
// `silent` is asked for, as tests do).
std::unique_ptr<SoundOutput> openSoundOutput(int sampleRate, bool silent);

// The clock alone.
std::unique_ptr<SoundOutput> openSilentOutput(int sampleRate);

} // namespace speech
