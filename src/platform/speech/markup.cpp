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

class SegmentBuilder
{
public:
    // A run of text as it is heard (words.h): entities as their characters, tags silent, each
    // stress mark taken out and kept as the position of its vowel.
    void appendText(const QString &source)
    {
        const words::Reading reading(source);
        const QString &text = reading.text();
        m_text.reserve(m_text.size() + text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (words::isReadStress(text, i))
                m_stresses.append(m_text.size() - 1);
            else
                m_text.append(text[i]);
        }
    }

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

    // Applies a prosody or silence tag after the text `before` it; false, with nothing done, when
    // the tag is not one of ours.
    bool apply(const Tag &tag, const QString &before, SegmentBuilder &out)
    {
        const auto endText = [&] {
            out.appendText(before);
            out.endText(current());
        };
        if (tag.name == QLatin1String("silence")) {
            if (tag.closing) {
                out.appendText(before);
                return true;
            }
            const auto ms = tag.number(QLatin1String("msec"));
            if (!ms)
                return false;
            endText();
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
            endText();
            if (stack->size() > 1)
                stack->removeLast();
            return true;
        }
        const auto value = tag.number(attribute);
        if (!value)
            return false;
        endText();
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
    qsizetype copied = 0;
    for (qsizetype i = text.indexOf(u'<'); i >= 0; i = text.indexOf(u'<', i + 1)) {
        const auto tag = readTag(text, i);
        if (!tag || !prosody.apply(*tag, text.sliced(copied, i - copied), out))
            continue;
        copied = tag->end;
        i = tag->end - 1;
    }
    out.appendText(text.sliced(copied));
    out.endText(prosody.current());
    return out.take();
}

QList<Segment> parsePlain(const QString &text)
{
    SegmentBuilder out;
    out.appendText(text);
    out.endText(Prosody{});
    return out.take();
}

bool looksLikeMarkup(const QString &text)
{
    const auto first = std::find_if_not(text.cbegin(), text.cend(), isBlank);
    return first != text.cend() && *first == u'<';
}

} // namespace speech
