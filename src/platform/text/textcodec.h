#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <algorithm>
#include <cstdint>

// How the bytes of a book become text and back, decided once for every reader of books.
// The whole file is looked at. First the UTF-8 rule: bytes that read as plausible UTF-8 holding
// a letter outside ASCII (or well-formed UTF-8 with no damaged byte: a character of three bytes
// or more, or many of two), with fewer damaged bytes than a quarter of the well-formed
// characters, are UTF-8 (each damaged byte reads as U+FFFD and is counted); after the UTF-8 byte
// order mark, unless the damaged bytes outnumber the characters. A long run of damage beside
// UTF-8 text is a part in a single-byte code page: such a book is read part by part. Otherwise
// the detector library chooses among the single-byte Cyrillic code pages and UTF-16 with its
// mark, and a single-byte reading must read as ordinary Russian or be vouched for by the
// book's words; one that is neither is shown as Windows-1251 and said to be unsure. A book is
// written back as it came; a joined one, once changed, in UTF-8 with the mark.
namespace textcodec {

enum class Encoding
{
    Windows1251,
    Utf8,
    Utf8WithBom,
    // A Windows-1251 text behind a UTF-8 byte order mark, as some tools write it: the mark
    // stays in the file and out of the text.
    Windows1251WithBom,
    Koi8r,
    Cp866,
    Utf16Le, // both with their byte order mark
    Utf16Be,
    // Parts in different encodings (Choice::parts), each read in its own; written as UTF-8
    // after the mark.
    Joined,
};

// A stretch of a joined book, from `start` to the next part's start or the end of the file.
struct Part
{
    qint64 start = 0;
    Encoding encoding = Encoding::Utf8;
    // A single-byte part whose reading neither looks like ordinary Russian nor is vouched for
    // by the known words: shown as Windows-1251.
    bool unsure = false;
};

// What a book's bytes were found to be.
struct Choice
{
    Encoding encoding = Encoding::Windows1251;
    // UTF-8 bytes that read as U+FFFD; for a mixed text, those that would.
    qint64 damaged = 0;
    // Many well-formed UTF-8 characters, yet too many damaged bytes: the text reads right
    // neither as UTF-8 nor as Windows-1251. It is read as Windows-1251, which keeps every byte.
    bool mixed = false;
    // The encoding the detector named when the program does not read it ("ISO-8859-5").
    QString refused;
    // A single-byte reading, of the book or of a part of it, that the program cannot vouch for.
    bool unsure = false;
    // A joined book's parts; from the Detector, the single-byte ones are not chosen yet
    // (choose() does that, from the bytes).
    QList<Part> parts;
};

// Decides a file's encoding from its bytes given piece by piece, cut anywhere.
class Detector
{
public:
    void feed(QByteArrayView bytes);
    Choice choice() const;
    // True once more bytes cannot change how the bytes so far read, only the damage and the
    // parts further on: a joined book, or one with no byte order mark, a long run of damage
    // (so never UTF-8 at its start) and the sample taken. A head and a count need no more.
    bool settled() const
    {
        return joined() ||
               (!m_bom && std::max(m_longestRun, m_run) >= kFewMultibyte && m_sample.size() >= kSample);
    }
    Encoding encoding() const { return choice().encoding; }
    // What the detector library is given, from the first byte outside ASCII, whatever the
    // UTF-8 rule made of those bytes: a first look, which settles a Russian text, and, when
    // that names no encoding a Russian book comes in (a capitalised title page reads as Greek
    // or Latin to it; UTF-8 is no answer once the rule refused it), a longer one. It is slow,
    // so it never sees the whole book.
    static constexpr qsizetype kFirstLook = 4096;
    static constexpr qsizetype kSample = 32768;
    // Whether the UTF-8 rule takes the bytes for UTF-8, with or without the mark.
    bool utf8() const;
    // Bytes that are no part of a well-formed UTF-8 character, a character cut off at the end
    // included: each reads as one U+FFFD when the bytes are taken as UTF-8.
    qint64 damaged() const { return m_damaged + unfinished(); }
    // The bytes at the end that begin a character not finished yet.
    int unfinished() const { return m_need > 0 ? m_got : 0; }
    // The characters the bytes fed so far hold when they are UTF-8, the byte order mark left out.
    qint64 characters() const { return m_characters + unfinished(); }

private:
    // A single-byte stretch: a long run of damage, with the short runs and the few well-formed
    // characters around it that a single-byte text makes by chance.
    struct Stretch
    {
        qint64 start = 0, end = 0;
        qint64 multibyteBefore = 0; // well-formed characters outside ASCII before it
        qint64 multibyteIn = 0;     // ... and within it, by chance
        qint64 damagedBefore = 0;
        qint64 damagedIn = 0;
    };
    // Characters and damage that are no UTF-8 text of their own.
    static bool byChance(qint64 multibyte, qint64 damaged);
    void addStretch(Stretch s);
    // The stretches, the last run of damage included when it is long, and either end of the
    // file taken in when it is no UTF-8 text of its own.
    QList<Stretch> stretches() const;
    // Single-byte stretches beside UTF-8 text of more than a few characters.
    bool joined() const;
    // A joined book's parts, the single-byte ones as Windows-1251 for now, and the damaged
    // bytes of its UTF-8 parts.
    QList<Part> parts(qint64 *utf8Damage) const;

    // Fewer well-formed characters than this between single-byte stretches, or at either end,
    // are a single-byte text's by chance, and so are more damaged bytes than a UTF-8 text has.
    static constexpr qint64 kByChance = 4;

    // A Windows-1251 text is valid UTF-8 only when each of its letters outside ASCII is a
    // capital followed by a punctuation mark or a rare letter (a small letter or a second
    // capital breaks the form), so such a text has a handful of them at most. A run this
    // long without a break is real UTF-8 whatever its script, a Greek or Hebrew book; as many
    // beside more damaged bytes make a mixed text, and as many damaged bytes in a row beside
    // UTF-8 are a part in a single-byte code page.
    static constexpr qint64 kFewMultibyte = 32;

    bool m_letter = false;
    bool m_bom = false;
    qint64 m_seen = 0;
    qint64 m_characters = 0; // well-formed characters and damaged bytes, the mark left out
    qint64 m_multibyte = 0;  // well-formed characters outside ASCII, the mark left out
    qint64 m_rare = 0;       // those of them that a Windows-1251 text makes by chance
    qint64 m_wide = 0;       // those of three or four bytes
    qint64 m_damaged = 0;
    qint64 m_run = 0; // damaged bytes since the last well-formed character outside ASCII
    qint64 m_longestRun = 0;
    int m_need = 0;        // continuation bytes still due
    int m_got = 0;         // bytes of the current character so far
    unsigned m_low = 0x80; // the next continuation byte's range
    unsigned m_high = 0xBF;
    char32_t m_code = 0;
    qint64 m_sampleAt = -1; // where the sample starts in the file
    QByteArray m_sample;
    qint64 m_runStart = 0; // where the run of damage began
    QList<Stretch> m_stretches;
};

Encoding detect(QByteArrayView bytes);
Choice choose(QByteArrayView bytes);

// Files of the program's own (bookmarks) are Windows-1251 unless they start with the byte
// order mark: the mark alone decides, so a Windows-1251 text is never taken for UTF-8.
Encoding marked(QByteArrayView bytes);

// The bytes of the byte order mark the encoding writes in front of the text.
qsizetype markLength(Encoding encoding);
// The mark at the start of the bytes is not part of the text; any other U+FEFF is, a second
// mark at the start included. Damaged UTF-8 bytes read as U+FFFD each, and so does the odd
// last byte of UTF-16.
QString decode(QByteArrayView bytes, Encoding encoding);
// Bytes that follow the mark, if any: none of them is taken for one.
QString decodeText(QByteArrayView bytes, Encoding encoding);
// How many bytes from the start hold whole characters only: the rest begins one cut off,
// which reads as its whole self once the bytes after it come.
qsizetype wholeCharacters(QByteArrayView bytes, Encoding encoding);
// A UTF-8 text that would not read back as UTF-8 (a few rare letters) gets the mark, so a
// book saved as UTF-8 opens as UTF-8 again.
QByteArray encode(const QString &text, Encoding encoding);
// Decoded as choose() finds; `choice` gets what it found, to write the text back the same way.
QString decodeAsFound(QByteArrayView bytes, Choice *choice = nullptr);
// Decoded as `choice` says, part by part for a joined book; the bytes may be the start of the
// file only.
QString decode(QByteArrayView bytes, const Choice &choice);

// The encoding's name for the user: "Windows-1251", "KOI8-R", ...
QString name(Encoding encoding);
// How many characters of `text` the encoding cannot hold: each would be written as "?".
qsizetype unencodable(const QString &text, Encoding encoding);

// Why the book cannot be recorded or searched as it reads: an encoding the program does not
// read, or a mixed text. Empty when it reads right.
QString unreadable(const Choice &choice);
// What the user is told about a mixed text: it reads right in neither encoding.
QString mixedText(const Choice &choice);
// What the user is told about a reading that may be wrong: a mixed text, or one the program
// cannot vouch for. Empty when it reads right.
QString doubt(const Choice &choice);
// What the user is told about a book joined from parts in different encodings, with their
// names; empty for any other.
QString joinedText(const Choice &choice);

} // namespace textcodec
