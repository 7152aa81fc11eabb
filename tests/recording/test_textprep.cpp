#include "app/globals.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"
#include "recording/textprep.h"
#include "support/fixture.h"
#include "textprep_reference.h"

#include <QDir>

#include <gtest/gtest.h>

const QString P = u" <silence msec=\"500\"/>"_qs;
const QString Q = u"  <silence msec=\"300\"/> "_qs; // with the blank padding the mark
const QString E = u" <silence msec=\"800\"/>"_qs;
// A block as the driver builds it from one line; how a narration or a plain line comes out.
const QString B = u"\r\n\r\n"_qs;
const QString N = u"\r\n "_qs + P + P + u"<TN>"_qs;
const QString L = u"\r\n "_qs + P + u"\r\n"_qs;

TEST(AnalizText, BlocksPreparedExactly)
{
    const std::pair<QString, QString> cases[] = {
        {B + u" Кто?"_qs, N + u" Кто  ?"_qs + Q},
        {B + u" В 1941-1945 гг. (около 4 лет) шла война!"_qs,
         N + u" В 1941- 1945- гг . ( около 4- лет ) шла война  !"_qs + Q},
        // The one-character ellipsis is a single full stop by the time the pauses go in.
        {B + u" Он ушёл... да . . . нет…"_qs, N + u" Он ушёл "_qs + E + u" да "_qs + E + u" нет . "_qs},
        // Five full stops: the first three make the pause, the rest stays.
        {B + u" а....."_qs, L + u" а "_qs + E + u" . . "_qs},
        {B + u" Г Л А В А 5"_qs, L + u" глава 5"_qs},
        // A blank before the dash keeps the lines apart: the dash gets its blank first.
        {B + u" а пере-\r\nход пере -\r\nход"_qs, L + u" а переход пере - \r\nход"_qs},
        {B + u" а так:\r\n б;\r\n в;"_qs, L + u" а так . \r\n б . \r\n в ; "_qs},
        {B + u" а «б» „в“ \"г\" д”"_qs, L + u" а б в г д "_qs},
        // A digit followed by a punctuation mark gets no dash, even once the mark is padded.
        {B + u" а_б (в) [г] {д} 5, е"_qs, L + u" аб ( в ) [ г ] { д } 5 , е"_qs},
        // Runs of two to four blanks end as one, five to eight as two.
        {B + u" а    б     в        ж         и"_qs, L + u" а б  в  ж   и"_qs},
        {B + u"\t- Да."_qs, u"\r\n "_qs + P + P + u"<TD> - Да . "_qs},
        // Leading blanks go; the dash they stood before still gets its blank and starts a reply.
        {u"  -a"_qs, P + u"<TD> - a"_qs},
        {u""_qs, u"\r\n "_qs},
        {u"   \t "_qs, u"\r\n "_qs},
        {u"?"_qs, u"\r\n  ?"_qs + Q},
        {u"\r\n"_qs, u"\r\n \r\n"_qs},
    };
    for (const auto &[in, out] : cases) {
        DialogState state;
        EXPECT_EQ(AnalizText(in, reference::markerSettings(), state), out) << in.toStdString();
    }
    // Pauses keep their sign.
    DialogState state;
    EXPECT_EQ(AnalizText(u"а?", PrepSettings{0, -5, 0, {}, {}, {}, {}, {}}, state),
              u"\r\n а  ?  <silence msec=\"-5\"/> "_qs);
    EXPECT_EQ(pauseElement(-32768), u" <silence msec=\"-32768\"/>"_qs);
}

TEST(AnalizText, SingleSteps)
{
    EXPECT_EQ(JoinSpacedLetters(u"Ч а С т Ь и к н и г а"), u"часть и книга"_qs);
    EXPECT_EQ(JoinSpacedLetters(u" т"), u" т"_qs);
    EXPECT_EQ(JoinSpacedLetters(u"а г б г в"), u"агбгв"_qs); // apart, both are joined
    EXPECT_EQ(NormalizeChars(u"a\u00A0b\u0098x^y"), u"a bШxy"_qs);
    // Doubled dashes are halved once, after the typographic ones became plain.
    EXPECT_EQ(NormalizeChars(u"\u2013~\u2014 a---b a----b -^-"), u"-- a--b a--b --"_qs);
    EXPECT_EQ(FixDigits(u"в 1999 году 5. 7- -5"), u"в 1999- году 5. 7-  5"_qs);
}

TEST(AnalizText, ReadsTheBookAsHeardWithItsAbbreviationsAsWords)
{
    PrepSettings s = reference::markerSettings();
    s.abbreviations = abbreviations::parse(
        textfile::readLines(QStringLiteral(QUENVALE_SHIPPED_DATA "/DIC/abbreviations.txt"))
            .value_or(QStringList()));
    ASSERT_EQ(s.abbreviations.size(), 9);
    const std::pair<QString, QString> words[] = {
        {u"т.е. так, Т. е. так; и т.д. Потом"_qs, u"то есть так, То есть так; и так далее. Потом"_qs},
        {u"(см. рис. 5), напр., ср. выше и т. п., и  др."_qs,
         u"(смотри рис. 5), например, сравни выше и тому подобное, и другие."_qs},
        {u"т.к.\r\nи пр. и др.»"_qs, u"так как.\r\nи прочее и другие»"_qs},
        // What depends on the sentence stays; a word holding the letters is none.
        {u"стр. 5, г. Москва, 1990-е гг., XIX в. исм. сма. т.е, 5 см. и 5см."_qs,
         u"стр. 5, г. Москва, 1990-е гг., XIX в. исм. сма. т.е, 5 см. и 5см."_qs},
    };
    for (const auto &[in, out] : words)
        EXPECT_EQ(abbreviations::expand(in, s.abbreviations), out) << in.toStdString();
    // A block is read as heard first: entities, tags, stress marks, quotes written "<<".
    DialogState state;
    EXPECT_EQ(AnalizText(B + u"<p>Т.е.&nbsp;&laquo;за&#769;мок&raquo; <<дом>></p>"_qs, s, state),
              L + u"То есть за<мок дом "_qs);
}

using AnalizTextGlobals = QuenvaleTest;

TEST_F(AnalizTextGlobals, ReadTheAbbreviationsAsTheUserKeepsThem)
{
    ASSERT_TRUE(QDir().mkpath(programfolder::file(u"DIC"_qs)));
    ASSERT_TRUE(textfile::writeLines(programfolder::file(u"DIC/abbreviations.txt"_qs),
                                     {u"// cp1251"_qs, u"ул.=улица"_qs, u"без знака"_qs, u"=пусто"_qs}));
    const PrepSettings s = PrepSettings::fromGlobals(500, 300, 800);
    EXPECT_EQ(s.abbreviations, (QList<abbreviations::Abbreviation>{{u"ул."_qs, u"улица"_qs}}));
}

TEST_F(AnalizTextGlobals, CarryTheDialogueIntoTheNextBlock)
{
    TembrNarration = u"<TN>"_qs;
    TembrDialog = u"<TD>"_qs;
    TembrComment = u"<TC>"_qs;
    TembrDialog2 = u"<TD2>"_qs;
    const PrepSettings s = PrepSettings::fromGlobals(500, 300, 800);
    BlockText = u"\r\n\r\n — Привет, — сказал он. — Пойдём."_qs;
    AnalizText(s);
    EXPECT_EQ(BlockText, u"\r\n "_qs + P + P + u"<TD> - Привет ,<TC> - сказал он .<TD2> - Пойдём . "_qs);
    EXPECT_EQ((DialogState{InDialog, InComment}), (DialogState{true, false}));

    BlockText = u", - да...\r\n Ну?"_qs;
    AnalizText(s);
    EXPECT_EQ(BlockText, u"\r\n ,<TC> - да "_qs + E + u" "_qs + P + u"<TN> Ну  ?"_qs + Q);
    EXPECT_EQ((DialogState{InDialog, InComment}), (DialogState{false, false}));
}
