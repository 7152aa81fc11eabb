#include "platform/books/lines.h"
#include "platform/books/readers.h"
#include "platform/books/ziparchive.h"

#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace books {

namespace {

// Feeds the XML reader piece by piece, decoded by the program's codec in the encoding the XML
// declaration names, so a large book (pictures and all) is never held whole.
class XmlFeed
{
public:
    XmlFeed(QIODevice &in, qint64 size, const Progress &progress)
        : m_in(in), m_size(size), m_progress(progress)
    {
    }

    // Gives the reader the next piece; false at the end of the file, when cancelled or refused.
    bool feed(QXmlStreamReader &reader)
    {
        if (m_cancelled || !m_refused.isEmpty())
            return false;
        const QByteArray chunk = m_in.read(kChunk);
        if (chunk.isEmpty()) {
            if (m_pending.isEmpty())
                return false;
            reader.addData(textcodec::decodeText(m_pending, m_encoding));
            m_pending.clear();
            return true;
        }
        m_done += chunk.size();
        const bool first = !m_started;
        if (first && !start(chunk))
            return false;
        if (m_encoding == textcodec::Encoding::Utf8) {
            // The reader's own UTF-8 decoder, on the bytes as they come, is the quickest way.
            reader.addData(chunk);
            return report();
        }
        const QByteArray bytes = m_pending + chunk;
        const qsizetype whole = textcodec::wholeCharacters(bytes, m_encoding);
        const QByteArrayView ready = QByteArrayView(bytes).first(whole);
        // A QString given to the reader locks its encoding: the declaration is not applied again.
        reader.addData(first ? textcodec::decode(ready, m_encoding)
                             : textcodec::decodeText(ready, m_encoding));
        m_pending = bytes.sliced(whole);
        return report();
    }

    bool cancelled() const { return m_cancelled; }
    // The encoding the declaration names when the codec does not read it.
    QString refused() const { return m_refused; }

private:
    static constexpr qint64 kChunk = 256 * 1024;

    bool report()
    {
        if (m_progress && m_size > 0 &&
            !m_progress(static_cast<int>(std::min<qint64>(m_done * 1000 / m_size, 1000))))
            m_cancelled = true;
        return !m_cancelled;
    }

    bool start(QByteArrayView head)
    {
        m_started = true;
        const textcodec::Encoding marked = textcodec::marked(head);
        if (marked != textcodec::Encoding::Windows1251) {
            m_encoding = marked;
            return true;
        }
        static const QRegularExpression declaration(
            QStringLiteral(R"(^\s*<\?xml[^>]*?encoding\s*=\s*["']([^"']+)["'])"));
        const QRegularExpressionMatch match =
            declaration.match(QString::fromLatin1(head.first(std::min<qsizetype>(head.size(), 400))));
        if (!match.hasMatch())
            return true; // XML without a declared encoding is UTF-8
        if (const std::optional<textcodec::Encoding> named = encodingNamed(match.capturedView(1))) {
            m_encoding = *named;
            return true;
        }
        m_refused = match.captured(1);
        return false;
    }

    QIODevice &m_in;
    qint64 m_size;
    const Progress &m_progress;
    textcodec::Encoding m_encoding = textcodec::Encoding::Utf8;
    QByteArray m_pending;
    qint64 m_done = 0;
    bool m_started = false;
    bool m_cancelled = false;
    QString m_refused;
};

bool isNoteReference(const QXmlStreamReader &reader)
{
    for (const QXmlStreamAttribute &attribute : reader.attributes()) {
        if (attribute.name() == u"type" && attribute.value() == u"note")
            return true;
    }
    return false;
}

// Walks an FB2 document: the bodies' text in order, the notes body kept apart for the end.
class Fb2Walker
{
public:
    void start(QXmlStreamReader &reader)
    {
        const QStringView name = reader.name();
        if (m_skip > 0) {
            ++m_skip;
            return;
        }
        if (name == u"binary" || name == u"stylesheet" || name == u"image" ||
            (name == u"a" && isNoteReference(reader))) {
            m_skip = 1;
            return;
        }
        if (m_body == 0) {
            if (name == u"title-info")
                m_titleInfo = true;
            else if (name == u"book-title" && m_titleInfo && m_title.isEmpty())
                m_inBookTitle = true;
            else if (name == u"body")
                startBody(reader);
            return;
        }
        ++m_body;
        if (m_notesHeadingDue) {
            m_notesHeadingDue = false;
            if (name != u"title") {
                m_out->separate();
                m_out->add(u"Примечания");
                m_out->separate();
            }
        }
        if (m_noteTitle > 0) {
            ++m_noteTitle;
        } else if (name == u"title" && m_out == &m_notes && m_body > 2) {
            // A note's number, or a short title, begins its first paragraph.
            m_noteTitle = 1;
            m_notePrefix.clear();
        } else if (name == u"title") {
            m_out->separate();
        } else if (name == u"empty-line") {
            m_out->emptyLine();
        } else if (name == u"stanza") {
            m_out->separate();
        } else if (name == u"td" || name == u"th") {
            m_out->add(u" ");
        } else if (!isInline(name)) {
            m_out->endLine();
            if (!m_notePrefix.isEmpty()) {
                m_out->addExact(m_notePrefix.simplified());
                m_out->add(u" ");
                m_notePrefix.clear();
            }
        }
    }

    void end(QXmlStreamReader &reader)
    {
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        const QStringView name = reader.name();
        if (m_body == 0) {
            if (name == u"title-info")
                m_titleInfo = false;
            else if (name == u"book-title")
                m_inBookTitle = false;
            return;
        }
        --m_body;
        if (m_noteTitle > 0)
            --m_noteTitle;
        else if (name == u"title" || name == u"stanza")
            m_out->separate();
        else if (!isInline(name) && name != u"td" && name != u"th")
            m_out->endLine();
    }

    void characters(QXmlStreamReader &reader)
    {
        if (m_skip > 0)
            return;
        if (m_noteTitle > 0)
            m_notePrefix += reader.text().toString() + u' ';
        else if (m_body > 0)
            m_out->add(reader.text());
        else if (m_inBookTitle)
            m_title += reader.text();
    }

    QString title() const { return m_title; }
    QString text()
    {
        m_main.append(m_notes);
        return m_main.text();
    }

private:
    static bool isInline(QStringView name)
    {
        return name == u"emphasis" || name == u"strong" || name == u"style" || name == u"a" ||
               name == u"strikethrough" || name == u"sub" || name == u"sup" || name == u"code";
    }

    void startBody(QXmlStreamReader &reader)
    {
        m_body = 1;
        const QStringView kind = reader.attributes().value(QLatin1StringView("name"));
        const bool notes = kind == u"notes" || kind == u"comments" || kind == u"footnotes";
        m_out = notes ? &m_notes : &m_main;
        m_out->separate();
        m_notesHeadingDue = notes;
    }

    Lines m_main;
    Lines m_notes;
    Lines *m_out = &m_main;
    QString m_title;
    QString m_notePrefix;
    int m_noteTitle = 0; // depth inside a note's title
    int m_skip = 0;      // depth inside an element left out
    int m_body = 0;      // depth inside a body
    bool m_titleInfo = false;
    bool m_inBookTitle = false;
    bool m_notesHeadingDue = false;
};

Reading readFb2From(QIODevice &in, qint64 size, const QString &path, const Progress &progress)
{
    QXmlStreamReader reader;
    XmlFeed feed(in, size, progress);
    Fb2Walker walker;
    Reading reading;
    for (;;) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Invalid) {
            if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed.feed(reader))
                continue;
            break;
        }
        if (token == QXmlStreamReader::StartElement)
            walker.start(reader);
        else if (token == QXmlStreamReader::EndElement)
            walker.end(reader);
        else if (token == QXmlStreamReader::Characters)
            walker.characters(reader);
        else if (token == QXmlStreamReader::EndDocument)
            break;
    }
    if (feed.cancelled())
        return reading;
    if (!feed.refused().isEmpty()) {
        reading.message = QStringLiteral("Книга %1 в кодировке %2, которую программа не читает.")
                              .arg(quoted(path), feed.refused());
        return reading;
    }
    reading.title = walker.title();
    reading.text = walker.text();
    reading.ok = true;
    if (reader.hasError())
        reading.message = damagedXml(path, reader.lineNumber());
    return reading;
}

} // namespace

Reading readFb2(const QString &path, const Progress &progress)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Reading reading;
        reading.message =
            QStringLiteral("Не удалось открыть файл %1: %2").arg(quoted(path), file.errorString());
        return reading;
    }
    return readFb2From(file, file.size(), path, progress);
}

Reading readFb2Zip(const QString &path, const Progress &progress)
{
    const ZipArchive zip(path);
    QString member;
    for (const QString &name : zip.names()) {
        if (name.endsWith(u".fb2", Qt::CaseInsensitive))
            member = name;
    }
    const std::unique_ptr<QIODevice> in = zip.open(member);
    if (!in) {
        Reading reading;
        reading.message = damagedArchive(path);
        return reading;
    }
    return readFb2From(*in, zip.size(member), path, progress);
}

} // namespace books
