#include "platform/text/textfile.h"

#include "platform/text/cp1251.h"

#include <QSaveFile>

namespace textfile {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
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
    for (const QString &line : splitLines(text)) {
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

std::optional<QString> readText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return cp1251::decode(bytes);
}

std::optional<QStringList> readLines(const QString &path)
{
    auto text = readText(path);
    if (!text)
        return std::nullopt;
    return splitLines(*text);
}

std::optional<QStringList> readFields(const QString &path)
{
    auto text = readText(path);
    if (!text)
        return std::nullopt;
    return splitFields(*text);
}

namespace {

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    // QSaveFile: an interrupted write never leaves a truncated book behind.
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
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

} // namespace

bool writeText(const QString &path, const QString &text)
{
    return writeBytes(path, cp1251::encode(text) + "\r\n");
}

bool writeLines(const QString &path, const QStringList &lines)
{
    return writeBytes(path, joinLines(lines));
}

bool appendLines(const QString &path, const QStringList &lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = joinLines(lines);
    return f.write(bytes) == bytes.size() && f.flush();
}

LineReader::LineReader(const QString &path) : m_file(path)
{
    m_file.open(QIODevice::ReadOnly);
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
