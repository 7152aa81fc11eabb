#pragma once

// Reading back what a recording left, for the end-to-end tests and the resume soak tool.
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QString>

namespace mediacheck {

struct Mp3Check
{
    bool valid = false;
    double seconds = 0;
    QString problem;
};

// Read back by an independent reader: ffprobe must find an MP3 stream and say nothing wrong.
inline Mp3Check probe(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("ffprobe"),
            {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
             QStringLiteral("format=format_name,duration"), QStringLiteral("-of"),
             QStringLiteral("default=nw=1"), path});
    p.waitForFinished(60000);
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    Mp3Check c;
    c.problem = err;
    c.valid = p.exitCode() == 0 && err.isEmpty() && out.contains(QStringLiteral("format_name=mp3"));
    const qsizetype d = out.indexOf(QStringLiteral("duration="));
    if (d >= 0)
        c.seconds = out.mid(d + 9).section(u'\n', 0, 0).toDouble();
    return c;
}

// A file's fingerprint, to tell that a book's text was left as it was.
inline QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1)
                                       : QByteArray();
}

} // namespace mediacheck
