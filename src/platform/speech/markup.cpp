#include "platform/speech/markup.h"

#include "platform/text/words.h"

#include <algorithm>
#include <optional>

namespace speech {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isNameChar(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

struct Attribute
{
    QString name;
    QString value;
};

struct Tag
{
    QString name; // lower case
    bool closing = false;
    bool selfClosing = false;
    QList<Attribute> attributes;
    qsizetype end = 0; // index after the closing ">"

    std::optional<int> number(QLatin1StringView attribute) const
    {
        for (const Attribute &a : attributes) {
            if (a.name.compare(attribute, Qt::CaseInsensitive) == 0) {
                bool ok = false;
                const int v = a.value.trimmed().toInt(&ok);
                if (ok)
                    return v;
            }
        }
        return std::nullopt;
    }
};

// A well-formed tag starting at s[pos] == '<', or nothing.
std::optional<Tag> readTag(const QString &s, qsizetype pos)
{
    const qsizetype n = s.size();
    qsizetype i = pos + 1;
    Tag tag;
    if (i < n && s[i] == u'/') {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < n && isNameChar(s[i]))
        ++i;
    if (i == nameStart)
        return std::nullopt;
    tag.name = s.mid(nameStart, i - nameStart).toLower();
    for (;;) {
        while (i < n && isBlank(s[i]))
            ++i;
        if (i >= n)
            return std::nullopt;
        if (s[i] == u'>') {
            tag.end = i + 1;
            return tag;
        }
        if (s[i] == u'/' && i + 1 < n && s[i + 1] == u'>' && !tag.closing) {
            tag.selfClosing = true;
            tag.end = i + 2;
            return tag;
        }
        if (tag.closing)
            return std::nullopt;
        const qsizetype attrStart = i;
        while (i < n && isNameChar(s[i]))
            ++i;
        if (i == attrStart)
            return std::nullopt;
        Attribute attr{s.mid(attrStart, i - attrStart), {}};
        while (i < n && isBlank(s[i]))
            ++i;
        if (i >= n || s[i] != u'=')
            return std::nullopt;
        ++i;
        while (i < n && isBlank(s[i]))
            ++i;
        // The program writes its values in double quotes only, and text preparation turns
        // every double quote of a book into a blank: a book's own tags never act.
        if (i >= n || s[i] != u'"')
            return std::nullopt;
        const QChar quote = s[i++];
        const qsizetype valueStart = i;
        while (i < n && s[i] != quote && s[i] != u'<')
            ++i;
        if (i >= n || s[i] != quote)
            return std::nullopt;
        attr.value = s.mid(valueStart, i - valueStart);
        ++i;
        tag.attributes.append(attr);
    }
}

// The character of an XML entity at s[pos] == '&' and the entity's length, or nothing.
std::optional<std::pair<QString, qsizetype>> readEntity(const QString &s, qsizetype pos)
{
    const qsizetype semi = s.indexOf(u';', pos + 1);
    if (semi < 0 || semi - pos > 10)
        return std::nullopt;
    const QString name = s.mid(pos + 1, semi - pos - 1);
    const qsizetype length = semi - pos + 1;
    static const QList<std::pair<QString, QString>> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
    };
    for (const auto &[entity, text] : named) {
        if (name == entity)
            return std::make_pair(text, length);
    }
    if (name.size() > 1 && name[0] == u'#') {
        bool ok = false;
        const uint code =
            (name[1] == u'x' || name[1] == u'X') ? name.mid(2).toUInt(&ok, 16) : name.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            const char32_t c = code;
            return std::make_pair(QString::fromUcs4(&c, 1), length);
        }
    }
    return std::nullopt;
}

class SegmentBuilder
{
public:
    void appendChar(const QString &source, qsizetype pos)
    {
        const QChar c = source[pos];
        // The vowel must be text of its own, not the end of an entity or a tag.
        if (words::isStressMark(source, pos) && !m_text.isEmpty() && m_text.back() == source[pos - 1]) {
            m_stresses.append(m_text.size() - 1);
            return;
        }
        m_text.append(c);
    }
    void appendText(const QString &text) { m_text.append(text); }

    void endText(const Prosody &prosody)
    {
        const bool blank = std::all_of(m_text.cbegin(), m_text.cend(), isBlank);
        if (!blank)
            m_segments.append(Segment{m_text, prosody, 0, m_stresses});
        m_text.clear();
        m_stresses.clear();
    }

    void appendSilence(int ms)
    {
        if (ms > 0)
            m_segments.append(Segment{QString(), Prosody{}, ms, {}});
    }

    QList<Segment> take() { return std::move(m_segments); }

private:
    QList<Segment> m_segments;
    QString m_text;
    QList<int> m_stresses;
};

// The prosody in force: each attribute has a stack, so closing tags restore what was
// there before; a closing tag with nothing open is ignored.
class ProsodyStack
{
public:
    Prosody current() const { return {m_volume.back(), m_rate.back(), m_pitch.back()}; }

    // Applies a prosody or silence tag; false when the tag is not one of ours.
    bool apply(const Tag &tag, SegmentBuilder &out)
    {
        if (tag.name == QLatin1String("silence")) {
            if (tag.closing)
                return true;
            const auto ms = tag.number(QLatin1String("msec"));
            if (!ms)
                return false;
            out.endText(current());
            out.appendSilence(std::clamp(*ms, 0, kMaxSilenceMs));
            return true;
        }
        QList<int> *stack = nullptr;
        QLatin1StringView attribute;
        int low = -10;
        int high = 10;
        if (tag.name == QLatin1String("volume")) {
            stack = &m_volume;
            attribute = QLatin1String("level");
            low = 0;
            high = 100;
        } else if (tag.name == QLatin1String("rate")) {
            stack = &m_rate;
            attribute = QLatin1String("absspeed");
        } else if (tag.name == QLatin1String("pitch")) {
            stack = &m_pitch;
            attribute = QLatin1String("absmiddle");
        } else {
            return false;
        }
        if (tag.closing) {
            out.endText(current());
            if (stack->size() > 1)
                stack->removeLast();
            return true;
        }
        const auto value = tag.number(attribute);
        if (!value)
            return false;
        out.endText(current());
        const int v = std::clamp(*value, low, high);
        if (tag.selfClosing)
            stack->back() = v;
        else
            stack->append(v);
        return true;
    }

private:
    QList<int> m_volume{100};
    QList<int> m_rate{0};
    QList<int> m_pitch{0};
};

} // namespace

QList<Segment> parseMarkup(const QString &text)
{
    SegmentBuilder out;
    ProsodyStack prosody;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'<') {
            if (const auto tag = readTag(text, i); tag && prosody.apply(*tag, out)) {
                i = tag->end;
                continue;
            }
        } else if (c == u'&') {
            if (const auto entity = readEntity(text, i)) {
                out.appendText(entity->first);
                i += entity->second;
                continue;
            }
        }
        out.appendChar(text, i);
        ++i;
    }
    out.endText(prosody.current());
    return out.take();
}

QList<Segment> parsePlain(const QString &text)
{
    SegmentBuilder out;
    for (qsizetype i = 0; i < text.size(); ++i)
        out.appendChar(text, i);
    out.endText(Prosody{});
    return out.take();
}

bool looksLikeMarkup(const QString &text)
{
    const auto first = std::find_if_not(text.cbegin(), text.cend(), isBlank);
    return first != text.cend() && *first == u'<';
}

} // namespace speech
