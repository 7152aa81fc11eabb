#include "analiz_Texta.h"
#include "cp1251.h"
#include "globals.h"
#include "textprep_reference.h"

#include <gtest/gtest.h>

namespace {

// Short stand-ins for the prosody tags keep the expected texts readable.
PrepSettings markerSettings()
{
    PrepSettings s;
    s.paragraphPause = 500;
    s.questionPause = 300;
    s.ellipsisPause = 800;
    s.narration = u"<TN>"_qs;
    s.dialog = u"<TD>"_qs;
    s.comment = u"<TC>"_qs;
    s.dialog2 = u"<TD2>"_qs;
    return s;
}

const QString P500 = u" <silence msec=\"500\"/>"_qs;
const QString Q300 = u"  <silence msec=\"300\"/>"_qs;
const QString E800 = u" <silence msec=\"800\"/>"_qs;

// A block as the conversion driver builds it from one book line.
QString prepareLine(const QString &line, DialogState &state)
{
    return AnalizText(u"\r\n\r\n"_qs + line, markerSettings(), state);
}

QString prepareLine(const QString &line)
{
    DialogState state;
    return prepareLine(line, state);
}

QString chr(int code)
{
    return QString(cp1251::chr(code));
}

TEST(AnalizText, PunctuationAndSentencePauses)
{
    EXPECT_EQ(prepareLine(u" Кто?"_qs), u"\r\n "_qs + P500 + P500 + u"<TN> Кто  ?"_qs + Q300 + u' ');
    EXPECT_EQ(prepareLine(u" Стой!"_qs), u"\r\n "_qs + P500 + P500 + u"<TN> Стой  !"_qs + Q300 + u' ');
    EXPECT_EQ(prepareLine(u" В 1941-1945 гг. (около 4 лет) шла война!"_qs),
              u"\r\n "_qs + P500 + P500 + u"<TN> В 1941- 1945- гг . ( около 4- лет ) шла война  !"_qs + Q300 +
                  u' ');
}

TEST(AnalizText, Ellipses)
{
    const QString expected = u"\r\n "_qs + P500 + P500 + u"<TN> Он ушёл "_qs + E800 + u' ';
    EXPECT_EQ(prepareLine(u" Он ушёл..."_qs), expected);
    EXPECT_EQ(prepareLine(u" Он ушёл . . ."_qs), expected);
    // The one-character ellipsis is a single full stop by the time the pauses go in.
    EXPECT_EQ(prepareLine(u" Он ушёл"_qs + chr(133)), u"\r\n "_qs + P500 + P500 + u"<TN> Он ушёл . "_qs);
    // Five full stops: the first three make the pause, the rest stays.
    EXPECT_EQ(prepareLine(u" а....."_qs), u"\r\n "_qs + P500 + u"\r\n а "_qs + E800 + u" . . "_qs);
}

TEST(AnalizText, EmptyAndTinyBlocks)
{
    DialogState state;
    const PrepSettings s = markerSettings();
    EXPECT_EQ(AnalizText(u""_qs, s, state), u"\r\n "_qs);
    EXPECT_EQ(AnalizText(u"   \t "_qs, s, state), u"\r\n "_qs);
    EXPECT_EQ(AnalizText(u"?"_qs, s, state), u"\r\n  ?"_qs + Q300 + u' ');
    EXPECT_EQ(AnalizText(u"\r\n"_qs, s, state), u"\r\n \r\n"_qs);
}

TEST(AnalizText, ChapterHeadingsAndSpacedLetters)
{
    EXPECT_EQ(prepareLine(u" Г Л А В А 5"_qs), u"\r\n "_qs + P500 + u"\r\n глава 5"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"Ч а С т Ь и к н и г а"_qs), u"часть и книга"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"а г б"_qs), u"агб"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"а в б"_qs), u"а в б"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"х Ё х"_qs), u"хёх"_qs);
    // Two candidates sharing a blank: the letter earlier in the list wins, whatever its side.
    EXPECT_EQ(JoinSpacedLetters(u"а г д б"_qs), u"агд б"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"а д г б"_qs), u"а дгб"_qs);
    // Same letter: the left one wins and takes the shared blank.
    EXPECT_EQ(JoinSpacedLetters(u"x г г y"_qs), u"xгг y"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"x г г г y"_qs), u"xгггy"_qs);
    EXPECT_EQ(JoinSpacedLetters(u" т "_qs), u"т"_qs);
    EXPECT_EQ(JoinSpacedLetters(u" т"_qs), u" т"_qs);
}

TEST(AnalizText, SpacedLetterChainsMatchTheLiteralReplacements)
{
    // Chains of single letters are where the order of the replacements shows.
    const QString alphabet = u"гдлмтюаеЁЁЖя"_qs;
    for (int seed = 0; seed < 3000; ++seed) {
        QString text = u" "_qs;
        unsigned x = static_cast<unsigned>(seed) * 2654435761u + 1u;
        const int len = 1 + seed % 9;
        for (int k = 0; k < len; ++k) {
            x = x * 1103515245u + 12345u;
            text += alphabet[static_cast<qsizetype>((x >> 16) % static_cast<unsigned>(alphabet.size()))];
            text += (x >> 8) % 7 == 0 ? u"  "_qs : u" "_qs;
        }
        EXPECT_EQ(JoinSpacedLetters(text), reference::joinSpacedLetters(text)) << text.toStdString();
    }
}

TEST(AnalizText, CharacterNormalisation)
{
    EXPECT_EQ(NormalizeChars(u"a"_qs + chr(160) + u"b"_qs), u"a b"_qs);
    EXPECT_EQ(NormalizeChars(chr(150) + u"~"_qs + chr(151)), u"--"_qs);
    EXPECT_EQ(NormalizeChars(u"a---b"_qs), u"a--b"_qs);
    EXPECT_EQ(NormalizeChars(u"a----b"_qs), u"a--b"_qs);
    EXPECT_EQ(NormalizeChars(u"-^-"_qs), u"--"_qs);
    EXPECT_EQ(NormalizeChars(u"x^y"_qs), u"xy"_qs);
    EXPECT_EQ(NormalizeChars(chr(152)), u"Ш"_qs);
    EXPECT_EQ(NormalizeChars(u"да"_qs + chr(133)), u"да . "_qs);
}

TEST(AnalizText, Digits)
{
    EXPECT_EQ(FixDigits(u"в 1999 году"_qs), u"в 1999- году"_qs);
    EXPECT_EQ(FixDigits(u"1941-1945 гг."_qs), u"1941- 1945- гг."_qs);
    EXPECT_EQ(FixDigits(u"-5"_qs), u" 5"_qs);
    EXPECT_EQ(FixDigits(u"5."_qs), u"5."_qs);
    EXPECT_EQ(FixDigits(u"7-"_qs), u"7-"_qs);
    // A digit followed by a punctuation mark gets no dash, even once the mark is padded.
    EXPECT_EQ(prepareLine(u" а 5, б"_qs), u"\r\n "_qs + P500 + u"\r\n а 5 , б"_qs);
}

TEST(AnalizText, LineEndsAndDashes)
{
    EXPECT_EQ(prepareLine(u" а пере-\r\nход"_qs), u"\r\n "_qs + P500 + u"\r\n а переход"_qs);
    // A blank before the dash keeps the lines apart: the dash gets its blank first.
    EXPECT_EQ(prepareLine(u" а пере -\r\nход"_qs), u"\r\n "_qs + P500 + u"\r\n а пере - \r\nход"_qs);
    EXPECT_EQ(prepareLine(u" а так:\r\n б"_qs), u"\r\n "_qs + P500 + u"\r\n а так . \r\n б"_qs);
    EXPECT_EQ(prepareLine(u" а так;\r\n б;"_qs), u"\r\n "_qs + P500 + u"\r\n а так . \r\n б ; "_qs);
    // Leading blanks go; the dash they stood before still gets its blank and starts a reply.
    DialogState state;
    EXPECT_EQ(AnalizText(u"  -a"_qs, markerSettings(), state), P500 + u"<TD> - a"_qs);
    EXPECT_TRUE(state.inDialog);
}

TEST(AnalizText, QuotesBracketsAndBlanks)
{
    EXPECT_EQ(prepareLine(u" а "_qs + chr(171) + u"б"_qs + chr(187) + u" "_qs + chr(132) + u"в"_qs +
                          chr(147) + u" \"г\" д"_qs + chr(148)),
              u"\r\n "_qs + P500 + u"\r\n а б в г д "_qs);
    EXPECT_EQ(prepareLine(u" а (б) [в] {г}"_qs), u"\r\n "_qs + P500 + u"\r\n а ( б ) [ в ] { г }"_qs);
    EXPECT_EQ(prepareLine(u" а_б"_qs), u"\r\n "_qs + P500 + u"\r\n аб"_qs);
    // Runs of two to four blanks end as one, five to eight as two.
    EXPECT_EQ(prepareLine(u" а    б     в        ж         и"_qs),
              u"\r\n "_qs + P500 + u"\r\n а б  в  ж   и"_qs);
}

TEST(AnalizText, TabIndentedDialogue)
{
    DialogState state;
    EXPECT_EQ(prepareLine(u"\t- Да."_qs, state), u"\r\n "_qs + P500 + P500 + u"<TD> - Да . "_qs);
    EXPECT_TRUE(state.inDialog);
}

TEST(AnalizText, NegativePausesKeepTheirSign)
{
    PrepSettings s = markerSettings();
    s.questionPause = -5;
    DialogState state;
    EXPECT_EQ(AnalizText(u"а?"_qs, s, state), u"\r\n а  ?  <silence msec=\"-5\"/> "_qs);
    EXPECT_EQ(pauseElement(-32768), u" <silence msec=\"-32768\"/>"_qs);
}

TEST(AnalizText, GlobalBlockAndDialogueState)
{
    BlockText = u"\r\n\r\n - Привет, - сказал он."_qs;
    InDialog = false;
    InComment = false;
    AnalizText(markerSettings());
    EXPECT_EQ(BlockText, u"\r\n "_qs + P500 + P500 + u"<TD> - Привет ,<TC> - сказал он . "_qs);
    EXPECT_FALSE(InDialog);
    EXPECT_TRUE(InComment);

    BlockText = u", - да."_qs;
    AnalizText(markerSettings());
    EXPECT_EQ(BlockText, u"\r\n ,<TD2> - да . "_qs);
    EXPECT_TRUE(InDialog);
    EXPECT_FALSE(InComment);
    InDialog = false;
}

TEST(AnalizText, SettingsFromGlobals)
{
    TembrNarration = u"n"_qs;
    TembrDialog = u"d"_qs;
    TembrComment = u"c"_qs;
    TembrDialog2 = u"d2"_qs;
    const PrepSettings s = PrepSettings::fromGlobals(1, 2, 3);
    EXPECT_EQ(s.paragraphPause, 1);
    EXPECT_EQ(s.questionPause, 2);
    EXPECT_EQ(s.ellipsisPause, 3);
    EXPECT_EQ(QStringList({s.narration, s.dialog, s.comment, s.dialog2}),
              QStringList({u"n"_qs, u"d"_qs, u"c"_qs, u"d2"_qs}));
    TembrNarration = TembrDialog = TembrComment = TembrDialog2 = QString();
}

// Every block of every corpus book, cut by line, as 10-minute blocks and as one block, as
// the books are and with every line indented, prepared exactly as the step-by-step
// replacements prepare it.
TEST(AnalizText, CorpusMatchesTheLiteralSteps)
{
    const PrepSettings s = reference::realisticSettings();
    for (const char *book : {"hameleon.txt", "pikovaya_dama.txt", "kapitanskaya_dochka.txt"}) {
        const QString path = QStringLiteral(QUENVALE_CORPUS_DIR "/") + QString::fromLatin1(book);
        for (const QString &indent : {QString(), u" "_qs}) {
            for (std::int32_t limit : {0, 7200, 99999999}) {
                const auto blocks = reference::driverBlocks(path, limit, indent);
                ASSERT_GT(blocks.size(), 0u) << book;
                DialogState fast;
                DialogState literal;
                for (std::size_t b = 0; b < blocks.size(); ++b) {
                    ASSERT_EQ(AnalizText(blocks[b], s, fast), reference::analizText(blocks[b], s, literal))
                        << book << " limit " << limit << " block " << b;
                    ASSERT_EQ(fast.inDialog, literal.inDialog);
                    ASSERT_EQ(fast.inComment, literal.inComment);
                }
            }
        }
    }
}

} // namespace
