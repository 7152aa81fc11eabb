#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QtEndian>

// Reads back WAV files in the speech tests: a strict RIFF walk of our own and the
// independent view of sox.
struct WavFile
{
    bool valid = false;
    QString problem;
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bits = 0;
    QByteArray data;

    qint64 frames() const { return bits && channels ? data.size() / (channels * bits / 8) : 0; }
    double seconds() const { return sampleRate ? double(frames()) / sampleRate : 0; }
    qint16 sample16(qint64 i) const { return qFromLittleEndian<qint16>(data.constData() + 2 * i); }
};

inline WavFile readWav(const QString &path)
{
    WavFile w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        w.problem = QStringLiteral("cannot open");
        return w;
    }
    const QByteArray all = f.readAll();
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(all.constData() + at); };
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(all.constData() + at); };
    if (all.size() < 12 || all.left(4) != "RIFF" || all.mid(8, 4) != "WAVE") {
        w.problem = QStringLiteral("no RIFF/WAVE");
        return w;
    }
    if (u32(4) + 8 != quint32(all.size())) {
        w.problem = QStringLiteral("RIFF size %1 for a file of %2 bytes").arg(u32(4)).arg(all.size());
        return w;
    }
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= all.size()) {
        const QByteArray id = all.mid(at, 4);
        const quint32 size = u32(at + 4);
        if (at + 8 + qsizetype(size) > all.size()) {
            w.problem = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return w;
        }
        if (id == "fmt ") {
            w.formatTag = u16(at + 8);
            w.channels = u16(at + 10);
            w.sampleRate = int(u32(at + 12));
            const quint32 byteRate = u32(at + 16);
            const int blockAlign = u16(at + 20);
            w.bits = u16(at + 22);
            if (blockAlign != w.channels * w.bits / 8 || byteRate != quint32(w.sampleRate * blockAlign)) {
                w.problem = QStringLiteral("inconsistent fmt chunk");
                return w;
            }
            haveFormat = true;
        } else if (id == "data") {
            w.data = all.mid(at + 8, size);
            haveData = true;
        }
        at += 8 + size + (size % 2);
    }
    if (at != all.size()) {
        w.problem = QStringLiteral("trailing bytes");
        return w;
    }
    w.valid = haveFormat && haveData;
    if (!w.valid)
        w.problem = QStringLiteral("fmt or data chunk missing");
    return w;
}

// One field as `soxi -<option>` prints it, trimmed; empty when sox cannot read the file.
inline QString soxi(const QString &path, const char *option)
{
    QProcess p;
    p.start(QStringLiteral("soxi"), {QString::fromLatin1(option), path});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}
