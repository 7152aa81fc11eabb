#include "platform/speech/markup.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using speech::Prosody;
using speech::Segment;

namespace speech {
// Readable failures.
void PrintTo(const Segment &s, std::ostream *os)
{
    if (s.isSilence())
        *os << "silence(" << s.silenceMs << ")";
    else
        *os << '"' << s.text.toStdString() << "\" {" << s.prosody.volume << ", " << s.prosody.rate << ", "
            << s.prosody.pitch << "}";
    for (int p : s.stresses)
        *os << " stress@" << p;
}
} // namespace speech

namespace {

const auto text = [](const QString &t, Prosody p = {}, QList<int> stresses = {}) {
    return Segment{t, p, 0, stresses};
};
const auto silence = [](int ms) { return Segment{QString(), Prosody{}, ms, {}}; };

void expectSegments(QList<Segment> (*parse)(const QString &),
                    const std::vector<std::pair<QString, QList<Segment>>> &cases)
{
    for (const auto &[input, expected] : cases) {
        SCOPED_TRACE(input.toStdString());
        EXPECT_EQ(parse(input), expected);
    }
}

TEST(Markup, TextsWithAndWithoutMarkupGiveSegments)
{
    expectSegments(
        speech::parseMarkup,
        {// Narration, then dialogue, as the settings build the tags.
         {uR"( <volume level="85"> <rate absspeed="2"> <pitch absmiddle="0">Жили-были дед да баба.)"
          uR"( </pitch> </rate> </volume> <volume level="100"> <rate absspeed="3"> <pitch absmiddle="-5">)"
          uR"(— Кто там? </pitch> </rate> </volume> Конец)"_s,
          {text(u"Жили-были дед да баба. "_s, {85, 2, 0}), text(u"— Кто там? "_s, {100, 3, -5}),
           text(u" Конец"_s)}},
         // Closing tags restore what was before; stray ones are ignored.
         {uR"(</rate>а<volume level="50">б<rate absspeed="-3">в</rate>г</volume>д</pitch>е)"_s,
          {text(u"а"_s), text(u"б"_s, {50, 0, 0}), text(u"в"_s, {50, -3, 0}), text(u"г"_s, {50, 0, 0}),
           text(u"д"_s), text(u"е"_s)}},
         // A block as the recording frames it; blank runs and zero silences vanish.
         {uR"( <silence msec="1000"/>Кто там ?  <silence msec="700"/> Я.)"
          uR"( <silence msec="0"/> <silence msec="2000"/>)"_s,
          {silence(1000), text(u"Кто там ?  "_s), silence(700), text(u" Я. "_s), silence(2000)}},
         // Tags left open last to the end.
         {uR"(<volume level="30"><pitch absmiddle="4">тихо и высоко)"_s,
          {text(u"тихо и высоко"_s, {30, 0, 4})}},
         {uR"( <rate absspeed="5"> )"_s, {}},
         {QString(), {}},
         {u"Том &amp; Джерри &lt;3 &gt; &quot;&apos; &unknown; &#1078;&#x416;&"_s,
          {text(u"Том & Джерри <3 > \"' &unknown; жЖ&"_s)}},
         {u"<VOLUME LEVEL = \"40\" >а</Volume>б"_s, {text(u"а"_s, {40, 0, 0}), text(u"б"_s)}},
         // An empty element sets the value for the rest of the enclosing scope.
         {uR"(а<rate absspeed="4"/>б)"_s, {text(u"а"_s), text(u"б"_s, {100, 4, 0})}},
         {uR"(<volume level="150">а<rate absspeed="-20">б<pitch absmiddle="+11">в<silence msec="-5"/>)"
          uR"(<silence msec="99999999"/>)"_s,
          {text(u"а"_s), text(u"б"_s, {100, -10, 0}), text(u"в"_s, {100, -10, 10}), silence(60000)}},
         // Stress marks after vowels are not spoken; a real tag after a vowel stays a tag, and an
         // escaped "<" is a character.
         {u"за<мок и замо>к, x<y"_s, {text(u"замок и замок, x<y"_s, {}, {1, 11})}},
         {uR"(мука<silence msec="10"/>о&lt;)"_s, {text(u"мука"_s), silence(10), text(u"о<"_s)}}});
    // Stray "<", ">" and "&", unknown markup, our tags with a missing or unreadable value and
    // values in single quotes (a book's own tags) are text.
    for (const QString &same :
         {u"5 < 7 && 9 > 2"_s, u"<b>жирный</b> <!-- нет --> <emph/>"_s,
          u"<silence msec='600000'/>к<rate absspeed='-10'>т<volume level='0'/>"_s,
          uR"(<volume level:"40">ноль)"_s,
          uR"(<volume level="громко">раз <volume>два <rate speed="3">три <silence/>четыре)"
          uR"( <pitch absmiddle="1" пять)"_s}) {
        EXPECT_EQ(speech::parseMarkup(same), QList<Segment>{text(same)});
    }
    // Text without markup keeps every character but the stress marks.
    expectSegments(speech::parsePlain, {{u"бе<лый <b> &amp;"_s, {text(u"белый <b> &amp;"_s, {}, {1})}},
                                        {uR"(<volume level="5">)"_s, {text(uR"(<volume level="5">)"_s)}},
                                        {u" \r\n"_s, {}}});
    EXPECT_TRUE(speech::looksLikeMarkup(uR"( <silence msec="0"/>Текст)"_s));
    EXPECT_TRUE(speech::looksLikeMarkup(u"\r\n<b>"_s));
    EXPECT_FALSE(speech::looksLikeMarkup(uR"(Текст <volume level="5">)"_s));
    EXPECT_FALSE(speech::looksLikeMarkup(QString()));
}

} // namespace
