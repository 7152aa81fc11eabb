#include "platform/richtext/rtf.h"

#include "platform/text/cp1251.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>

namespace rtf {
namespace {

// ---------------------------------------------------------------------------------------
// Reader

enum class Destination
{
    Text,
    FontTable,
    ColorTable,
    Skip
};

// What a group carries; '{' saves it and '}' restores it.
struct GroupState
{
    Destination dest = Destination::Text;
    int font = -1;       // font table index; -1 means \deff
    int halfPoints = 24; // RTF's default size is 12 points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int color = 0; // colour table index; 0 is the automatic colour
    int uc = 1;    // fallback characters that follow each \uN
};

// Destinations whose content is never shown.
bool isSkippedDestination(QByteArrayView word)
{
    // clang-format off
    static const char *const skipped[] = {
        "stylesheet", "info", "pict", "object", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "filetbl",
        "listtable", "listoverridetable", "revtbl", "rsidtbl", "generator", "xmlnstbl", "themedata",
        "colorschememapping", "latentstyles", "datastore", "fldinst", "bkmkstart", "bkmkend", "xe",
        "tc", "txe", "pgdsctbl", "nonshppict", "mmathPr"};
    // clang-format on
    return std::any_of(std::begin(skipped), std::end(skipped), [&](const char *s) { return word == s; });
}

class Parser
{
public:
    explicit Parser(const QByteArray &in) : m_in(in) {}

    QList<Run> parse()
    {
        const qsizetype n = m_in.size();
        while (m_pos < n && !m_done) {
            const char c = m_in[m_pos++];
            switch (c) {
            case '{':
                openGroup();
                break;
            case '}':
                closeGroup();
                break;
            case '\\':
                escape();
                break;
            case '\r':
            case '\n':
                break; // line breaks of the file itself mean nothing
            default:
                character(cp1251::toUnicode(static_cast<unsigned char>(c)));
                break;
            }
        }
        flush();
        dropFinalParagraphMark();
        return m_runs;
    }

private:
    void openGroup()
    {
        m_stack.append(m_st);
        m_skip = 0;
    }

    void closeGroup()
    {
        m_skip = 0;
        if (m_st.dest == Destination::FontTable)
            finishFont();
        if (m_stack.isEmpty())
            return; // a stray '}' before the document began
        m_st = m_stack.takeLast();
        m_formatDirty = true;
        // The outermost group closes the document; anything after it is not RTF.
        if (m_stack.isEmpty())
            m_done = true;
    }

    void escape()
    {
        const qsizetype n = m_in.size();
        if (m_pos >= n)
            return;
        const char c = m_in[m_pos];
        if (isLetter(c)) {
            const qsizetype start = m_pos;
            while (m_pos < n && isLetter(m_in[m_pos]))
                ++m_pos;
            const QByteArrayView word(m_in.constData() + start, m_pos - start);
            bool hasParam = false;
            long long param = 0;
            bool negative = false;
            if (m_pos < n && m_in[m_pos] == '-' && m_pos + 1 < n && isDigit(m_in[m_pos + 1])) {
                negative = true;
                ++m_pos;
            }
            while (m_pos < n && isDigit(m_in[m_pos])) {
                hasParam = true;
                if (param < 100000000)
                    param = param * 10 + (m_in[m_pos] - '0');
                ++m_pos;
            }
            if (m_pos < n && m_in[m_pos] == ' ')
                ++m_pos; // the delimiter belongs to the control word
            controlWord(word, hasParam, static_cast<int>(negative ? -param : param));
            return;
        }
        ++m_pos;
        controlSymbol(c);
    }

    void controlSymbol(char c)
    {
        if (c == '\'') {
            const int hi = m_pos < m_in.size() ? hexValue(m_in[m_pos]) : -1;
            const int lo = m_pos + 1 < m_in.size() ? hexValue(m_in[m_pos + 1]) : -1;
            if (hi < 0 || lo < 0)
                return;
            m_pos += 2;
            character(cp1251::toUnicode(static_cast<unsigned char>(hi * 16 + lo)));
            return;
        }
        if (c == '*') {
            // An ignorable destination: none of them is shown.
            m_st.dest = Destination::Skip;
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (c) {
        case '\\':
        case '{':
        case '}':
            character(QChar::fromLatin1(c));
            break;
        case '~':
            character(QChar(0x00A0));
            break;
        case '_':
            character(QLatin1Char('-'));
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break; // \- optional hyphen, \| and \: are not shown
        }
    }

    void controlWord(QByteArrayView word, bool hasParam, int param)
    {
        if (word == "u") {
            const int code = param < 0 ? param + 65536 : param;
            // "\u" without a number, or "\u0", names no character: nothing enters the text.
            if (!hasParam || code <= 0 || code > 0xFFFF)
                return;
            m_skip = 0;
            character(QChar(char16_t(code)));
            m_skip = m_st.uc;
            return;
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        const bool on = !hasParam || param != 0;
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            paragraph();
        } else if (word == "tab" || word == "cell") {
            character(QLatin1Char('\t'));
        } else if (word == "emdash") {
            character(QChar(0x2014));
        } else if (word == "endash") {
            character(QChar(0x2013));
        } else if (word == "lquote") {
            character(QChar(0x2018));
        } else if (word == "rquote") {
            character(QChar(0x2019));
        } else if (word == "ldblquote") {
            character(QChar(0x201C));
        } else if (word == "rdblquote") {
            character(QChar(0x201D));
        } else if (word == "bullet") {
            character(QChar(0x2022));
        } else if (word == "emspace" || word == "enspace" || word == "qmspace") {
            character(QLatin1Char(' '));
        } else if (word == "b") {
            setFormat(m_st.bold, on);
        } else if (word == "i") {
            setFormat(m_st.italic, on);
        } else if (word == "ul" || word == "uld" || word == "uldb" || word == "uldash" || word == "ulw" ||
                   word == "ulth" || word == "ulwave") {
            setFormat(m_st.underline, on);
        } else if (word == "ulnone") {
            setFormat(m_st.underline, false);
        } else if (word == "f") {
            if (m_st.dest == Destination::FontTable) {
                finishFont();
                m_fontIndex = param;
            } else {
                setFormat(m_st.font, param);
            }
        } else if (word == "fs") {
            if (hasParam && param > 0)
                setFormat(m_st.halfPoints, param);
        } else if (word == "cf") {
            setFormat(m_st.color, param);
        } else if (word == "plain") {
            const GroupState defaults;
            setFormat(m_st.font, defaults.font);
            setFormat(m_st.halfPoints, defaults.halfPoints);
            setFormat(m_st.bold, false);
            setFormat(m_st.italic, false);
            setFormat(m_st.underline, false);
            setFormat(m_st.color, 0);
        } else if (word == "red" || word == "green" || word == "blue") {
            if (m_st.dest == Destination::ColorTable) {
                const int v = qBound(0, param, 255);
                (word == "red" ? m_red : word == "green" ? m_green : m_blue) = v;
                m_colorGiven = true;
            }
        } else if (word == "uc") {
            m_st.uc = qMax(0, param);
        } else if (word == "deff") {
            m_deff = param;
            m_formatDirty = true;
        } else if (word == "bin") {
            m_pos = qMin(m_in.size(), m_pos + qMax(0, param));
        } else if (word == "fonttbl") {
            m_st.dest = Destination::FontTable;
        } else if (word == "colortbl") {
            m_st.dest = Destination::ColorTable;
        } else if (isSkippedDestination(word)) {
            m_st.dest = Destination::Skip;
        }
        // Every other control word changes nothing we keep.
    }

    template <typename T> void setFormat(T &field, T value)
    {
        if (field != value) {
            field = value;
            m_formatDirty = true;
        }
    }

    void character(QChar ch)
    {
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        switch (m_st.dest) {
        case Destination::Text:
            appendText(ch);
            break;
        case Destination::FontTable:
            if (ch == u';')
                finishFont();
            else
                m_fontName += ch;
            break;
        case Destination::ColorTable:
            if (ch == u';')
                finishColor();
            break;
        case Destination::Skip:
            break;
        }
    }

    void paragraph()
    {
        if (m_st.dest == Destination::Text)
            appendText(QLatin1Char('\n'));
    }

    void appendText(QChar ch)
    {
        if (m_formatDirty) {
            m_formatDirty = false;
            Format f = currentFormat();
            if (f != m_format) {
                flush();
                m_format = std::move(f);
            }
        }
        m_text += ch;
    }

    Format currentFormat() const
    {
        Format f;
        f.font = m_fonts.value(m_st.font < 0 ? m_deff : m_st.font);
        f.size = m_st.halfPoints / 2.0;
        f.bold = m_st.bold;
        f.italic = m_st.italic;
        f.underline = m_st.underline;
        if (m_st.color > 0 && m_st.color < m_colors.size())
            f.color = m_colors[m_st.color];
        return f;
    }

    void flush()
    {
        if (m_text.isEmpty())
            return;
        if (!m_runs.isEmpty() && m_runs.last().format == m_format)
            m_runs.last().text += m_text;
        else
            m_runs.append(Run{m_text, m_format});
        m_text.clear();
    }

    // A writer ends the last paragraph with \par too; it does not start an empty one.
    void dropFinalParagraphMark()
    {
        if (m_runs.isEmpty() || !m_runs.last().text.endsWith(u'\n'))
            return;
        m_runs.last().text.chop(1);
        if (m_runs.last().text.isEmpty())
            m_runs.removeLast();
    }

    void finishFont()
    {
        const QString name = m_fontName.trimmed();
        if (m_fontIndex >= 0 && !name.isEmpty()) {
            m_fonts.insert(m_fontIndex, name);
            m_formatDirty = true;
        }
        m_fontName.clear();
        m_fontIndex = -1;
    }

    void finishColor()
    {
        m_colors.append(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_colorGiven = false;
        m_formatDirty = true;
    }

    static bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    static int hexValue(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    const QByteArray &m_in;
    qsizetype m_pos = 0;
    bool m_done = false;
    GroupState m_st;
    QList<GroupState> m_stack;
    int m_skip = 0; // fallback characters of the last \uN still to drop

    QHash<int, QString> m_fonts;
    int m_deff = 0;
    int m_fontIndex = -1;
    QString m_fontName;

    QList<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorGiven = false;

    bool m_formatDirty = true;
    Format m_format;
    QString m_text;
    QList<Run> m_runs;
};

// ---------------------------------------------------------------------------------------
// Writer

class Writer
{
public:
    explicit Writer(const QFont &defaultFont)
        : m_defaultFont(defaultFont.family()),
          m_defaultHalfPoints(defaultFont.pointSizeF() > 0 ? qRound(defaultFont.pointSizeF() * 2) : 24)
    {
        m_fonts.append(m_defaultFont);
    }

    QByteArray write(const QList<Run> &runs)
    {
        QByteArray body;
        body.reserve(estimateSize(runs));
        for (const Run &run : runs) {
            formatChange(body, run.format);
            appendEscaped(body, run.text, true);
        }
        body += "\\par\r\n}\r\n";

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset204 ";
            appendEscaped(out, m_fonts[i], false);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const QRgb c : std::as_const(m_colors))
            out += "\\red" + QByteArray::number(qRed(c)) + "\\green" + QByteArray::number(qGreen(c)) +
                   "\\blue" + QByteArray::number(qBlue(c)) + ';';
        out += "}\r\n\\viewkind4\\uc1\\pard";
        return out + body;
    }

private:
    static qsizetype estimateSize(const QList<Run> &runs)
    {
        qsizetype n = 64;
        for (const Run &run : runs)
            n += run.text.size() * 4 + 32;
        return n;
    }

    void formatChange(QByteArray &out, const Format &f)
    {
        const int font = indexOf(m_fonts, f.font.isEmpty() ? m_defaultFont : f.font);
        const int halfPoints = f.size > 0 ? qRound(f.size * 2) : m_defaultHalfPoints;
        const int color = f.color.isValid() ? indexOf(m_colors, f.color.rgb()) + 1 : 0;
        const qsizetype before = out.size();
        if (font != m_font)
            out += "\\f" + QByteArray::number(font);
        if (halfPoints != m_halfPoints)
            out += "\\fs" + QByteArray::number(halfPoints);
        if (f.bold != m_bold)
            out += f.bold ? "\\b" : "\\b0";
        if (f.italic != m_italic)
            out += f.italic ? "\\i" : "\\i0";
        if (f.underline != m_underline)
            out += f.underline ? "\\ul" : "\\ulnone";
        if (color != m_color)
            out += "\\cf" + QByteArray::number(color);
        if (out.size() != before)
            out += ' ';
        m_font = font;
        m_halfPoints = halfPoints;
        m_bold = f.bold;
        m_italic = f.italic;
        m_underline = f.underline;
        m_color = color;
    }

    template <typename T> static int indexOf(QList<T> &list, const T &value)
    {
        qsizetype i = list.indexOf(value);
        if (i < 0) {
            list.append(value);
            i = list.size() - 1;
        }
        return static_cast<int>(i);
    }

    static void appendEscaped(QByteArray &out, const QString &text, bool paragraphs)
    {
        static const char hex[] = "0123456789abcdef";
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u == u'\n' && paragraphs) {
                out += "\\par\r\n";
            } else if (u == u'\t') {
                out += "\\tab ";
            } else if (u == u'\\' || u == u'{' || u == u'}') {
                out += '\\';
                out += char(u);
            } else if (u >= 0x20 && u < 0x7F) {
                out += char(u);
            } else {
                const unsigned char b = cp1251::fromUnicode(ch);
                if (b != '?') {
                    const char esc[4] = {'\\', '\'', hex[b >> 4], hex[b & 15]};
                    out.append(esc, 4);
                } else {
                    // Outside Windows-1251: Unicode with '?' for readers that lack it.
                    char buf[16];
                    const int n =
                        std::snprintf(buf, sizeof buf, "\\u%d?", u > 32767 ? int(u) - 65536 : int(u));
                    out.append(buf, n);
                }
            }
        }
    }

    QString m_defaultFont;
    int m_defaultHalfPoints;
    QList<QString> m_fonts;
    QList<QRgb> m_colors;
    // What the reader's state is at this point of the output; -1 forces the first run's
    // font and size out.
    int m_font = -1;
    int m_halfPoints = -1;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    int m_color = 0;
};

Format formatOf(const QTextCharFormat &fmt)
{
    Format f;
    if (fmt.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = fmt.fontFamilies().toStringList();
        if (!families.isEmpty())
            f.font = families.first();
    }
    if (fmt.hasProperty(QTextFormat::FontPointSize))
        f.size = fmt.fontPointSize();
    f.bold = fmt.fontWeight() >= QFont::Bold;
    f.italic = fmt.fontItalic();
    f.underline = fmt.fontUnderline();
    if (fmt.hasProperty(QTextFormat::ForegroundBrush) && fmt.foreground().style() != Qt::NoBrush)
        f.color = fmt.foreground().color();
    return f;
}

QTextCharFormat charFormatOf(const Format &f)
{
    QTextCharFormat fmt;
    if (!f.font.isEmpty())
        fmt.setFontFamilies({f.font});
    if (f.size > 0)
        fmt.setFontPointSize(f.size);
    if (f.bold)
        fmt.setFontWeight(QFont::Bold);
    if (f.italic)
        fmt.setFontItalic(true);
    if (f.underline)
        fmt.setFontUnderline(true);
    if (f.color.isValid())
        fmt.setForeground(f.color);
    return fmt;
}

void appendRun(QList<Run> &runs, const QString &text, const Format &format)
{
    if (!runs.isEmpty() && runs.last().format == format)
        runs.last().text += text;
    else
        runs.append(Run{text, format});
}

} // namespace

bool isRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

QList<Run> parse(const QByteArray &rtf)
{
    return Parser(rtf).parse();
}

QByteArray write(const QList<Run> &runs, const QFont &defaultFont)
{
    return Writer(defaultFont).write(runs);
}

QList<Run> runsOf(const QTextDocument &doc)
{
    QList<Run> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        // A block's char format is that of the break before it.
        if (block != doc.begin())
            appendRun(runs, QStringLiteral("\n"), formatOf(block.charFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid())
                appendRun(runs, fragment.text(), formatOf(fragment.charFormat()));
        }
    }
    return runs;
}

void insertRuns(QTextCursor &cursor, const QList<Run> &runs)
{
    for (const Run &run : runs)
        cursor.insertText(run.text, charFormatOf(run.format));
}

} // namespace rtf
