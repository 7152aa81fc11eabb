#include "platform/text/preformat.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

using preformat::applyStep;
using preformat::kStepCount;

// Each step alone; the steps also show the replacement never overlaps or rescans.
TEST(Preformat, EachStepOnItsOwnEdges)
{
    EXPECT_EQ(preformat::replaceAll(u"ab", u"", u"z"), u"ab"_qs);
    EXPECT_EQ(preformat::replaceAll(u"Ёлка ёлка", u"ёЛ", u"*"), u"*ка *ка"_qs);
    EXPECT_EQ(preformat::replaceAll(u"Ёлка ёлка", u"ёл", u"*", Qt::CaseSensitive), u"Ёлка *ка"_qs);
    // From a start on, with where each replacement went in the result.
    QList<qsizetype> hits{99};
    EXPECT_EQ(preformat::replaceAll(u"ab-ab-abab", u"AB", u"xyz", Qt::CaseInsensitive, 1, &hits),
              u"ab-xyz-xyzxyz"_qs);
    EXPECT_EQ(hits, QList<qsizetype>({3, 7, 10}));
    const std::tuple<int, QString, QString> cases[] = {
        // An empty line becomes the paragraph mark: a break, then a line starting with a blank.
        {1, u"a\r\n\r\nb\r\n\r\n\r\nc\r\n\r\n\r\n\r\nd"_qs, u"a\r\n b\r\n \r\nc\r\n \r\n d"_qs},
        // Only doubled lone breaks change; a single lone LF or CR stays.
        {2, u"a\nb\rc\n\nd\n\n\ne"_qs, u"a\nb\rc\r\n d\r\n \ne"_qs},
        {3, u"a\rb\nc\r\rd"_qs, u"a\rb\nc\r\n d"_qs},
        // LF CR is turned round; CR LF is left alone.
        {4, u"a\n\rb\r\nc\n\r\n\r"_qs, u"a\r\nb\r\nc\r\n\r\n"_qs},
        {5, u"[x](y)"_qs, u" [ x](y)"_qs},   {6, u"[x](y)"_qs, u"[x ] (y)"_qs},
        {7, u"[x](y)"_qs, u"[x] ( y)"_qs},   {8, u"[x](y)"_qs, u"[x](y ) "_qs},
        {9, u"10\u00A0кг"_qs, u"10 кг"_qs}, {10, u"a\tb\t\tc"_qs, u"a b  c"_qs},
        // Only the em dash: the en dash and the hyphen stay.
        {11, u"a\u2014\u2014b\u2013c-d"_qs, u"a--b\u2013c-d"_qs},
        // Blanks are halved first, so the blank put after a dash is not halved again; a hyphen
        // inside a word is left alone.
        {12, u"a  b   c    d     e"_qs, u"a b  c  d   e"_qs},
        {12, u"слово - слово  -слово кто-то - -"_qs, u"слово -  слово - слово кто-то -  - "_qs},
        {0, u"(x)"_qs, u"(x)"_qs},           {13, u"(x)"_qs, u"(x)"_qs},
    };
    for (const auto &[step, in, out] : cases)
        EXPECT_EQ(applyStep(step, in), out) << step;
}

// The whole run, and a cancel at check k + 1: it leaves steps 1..k and their ticks; a cancel at the
// last check leaves all steps but no final tick.
TEST(Preformat, WholeRunProgressAndCancel)
{
    const QString source = u"a\r\n\r\n\tb (c) \u2014  d"_qs, done = u"a\r\n b ( c ) -  d"_qs;
    EXPECT_EQ(preformat::run(source).text, done);
    const std::tuple<QString, int, QString> cases[] = {
        {source, 0, source},
        {source, 1, u"a\r\n \tb (c) \u2014  d"_qs},
        {source, 7, u"a\r\n \tb  ( c) \u2014  d"_qs},
        {source, 12, done},
        {source, 13, done},
        {u"Глава 1\r\n\r\nОн сказал (тихо) \u2014 да.\r\n"_qs, 13,
         u"Глава 1\r\n Он сказал ( тихо ) -  да.\r\n"_qs},
        // A dialogue line after an empty line: blank, dash, two blanks.
        {u"Он:\r\n\r\n\u2014 Привет"_qs, 13, u"Он:\r\n -  Привет"_qs},
        // A TAB next to a blank merges with it; brackets already spaced stay so.
        {u"a\t b\tc ( d ) e"_qs, 13, u"a b c ( d ) e"_qs},
        // LF CR is turned round after the empty-line step, so this empty line survives.
        {u"a\n\r\n\rb"_qs, 13, u"a\r\n\r\nb"_qs},
        {QString(), 13, QString()},
    };
    for (const auto &[in, k, expected] : cases) {
        SCOPED_TRACE(in.toStdString() + " cancelled at " + std::to_string(k));
        int checks = 0;
        std::vector<int> ticks, expectedTicks(k);
        std::iota(expectedTicks.begin(), expectedTicks.end(), 1);
        const preformat::Outcome out =
            preformat::run(in, {[&] { return ++checks > k; }, [&](int v) { ticks.push_back(v); }});
        EXPECT_EQ(out.text, expected);
        EXPECT_EQ(std::tuple(out.stepsDone, out.cancelled, ticks),
                  std::tuple(std::min(k, kStepCount), k < preformat::kProgressMaximum, expectedTicks));
    }
}

// A text the steps could have made is left alone, so a second run changes nothing; a text
// with anything left to mend gets all twelve steps, as the first time.
TEST(Preformat, ASecondRunChangesNothing)
{
    const std::pair<QString, QString> cases[] = {
        {u"Глава 1\r\n Он сказал ( тихо ) -  да.\r\n"_qs, u"Глава 1\r\n Он сказал ( тихо ) -  да.\r\n"_qs},
        // Indented verse and a dash at a line end, as a first run leaves them.
        {u"стишки:\r\n  Мысль - \r\nпрости! - \r\nОт"_qs, u"стишки:\r\n  Мысль - \r\nпрости! - \r\nОт"_qs},
        {u"a - -b [ c ] "_qs, u"a - -b [ c ] "_qs}, // made of "a --b [c]"
        // Anything left to mend: a dash without its blank, a bracket without its blanks (the
        // blank after a dash is not one), an empty line, an em dash.
        {u"a  -b"_qs, u"a - b"_qs},
        {u"a ( b)"_qs, u"a ( b ) "_qs},
        {u"a - ( b"_qs, u"a -  ( b"_qs},
        {u"a  b\r\n\r\nc"_qs, u"a b\r\n c"_qs},
        {u"a  b \u2014 c"_qs, u"a b -  c"_qs},
    };
    for (const auto &[in, out] : cases) {
        EXPECT_EQ(preformat::run(in).text, out) << in.toStdString();
        EXPECT_EQ(preformat::run(out).text, out) << out.toStdString();
    }

    // Texts of the characters the steps work on, line breaks as the editor gives them: a run
    // over a first run's result changes nothing, and a text that is not already in that form
    // gets exactly the twelve steps.
    const QString pieces[] = {u"a"_qs, u" "_qs,    u"  "_qs, u"-"_qs,      u"("_qs,      u")"_qs, u"["_qs,
                              u"]"_qs, u"\r\n"_qs, u"\t"_qs, u"\u00A0"_qs, u"\u2014"_qs, u"Ж"_qs};
    quint32 seed = 1;
    const auto next = [&seed](quint32 n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    for (int i = 0; i < 20000; ++i) {
        QString text;
        for (quint32 n = next(14); n > 0; --n)
            text += pieces[next(std::size(pieces))];
        QString stepped = text;
        for (int step = 1; step <= kStepCount; ++step)
            stepped = applyStep(step, stepped);
        const QString once = preformat::run(text).text;
        ASSERT_EQ(preformat::run(once).text, once) << text.toStdString();
        if (!preformat::isPreformatted(text)) {
            ASSERT_EQ(once, stepped) << text.toStdString();
        }
    }
}
