#include "platform/text/textfile.h"

#include "platform/text/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

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

QString joinLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

// Lists are Windows-1251, unless that would turn a character into "?": then UTF-8 after the
// mark, which the readers below take as such.
textcodec::Encoding listEncoding(const QString &text)
{
    return textcodec::unencodable(text, textcodec::Encoding::Windows1251) == 0
               ? textcodec::Encoding::Windows1251
               : textcodec::Encoding::Utf8WithBom;
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

// Reads the file on from where it stands to its end, feeding `detector`, which has seen the
// bytes before: the whole file decides its encoding. For the encoding alone, it stops once
// the rest could not change it.
textcodec::Detector scan(QFile &file, textcodec::Detector detector = {}, bool encodingOnly = false)
{
    while (!(encodingOnly && detector.settled())) {
        const QByteArray chunk = file.read(1 << 16);
        if (chunk.isEmpty())
            break;
        detector.feed(chunk);
    }
    return detector;
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
    return textcodec::decode(*bytes, textcodec::marked(*bytes));
}

std::optional<QString> readHead(const QString &path, qint64 maxBytes, QString *error)
{
    QFile f(path);
    if (!openForReading(f, error))
        return std::nullopt;
    QByteArray bytes = f.read(maxBytes);
    if (f.error() != QFileDevice::NoError) {
        failed(error, QStringLiteral("reading"), path, f.errorString());
        return std::nullopt;
    }
    // The whole file decides the encoding, as it does for Open; the head, read first, tells
    // whether the cut falls into a UTF-8 character.
    textcodec::Detector head;
    head.feed(bytes);
    textcodec::Choice choice = scan(f, head, true).choice();
    // A joined book's parts are chosen from the whole file.
    if (choice.encoding == textcodec::Encoding::Joined) {
        f.seek(0);
        choice = textcodec::choose(f.readAll());
    }
    if (!choice.refused.isEmpty()) {
        failed(error, QStringLiteral("reading"), path, textcodec::unreadable(choice));
        return std::nullopt;
    }
    // Such a character is left out; a damaged byte never is.
    if (bytes.size() < f.size()) {
        // The encoding of the part the cut falls into.
        textcodec::Encoding last = choice.encoding;
        for (const textcodec::Part &part : choice.parts)
            if (part.start < bytes.size())
                last = part.encoding;
        if (last == textcodec::Encoding::Utf8 || last == textcodec::Encoding::Utf8WithBom)
            bytes.chop(head.unfinished());
        else
            bytes.truncate(textcodec::wholeCharacters(bytes, last));
    }
    return textcodec::decode(bytes, choice);
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

qint64 bookCharacters(const QString &path)
{
    QFile f(path);
    if (!openForReading(f, nullptr))
        return 0;
    const textcodec::Detector detector = scan(f, {}, true);
    const textcodec::Encoding encoding = detector.encoding();
    // A joined book is rare: it is read whole.
    if (encoding == textcodec::Encoding::Joined) {
        f.seek(0);
        return textcodec::decodeAsFound(f.readAll()).size();
    }
    if (detector.utf8())
        return detector.characters();
    const qint64 body = f.size() - textcodec::markLength(encoding);
    return encoding == textcodec::Encoding::Utf16Le || encoding == textcodec::Encoding::Utf16Be
               ? (body + 1) / 2
               : body;
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
    return writeText(path, text, textcodec::Encoding::Windows1251, error);
}

bool writeText(const QString &path, const QString &text, textcodec::Encoding encoding, QString *error)
{
    return writeBytes(path, textcodec::encode(text + QStringLiteral("\r\n"), encoding), error);
}

bool writeLines(const QString &path, const QStringList &lines, QString *error)
{
    const QString text = joinLines(lines);
    return writeBytes(path, textcodec::encode(text, listEncoding(text)), error);
}

bool writeLines(const QString &path, const QStringList &lines, textcodec::Encoding encoding, QString *error)
{
    return writeBytes(path, textcodec::encode(joinLines(lines), encoding), error);
}

bool appendLines(const QString &path, const QStringList &lines, QString *error)
{
    QFile f(path);
    const QString text = joinLines(lines);
    QByteArray bytes;
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(8);
        f.close();
        const textcodec::Encoding encoding = textcodec::marked(head);
        if (encoding == textcodec::Encoding::Windows1251 && listEncoding(text) != encoding) {
            // Lines the file's code page cannot hold: the whole list goes over to UTF-8.
            const auto old = readText(path, error);
            return old && writeBytes(path, textcodec::encode(*old + text, listEncoding(text)), error);
        }
        // The file's mark is written once, at its start.
        bytes = textcodec::encode(text, encoding).sliced(textcodec::markLength(encoding));
    } else {
        bytes = textcodec::encode(text, listEncoding(text));
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(bytes) != bytes.size() || !f.flush())
        return failed(error, QStringLiteral("appending to"), path, f.errorString());
    return true;
}

QString failureMessage(const QString &message, const QString &path, const QString &reason)
{
    return QStringLiteral("%1\n%2: %3").arg(message, QDir::toNativeSeparators(path), reason);
}

QString openFailure(const QString &path, const QString &reason)
{
    return failureMessage(QStringLiteral("Не удалось открыть файл"), path, reason);
}

QString writeFailure(const QString &path, const QString &reason)
{
    return failureMessage(QStringLiteral("Не удалось записать файл"), path, reason);
}

LineReader::LineReader(const QString &path, LineEnds ends) : m_file(path), m_ends(ends)
{
    if (!openForReading(m_file, &m_error))
        return;
    textcodec::Choice choice = scan(m_file).choice();
    // A joined book is read part by part, each in its own encoding: whole, as it is rare.
    if (choice.encoding == textcodec::Encoding::Joined) {
        m_file.seek(0);
        const QByteArray bytes = m_file.readAll();
        choice = textcodec::choose(bytes);
        m_buffer = textcodec::decode(bytes, choice);
    }
    m_encoding = choice.encoding;
    m_doubt = textcodec::doubt(choice);
    m_error = textcodec::unreadable(choice);
    if (!m_error.isEmpty()) {
        qCInfo(lcFiles).noquote() << "reading" << path << "refused:" << m_error;
        m_file.close();
        m_buffer.clear();
        return;
    }
    // The byte order mark is no part of the first line.
    if (m_buffer.isEmpty())
        m_file.seek(textcodec::markLength(m_encoding));
}

QString LineReader::errorString() const
{
    return m_error.isEmpty() ? m_file.errorString() : m_error;
}

bool LineReader::fill()
{
    if (!m_file.isOpen())
        return false;
    QByteArray bytes = m_cut + m_file.read(1 << 16);
    if (bytes.isEmpty())
        return false;
    // A character cut off by the chunk waits for its other bytes; at the end it is what it is.
    const qsizetype whole = m_file.atEnd() ? bytes.size() : textcodec::wholeCharacters(bytes, m_encoding);
    m_cut = bytes.sliced(whole);
    bytes.truncate(whole);
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    m_buffer += textcodec::decodeText(bytes, m_encoding);
    return true;
}

bool LineReader::atEnd() const
{
    return m_pos >= m_buffer.size() && m_cut.isEmpty() && (!m_file.isOpen() || m_file.atEnd());
}

qsizetype LineReader::lineEnd() const
{
    const QChar *begin = m_buffer.constData();
    const QChar *end = begin + m_buffer.size();
    const QChar *found =
        m_ends == LineEnds::Any
            ? std::find_if(begin + m_pos, end, [](QChar c) { return c == u'\r' || c == u'\n'; })
            : std::find(begin + m_pos, end, QChar(u'\r'));
    return found == end ? -1 : found - begin;
}

std::optional<QString> LineReader::next()
{
    for (;;) {
        const qsizetype end = lineEnd();
        if (end >= 0) {
            const bool cr = m_buffer[end] == u'\r';
            // A CR at the very end of the buffer may be followed by an LF in the next chunk.
            if (cr && end + 1 == m_buffer.size() && fill())
                continue;
            QString line = m_buffer.sliced(m_pos, end - m_pos);
            m_pos = end + 1;
            if (cr && m_pos < m_buffer.size() && m_buffer[m_pos] == u'\n')
                ++m_pos;
            return line;
        }
        if (fill())
            continue;
        if (m_pos >= m_buffer.size())
            return std::nullopt;
        QString line = m_buffer.sliced(m_pos);
        m_pos = m_buffer.size();
        return line;
    }
}

} // namespace textfile
