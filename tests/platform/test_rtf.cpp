#include "richtext/rtf.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

using rtf::Format;
using Runs = QList<rtf::Run>;

namespace {

Format fmt(const QString &font, double size, bool bold = false, bool italic = false, bool underline = false,
           QColor color = QColor())
{
    Format f;
    f.font = font;
    f.size = size;
    f.bold = bold;
    f.italic = italic;
    f.underline = underline;
    f.color = color;
    return f;
}

QString textOf(const Runs &runs)
{
    QString s;
    for (const rtf::Run &r : runs)
        s += r.text;
    return s;
}

const QString kTimes = QStringLiteral("Times New Roman");

} // namespace

TEST(Rtf, RoundTripKeepsCyrillicColoursBoldAndSizes)
{
    const Runs runs = {
        {QStringLiteral("Глава первая\n"), fmt(kTimes, 16, true)},
        {QStringLiteral("Сержант гвардии — "), fmt(kTimes, 14)},
        {QStringLiteral("красный"), fmt(kTimes, 14, false, false, false, QColor(255, 0, 0))},
        {QStringLiteral(" и "), fmt(kTimes, 14)},
        {QStringLiteral("зелёный жирный"),
         fmt(QStringLiteral("Arial"), 10.5, true, false, false, QColor(0, 255, 0))},
        {QStringLiteral("\n"), fmt(kTimes, 14)},
        {QStringLiteral("курсив"), fmt(kTimes, 14, false, true)},
        {QStringLiteral("подчёркнутый"), fmt(kTimes, 14, false, false, true)},
        {QStringLiteral("\n\nпосле пустой строки"), fmt(kTimes, 14)},
    };
    EXPECT_EQ(rtf::parse(rtf::write(runs, QFont(kTimes, 14))), runs);
}

TEST(Rtf, RoundTripKeepsEveryCharacter)
{
    // Braces, backslashes, TAB, no-break space, byte 0x98's character, the euro sign of the
    // code page, and characters outside it (CJK, a surrogate pair).
    const QString text = QStringLiteral("{a\\b}\tc\u00A0d\u0098 €№ «ё» 中文 \U0001F60A end");
    const Runs runs = {{text, fmt(kTimes, 12)}};
    EXPECT_EQ(rtf::parse(rtf::write(runs, QFont(kTimes, 12))), runs);
}

TEST(Rtf, WriterUsesCodePage1251Escapes)
{
    const QByteArray out =
        rtf::write({{QStringLiteral("Привет 中 x"), fmt(QString(), 0, false, false, false, Qt::red)}},
                   QFont(kTimes, 14));
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1251"));
    EXPECT_TRUE(out.contains("{\\fonttbl{\\f0\\fnil\\fcharset204 Times New Roman;}}"));
    EXPECT_TRUE(out.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(out.contains("\\f0\\fs28\\cf1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\u20013? x"));
    for (const char c : out)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
    // A run without font or size takes the default ones when read back.
    const Runs back = rtf::parse(out);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].format.font, kTimes);
    EXPECT_EQ(back[0].format.size, 14);
}

TEST(Rtf, ReadsHandWrittenRtf)
{
    const QByteArray in =
        "{\\rtf1\\ansi\\ansicpg1251\\deff0"
        "{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}{\\f1\\froman\\fcharset204 Courier New;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
        "\\viewkind4\\uc1\\pard\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, "
        "{\\b\\cf1 \\u1084?\\u1080?\\u1088?}!\\par\r\n"
        "\\f1\\fs28\\i\\cf2 \\u-10179?\\u-8694? x\\tab y\\line z\\par\r\n"
        "}";
    const Runs expected = {
        {QStringLiteral("Привет, "), fmt(QStringLiteral("Arial"), 10)},
        {QStringLiteral("мир"), fmt(QStringLiteral("Arial"), 10, true, false, false, QColor(255, 0, 0))},
        {QStringLiteral("!\n"), fmt(QStringLiteral("Arial"), 10)},
        {QStringLiteral("\U0001F60A x\ty\nz"),
         fmt(QStringLiteral("Courier New"), 14, false, true, false, QColor(0, 128, 0))},
    };
    EXPECT_EQ(rtf::parse(in), expected);
}

TEST(Rtf, SkipsUnknownGroupsAndControlWords)
{
    const QByteArray in = "{\\rtf1\\ansi{\\fonttbl{\\f0{\\*\\panose 02020603050405020304}Times;}}"
                          "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Заголовок}{\\author X}}"
                          "{\\*\\generator Riched20 10.0;}{\\*\\unknowndest {nested} text}"
                          "\\pard\\sa200\\sl276\\slmult1\\lang1049\\foo123 one "
                          "{\\pict\\pngblip 89504e470d0a}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt two}}"
                          " three\\bin3 {}\\ four}ignored after the end";
    const Runs runs = rtf::parse(in);
    EXPECT_EQ(textOf(runs), QStringLiteral("one two three four"));
    ASSERT_FALSE(runs.isEmpty());
    EXPECT_EQ(runs[0].format.font, QStringLiteral("Times"));
}

TEST(Rtf, FallbackCharactersAfterUnicodeAreSkipped)
{
    // \uc2 makes two fallback characters; \' escapes count as one each; a group end stops it.
    const Runs runs = rtf::parse("{\\rtf1\\uc2\\u1078\\'e6\\'e6a{\\u1078??}b\\uc0\\u1078 c}");
    EXPECT_EQ(textOf(runs), QStringLiteral("жaжbжc"));
}

TEST(Rtf, GroupsRestoreFormatAndPlainResetsIt)
{
    const Runs runs = rtf::parse("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}\\fs30 n{\\b\\f1 b{\\i bi}b}n"
                                 "\\b\\i\\ul\\cf1\\f1 x\\plain p}");
    const Runs expected = {
        {QStringLiteral("n"), fmt(QStringLiteral("A"), 15)},
        {QStringLiteral("b"), fmt(QStringLiteral("B"), 15, true)},
        {QStringLiteral("bi"), fmt(QStringLiteral("B"), 15, true, true)},
        {QStringLiteral("b"), fmt(QStringLiteral("B"), 15, true)},
        {QStringLiteral("n"), fmt(QStringLiteral("A"), 15)},
        // \cf1 without a colour table stays automatic.
        {QStringLiteral("x"), fmt(QStringLiteral("B"), 15, true, true, true)},
        {QStringLiteral("p"), fmt(QStringLiteral("A"), 12)},
    };
    EXPECT_EQ(runs, expected);
}

TEST(Rtf, ControlSymbolsAndSpecialCharacters)
{
    const Runs runs = rtf::parse("{\\rtf1 a\\\\b\\{c\\}d\\~e\\-f\\_g\\emdash\\endash"
                                 "\\lquote\\rquote\\ldblquote\\rdblquote\\bullet h\\\r\ni}");
    EXPECT_EQ(textOf(runs), QStringLiteral("a\\b{c}d\u00A0ef-g—–‘’“”•h\ni"));
}

TEST(Rtf, FinalParagraphMarkDoesNotStartAnEmptyLine)
{
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 a\\par}")), QStringLiteral("a"));
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 a\\par\\par}")), QStringLiteral("a\n"));
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 a\\par b}")), QStringLiteral("a\nb"));
    EXPECT_TRUE(rtf::parse("{\\rtf1 \\par}").isEmpty());
    // And the writer's own output reads back line for line.
    for (const QString &text :
         {QString(), QStringLiteral("\n"), QStringLiteral("a\n"), QStringLiteral("\na\n\n")}) {
        const Runs runs = text.isEmpty() ? Runs{} : Runs{{text, fmt(kTimes, 12)}};
        EXPECT_EQ(rtf::parse(rtf::write(runs, QFont(kTimes, 12))), runs) << text.toStdString();
    }
}

TEST(Rtf, MalformedInputNeverFails)
{
    for (const QByteArray &in :
         {QByteArray(""), QByteArray("{"), QByteArray("}}}{\\rtf1 a"), QByteArray("{\\rtf1 \\'"),
          QByteArray("{\\rtf1 \\'4"), QByteArray("{\\rtf1 \\u"), QByteArray("{\\rtf1 \\bin999 x"),
          QByteArray("{\\rtf1 \\fs-5 \\cf99 \\f77 x"), QByteArray("\\")}) {
        const Runs runs = rtf::parse(in);
        for (const rtf::Run &r : runs)
            EXPECT_FALSE(r.text.isEmpty());
    }
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 a{\\b b")), QStringLiteral("ab"));
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 \\'zz1}")), QStringLiteral("zz1"));
}

TEST(Rtf, RawBytesAreWindows1251)
{
    EXPECT_EQ(textOf(rtf::parse("{\\rtf1 \xcf\xf0\xe8}")), QStringLiteral("При"));
    EXPECT_TRUE(rtf::isRtf("{\\rtf1"));
    EXPECT_FALSE(rtf::isRtf(" {\\rtf1"));
    EXPECT_FALSE(rtf::isRtf("{\\rt"));
}

TEST(Rtf, DocumentRunsRoundTrip)
{
    const Runs runs = {
        {QStringLiteral("первая "), fmt(kTimes, 14)},
        {QStringLiteral("красная\n"), fmt(kTimes, 14, true, false, false, QColor(255, 0, 0))},
        {QStringLiteral("\nвторая"), fmt(QStringLiteral("Arial"), 9, false, true, true)},
    };
    QTextDocument doc;
    QTextCursor cursor(&doc);
    rtf::insertRuns(cursor, runs);
    EXPECT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("первая красная\n\nвторая"));
    // The break after "красная" belongs to the red run, the empty line's break to the next.
    EXPECT_EQ(rtf::runsOf(doc), runs);

    // Plain text has no formats at all: one run with the defaults.
    QTextDocument plain;
    plain.setPlainText(QStringLiteral("a\r\nb"));
    const Runs plainRuns = rtf::runsOf(plain);
    ASSERT_EQ(plainRuns.size(), 1);
    EXPECT_EQ(plainRuns[0].text, QStringLiteral("a\nb"));
    EXPECT_EQ(plainRuns[0].format, Format{});
}
