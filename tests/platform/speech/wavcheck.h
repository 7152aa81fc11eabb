#pragma once

#include "platform/speech/espeakvoice.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

// WAV files read back strictly (RIFF, 16-byte PCM fmt chunk, data), and as sox sees them.
struct WavFile
{
    QString problem; // empty for a well-formed file
    int channels = 0, sampleRate = 0, bits = 0;
    QByteArray data;

    bool valid() const { return problem.isEmpty(); }
    qint64 frames() const { return bits && channels ? data.size() / (channels * bits / 8) : 0; }
    double seconds() const { return sampleRate ? double(frames()) / sampleRate : 0; }
    // The root mean square of 16-bit samples, from sample `first` on.
    double rms(qsizetype first = 0) const
    {
        double sum = 0;
        for (qsizetype at = 2 * first; at + 1 < data.size(); at += 2)
            sum += std::pow(qFromLittleEndian<qint16>(data.constData() + at), 2);
        return data.size() > 2 * first ? std::sqrt(sum / double(data.size() / 2 - first)) : 0;
    }
};

inline WavFile readWav(const QString &path)
{
    QFile f(path);
    const QByteArray all = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    auto u32 = [&](qsizetype at) { return qsizetype(qFromLittleEndian<quint32>(all.constData() + at)); };
    auto u16 = [&](qsizetype at) { return int(qFromLittleEndian<quint16>(all.constData() + at)); };
    WavFile w;
    if (all.size() < 44 || !all.startsWith("RIFF") || all.mid(8, 8) != "WAVEfmt " || u32(16) != 16 ||
        all.mid(36, 4) != "data") {
        w.problem = QStringLiteral("not RIFF/WAVE with fmt and data chunks");
        return w;
    }
    w.channels = u16(22);
    w.sampleRate = int(u32(24));
    w.bits = u16(34);
    const int blockAlign = w.channels * w.bits / 8;
    // An odd data chunk is followed by a pad byte, which the RIFF size counts.
    if (u16(20) != 1 || u16(32) != blockAlign || u32(28) != w.sampleRate * blockAlign)
        w.problem = QStringLiteral("inconsistent PCM fmt chunk");
    else if (u32(4) + 8 != all.size() || 44 + u32(40) + u32(40) % 2 != all.size())
        w.problem = QStringLiteral("chunk sizes differ from the file's");
    w.data = all.mid(44, u32(40));
    return w;
}

// What a program prints, trimmed.
inline QString output(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The file as sox sees it: "rate|channels|bits|encoding|samples".
inline QString soxInfo(const QString &path)
{
    QStringList fields;
    for (const char *option : {"-r", "-c", "-b", "-e", "-s"})
        fields << output(QStringLiteral("soxi"), {QString::fromLatin1(option), path});
    return fields.join(u'|');
}

// A test of the real engine: one factory for the suite, a fresh voice of type V for each test.
template <class V = speech::Voice> class EngineTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        factory = std::make_unique<speech::EspeakVoiceFactory>(speech::EspeakVoiceFactory::Options{{}, true});
    }
    static void TearDownTestSuite() { factory.reset(); }
    void SetUp() override
    {
        voice.reset(static_cast<V *>(factory->create().release()));
        ASSERT_TRUE(voice && !voice->GetVoices().isEmpty())
            << "no engine or no Russian voice: " << qPrintable(factory->errorString());
    }

    // Speaks `text` into a new WAV file of format `type` and reads it back.
    WavFile speak(const QString &text, int flags = 0, int type = 22)
    {
        EXPECT_TRUE(voice->OpenOutputFile(file, type)) << qPrintable(voice->LastError());
        EXPECT_TRUE(voice->Speak(text, flags)) << qPrintable(voice->LastError());
        EXPECT_TRUE(voice->WaitUntilDone(60000));
        EXPECT_TRUE(voice->CloseOutputFile()) << qPrintable(voice->LastError());
        WavFile f = readWav(file);
        EXPECT_TRUE(f.valid()) << qPrintable(f.problem);
        return f;
    }

    static inline std::unique_ptr<speech::EspeakVoiceFactory> factory;
    std::unique_ptr<V> voice;
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("out.wav"));
};
