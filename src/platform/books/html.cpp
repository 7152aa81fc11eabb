#include "platform/books/lines.h"
#include "platform/books/readers.h"

#include "platform/text/textfile.h"

#include <QRegularExpression>

#include <libxml/HTMLparser.h>

#include <functional>
#include <memory>

namespace books {

namespace {

QString attribute(const xmlChar **attributes, const char *name)
{
    for (const xmlChar **at = attributes; at && at[0]; at += 2) {
        if (qstrcmp(reinterpret_cast<const char *>(at[0]), name) == 0)
            return QString::fromUtf8(reinterpret_cast<const char *>(at[1] ? at[1] : at[0]));
    }
    return {};
}

using Attribute = std::function<QString(const char *name)>;

bool among(const char *name, std::initializer_list<const char *> names)
{
    for (const char *candidate : names) {
        if (qstrcmp(name, candidate) == 0)
            return true;
    }
    return false;
}

// What a reader never hears: code, styles, pictures, forms, navigation, and the note
// references and back links a converter puts beside the text.
bool leftOut(const char *name, const Attribute &attribute)
{
    if (among(name,
              {"script", "style", "noscript", "template", "img", "svg", "math", "object", "embed", "iframe",
               "video", "audio", "canvas", "map", "nav", "button", "select", "textarea", "input"}))
        return true;
    if (qstrcmp(name, "a") == 0 || qstrcmp(name, "sup") == 0) {
        const QString role = attribute("role") + u' ' + attribute("epub:type") + u' ' + attribute("class");
        static const QRegularExpression reference(
            QStringLiteral(R"(\b(noteref|doc-noteref|doc-backlink|footnote-ref|footnote-back)\b)"));
        return reference.match(role).hasMatch();
    }
    return false;
}

bool isHeading(const char *name)
{
    return name[0] == 'h' && name[1] >= '1' && name[1] <= '6' && name[2] == '\0';
}

bool isBlock(const char *name)
{
    return among(name, {"p",          "div",     "li",      "dt",       "dd",     "blockquote", "pre",
                        "tr",         "section", "article", "header",   "footer", "aside",      "figure",
                        "figcaption", "table",   "ul",      "ol",       "dl",     "address",    "center",
                        "main",       "caption", "body",    "html",     "hr",     "tbody",      "thead",
                        "tfoot",      "details", "summary", "fieldset", "legend", "form"});
}

// The parser's events become lines as they come: no document tree is built.
struct HtmlWalk
{
    Lines &out;
    QString *title;
    int skip = 0; // depth inside what is left out
    bool inTitle = false;

    void start(const char *name, const Attribute &attributes)
    {
        if (skip > 0) {
            ++skip;
        } else if (qstrcmp(name, "title") == 0) {
            inTitle = title != nullptr;
            skip = !inTitle;
        } else if (leftOut(name, attributes)) {
            skip = 1;
        } else if (qstrcmp(name, "br") == 0) {
            out.endLine();
        } else if (isHeading(name)) {
            out.separate();
        } else if (isBlock(name)) {
            out.endLine();
        } else if (qstrcmp(name, "td") == 0 || qstrcmp(name, "th") == 0) {
            out.add(u" ");
        }
    }

    void end(const char *name)
    {
        if (skip > 0)
            --skip;
        else if (inTitle && qstrcmp(name, "title") == 0)
            inTitle = false;
        else if (isHeading(name))
            out.separate();
        else if (isBlock(name))
            out.endLine();
    }

    void characters(QStringView piece)
    {
        if (inTitle)
            *title += piece;
        else if (skip == 0)
            out.add(piece);
    }
};

HtmlWalk &walkOf(void *context)
{
    return *static_cast<HtmlWalk *>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

} // namespace

void readHtml(QByteArrayView utf8, Lines &out, QString *title)
{
    htmlSAXHandler handler{};
    handler.startElement = [](void *context, const xmlChar *name, const xmlChar **attributes) {
        walkOf(context).start(reinterpret_cast<const char *>(name),
                              [attributes](const char *key) { return attribute(attributes, key); });
    };
    handler.endElement = [](void *context, const xmlChar *name) {
        walkOf(context).end(reinterpret_cast<const char *>(name));
    };
    handler.characters = [](void *context, const xmlChar *text, int size) {
        walkOf(context).characters(QString::fromUtf8(reinterpret_cast<const char *>(text), size));
    };
    handler.cdataBlock = handler.characters;
    HtmlWalk walk{out, title};
    // The context is what each event is given (no user data), and it carries the walk.
    const std::unique_ptr<htmlParserCtxt, void (*)(htmlParserCtxtPtr)> context(
        htmlCreatePushParserCtxt(&handler, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
        htmlFreeParserCtxt);
    if (!context)
        return;
    context->_private = &walk;
    htmlCtxtUseOptions(context.get(), HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                          HTML_PARSE_IGNORE_ENC | HTML_PARSE_NONET);
    htmlParseChunk(context.get(), utf8.data(), static_cast<int>(utf8.size()), 1);
    out.endLine();
}

Reading readHtmlFile(const QString &path, const Progress &)
{
    Reading reading;
    QString error;
    const std::optional<QByteArray> bytes = textfile::readBytes(path, &error);
    if (!bytes) {
        reading.message = textfile::openFailure(path, error);
        return reading;
    }
    // The page's own word on its encoding, else the codec's judgement, as for a text file.
    static const QRegularExpression charset(QStringLiteral(R"(<meta[^>]*charset\s*=\s*["']?\s*([-\w.:]+))"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match =
        charset.match(QString::fromLatin1(bytes->first(std::min<qsizetype>(bytes->size(), 4096))));
    const std::optional<textcodec::Encoding> declared =
        match.hasMatch() ? encodingNamed(match.capturedView(1)) : std::nullopt;
    const QString text = declared ? textcodec::decode(*bytes, *declared) : textcodec::decodeAsFound(*bytes);
    Lines lines;
    readHtml(text.toUtf8(), lines, &reading.title);
    reading.text = lines.text();
    reading.ok = true;
    return reading;
}

} // namespace books
