#include "recording/textprep.h"

#include "app/globals.h"
#include "platform/text/cp1251.h"
#include "platform/text/words.h"

#include <algorithm>
#include <array>
#include <vector>

// The preparation is a fixed sequence of global replacements (left to right, no overlap,
// inserted text not searched again). Where consecutive replacements cannot see each other's
// output they share one pass, and every pass is linear, so a block holding a whole book is
// prepared as fast as many small ones.

namespace {

// The output of one pass, written through a pointer into a buffer sized for the worst case.
class Writer
{
public:
    explicit Writer(qsizetype capacity)
        : m_text(capacity, Qt::Uninitialized), m_begin(m_text.data()), m_out(m_begin)
    {
    }
    void put(QChar c) { *m_out++ = c; }
    void put(QStringView s)
    {
        std::copy(s.begin(), s.end(), m_out);
        m_out += s.size();
    }
    QString finish()
    {
        m_text.truncate(m_out - m_begin);
        return std::move(m_text);
    }

private:
    QString m_text;
    QChar *m_begin;
    QChar *m_out;
};

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A pattern compared without regard to case: each character matches its lower- or
// upper-case form and nothing else.
class CaselessPattern
{
public:
    explicit CaselessPattern(QStringView lower)
    {
        for (QChar c : lower) {
            m_lower.append(c);
            m_upper.append(c.toUpper());
        }
    }
    qsizetype size() const { return m_lower.size(); }
    bool matchesAt(QStringView text, qsizetype pos) const
    {
        if (text.size() - pos < size())
            return false;
        for (qsizetype k = 0; k < size(); ++k) {
            const QChar c = text[pos + k];
            if (c != m_lower[k] && c != m_upper[k])
                return false;
        }
        return true;
    }

private:
    QString m_lower;
    QString m_upper;
};

QString replaceCaseless(const QString &text, const CaselessPattern &pattern, QStringView replacement)
{
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n && !pattern.matchesAt(text, pos))
        ++pos;
    if (pos >= n)
        return text;
    QString out;
    out.reserve(n);
    qsizetype copied = 0;
    while (pos < n) {
        if (pattern.matchesAt(text, pos)) {
            out.append(QStringView(text).sliced(copied, pos - copied));
            out.append(replacement);
            pos += pattern.size();
            copied = pos;
        } else {
            ++pos;
        }
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}

// Tabs become blanks, a dash after a blank gets a blank behind it, and the blanks at the
// very beginning go.
QString blanksAndDashes(QStringView text)
{
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    Writer out(2 * (n - start));
    bool afterBlank = start > 0;
    for (qsizetype i = start; i < n; ++i) {
        const QChar c = text[i] == u'\t' ? QChar(u' ') : text[i];
        out.put(c);
        if (c == u'-' && afterBlank)
            out.put(u' ');
        afterBlank = c == u' ';
    }
    return out.finish();
}

// A word hyphenated at a line end is joined with the next line.
QString joinHyphenatedLines(const QString &text)
{
    static constexpr QStringView kHyphenBreak = u"-\r\n";
    qsizetype hit = text.indexOf(kHyphenBreak);
    if (hit < 0)
        return text;
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    while (hit >= 0) {
        out.append(QStringView(text).sliced(copied, hit - copied));
        copied = hit + kHyphenBreak.size();
        hit = text.indexOf(kHyphenBreak, copied);
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}

// A line that ends in ":" or ";" ends in a full stop.
void stopAtLineEnds(QString &text)
{
    const qsizetype n = text.size();
    const QChar *data = text.constData();
    for (qsizetype i = 0; i + 2 < n; ++i) {
        if ((data[i] == u':' || data[i] == u';') && data[i + 1] == u'\r' && data[i + 2] == u'\n')
            text[i] = u'.';
    }
}

// The blank collapse runs "  " -> " " twice, which leaves a run of k blanks as ceil(k / 4)
// blanks; runs stay runs, so it is applied while writing.
class CollapsingWriter
{
public:
    explicit CollapsingWriter(qsizetype capacity) : m_out(capacity) {}
    void put(QChar c)
    {
        if (c == u' ') {
            ++m_blanks;
            return;
        }
        flush();
        m_out.put(c);
    }
    void put(QStringView s)
    {
        for (QChar c : s)
            put(c);
    }
    QString finish()
    {
        flush();
        return m_out.finish();
    }

private:
    void flush()
    {
        for (qsizetype k = (m_blanks + 3) / 4; k > 0; --k)
            m_out.put(u' ');
        m_blanks = 0;
    }

    Writer m_out;
    qsizetype m_blanks = 0;
};

// Drops "_", turns quotes into blanks, pads brackets and punctuation, puts CR LF and a blank
// in front and collapses the blank runs.
QString padPunctuation(QStringView text)
{
    const std::array<QChar, 6> quotes = {cp1251::chr(34),  cp1251::chr(132), cp1251::chr(147),
                                         cp1251::chr(148), cp1251::chr(171), cp1251::chr(187)};
    CollapsingWriter out(3 * text.size() + 3);
    out.put(u"\r\n ");
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'_':
            break;
        case u'(':
        case u'[':
        case u'{':
            out.put(c);
            out.put(u' ');
            break;
        case u')':
        case u']':
        case u'}':
            out.put(u' ');
            out.put(c);
            break;
        case u',':
        case u'.':
        case u'!':
        case u'?':
        case u':':
        case u';':
            out.put(u' ');
            out.put(c);
            out.put(u' ');
            break;
        default:
            out.put(std::find(quotes.begin(), quotes.end(), c) != quotes.end() ? QChar(u' ') : c);
        }
    }
    return out.finish();
}

// The ellipsis pause replaces ". . ."; "?" and "!" keep their mark and get the question
// pause.
QString insertSentencePauses(QStringView text, const PrepSettings &settings)
{
    static constexpr QStringView kEllipsis = u". . .";
    const QString ellipsis = pauseElement(settings.ellipsisPause);
    const QString question = QStringLiteral(" ?  <silence msec=\"%1\"/>").arg(settings.questionPause);
    const QString exclamation = QStringLiteral(" !  <silence msec=\"%1\"/>").arg(settings.questionPause);
    QString out;
    out.reserve(text.size() + text.size() / 8);
    qsizetype copied = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        QStringView insert;
        qsizetype matched = 1;
        if (c == u'.' && text.sliced(i).startsWith(kEllipsis)) {
            insert = ellipsis;
            matched = kEllipsis.size();
        } else if (c == u'?') {
            insert = question;
        } else if (c == u'!') {
            insert = exclamation;
        } else {
            ++i;
            continue;
        }
        out.append(text.sliced(copied, i - copied));
        out.append(insert);
        i += matched;
        copied = i;
    }
    out.append(text.sliced(copied));
    return out;
}

bool isNarrationCapital(QChar c)
{
    // А..Я; Ё does not start a narration line.
    return c.unicode() >= 0x0410 && c.unicode() <= 0x042F;
}

// The tagging scan. Insertions happen only at the scan position, so the text ahead of it is
// kept as the inserted text not yet scanned followed by the rest of the input, and what is
// behind it is only ever appended to. The scan still walks through inserted text exactly as
// a scan over the rebuilt text would.
class TagScanner
{
public:
    TagScanner(QStringView text, const PrepSettings &settings, DialogState &state)
        : m_in(text), m_state(state), m_pause(pauseElement(settings.paragraphPause)),
          m_narration(m_pause + settings.narration), m_dialog(m_pause + settings.dialog),
          m_comment(settings.comment), m_dialog2(settings.dialog2)
    {
        m_out.reserve(text.size() + text.size() / 4);
    }

    QString run()
    {
        // Every test needs three characters or more from the scan position, so that the last
        // character is never a scan position needs no check of its own.
        while (skipToCandidate()) {
            testHere();
            advance();
        }
        return std::move(m_out);
    }

private:
    qsizetype pendingLeft() const { return m_pending.size() - m_pendingPos; }
    qsizetype remaining() const { return pendingLeft() + (m_in.size() - m_inPos); }
    QChar at(qsizetype k) const
    {
        const qsizetype p = pendingLeft();
        return k < p ? m_pending[m_pendingPos + k] : m_in[m_inPos + k - p];
    }
    bool startsWith(QStringView s) const
    {
        if (remaining() < s.size())
            return false;
        for (qsizetype k = 0; k < s.size(); ++k)
            if (at(k) != s[k])
                return false;
        return true;
    }
    bool openersLive() const { return m_state.inDialog != m_state.inComment; }

    // Only a CR or, in dialogue or comment, a punctuation mark can start a match.
    static bool startsTest(QChar c, bool openers)
    {
        const char16_t u = c.unicode();
        return u == u'\r' ||
               (openers && (u == u',' || u == u'.' || u == u':' || u == u';' || u == u'!' || u == u'?'));
    }

    // Copies the stretch where no test can match, inserted text first. False at the end.
    bool skipToCandidate()
    {
        const bool openers = openersLive();
        if (m_pendingPos < m_pending.size()) {
            qsizetype i = m_pendingPos;
            while (i < m_pending.size() && !startsTest(m_pending[i], openers))
                ++i;
            m_out.append(QStringView(m_pending).sliced(m_pendingPos, i - m_pendingPos));
            if (i < m_pending.size()) {
                m_pendingPos = i;
                return true;
            }
            m_pending.clear();
            m_pendingPos = 0;
        }
        qsizetype i = m_inPos;
        while (i < m_in.size() && !startsTest(m_in[i], openers))
            ++i;
        m_out.append(m_in.sliced(m_inPos, i - m_inPos));
        m_inPos = i;
        return i < m_in.size();
    }

    void advance()
    {
        if (m_pendingPos < m_pending.size()) {
            m_out.append(m_pending[m_pendingPos++]);
            if (m_pendingPos == m_pending.size()) {
                m_pending.clear();
                m_pendingPos = 0;
            }
        } else {
            m_out.append(m_in[m_inPos++]);
        }
    }

    void drop(qsizetype count)
    {
        for (; count > 0; --count) {
            if (m_pendingPos < m_pending.size())
                ++m_pendingPos;
            else
                ++m_inPos;
        }
    }

    void prepend(QStringView text)
    {
        QString joined;
        joined.reserve(text.size() + pendingLeft());
        joined.append(text);
        joined.append(QStringView(m_pending).sliced(m_pendingPos));
        m_pending = std::move(joined);
        m_pendingPos = 0;
    }

    void replaceLineBreak(QStringView with)
    {
        drop(2);
        prepend(with);
    }

    void insertAfterMark(QStringView tag)
    {
        const QChar mark = at(0);
        drop(1);
        prepend(tag);
        prepend(QStringView(&mark, 1));
    }

    bool dialogueLineHere() const
    {
        static constexpr std::array<QStringView, 4> starts = {u"\r\n -", u"\r\n  -", u"\r\n   -",
                                                              u"\r\n    -"};
        return std::any_of(starts.begin(), starts.end(), [this](QStringView s) { return startsWith(s); });
    }

    void testHere()
    {
        static constexpr std::array<QStringView, 6> openers = {u", - ", u". - ", u": - ",
                                                               u"; - ", u"! - ", u"? - "};
        if (startsWith(u"\r\n\r\n")) {
            m_state = DialogState{};
            replaceLineBreak(m_pause);
        }
        if (startsWith(u"\r\n ") && ((remaining() > 3 && isNarrationCapital(at(3))) ||
                                     (remaining() > 4 && isNarrationCapital(at(4))))) {
            m_state = DialogState{};
            replaceLineBreak(m_narration);
        }
        if (dialogueLineHere()) {
            m_state = DialogState{true, false};
            replaceLineBreak(m_dialog);
        }
        for (QStringView opener : openers) {
            if (startsWith(opener) && m_state.inComment && !m_state.inDialog) {
                insertAfterMark(m_dialog2);
                m_state = DialogState{true, false};
            }
        }
        for (QStringView opener : openers) {
            if (startsWith(opener) && !m_state.inComment && m_state.inDialog) {
                insertAfterMark(m_comment);
                m_state = DialogState{false, true};
            }
        }
    }

    QStringView m_in;
    qsizetype m_inPos = 0;
    QString m_pending;
    qsizetype m_pendingPos = 0;
    QString m_out;
    DialogState &m_state;
    const QString m_pause;
    const QString m_narration;
    const QString m_dialog;
    const QString m_comment;
    const QString m_dialog2;
};

// The letters that are joined to their neighbours when they stand alone between blanks, in
// the order their replacements run. а, б, в, ж, и, к, о, с, у, э, я are words of their own.
constexpr std::array<char16_t, 22> kJoinedLetters = {u'г', u'д', u'е', u'ё', u'з', u'й', u'л', u'м',
                                                     u'н', u'п', u'р', u'т', u'ф', u'х', u'ц', u'ч',
                                                     u'ш', u'щ', u'ы', u'ъ', u'ь', u'ю'};

int joinedLetterIndex(QChar c)
{
    const QChar lower = c.toLower();
    const auto it = std::find(kJoinedLetters.begin(), kJoinedLetters.end(), lower.unicode());
    if (it == kJoinedLetters.end() || (c != lower && c != lower.toUpper()))
        return -1;
    return static_cast<int>(it - kJoinedLetters.begin());
}

// " г " -> "г", then " д " -> "д", and so on. Two matches can only meet by sharing a blank
// (" г д "), and whichever replacement runs first takes it: the letter earlier in the list,
// or for the same letter the one further left. Nothing else changes between the
// replacements, so the candidates are found once and settled in that order.
QString joinSingleLetters(const QString &text)
{
    struct Candidate
    {
        qsizetype pos; // the blank before the letter
        int letter;
        bool taken = false;
    };
    std::vector<Candidate> found;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i + 2 < n; ++i) {
        if (text[i] != u' ' || text[i + 2] != u' ')
            continue;
        const int letter = joinedLetterIndex(text[i + 1]);
        if (letter >= 0)
            found.push_back({i, letter});
    }
    if (found.empty())
        return text;

    std::vector<std::size_t> order(found.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(),
                     [&found](std::size_t a, std::size_t b) { return found[a].letter < found[b].letter; });
    for (std::size_t k : order) {
        const bool leftTaken = k > 0 && found[k - 1].taken && found[k - 1].pos == found[k].pos - 2;
        const bool rightTaken =
            k + 1 < found.size() && found[k + 1].taken && found[k + 1].pos == found[k].pos + 2;
        found[k].taken = !leftTaken && !rightTaken;
    }

    QString out;
    out.reserve(n);
    qsizetype copied = 0;
    for (const Candidate &c : found) {
        if (!c.taken)
            continue;
        out.append(QStringView(text).sliced(copied, c.pos - copied));
        out.append(QChar(kJoinedLetters[static_cast<std::size_t>(c.letter)]));
        copied = c.pos + 3;
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}

} // namespace

PrepSettings PrepSettings::fromGlobals(std::int16_t paragraphPause, std::int16_t questionPause,
                                       std::int16_t ellipsisPause)
{
    return PrepSettings{paragraphPause, questionPause, ellipsisPause, TembrNarration,
                        TembrDialog,    TembrComment,  TembrDialog2,  abbreviations::load()};
}

QString pauseElement(std::int16_t ms)
{
    return QStringLiteral(" <silence msec=\"%1\"/>").arg(ms);
}

QString JoinSpacedLetters(QStringView text)
{
    static const std::array<std::pair<CaselessPattern, QStringView>, 3> chapterWords = {{
        {CaselessPattern(u"г л а в а"), u"глава"},
        {CaselessPattern(u"ч а с т ь"), u"часть"},
        {CaselessPattern(u"к н и г а"), u"книга"},
    }};
    QString result = text.toString();
    for (const auto &[pattern, word] : chapterWords)
        result = replaceCaseless(result, pattern, word);
    return joinSingleLetters(result);
}

QString NormalizeChars(QStringView text)
{
    const QChar noBreakSpace = cp1251::chr(160);
    const QChar enDash = cp1251::chr(150);
    const QChar emDash = cp1251::chr(151);
    const QChar byte98 = cp1251::chr(152);
    const QChar ellipsis = cp1251::chr(133);
    // The single-character replacements come first; "--" -> "-" then runs over their result,
    // halving each run of dashes (rounded up); "^" is removed only after that, so a "^"
    // between two dashes keeps them apart during the halving.
    Writer out(3 * text.size());
    qsizetype dashes = 0;
    auto flushDashes = [&] {
        for (qsizetype k = (dashes + 1) / 2; k > 0; --k)
            out.put(u'-');
        dashes = 0;
    };
    for (QChar c : text) {
        if (c == noBreakSpace)
            c = u' ';
        else if (c == enDash || c == u'~' || c == emDash)
            c = u'-';
        else if (c == byte98)
            c = u'Ш';
        if (c == u'-') {
            ++dashes;
            continue;
        }
        flushDashes();
        if (c == u'^')
            continue;
        if (c == ellipsis)
            out.put(u" . ");
        else
            out.put(c);
    }
    flushDashes();
    return out.finish();
}

QString FixDigits(QStringView text)
{
    // First every dash before a digit becomes a blank, then every digit before a blank gets
    // a dash; the blanks made by the first half count for the second.
    const qsizetype n = text.size();
    auto firstHalf = [&](qsizetype i) {
        return text[i] == u'-' && i + 1 < n && isDigit(text[i + 1]) ? QChar(u' ') : text[i];
    };
    Writer out(2 * n);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = firstHalf(i);
        out.put(c);
        if (isDigit(c) && i + 1 < n && firstHalf(i + 1) == u' ')
            out.put(u'-');
    }
    return out.finish();
}

QString TagDialogs(QStringView text, const PrepSettings &settings, DialogState &state)
{
    return TagScanner(text, settings, state).run();
}

QString AnalizText(QStringView text, const PrepSettings &settings, DialogState &state)
{
    const QString heard = words::Reading(text.toString()).marked();
    QString t = joinHyphenatedLines(blanksAndDashes(abbreviations::expand(heard, settings.abbreviations)));
    stopAtLineEnds(t);
    t = JoinSpacedLetters(t);
    t = NormalizeChars(t);
    t = FixDigits(t);
    t = padPunctuation(t);
    t = TagDialogs(t, settings, state);
    return insertSentencePauses(t, settings);
}

void AnalizText(const PrepSettings &settings)
{
    DialogState state{InDialog, InComment};
    BlockText = AnalizText(BlockText, settings, state);
    InDialog = state.inDialog;
    InComment = state.inComment;
}
