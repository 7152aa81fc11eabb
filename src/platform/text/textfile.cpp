#include "platform/text/textfile.h"

#include "platform/text/cp1251.h"

#include "platform/text/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

Q_LOGGING_CATEGORY(lcFiles, "quenvale.files", QtWarningMsg)

namespace textfile {

QStringList splitLines(const QString &text, LineEnds ends)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    const bool lf = ends == LineEnds::Any;
    for (qsizetype i = 0; i < n; ++i) {
        if (lf && text[i] == u'\n') {
            lines.append(text.mid(start, i - start));
            start = i + 1;
            continue;
        }
        if (text[i] != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList splitFields(const QString &text)
{
    QStringList fields;
    for (const QString &line : splitLines(text, LineEnds::Any)) {
        const qsizetype n = line.size();
        qsizetype i = 0;
        for (;;) {
            qsizetype start = i;
            while (start < n && line[start] == u' ')
                ++start;
            qsizetype next;
            if (start < n && line[start] == u'"') {
                // A quote left open ends with its line, never swallowing the next one.
                qsizetype close = line.indexOf(u'"', start + 1);
                if (close < 0)
                    close = n;
                fields.append(line.mid(start + 1, close - start - 1));
                next = line.indexOf(u',', close);
            } else {
                next = line.indexOf(u',', i);
                fields.append(line.mid(i, (next < 0 ? n : next) - i));
            }
            if (next < 0)
                break;
            i = next + 1;
        }
    }
    return fields;
}

namespace {

// Keeps the reason of a failure for the caller and for the log.
bool failed(QString *error, const QString &what, const QString &path, const QString &reason)
{
    qCInfo(lcFiles).noquote() << what << path << "failed:" << reason;
    if (error)
        *error = reason;
    return false;
}

QString notAFile()
{
    return QStringLiteral("это не обычный файл");
}

QByteArray joinLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += cp1251::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

// Opens the file for reading, regular files only.
bool openForReading(QFile &file, QString *error)
{
    // A pipe, a device or a folder is no text: opening a pipe would wait for a writer for ever.
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile()) {
        failed(error, QStringLiteral("reading"), file.fileName(), notAFile());
        return false;
    }
    if (!file.open(QIODevice::ReadOnly))
        return failed(error, QStringLiteral("reading"), file.fileName(), file.errorString());
    return true;
}

} // namespace

std::optional<QByteArray> readBytes(const QString &path, QString *error)
{
    QFile f(path);
    if (!openForReading(f, error))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        failed(error, QStringLiteral("reading"), path, f.errorString());
        return std::nullopt;
    }
    return bytes;
}

std::optional<QString> readText(const QString &path, QString *error)
{
    const auto bytes = readBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return cp1251::decode(*bytes);
}

std::optional<QString> readHead(const QString &path, qint64 maxBytes, QString *error)
{
    QFile f(path);
    if (!openForReading(f, error))
        return std::nullopt;
    const QByteArray bytes = f.read(maxBytes);
    if (f.error() != QFileDevice::NoError) {
        failed(error, QStringLiteral("reading"), path, f.errorString());
        return std::nullopt;
    }
    return cp1251::decode(bytes);
}

std::optional<QStringList> readLines(const QString &path, QString *error)
{
    auto text = readText(path, error);
    if (!text)
        return std::nullopt;
    return splitLines(*text, LineEnds::Any);
}

std::optional<QStringList> readFields(const QString &path, QString *error)
{
    auto text = readText(path, error);
    if (!text)
        return std::nullopt;
    return splitFields(*text);
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        return failed(error, QStringLiteral("writing"), path, f.errorString());
    return true;
}

bool writeText(const QString &path, const QString &text, QString *error)
{
    return writeBytes(path, cp1251::encode(text) + "\r\n", error);
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeBytes(path, joinLines(lines), error);
}

bool appendLines(const QString &path, const QStringList &lines, QString *error)
{
    QFile f(path);
    const QByteArray bytes = joinLines(lines);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(bytes) != bytes.size() || !f.flush())
        return failed(error, QStringLiteral("appending to"), path, f.errorString());
    return true;
}

QString failureMessage(const QString &message, const QString &path, const QString &reason)
{
    return QStringLiteral("%1\n%2: %3").arg(message, QDir::toNativeSeparators(path), reason);
}

LineReader::LineReader(const QString &path) : m_file(path)
{
    openForReading(m_file, &m_error);
}

QString LineReader::errorString() const
{
    return m_error.isEmpty() ? m_file.errorString() : m_error;
}

bool LineReader::fill()
{
    if (!m_file.isOpen() || m_file.atEnd())
        return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const QByteArray chunk = m_file.read(1 << 16);
    if (chunk.isEmpty())
        return false;
    m_buffer += chunk;
    return true;
}

bool LineReader::atEnd() const
{
    return m_pos >= m_buffer.size() && (!m_file.isOpen() || m_file.atEnd());
}

std::optional<QString> LineReader::next()
{
    for (;;) {
        const qsizetype cr = m_buffer.indexOf('\r', m_pos);
        if (cr >= 0) {
            // A CR at the very end of the buffer may be followed by an LF in the next chunk.
            if (cr + 1 == m_buffer.size() && fill())
                continue;
            QString line = cp1251::decode(m_buffer.mid(m_pos, cr - m_pos));
            m_pos = cr + 1;
            if (m_pos < m_buffer.size() && m_buffer[m_pos] == '\n')
                ++m_pos;
            return line;
        }
        if (fill())
            continue;
        if (m_pos >= m_buffer.size())
            return std::nullopt;
        QString line = cp1251::decode(m_buffer.mid(m_pos));
        m_pos = m_buffer.size();
        return line;
    }
}

} // namespace textfile
