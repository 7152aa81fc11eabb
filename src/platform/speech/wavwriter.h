#pragma once

#include "platform/speech/voice.h"

#include <QFile>
#include <QString>

#include <memory>
#include <vector>

namespace speech {

class Resampler;

// Writes the engine's mono 16-bit samples into a PCM WAV file of any of the 36 formats,
// resampling when the file's rate differs. The header is completed by sync() and close(),
// so the file is valid after every finished text, also when speech was cut short.
class WavWriter
{
public:
    explicit WavWriter(int sourceRate);
    ~WavWriter();
    WavWriter(const WavWriter &) = delete;
    WavWriter &operator=(const WavWriter &) = delete;

    // Creates or replaces the file.
    bool open(const QString &path, const AudioFormat &format);
    bool isOpen() const { return m_file.isOpen(); }
    const AudioFormat &format() const { return m_format; }
    QString path() const { return m_file.fileName(); }

    bool writeSpeech(const qint16 *samples, size_t count);
    // Ends a run of speech (the resampler gives out its tail).
    bool endSpeech();
    // Exactly ms milliseconds of zero samples at the file's rate.
    bool writeSilence(qint64 ms);
    // Writes out what is buffered and patches the header sizes.
    bool sync();
    bool close();

    qint64 frames() const;
    // Empty until a write failed; every later call then fails too. The system's reason alone
    // ("No space left on device"): the caller names the file, as it knows it.
    QString errorString() const { return m_error; }

private:
    bool writeFrames(const qint16 *samples, size_t count);
    bool writeBytes(const char *data, qint64 size);
    bool patchHeader(qint64 padding);
    bool fail(const QString &what);

    int m_sourceRate;
    AudioFormat m_format;
    QFile m_file;
    std::unique_ptr<Resampler> m_resampler;
    std::vector<qint16> m_resampled;
    QByteArray m_bytes;
    qint64 m_dataBytes = 0;
    QString m_error;
};

} // namespace speech
