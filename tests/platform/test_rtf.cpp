#include "platform/richtext/rtf.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;
using rtf::Format;
using Runs = QList<rtf::Run>;

namespace {

const QString kTimes = u"Times New Roman"_s, kArial = u"Arial"_s;
const QColor kRed(255, 0, 0);

Format fmt(const QString &font, double size, bool bold = false, bool italic = false, bool underline = false,
           QColor color = QColor())
{
    return {font, size, bold, italic, underline, color};
}

// The text read; the reader never fails and never gives an empty run.
QString readText(const QByteArray &in)
{
    QString s;
    for (const rtf::Run &r : rtf::parse(in)) {
        EXPECT_FALSE(r.text.isEmpty()) << in.toStdString();
        s += r.text;
    }
    return s;
}

} // namespace

TEST(Rtf, WrittenRunsReadBackUnchanged)
{
    const QList<Runs> cases = {
        {
            {u"\nГлава первая\n"_s, fmt(kTimes, 16, true)},
            {u"Сержант гвардии — "_s, fmt(kTimes, 14)},
            {u"красный"_s, fmt(kTimes, 14, false, false, false, kRed)},
            {u"зелёный жирный"_s, fmt(kArial, 10.5, true, false, false, QColor(0, 255, 0))},
            {u"\n"_s, fmt(kTimes, 14)},
            {u"курсив"_s, fmt(kTimes, 14, false, true)},
            {u"подчёркнутый"_s, fmt(kTimes, 14, false, false, true)},
            {u"\n\nпосле пустой строки\n\n"_s, fmt(kTimes, 14)},
        },
        // Braces, backslashes, TAB, no-break space, byte 0x98's character, the euro sign of the
        // code page, and characters outside it (CJK, a surrogate pair).
        {{u"{a\\b}\tc\u00A0d\u0098 €№ «ё» 中文 \U0001F60A end"_s, fmt(kTimes, 12)}},
        {},
        {{u"\n"_s, fmt(kTimes, 12)}},
        // The break after "красная" belongs to the red run, the empty line's break to the next.
        {{u"первая "_s, fmt(kTimes, 14)},
         {u"красная\n"_s, fmt(kTimes, 14, true, false, false, kRed)},
         {u"\nвторая"_s, fmt(kArial, 9, false, true, true)}},
    };
    // Through the RTF writer and reader, and through a document.
    for (qsizetype i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(rtf::parse(rtf::write(cases[i], QFont(kTimes, 14))), cases[i]) << "case " << i;
        QTextDocument doc;
        QTextCursor cursor(&doc);
        rtf::insertRuns(cursor, cases[i]);
        EXPECT_EQ(rtf::runsOf(doc), cases[i]) << "case " << i;
    }
    // Plain text has no formats at all: one run with the defaults.
    QTextDocument doc(u"a\r\nb"_s);
    EXPECT_EQ(rtf::runsOf(doc), (Runs{{u"a\nb"_s, Format{}}}));
}

TEST(Rtf, WriterUsesCodePage1251Escapes)
{
    const QByteArray out =
        rtf::write({{u"Привет 中 x"_s, fmt({}, 0, false, false, false, kRed)}}, QFont(kTimes, 14));
    EXPECT_EQ(out, "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                   "{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}}\r\n"
                   "{\\colortbl ;\\red255\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard"
                   "\\f0\\fs28\\cf1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u20013? x\\par\r\n}\r\n");
    // A run without font or size takes the default ones when read back.
    EXPECT_EQ(rtf::parse(out), (Runs{{u"Привет 中 x"_s, fmt(kTimes, 14, false, false, false, kRed)}}));
}

TEST(Rtf, ReadsFormatsAndSkipsWhatItDoesNotKnow)
{
    // Groups restore the format and \plain resets it.
    EXPECT_EQ(
        rtf::parse("{\\rtf1\\ansi\\ansicpg1251\\deff0"
                   "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}{\\f1\\froman\\fcharset204 Courier New;}}\r\n"
                   "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
                   "\\viewkind4\\uc1\\pard\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, "
                   "{\\b\\cf1 \\u1084?{\\i\\ul \\u1080?}\\u1088?}!\\par\r\n"
                   "\\f1\\fs28\\i\\cf2 \\u-10179?\\u-8694? x\\tab y\\line z\\plain p\\par\r\n}"),
        (Runs{{u"Привет, "_s, fmt(kArial, 10)},
              {u"м"_s, fmt(kArial, 10, true, false, false, kRed)},
              {u"и"_s, fmt(kArial, 10, true, true, true, kRed)},
              {u"р"_s, fmt(kArial, 10, true, false, false, kRed)},
              {u"!\n"_s, fmt(kArial, 10)},
              {u"\U0001F60A x\ty\nz"_s, fmt(u"Courier New"_s, 14, false, true, false, QColor(0, 128, 0))},
              {u"p"_s, fmt(kArial, 12)}}));
    // \cf1 without a colour table stays automatic.
    EXPECT_EQ(rtf::parse("{\\rtf1\\ansi{\\fonttbl{\\f0{\\*\\panose 02020603050405020304}Times;}}"
                         "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Заголовок}{\\author X}}"
                         "{\\*\\generator Riched20 10.0;}{\\*\\unknowndest {nested} text}"
                         "\\pard\\sa200\\sl276\\slmult1\\lang1049\\foo123\\cf1 one "
                         "{\\pict\\pngblip 89504e470d0a}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt two}}"
                         " three\\bin3 {}\\ four}ignored after the end"),
              (Runs{{u"one two three four"_s, fmt(u"Times"_s, 12)}}));
    // Font 0 is itself, not the default font; thick and wavy lines are underlines too.
    EXPECT_EQ(rtf::parse("{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}\\f0 a{\\ulth b}{\\ulwave c}}"),
              (Runs{{u"a"_s, fmt(kArial, 12)}, {u"bc"_s, fmt(kArial, 12, false, false, true)}}));
}

TEST(Rtf, ReadsTextOfEveryConstructAndNeverFails)
{
    // \uc2 makes two fallback characters, a \' escape counts as one, a group end stops them; raw
    // bytes are Windows-1251; a final paragraph mark starts no empty line.
    const std::pair<QByteArray, QString> cases[] = {
        {"{\\rtf1\\uc2\\u1078\\'e6\\'e6a{\\u1078??}b\\uc0\\u1078 c}", u"жaжbжc"_s},
        {"{\\rtf1 a\\\\b\\{c\\}d\\~e\\-f\\_g\\emdash h\\\r\ni}", u"a\\b{c}d\u00A0ef-g—h\ni"_s},
        {"{\\rtf1 \xcf\xf0\xe8}", u"При"_s}, {"{\\rtf1 a\\par}", u"a"_s}, {"{\\rtf1 a\\par\\par}", u"a\n"_s},
        {"{\\rtf1 a\\par b}", u"a\nb"_s}, {"{\\rtf1 \\par}", u""_s}, {"{\\rtf1 a{\\b b", u"ab"_s},
        {"{\\rtf1 \\'zz1}", u"zz1"_s}, {"{\\rtf1 a\\u b\\u0 c}", u"abc"_s}}; // no character, not U+0000
    for (const auto &[in, text] : cases)
        EXPECT_EQ(readText(in), text) << in.toStdString();
    for (const char *malformed :
         {"", "{", "\\", "}}}{\\rtf1 a", "{\\rtf1 \\'", "{\\rtf1 \\'4", "{\\rtf1 \\u", "{\\rtf1 \\bin999 x"})
        readText(malformed);
    // Out-of-range numbers are ignored.
    EXPECT_EQ(rtf::parse("{\\rtf1 \\fs-5 \\cf99 \\f77 x"), (Runs{{u"x"_s, fmt({}, 12)}}));
}
