#include "platform/text/textcodec.h"

#include "platform/text/cp1251.h"

#include <algorithm>

namespace textcodec {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// Two-byte characters that a Windows-1251 text makes by chance: a capital letter followed by
// a punctuation mark or a rare letter ("ПЁ" is U+03E8). Those that land in Russian, common
// Latin letters or punctuation are no evidence either way; these are: C1 controls, Latin
// Extended-B and IPA, Greek and Coptic, the Cyrillic beyond the modern alphabets, and the
// scripts up to U+07FF.
bool rareTwoByte(char32_t code)
{
    return code < 0xA0 || (code >= 0x180 && code < 0x300) || (code >= 0x370 && code < 0x400) ||
           (code >= 0x460 && code < 0x800);
}

} // namespace

void Detector::feed(QByteArrayView bytes)
{
    // The state lives in locals while the bytes are read: through the members, every store
    // would make the compiler load them again after the next byte (a char may alias them).
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    int need = m_need, got = m_got;
    unsigned low = m_low, high = m_high;
    char32_t code = m_code;
    qint64 characters = m_characters, multibyte = m_multibyte, rare = m_rare, damaged = m_damaged;
    bool letter = m_letter;
    qsizetype i = 0;
    for (; i < bytes.size() && damaged <= kMostDamaged; ++i) {
        const unsigned b = p[i];
        if (need > 0) {
            if (b >= low && b <= high) {
                code = (code << 6) | (b & 0x3F);
                ++got;
                low = 0x80;
                high = 0xBF;
                if (--need > 0)
                    continue;
                // The mark opens the file only at its very first byte (this is the third).
                if (code == 0xFEFF && m_seen + i == 2) {
                    m_bom = true;
                    continue;
                }
                ++characters;
                ++multibyte;
                if (rareTwoByte(code))
                    ++rare;
                if (!letter && QChar::isLetter(code))
                    letter = true;
                continue;
            }
            // The character breaks off: each byte of it so far is damaged, as a UTF-8 decoder
            // replaces each, and this byte is looked at afresh.
            damaged += got;
            characters += got;
            need = 0;
        }
        if (b < 0x80) {
            ++characters;
            continue;
        }
        // The lead byte sets how many bytes follow and, for the first of them, a narrower
        // range that refuses overlong forms, surrogates and code points past U+10FFFF.
        got = 1;
        low = 0x80;
        high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
            code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            code = b & 0x0F;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            code = b & 0x07;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            ++damaged;
            ++characters;
        }
    }
    m_seen += i;
    m_need = need;
    m_got = got;
    m_low = low;
    m_high = high;
    m_code = code;
    m_characters = characters;
    m_multibyte = multibyte;
    m_rare = rare;
    m_damaged = damaged;
    m_letter = letter;
}

Encoding Detector::encoding() const
{
    // The mark is no accident: it decides unless the damage is past any "few".
    const qint64 bad = damaged();
    if (m_bom)
        return bad > kMostDamaged ? Encoding::Windows1251 : Encoding::Utf8WithBom;
    // A few damaged bytes: at most one for every 16 well-formed characters outside ASCII. A
    // Windows-1251 text breaks the rules at nearly every letter and keeps them only by chance
    // (a capital before a punctuation mark), so it stays far away.
    if (bad > kMostDamaged || bad > m_multibyte / 16)
        return Encoding::Windows1251;
    if (!m_letter)
        return Encoding::Windows1251;
    // Plausible text: when only a few characters are outside ASCII, at most a quarter of them
    // from the ranges a Windows-1251 text lands in by chance.
    if (m_multibyte < kFewMultibyte && 4 * m_rare > m_multibyte)
        return Encoding::Windows1251;
    return Encoding::Utf8;
}

Encoding detect(QByteArrayView bytes)
{
    Detector d;
    d.feed(bytes);
    return d.encoding();
}

Encoding marked(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kBom)) ? Encoding::Utf8WithBom : Encoding::Windows1251;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Windows1251)
        return cp1251::decode(bytes.toByteArray());
    if (encoding == Encoding::Utf8WithBom && bytes.startsWith(QByteArrayView(kBom)))
        bytes = bytes.sliced(3);
    // QString::fromUtf8 drops a U+FEFF that starts the bytes, but only the file's first mark
    // is no text, and a line of a book may start with one. (QStringDecoder keeps it, at half
    // the speed.)
    QString text = QString::fromUtf8(bytes);
    if (bytes.startsWith(QByteArrayView(kBom)))
        text.prepend(QChar(0xFEFF));
    return text;
}

QString decodeAsFound(QByteArrayView bytes, Encoding *found, qint64 *damaged)
{
    Detector d;
    d.feed(bytes);
    const Encoding encoding = d.encoding();
    if (found)
        *found = encoding;
    if (damaged)
        *damaged = encoding == Encoding::Windows1251 ? 0 : d.damaged();
    return decode(bytes, encoding);
}

QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1251:
        return cp1251::encode(text);
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf8WithBom:
        return kBom + text.toUtf8();
    }
    return {};
}

qsizetype unencodable(const QString &text, Encoding encoding)
{
    if (encoding != Encoding::Windows1251)
        return 0;
    // A character beyond the BMP is one character, though two QChars.
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) {
        return c != u'?' && !c.isLowSurrogate() && cp1251::fromUnicode(c) == '?';
    });
}

} // namespace textcodec
