#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

// How the bytes of a book become text and back. Books are Windows-1251, as they always
// were, unless their bytes read as plausible UTF-8 holding a letter outside ASCII (the usual
// text on Linux) or start with the UTF-8 byte order mark; a book is written back as it came.
// A UTF-8 book with a few damaged bytes is still UTF-8: each damaged byte reads as U+FFFD.
// After the mark "a few" means up to a fixed cap, and no test of plausibility applies.
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
    // True once more bytes cannot change the answer (far too many are not UTF-8).
    bool decided() const { return m_damaged > kMostDamaged; }
    Encoding encoding() const;
    // Bytes that are no part of a well-formed UTF-8 character, a character cut off at the end
    // included: each reads as one U+FFFD when the bytes are taken as UTF-8.
    qint64 damaged() const { return m_damaged + unfinished(); }
    // The bytes at the end that begin a character not finished yet.
    int unfinished() const { return m_need > 0 ? m_got : 0; }
    // The characters the bytes fed so far hold when they are UTF-8, the byte order mark left out.
    qint64 characters() const { return m_characters + unfinished(); }

private:
    // More damaged bytes than this are not "a few" whatever the length of the text.
    static constexpr qint64 kMostDamaged = 1000;
    // A Windows-1251 text is valid UTF-8 only when each of its letters outside ASCII is a
    // capital followed by a punctuation mark or a rare letter (a small letter or a second
    // capital breaks the form), so such a text has a handful of them at most. A run this
    // long without a break is real UTF-8 whatever its script, a Greek or Hebrew book.
    static constexpr qint64 kFewMultibyte = 32;

    bool m_letter = false;
    bool m_bom = false;
    qint64 m_seen = 0;
    qint64 m_characters = 0; // well-formed characters and damaged bytes, the mark left out
    qint64 m_multibyte = 0;  // well-formed characters outside ASCII, the mark left out
    qint64 m_rare = 0;       // those of them that a Windows-1251 text makes by chance
    qint64 m_damaged = 0;
    int m_need = 0;        // continuation bytes still due
    int m_got = 0;         // bytes of the current character so far
    unsigned m_low = 0x80; // the next continuation byte's range
    unsigned m_high = 0xBF;
    char32_t m_code = 0;
};

Encoding detect(QByteArrayView bytes);

// Files of the program's own (bookmarks) are Windows-1251 unless they start with the byte
// order mark: the mark alone decides, so a Windows-1251 text is never taken for UTF-8.
Encoding marked(QByteArrayView bytes);

// The byte order mark at the start of Utf8WithBom bytes is not part of the text; any other
// U+FEFF is, a second mark at the start included. Damaged UTF-8 bytes read as U+FFFD each.
QString decode(QByteArrayView bytes, Encoding encoding);
QByteArray encode(const QString &text, Encoding encoding);
// Decoded in the encoding the bytes show; `found` gets it, to write the text back the same way,
// and `damaged` the number of damaged bytes that read as U+FFFD.
QString decodeAsFound(QByteArrayView bytes, Encoding *found = nullptr, qint64 *damaged = nullptr);

// How many characters of `text` the encoding cannot hold: each would be written as "?".
qsizetype unencodable(const QString &text, Encoding encoding);

} // namespace textcodec
