#include "platform/speech/wavwriter.h"

#include "platform/speech/resampler.h"

#include <QSysInfo>
#include <QtEndian>

#include <cmath>

namespace speech {

namespace {

constexpr qint64 headerSize = 44;

void putTag(char *at, const char *tag)
{
    std::copy(tag, tag + 4, at);
}

QByteArray header(const AudioFormat &format, qint64 dataBytes, qint64 padding)
{
    QByteArray h(headerSize, '\0');
    char *p = h.data();
    const int blockAlign = format.channels * format.bits / 8;
    const auto riffSize = static_cast<quint32>(std::min<qint64>(36 + dataBytes + padding, 0xFFFFFFFFLL));
    putTag(p, "RIFF");
    qToLittleEndian<quint32>(riffSize, p + 4);
    putTag(p + 8, "WAVE");
    putTag(p + 12, "fmt ");
    qToLittleEndian<quint32>(16, p + 16);
    qToLittleEndian<quint16>(1, p + 20); // PCM
    qToLittleEndian<quint16>(format.channels, p + 22);
    qToLittleEndian<quint32>(format.sampleRate, p + 24);
    qToLittleEndian<quint32>(format.sampleRate * blockAlign, p + 28);
    qToLittleEndian<quint16>(blockAlign, p + 32);
    qToLittleEndian<quint16>(format.bits, p + 34);
    putTag(p + 36, "data");
    qToLittleEndian<quint32>(static_cast<quint32>(std::min<qint64>(dataBytes, 0xFFFFFFFFLL)), p + 40);
    return h;
}

} // namespace

WavWriter::WavWriter(int sourceRate) : m_sourceRate(sourceRate) {}

WavWriter::~WavWriter()
{
    close();
}

bool WavWriter::open(const QString &path, const AudioFormat &format)
{
    close();
    m_error.clear();
    m_format = format;
    m_dataBytes = 0;
    m_resampler.reset();
    if (format.sampleRate != m_sourceRate) {
        m_resampler = std::make_unique<Resampler>(m_sourceRate, format.sampleRate);
        if (!m_resampler->isValid()) {
            m_resampler.reset();
            m_error = QStringLiteral("Не удалось создать преобразователь частоты");
            return false;
        }
    }
    m_file.setFileName(path);
    // Unbuffered, so that a write that fails is known at once and by the system's reason.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        m_error = m_file.errorString();
        return false;
    }
    const QByteArray h = header(m_format, 0, 0);
    return writeBytes(h.constData(), h.size());
}

bool WavWriter::writeSpeech(const qint16 *samples, size_t count)
{
    if (!m_resampler)
        return writeFrames(samples, count);
    m_resampled.clear();
    m_resampler->process(samples, count, m_resampled);
    return writeFrames(m_resampled.data(), m_resampled.size());
}

bool WavWriter::endSpeech()
{
    if (!m_resampler)
        return m_error.isEmpty();
    m_resampled.clear();
    m_resampler->finish(m_resampled);
    return writeFrames(m_resampled.data(), m_resampled.size());
}

bool WavWriter::writeSilence(qint64 ms)
{
    if (!endSpeech())
        return false;
    static const std::vector<qint16> zeros(4096, 0);
    qint64 left = std::llround(static_cast<double>(ms) * m_format.sampleRate / 1000.0);
    while (left > 0) {
        const qint64 n = std::min<qint64>(left, zeros.size());
        if (!writeFrames(zeros.data(), n))
            return false;
        left -= n;
    }
    return true;
}

bool WavWriter::writeFrames(const qint16 *samples, size_t count)
{
    if (!m_file.isOpen() || !m_error.isEmpty())
        return false;
    const int channels = m_format.channels;
    if (m_format.bits == 16 && channels == 1 && QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        // The engine's own format: no conversion.
        const auto size = static_cast<qint64>(count) * 2;
        if (!writeBytes(reinterpret_cast<const char *>(samples), size))
            return false;
        m_dataBytes += size;
        return true;
    }
    if (m_format.bits == 16) {
        m_bytes.resize(static_cast<qsizetype>(count) * channels * 2);
        char *out = m_bytes.data();
        for (size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                qToLittleEndian<qint16>(samples[i], out);
                out += 2;
            }
        }
    } else {
        m_bytes.resize(static_cast<qsizetype>(count) * channels);
        auto *out = reinterpret_cast<quint8 *>(m_bytes.data());
        for (size_t i = 0; i < count; ++i) {
            const auto u = static_cast<quint8>((samples[i] >> 8) + 128);
            for (int c = 0; c < channels; ++c)
                *out++ = u;
        }
    }
    if (!writeBytes(m_bytes.constData(), m_bytes.size()))
        return false;
    m_dataBytes += m_bytes.size();
    return true;
}

bool WavWriter::writeBytes(const char *data, qint64 size)
{
    // A write cut short (the disk has just filled up) sets no reason; the write of the rest
    // then fails with the system's own ("No space left on device").
    while (size > 0) {
        const qint64 written = m_file.write(data, size);
        if (written <= 0)
            return fail(m_file.errorString());
        data += written;
        size -= written;
    }
    return true;
}

bool WavWriter::sync()
{
    if (!m_file.isOpen())
        return m_error.isEmpty();
    if (!endSpeech())
        return false;
    return patchHeader(0);
}

bool WavWriter::patchHeader(qint64 padding)
{
    if (!m_error.isEmpty())
        return false;
    const qint64 end = m_file.pos();
    const QByteArray h = header(m_format, m_dataBytes, padding);
    if (!m_file.seek(0) || !writeBytes(h.constData(), h.size()) || !m_file.seek(end))
        return fail(m_file.errorString());
    return true;
}

bool WavWriter::close()
{
    if (!m_file.isOpen())
        return m_error.isEmpty();
    bool ok = endSpeech();
    // A RIFF chunk of odd size is followed by a pad byte that its size does not count.
    const qint64 padding = m_dataBytes % 2;
    if (ok && padding) {
        ok = writeBytes("\0", 1);
    }
    ok = ok && patchHeader(padding);
    m_file.close();
    if (ok && m_file.error() != QFileDevice::NoError)
        ok = fail(m_file.errorString());
    m_resampler.reset();
    return ok;
}

qint64 WavWriter::frames() const
{
    return m_dataBytes / (m_format.channels * m_format.bits / 8);
}

bool WavWriter::fail(const QString &what)
{
    if (m_error.isEmpty())
        m_error = what;
    return false;
}

} // namespace speech
