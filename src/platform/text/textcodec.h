#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// How the bytes of a book become text and back. Books are Windows-1251, as they always
// were, unless their bytes are valid UTF-8 holding a letter outside ASCII (the usual text
// on Linux) or start with the UTF-8 byte order mark; a book is written back as it came.
namespace textcodec {

enum class Encoding
{
    Windows1251,
    Utf8,
    Utf8WithBom,
};

// Decides a file's encoding from its bytes given piece by piece, cut anywhere.
class Detector
{
public:
    void feed(QByteArrayView bytes);
    // True once more bytes cannot change the answer (they are not UTF-8).
    bool decided() const { return !m_valid; }
    Encoding encoding() const;
    // The characters the bytes fed so far hold when they are UTF-8, the byte order mark left out.
    qint64 characters() const { return m_leads - (m_bomBytes == 3 ? 1 : 0); }

private:
    bool m_valid = true;
    bool m_letter = false;
    int m_bomBytes = 0;
    qint64 m_seen = 0;
    qint64 m_leads = 0;    // bytes that start a character
    int m_need = 0;        // continuation bytes still due
    unsigned m_low = 0x80; // the next continuation byte's range
    unsigned m_high = 0xBF;
    char32_t m_code = 0;
};

Encoding detect(QByteArrayView bytes);

// A byte order mark at the start of UTF-8 bytes is not part of the text.
QString decode(QByteArrayView bytes, Encoding encoding);
QByteArray encode(const QString &text, Encoding encoding);
// Decoded in the encoding the bytes show; `found` gets it, to write the text back the same way.
QString decodeAsFound(QByteArrayView bytes, Encoding *found = nullptr);

// How many characters of `text` the encoding cannot hold: each would be written as "?".
qsizetype unencodable(const QString &text, Encoding encoding);

} // namespace textcodec
