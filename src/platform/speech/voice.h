#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// The voice object the windows speak through. Implemented over eSpeak NG; tests use
// a fake that records what it was asked to say.
namespace speech {

// Flags of Speak(), summed.
enum SpeakFlag
{
    Async = 1,            // return at once; WaitUntilDone() tells the end
    PurgeBeforeSpeak = 2, // drop everything queued or sounding first; "" only silences
    IsXML = 8,            // the text holds <volume>, <rate>, <pitch>, <silence> markup
};

// How the text given last to Speak() ended.
enum class SpeechEnd
{
    Ended,  // spoken to its end (or still being spoken)
    Purged, // this voice purged it
    Cut,    // something else purged the engine: another voice, another window
};

struct VoiceToken
{
    QString id;          // stable identifier
    QString description; // what the user sees and what profiles store
};

// One of the 36 wave formats, by its type number 4..39: eight rates from 8 kHz to
// 48 kHz, each as 8-bit mono, 8-bit stereo, 16-bit mono, 16-bit stereo.
struct AudioFormat
{
    int type = 22;
    int sampleRate = 22050;
    int bits = 16;
    int channels = 1;

    static std::optional<AudioFormat> fromType(int type);
};

class Voice
{
public:
    virtual ~Voice() = default;

    // The installed voices, in the same order at every call.
    virtual QList<VoiceToken> GetVoices() const = 0;
    // Makes the voice with this id speak what is spoken next; false for an unknown id.
    virtual bool SelectVoice(const QString &id) = 0;
    virtual VoiceToken CurrentVoice() const = 0;

    // Speaks with a sum of SpeakFlag. False when the text could not be spoken
    // (engine or voice data missing, output file not writable); LastError() says why.
    virtual bool Speak(const QString &text, int flags) = 0;
    // True once everything spoken so far has ended; waits at most `ms`.
    virtual bool WaitUntilDone(int ms) = 0;
    // Tells a text cut short by someone else from one that ended or that this voice purged.
    virtual SpeechEnd LastEnd() const = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;

    // Speech goes into a new WAV file of the given format type until CloseOutputFile(),
    // which completes its header. False when the file cannot be created.
    virtual bool OpenOutputFile(const QString &path, int formatType) = 0;
    virtual bool CloseOutputFile() = 0;
    // Without an output file the voice speaks to the sound card.

    virtual QString LastError() const = 0;
};

class VoiceFactory
{
public:
    virtual ~VoiceFactory() = default;
    // A new voice object; nothing when no speech engine can be started.
    virtual std::unique_ptr<Voice> create() = 0;
};

} // namespace speech
