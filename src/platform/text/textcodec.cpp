#include "platform/text/textcodec.h"

#include "platform/text/cp1251.h"

#include <algorithm>

namespace textcodec {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

} // namespace

void Detector::feed(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size() && m_valid; ++i, ++m_seen) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (m_seen == m_bomBytes && m_seen < 3 && b == static_cast<unsigned char>(kBom[m_seen]))
            ++m_bomBytes;
        if ((b & 0xC0) != 0x80)
            ++m_leads;
        if (m_need > 0) {
            if (b < m_low || b > m_high) {
                m_valid = false;
                break;
            }
            m_code = (m_code << 6) | (b & 0x3F);
            m_low = 0x80;
            m_high = 0xBF;
            if (--m_need == 0 && QChar::isLetter(m_code))
                m_letter = true;
            continue;
        }
        if (b < 0x80)
            continue;
        // The lead byte sets how many bytes follow and, for the first of them, a narrower
        // range that refuses overlong forms, surrogates and code points past U+10FFFF.
        if (b >= 0xC2 && b <= 0xDF) {
            m_need = 1;
            m_code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_need = 2;
            m_code = b & 0x0F;
            m_low = b == 0xE0 ? 0xA0 : 0x80;
            m_high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_need = 3;
            m_code = b & 0x07;
            m_low = b == 0xF0 ? 0x90 : 0x80;
            m_high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            m_valid = false;
        }
    }
}

Encoding Detector::encoding() const
{
    if (!m_valid || m_need > 0)
        return Encoding::Windows1251;
    if (m_bomBytes == 3)
        return Encoding::Utf8WithBom;
    return m_letter ? Encoding::Utf8 : Encoding::Windows1251;
}

Encoding detect(QByteArrayView bytes)
{
    Detector d;
    d.feed(bytes);
    return d.encoding();
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    if (encoding == Encoding::Windows1251)
        return cp1251::decode(bytes.toByteArray());
    if (bytes.startsWith(QByteArrayView(kBom)))
        bytes = bytes.sliced(3);
    return QString::fromUtf8(bytes);
}

QString decodeAsFound(QByteArrayView bytes, Encoding *found)
{
    const Encoding encoding = detect(bytes);
    if (found)
        *found = encoding;
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
