#include "platform/text/textcodec.h"

#include "platform/text/codepages.h"
#include "platform/text/cp1251.h"
#include "platform/text/knownwords.h"

#include <QStringList>
#include <QtEndian>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace textcodec {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr char kBomLe[] = "\xFF\xFE";
constexpr char kBomBe[] = "\xFE\xFF";

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

// The first byte that no ASCII text holds: where a byte order mark or a code page shows.
bool telling(char c)
{
    return c == 0 || static_cast<unsigned char>(c) >= 0x80;
}

// Fewer bytes outside ASCII than this are too few for the detector library: it takes a
// Windows-1251 "Ёж" for cp866 and a capitalised word for KOI8-R.
constexpr int kSureBytes = 16;

QByteArray libraryAnswer(QByteArrayView sample)
{
    const std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(), uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), size_t(sample.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

// The library's answers for the encodings a Russian book comes in, read or refused.
bool cyrillicAnswer(const QByteArray &answer)
{
    for (const char *known :
         {"WINDOWS-1251", "KOI8-R", "IBM866", "MAC-CYRILLIC", "ISO-8859-5", "IBM855", "UTF-16", "UTF-32"})
        if (answer == known)
            return true;
    return false;
}

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

bool isCp1251(Encoding encoding)
{
    return encoding == Encoding::Windows1251 || encoding == Encoding::Windows1251WithBom;
}

QString fromUtf16(QByteArrayView bytes, bool bigEndian)
{
    const qsizetype units = bytes.size() / 2;
    QString text(units + bytes.size() % 2, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(text.data());
    const char *src = bytes.data();
    for (qsizetype i = 0; i < units; ++i, src += 2)
        dst[i] = bigEndian ? qFromBigEndian<char16_t>(src) : qFromLittleEndian<char16_t>(src);
    if (bytes.size() % 2)
        dst[units] = QChar::ReplacementCharacter;
    return text;
}

QByteArray toUtf16(const QString &text, bool bigEndian)
{
    QByteArray bytes(bigEndian ? kBomBe : kBomLe, 2);
    bytes.resize(2 + 2 * text.size());
    char *dst = bytes.data() + 2;
    for (QChar c : text) {
        if (bigEndian)
            qToBigEndian<char16_t>(c.unicode(), dst);
        else
            qToLittleEndian<char16_t>(c.unicode(), dst);
        dst += 2;
    }
    return bytes;
}

// How a reading looks: whether its characters outside ASCII are nearly all Russian letters
// and, for ordinary Russian, whether its words are shaped as Russian words are: some of them
// capitalised, hardly any with a capital after a small letter. A reading in the wrong code
// page lands outside the alphabet or swaps the cases ("пРИВЕТ"); a text without a capitalised
// word (one in capitals) needs its words looked at.
struct Look
{
    bool russian = false;
    bool ordinary = false;
};

// Punctuation a Russian text holds outside ASCII, which a wrong reading makes of letters too.
bool typographic(QChar c)
{
    return QStringView(u"\u00A0\u00AB\u00BB\u2013\u2014\u2026\u201C\u201D\u201E\u2116").contains(c);
}

Look look(QStringView text)
{
    qsizetype letters = 0, others = 0, words = 0, capitalised = 0, swapped = 0;
    qsizetype length = 0;
    bool firstUpper = false, lower = false, swappedWord = false;
    const auto endWord = [&] {
        if (length >= 2) {
            ++words;
            capitalised += firstUpper && lower && !swappedWord;
            swapped += swappedWord;
        }
        length = 0;
    };
    for (const QChar c : text) {
        if (!knownwords::isRussianLetter(c)) {
            endWord();
            others += c.unicode() >= 0x80 && !typographic(c);
            continue;
        }
        ++letters;
        const bool upper = c <= u'Я';
        if (length++ == 0) {
            firstUpper = upper;
            lower = !upper;
            swappedWord = false;
        } else if (upper) {
            swappedWord = swappedWord || lower;
        } else {
            lower = true;
        }
    }
    endWord();
    const bool russian = letters >= 9 * others;
    return {russian, russian && capitalised > 0 && 100 * capitalised >= words && 50 * swapped <= words};
}

// The single-byte readings the word check weighs: those the program reads, then those it
// recognises only to refuse them.
enum Reading
{
    Cp1251Reading,
    Koi8rReading,
    Cp866Reading,
    Iso88595Reading,
    Ibm855Reading,
    kReadings
};

// The library's name of each reading.
constexpr const char *kReadingNames[kReadings] = {"WINDOWS-1251", "KOI8-R", "IBM866", "ISO-8859-5", "IBM855"};

QString read(QByteArrayView bytes, int reading)
{
    switch (reading) {
    case Koi8rReading:
        return codepages::decode(bytes, codepages::CodePage::Koi8r);
    case Cp866Reading:
        return codepages::decode(bytes, codepages::CodePage::Cp866);
    case Iso88595Reading:
        return codepages::decode(bytes, codepages::CodePage::Iso88595);
    case Ibm855Reading:
        return codepages::decode(bytes, codepages::CodePage::Ibm855);
    default:
        return cp1251::decode(bytes.toByteArray());
    }
}

void take(int reading, Choice &c)
{
    constexpr Encoding kRead[] = {Encoding::Windows1251, Encoding::Koi8r, Encoding::Cp866};
    c.encoding = reading < Iso88595Reading ? kRead[reading] : Encoding::Windows1251;
    if (reading >= Iso88595Reading)
        c.refused = QString::fromLatin1(kReadingNames[reading]);
}

// The words of a reading the known-word list holds; none for one that is no Russian text.
qsizetype knownWords(QByteArrayView sample, int reading)
{
    const QString text = read(sample, reading);
    return look(text).russian ? knownwords::count(text).known : 0;
}

// A reading vouched for by the words knows a word at least (a short text may hold one), and
// more than twice as many as any other reading.
constexpr qsizetype kVouchingWords = 1;

// The single-byte reading of a text, from the library's answer for what it looked at. An
// answer that reads as ordinary Russian there stands (a few bytes outside ASCII are too few
// for the library: then only Windows-1251 may stand so). Otherwise (the library takes a text
// in capitals for another code page, or names none) the reading of the whole sample that knows
// clearly more words than the others wins. When none does, the text is Windows-1251, the
// common case, and unsure unless that reads as ordinary Russian.
void singleByte(const QByteArray &answer, QByteArrayView looked, QByteArrayView sample, Choice &c)
{
    const bool sure =
        std::count_if(sample.begin(), sample.end(), [](char ch) { return ch & 0x80; }) >= kSureBytes;
    // Mac Cyrillic shares its small letters with Windows-1251, and the library takes one for
    // the other in short stretches: it leaves the default.
    int named = Cp1251Reading;
    for (int r = 0; sure && r < kReadings; ++r)
        if (answer == kReadingNames[r])
            named = r;
    if (look(read(looked, named)).ordinary)
        return take(named, c);
    qsizetype known[kReadings];
    int best = Cp1251Reading;
    for (int r = 0; r < kReadings; ++r) {
        known[r] = knownWords(sample, r);
        if (known[r] > known[best])
            best = r;
    }
    qsizetype others = 0;
    for (int r = 0; r < kReadings; ++r)
        if (r != best)
            others = std::max(others, known[r]);
    if (known[best] >= kVouchingWords && known[best] > 2 * others)
        return take(best, c);
    take(Cp1251Reading, c);
    c.unsure = !look(read(looked, Cp1251Reading)).ordinary;
}

// What the library is given of a text's sample, and its answer: a first look, which settles a
// Russian text, and, when that names no encoding a Russian book comes in, the whole sample.
QByteArray libraryLook(QByteArrayView sample, QByteArrayView &looked)
{
    looked = sample.first(std::min(sample.size(), Detector::kFirstLook));
    QByteArray answer = libraryAnswer(looked);
    if (!cyrillicAnswer(answer) && sample.size() > Detector::kFirstLook) {
        looked = sample;
        answer = libraryAnswer(looked);
    }
    return answer;
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
    qint64 characters = m_characters, multibyte = m_multibyte, rare = m_rare, wide = m_wide,
           damaged = m_damaged;
    qint64 run = m_run, longest = m_longestRun;
    qint64 runStart = m_runStart;
    const qint64 base = m_seen;
    bool letter = m_letter;
    const qsizetype n = bytes.size();
    qsizetype retry = 0;
    for (qsizetype i = 0; i < n; ++i) {
        // Eight bytes at once while no character is open and none of them, nor the byte after
        // them, continues one: each byte outside ASCII among them is damaged. A Windows-1251
        // book is mostly such stretches, and every one of its bytes is looked at.
        if (need == 0 && i >= retry && i + 8 < n) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            const std::uint64_t high = word & 0x8080808080808080ULL;
            if ((high & ~(word << 1)) == 0 && (p[i + 8] & 0xC0) != 0x80) {
                // The high bits summed into the top byte: no popcount instruction to rely on.
                const auto outside = qint64(((high >> 7) * 0x0101010101010101ULL) >> 56);
                if (run == 0 && outside > 0)
                    runStart = base + i + (std::countr_zero(high) >> 3);
                damaged += outside;
                run += outside;
                characters += 8;
                i += 7;
                continue;
            }
            retry = i + 8;
        }
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
                if (run > 0) {
                    // A long run of damage just ended: a single-byte stretch.
                    if (run >= kFewMultibyte)
                        addStretch({runStart, base + i + 1 - got, multibyte, 0, damaged - run, run});
                    longest = std::max(longest, run);
                    run = 0;
                }
                ++characters;
                ++multibyte;
                if (got > 2)
                    ++wide;
                else if (rareTwoByte(code))
                    ++rare;
                if (!letter && QChar::isLetter(code))
                    letter = true;
                continue;
            }
            // The character breaks off: each byte of it so far is damaged, as a UTF-8 decoder
            // replaces each, and this byte is looked at afresh.
            if (run == 0)
                runStart = base + i - got;
            damaged += got;
            run += got;
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
            if (run == 0)
                runStart = base + i;
            ++damaged;
            ++run;
            ++characters;
        }
    }
    // The library's sample, from the first telling byte.
    if (m_sample.size() < kSample) {
        QByteArrayView taken = bytes;
        if (m_sample.isEmpty()) {
            const auto first = std::find_if(taken.begin(), taken.end(), telling);
            if (first != taken.end())
                m_sampleAt = m_seen + (first - taken.begin());
            taken = taken.sliced(first - taken.begin());
        }
        m_sample += taken.first(std::min(taken.size(), kSample - m_sample.size()));
    }
    m_seen += n;
    m_need = need;
    m_got = got;
    m_low = low;
    m_high = high;
    m_code = code;
    m_characters = characters;
    m_multibyte = multibyte;
    m_rare = rare;
    m_wide = wide;
    m_damaged = damaged;
    m_run = run;
    m_longestRun = longest;
    m_runStart = runStart;
    m_letter = letter;
}

bool Detector::byChance(qint64 multibyte, qint64 damaged)
{
    return multibyte < kByChance || 4 * damaged >= multibyte;
}

void Detector::addStretch(Stretch s)
{
    // The gap since the last stretch: a few characters, or more damage than a UTF-8 text has,
    // are the same single-byte text going on.
    if (!m_stretches.isEmpty()) {
        Stretch &last = m_stretches.last();
        const qint64 multibyte = s.multibyteBefore - last.multibyteBefore - last.multibyteIn;
        const qint64 damaged = s.damagedBefore - last.damagedBefore - last.damagedIn;
        if (byChance(multibyte, damaged)) {
            last.end = s.end;
            last.multibyteIn += multibyte + s.multibyteIn;
            last.damagedIn += damaged + s.damagedIn;
            return;
        }
    }
    m_stretches.append(s);
}

QList<Detector::Stretch> Detector::stretches() const
{
    Detector d = *this;
    if (m_run >= kFewMultibyte)
        d.addStretch({m_runStart, m_seen, m_multibyte, 0, damaged() - m_run, m_run});
    QList<Stretch> &all = d.m_stretches;
    if (all.isEmpty())
        return all;
    Stretch &first = all.first();
    if (byChance(first.multibyteBefore, first.damagedBefore)) {
        first.start = 0;
        first.multibyteIn += first.multibyteBefore;
        first.damagedIn += first.damagedBefore;
        first.multibyteBefore = first.damagedBefore = 0;
    }
    Stretch &last = all.last();
    const qint64 multibyte = m_multibyte - last.multibyteBefore - last.multibyteIn;
    const qint64 damage = damaged() - last.damagedBefore - last.damagedIn;
    if (byChance(multibyte, damage)) {
        last.end = m_seen;
        last.multibyteIn += multibyte;
        last.damagedIn += damage;
    }
    return all;
}

bool Detector::joined() const
{
    const QList<Stretch> all = stretches();
    qint64 byChance = 0;
    for (const Stretch &s : all)
        byChance += s.multibyteIn;
    return !all.isEmpty() && m_multibyte - byChance >= kFewMultibyte;
}

QList<Part> Detector::parts(qint64 *utf8Damage) const
{
    QList<Part> parts;
    qint64 at = 0;
    *utf8Damage = damaged();
    for (const Stretch &s : stretches()) {
        if (s.start > at)
            parts.append({at, Encoding::Utf8});
        parts.append({s.start, Encoding::Windows1251});
        at = s.end;
        *utf8Damage -= s.damagedIn;
    }
    if (at < m_seen)
        parts.append({at, Encoding::Utf8});
    return parts;
}

bool Detector::utf8() const
{
    const qint64 bad = damaged();
    // The mark is no accident: it holds unless damaged bytes outnumber the characters.
    if (m_bom)
        return bad <= m_multibyte;
    // Damaged bytes fewer than a quarter of the well-formed characters outside ASCII: a
    // Windows-1251 text breaks the rules at nearly every letter and keeps them only by chance
    // (a capital before a punctuation mark), so it stays far away. More damage than that is
    // no longer stray bytes but another encoding's letters, which the replacement marks of a
    // save would destroy.
    if (4 * bad >= m_multibyte)
        return false;
    // A long stretch of damage with no well-formed character in it is no stray bytes but a
    // part in another encoding, however long the UTF-8 text around it.
    if (std::max(m_longestRun, m_run) >= kFewMultibyte)
        return false;
    // Well-formed UTF-8 with nothing damaged: a Windows-1251 text makes a character of three
    // bytes only from a small letter and two punctuation marks, and many of two bytes never.
    if (bad == 0 && (m_wide > 0 || m_multibyte >= kFewMultibyte))
        return true;
    if (!m_letter)
        return false;
    // Plausible text: when only a few characters are outside ASCII, at most a quarter of them
    // from the ranges a Windows-1251 text lands in by chance.
    return m_multibyte >= kFewMultibyte || 4 * m_rare <= m_multibyte;
}

Choice Detector::choice() const
{
    Choice c;
    c.damaged = damaged();
    if (joined()) {
        c.encoding = Encoding::Joined;
        c.parts = parts(&c.damaged);
        return c;
    }
    if (utf8()) {
        c.encoding = m_bom ? Encoding::Utf8WithBom : Encoding::Utf8;
        return c;
    }
    if (m_bom) {
        // A single-byte text behind the mark, which is no text: Windows-1251 keeps its mark,
        // another code page reads as the one part of a joined book.
        QByteArrayView looked;
        const QByteArrayView sample =
            QByteArrayView(m_sample).sliced(std::min<qsizetype>(3, m_sample.size()));
        singleByte(libraryLook(sample, looked), looked, sample, c);
        if (c.encoding == Encoding::Windows1251) {
            c.encoding = Encoding::Windows1251WithBom;
        } else if (c.refused.isEmpty()) {
            c.parts = {Part{0, c.encoding, c.unsure}};
            c.encoding = Encoding::Joined;
        }
    } else if (m_sampleAt == 0 && m_seen == 2 && (m_sample == kBomLe || m_sample == kBomBe)) {
        // The mark alone, too little for the library: an empty UTF-16 text.
        c.encoding = m_sample == kBomLe ? Encoding::Utf16Le : Encoding::Utf16Be;
    } else if (!m_sample.isEmpty()) {
        QByteArrayView looked;
        const QByteArray answer = libraryLook(m_sample, looked);
        const bool atStart = m_sampleAt == 0;
        // The library names UTF-16 and UTF-32 by their mark only, and says "UTF-16" for either order.
        if (answer == "UTF-16" && atStart && m_sample.startsWith(kBomLe))
            c.encoding = Encoding::Utf16Le;
        else if (answer == "UTF-16" && atStart && m_sample.startsWith(kBomBe))
            c.encoding = Encoding::Utf16Be;
        else if (answer == "UTF-32" && atStart)
            c.refused = QString::fromLatin1(answer);
        else
            singleByte(answer, looked, m_sample, c);
    }
    // Well-formed UTF-8 with no damaged byte is never mixed: it is UTF-8.
    c.mixed = isCp1251(c.encoding) && c.refused.isEmpty() && c.damaged > 0 && m_multibyte >= kFewMultibyte &&
              16 * m_multibyte >= c.damaged;
    if (!c.mixed)
        c.damaged = 0;
    // A mixed text is told as such.
    c.unsure = c.unsure && !c.mixed;
    return c;
}

Encoding detect(QByteArrayView bytes)
{
    return choose(bytes).encoding;
}

Choice choose(QByteArrayView bytes)
{
    Detector d;
    d.feed(bytes);
    Choice c = d.choice();
    if (c.encoding != Encoding::Joined)
        return c;
    // Each single-byte part is chosen as a whole book's would be, from its own first bytes
    // outside ASCII; the mark is no part of any.
    const qsizetype mark = bytes.startsWith(QByteArrayView(kBom)) ? 3 : 0;
    c.unsure = false;
    for (qsizetype i = 0; i < c.parts.size(); ++i) {
        Part &part = c.parts[i];
        if (part.encoding == Encoding::Utf8)
            continue;
        const qint64 from = std::max<qint64>(part.start, mark);
        const qint64 to = i + 1 < c.parts.size() ? c.parts[i + 1].start : bytes.size();
        QByteArrayView sample = bytes.sliced(from, to - from);
        sample = sample.sliced(std::find_if(sample.begin(), sample.end(), telling) - sample.begin());
        sample.truncate(std::min(sample.size(), Detector::kSample));
        Choice one;
        QByteArrayView looked;
        singleByte(libraryLook(sample, looked), looked, sample, one);
        part.encoding = one.encoding;
        part.unsure = one.unsure;
        c.unsure = c.unsure || one.unsure;
        if (c.refused.isEmpty())
            c.refused = one.refused;
    }
    return c;
}

Encoding marked(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView(kBom)) ? Encoding::Utf8WithBom : Encoding::Windows1251;
}

qsizetype markLength(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8WithBom:
    case Encoding::Windows1251WithBom:
        return 3;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return 2;
    default:
        return 0;
    }
}

QString decodeText(QByteArrayView bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1251:
    case Encoding::Windows1251WithBom:
        return cp1251::decode(bytes.toByteArray());
    case Encoding::Koi8r:
        return codepages::decode(bytes, codepages::CodePage::Koi8r);
    case Encoding::Cp866:
        return codepages::decode(bytes, codepages::CodePage::Cp866);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return fromUtf16(bytes, encoding == Encoding::Utf16Be);
    case Encoding::Utf8:
    case Encoding::Utf8WithBom:
    case Encoding::Joined:
        break;
    }
    // QString::fromUtf8 drops a U+FEFF that starts the bytes, but only the file's first mark
    // is no text, and a line of a book may start with one. (QStringDecoder keeps it, at half
    // the speed.)
    QString text = QString::fromUtf8(bytes);
    if (bytes.startsWith(QByteArrayView(kBom)))
        text.prepend(QChar(0xFEFF));
    return text;
}

QString decode(QByteArrayView bytes, Encoding encoding)
{
    const qsizetype mark = markLength(encoding);
    const QByteArrayView expected = encoding == Encoding::Utf16Le   ? QByteArrayView(kBomLe)
                                    : encoding == Encoding::Utf16Be ? QByteArrayView(kBomBe)
                                                                    : QByteArrayView(kBom);
    if (mark > 0 && bytes.startsWith(expected))
        bytes = bytes.sliced(mark);
    return decodeText(bytes, encoding);
}

qsizetype wholeCharacters(QByteArrayView bytes, Encoding encoding)
{
    const qsizetype n = bytes.size();
    if (isUtf16(encoding))
        return n - n % 2;
    if (encoding != Encoding::Utf8 && encoding != Encoding::Utf8WithBom)
        return n;
    // The last byte that begins a character: when fewer bytes follow it than it announces,
    // it waits for the rest. A damaged one waits as well; it reads the same either way.
    for (qsizetype i = n - 1; i >= 0 && i >= n - 4; --i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b & 0xC0) == 0x80)
            continue;
        const qsizetype length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return n - i < length ? i : n;
    }
    return n;
}

QString decodeAsFound(QByteArrayView bytes, Choice *choice)
{
    const Choice found = choose(bytes);
    if (choice)
        *choice = found;
    return decode(bytes, found);
}

QString decode(QByteArrayView bytes, const Choice &choice)
{
    if (choice.parts.isEmpty())
        return decode(bytes, choice.encoding);
    const qsizetype mark = bytes.startsWith(QByteArrayView(kBom)) ? 3 : 0;
    QString text;
    for (qsizetype i = 0; i < choice.parts.size(); ++i) {
        const qint64 from = std::max<qint64>(choice.parts[i].start, mark);
        const qint64 to = std::min<qint64>(
            i + 1 < choice.parts.size() ? choice.parts[i + 1].start : bytes.size(), bytes.size());
        if (from < to)
            text += decodeText(bytes.sliced(from, to - from), choice.parts[i].encoding);
    }
    return text;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1251:
        return cp1251::encode(text);
    case Encoding::Windows1251WithBom:
        return kBom + cp1251::encode(text);
    case Encoding::Utf8: {
        QByteArray bytes = text.toUtf8();
        Detector d;
        d.feed(bytes);
        return d.utf8() ? bytes : kBom + bytes;
    }
    case Encoding::Utf8WithBom:
    case Encoding::Joined:
        return kBom + text.toUtf8();
    case Encoding::Koi8r:
        return codepages::encode(text, codepages::CodePage::Koi8r);
    case Encoding::Cp866:
        return codepages::encode(text, codepages::CodePage::Cp866);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return toUtf16(text, encoding == Encoding::Utf16Be);
    }
    return {};
}

QString name(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1251:
    case Encoding::Windows1251WithBom:
        return QStringLiteral("Windows-1251");
    case Encoding::Utf8:
    case Encoding::Utf8WithBom:
    case Encoding::Joined: // as it is written
        return QStringLiteral("UTF-8");
    case Encoding::Koi8r:
        return QStringLiteral("KOI8-R");
    case Encoding::Cp866:
        return QStringLiteral("DOS (cp866)");
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return QStringLiteral("UTF-16");
    }
    return {};
}

qsizetype unencodable(const QString &text, Encoding encoding)
{
    const auto count = [&text](auto holds) {
        // A character beyond the BMP is one character, though two QChars.
        return std::count_if(text.cbegin(), text.cend(),
                             [&](QChar c) { return c != u'?' && !c.isLowSurrogate() && !holds(c); });
    };
    switch (encoding) {
    case Encoding::Windows1251:
    case Encoding::Windows1251WithBom:
        return count([](QChar c) { return cp1251::fromUnicode(c) != '?'; });
    case Encoding::Koi8r:
        return count([](QChar c) { return codepages::holds(c, codepages::CodePage::Koi8r); });
    case Encoding::Cp866:
        return count([](QChar c) { return codepages::holds(c, codepages::CodePage::Cp866); });
    default:
        return 0;
    }
}

QString mixedText(const Choice &choice)
{
    return QStringLiteral("Книга не читается правильно ни как UTF-8 (повреждённых байтов в ней: %1), ни как "
                          "Windows-1251.")
        .arg(choice.damaged);
}

QString doubt(const Choice &choice)
{
    if (choice.mixed)
        return mixedText(choice) + QStringLiteral(" Она показана как Windows-1251.");
    if (!choice.unsure)
        return {};
    return choice.parts.isEmpty()
               ? QStringLiteral("Кодировку книги не удалось распознать: она прочитана как %1.")
                     .arg(name(choice.encoding))
               : QStringLiteral("Кодировку части книги не удалось распознать: эта часть прочитана как %1.")
                     .arg(name(Encoding::Windows1251));
}

QString joinedText(const Choice &choice)
{
    QStringList names;
    for (const Part &part : choice.parts)
        if (!names.contains(name(part.encoding)))
            names.append(name(part.encoding));
    if (names.size() < 2)
        return {};
    return QStringLiteral("Книга составлена из частей в разных кодировках (%1): каждая часть прочитана в "
                          "своей.")
        .arg(names.join(QStringLiteral(", ")));
}

QString unreadable(const Choice &choice)
{
    if (!choice.refused.isEmpty())
        return QStringLiteral("Книга в кодировке %1, а программа читает только Windows-1251, UTF-8, UTF-16, "
                              "KOI8-R и DOS (cp866). Сохраните книгу в одной из них.")
            .arg(choice.refused);
    if (choice.mixed)
        return mixedText(choice) + QStringLiteral(" Исправьте её текст и сохраните его.");
    return {};
}

} // namespace textcodec
