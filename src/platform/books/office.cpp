#include "platform/books/lines.h"
#include "platform/books/readers.h"
#include "platform/books/ziparchive.h"

#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace books {

namespace {

// The word processors' own heading of the notes gathered after the text.
const QString kNotes = QStringLiteral("Примечания");

bool isHeadingStyle(QStringView style)
{
    static const QRegularExpression heading(QStringLiteral(R"(^(heading|заголовок|title|subtitle)\s*\d*$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return heading.match(style.toString()).hasMatch();
}

// The document's title from the package's Dublin Core metadata (docProps/core.xml, meta.xml).
QString dublinCoreTitle(const ZipArchive &zip, const QString &member)
{
    const std::optional<QByteArray> xml = zip.read(member);
    if (!xml)
        return {};
    QXmlStreamReader reader(*xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == u"title")
            return reader.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return {};
}

// WordprocessingML (DOCX): each w:p a line, headings apart, tabs and breaks kept; note
// references left out of the text and the notes (footnotes.xml, endnotes.xml) numbered as
// they are referred to.
class DocxWalker
{
public:
    void walkText(const QByteArray &xml, Lines &out) { walk(xml, out, false); }
    void walkNotes(const QByteArray &xml, Lines &out) { walk(xml, out, true); }
    bool damaged() const { return m_damaged; }

private:
    void walk(const QByteArray &xml, Lines &out, bool notes)
    {
        QXmlStreamReader reader(xml);
        int skip = 0;       // depth inside what is never read (pictures, run properties, field codes)
        int properties = 0; // depth inside a paragraph's properties, where only its style counts
        bool heading = false;
        bool inNote = !notes;
        QString noteId;
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            const QStringView name = reader.name();
            if (token == QXmlStreamReader::EndElement) {
                if (skip > 0) {
                    --skip;
                } else if (properties > 0) {
                    --properties;
                } else if (inNote && name == u"p") {
                    if (heading)
                        out.separate();
                    else
                        out.endLine();
                } else if (notes && (name == u"footnote" || name == u"endnote")) {
                    inNote = false;
                }
                continue;
            }
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (skip > 0) {
                ++skip;
            } else if (properties > 0) {
                ++properties;
                if (name == u"outlineLvl" || (name == u"pStyle" && isHeadingStyle(reader.attributes().value(
                                                                       QLatin1StringView("w:val"))))) {
                    heading = true;
                    out.separate();
                }
            } else if (name == u"pPr") {
                properties = 1;
            } else if (name == u"rPr" || name == u"drawing" || name == u"pict" || name == u"Fallback" ||
                       name == u"sdtPr" || name == u"instrText" || name == u"delText") {
                skip = 1;
            } else if (name == u"footnote" || name == u"endnote") {
                const QStringView type = reader.attributes().value(QLatin1StringView("w:type"));
                inNote = type.isEmpty() || type == u"normal";
                // Footnotes and endnotes are numbered apart in the file: "footnote:2", "endnote:2".
                noteId =
                    name.toString() + u':' + reader.attributes().value(QLatin1StringView("w:id")).toString();
            } else if (!inNote) {
                continue;
            } else if (name == u"p") {
                heading = false;
                out.endLine();
            } else if (name == u"t") {
                out.addExact(reader.readElementText());
            } else if (name == u"tab") {
                out.addExact(u"\t");
            } else if (name == u"br" || name == u"cr") {
                out.endLine();
            } else if (name == u"footnoteReference" || name == u"endnoteReference") {
                const QString kind =
                    name == u"footnoteReference" ? QStringLiteral("footnote:") : QStringLiteral("endnote:");
                m_numbers.insert(kind + reader.attributes().value(QLatin1StringView("w:id")).toString(),
                                 m_numbers.size() + 1);
            } else if ((name == u"footnoteRef" || name == u"endnoteRef") && m_numbers.contains(noteId)) {
                out.addExact(QString::number(m_numbers.value(noteId)));
            } else if (name == u"tc") {
                out.add(u" ");
            }
        }
        m_damaged = m_damaged || reader.hasError();
    }

    QHash<QString, int> m_numbers;
    bool m_damaged = false;
};

// OpenDocument text (ODT): each text:p a line, text:h apart, tabs and line breaks kept; each
// note's body is gathered apart, after its citation.
class OdtWalker
{
public:
    void walk(const QByteArray &xml, Lines &text, Lines &notes)
    {
        QXmlStreamReader reader(xml);
        int skip = 0;
        bool inText = false;
        Lines *out = &text;
        QString citation; // begins the note's first paragraph
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            const QStringView name = reader.name();
            if (token == QXmlStreamReader::Characters) {
                if (inText && skip == 0)
                    out->add(reader.text());
            } else if (token == QXmlStreamReader::EndElement) {
                if (skip > 0) {
                    --skip;
                } else if (name == u"text" && reader.prefix() == u"office") {
                    inText = false;
                } else if (name == u"h") {
                    out->separate();
                } else if (name == u"p") {
                    out->endLine();
                } else if (name == u"note") {
                    out->endLine();
                    out = &text;
                }
            } else if (token == QXmlStreamReader::StartElement) {
                if (skip > 0) {
                    ++skip;
                } else if (name == u"text" && reader.prefix() == u"office") {
                    inText = true;
                } else if (name == u"annotation" || name == u"tracked-changes" || name == u"image" ||
                           name == u"title" || name == u"desc" || name == u"table-of-content" ||
                           name == u"alphabetical-index" || name == u"sequence-decls" ||
                           name == u"variable-decls" || name == u"forms") {
                    skip = 1;
                } else if (name == u"note-citation") {
                    citation = reader.readElementText(QXmlStreamReader::IncludeChildElements);
                } else if (name == u"note") {
                    out = &notes;
                    out->endLine();
                } else if (name == u"h") {
                    out->separate();
                } else if (name == u"p") {
                    out->endLine();
                    if (!citation.isEmpty()) {
                        out->addExact(citation);
                        out->add(u" ");
                        citation.clear();
                    }
                } else if (name == u"s") {
                    out->add(u" ");
                } else if (name == u"tab") {
                    out->addExact(u"\t");
                } else if (name == u"line-break") {
                    out->endLine();
                } else if (name == u"table-cell") {
                    out->add(u" ");
                }
            }
        }
        m_damaged = reader.hasError();
    }
    bool damaged() const { return m_damaged; }

private:
    bool m_damaged = false;
};

// The main text, then the notes under their heading.
QString withNotes(Lines &text, const Lines &notes)
{
    if (!notes.isEmpty()) {
        text.separate();
        text.add(kNotes);
        text.append(notes);
    }
    return text.text();
}

} // namespace

Reading readDocx(const QString &path, const Progress &)
{
    Reading reading;
    const ZipArchive zip(path);
    const std::optional<QByteArray> document = zip.read(QStringLiteral("word/document.xml"));
    if (!document) {
        reading.message = damagedArchive(path);
        return reading;
    }
    DocxWalker walker;
    Lines text;
    walker.walkText(*document, text);
    Lines notes;
    for (const QString &member :
         {QStringLiteral("word/footnotes.xml"), QStringLiteral("word/endnotes.xml")}) {
        if (const std::optional<QByteArray> xml = zip.read(member))
            walker.walkNotes(*xml, notes);
    }
    reading.text = withNotes(text, notes);
    reading.title = dublinCoreTitle(zip, QStringLiteral("docProps/core.xml"));
    reading.ok = true;
    if (walker.damaged())
        reading.message = damagedXml(path, -1);
    return reading;
}

Reading readOdt(const QString &path, const Progress &)
{
    Reading reading;
    const ZipArchive zip(path);
    const std::optional<QByteArray> content = zip.read(QStringLiteral("content.xml"));
    if (!content) {
        reading.message = damagedArchive(path);
        return reading;
    }
    OdtWalker walker;
    Lines text;
    Lines notes;
    walker.walk(*content, text, notes);
    reading.text = withNotes(text, notes);
    reading.title = dublinCoreTitle(zip, QStringLiteral("meta.xml"));
    reading.ok = true;
    if (walker.damaged())
        reading.message = damagedXml(path, -1);
    return reading;
}

} // namespace books
