#include "platform/books/lines.h"
#include "platform/books/readers.h"

#include "platform/text/textfile.h"

#include <QRegularExpression>
#include <QSet>

#include <libxml/HTMLparser.h>

#include <memory>

namespace books {

namespace {

QString attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

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
bool leftOut(const xmlNode *node, const char *name)
{
    if (among(name, {"head", "script", "style",  "noscript", "template", "img",   "svg",
                     "math", "object", "embed",  "iframe",   "video",    "audio", "canvas",
                     "map",  "nav",    "button", "select",   "textarea", "input"}))
        return true;
    if (qstrcmp(name, "a") == 0 || qstrcmp(name, "sup") == 0) {
        const QString role =
            attribute(node, "role") + u' ' + attribute(node, "epub:type") + u' ' + attribute(node, "class");
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

void walk(const xmlNode *node, Lines &out)
{
    for (; node; node = node->next) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out.add(QString::fromUtf8(reinterpret_cast<const char *>(node->content)));
            continue;
        }
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const char *name = reinterpret_cast<const char *>(node->name);
        if (leftOut(node, name))
            continue;
        if (qstrcmp(name, "br") == 0) {
            out.endLine();
        } else if (isHeading(name)) {
            out.separate();
            walk(node->children, out);
            out.separate();
        } else if (isBlock(name)) {
            out.endLine();
            walk(node->children, out);
            out.endLine();
        } else {
            if (qstrcmp(name, "td") == 0 || qstrcmp(name, "th") == 0)
                out.add(u" ");
            walk(node->children, out);
        }
    }
}

const xmlNode *findElement(const xmlNode *node, const char *name)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (qstrcmp(reinterpret_cast<const char *>(node->name), name) == 0)
            return node;
        if (const xmlNode *inside = findElement(node->children, name))
            return inside;
    }
    return nullptr;
}

struct DocFree
{
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};

} // namespace

void readHtml(QByteArrayView utf8, Lines &out, QString *title)
{
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(utf8.data(), static_cast<int>(utf8.size()), nullptr, "UTF-8",
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
    if (!doc)
        return;
    const xmlNode *root = xmlDocGetRootElement(doc.get());
    if (title) {
        if (const xmlNode *head = findElement(root, "title")) {
            Lines words;
            walk(head->children, words);
            *title = words.text();
        }
    }
    walk(root, out);
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
