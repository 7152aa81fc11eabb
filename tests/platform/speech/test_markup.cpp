// What the engine gets from a text: segments of markup, stressed words, dictionary entries and
// its own prosody numbers. Stand-in phonemes; the real engine is in test_pronunciation.cpp.
#include "platform/speech/exceptions.h"
#include "platform/speech/markup.h"
#include "platform/speech/prosodymap.h"
#include "platform/speech/stress.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using speech::parsePlain;
using speech::Prosody;
using speech::Segment;

namespace speech {
// Readable failures.
void PrintTo(const Segment &s, std::ostream *os)
{
    *os << '"' << s.text.toStdString() << "\" {" << s.prosody.volume << ", " << s.prosody.rate << ", "
        << s.prosody.pitch << "} silence " << s.silenceMs;
    for (int p : s.stresses)
        *os << " stress@" << p;
}
} // namespace speech

namespace {

const auto text = [](const QString &t, Prosody p = {}, QList<int> stresses = {}) {
    return Segment{t, p, 0, stresses};
};
const auto silence = [](int ms) { return Segment{QString(), Prosody{}, ms, {}}; };

TEST(Markup, TextsWithAndWithoutMarkupGiveSegments)
{
    const auto check = [](auto parse, const std::vector<std::pair<QString, QList<Segment>>> &cases) {
        for (const auto &[input, expected] : cases)
            EXPECT_EQ(parse(input), expected) << input.toStdString();
    };
    check(speech::parseMarkup,
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
           {u"Том &amp; Джерри &lt;3 &gt; &quot;&apos; &unknown; &#1078;&#x416;&#xD800;&"_s,
            {text(u"Том & Джерри <3 > \"' &unknown; жЖ&#xD800;&"_s)}},
           {u"<VOLUME LEVEL = \"40\" >а</Volume>б"_s, {text(u"а"_s, {40, 0, 0}), text(u"б"_s)}},
           // An empty element sets the value for the rest of the enclosing scope.
           {uR"(а<rate absspeed="4"/>б)"_s, {text(u"а"_s), text(u"б"_s, {100, 4, 0})}},
           {uR"(<volume level="150">а<rate absspeed="-20">б<pitch absmiddle="+11">в<silence msec="-5"/>)"
            uR"(<silence msec="99999999"/>)"_s,
            {text(u"а"_s), text(u"б"_s, {100, -10, 0}), text(u"в"_s, {100, -10, 10}), silence(60000)}},
           // Stress marks after vowels are not spoken; a real tag after a vowel stays a tag, and an
           // escaped "<" is a character.
           {u"за<мок и замо>к, x<y"_s, {text(u"замок и замок, x<y"_s, {}, {1, 11})}},
           {uR"(мука<silence msec="10"/>о&lt;)"_s, {text(u"мука"_s), silence(10), text(u"о<"_s)}},
           // The listener hears the book, not its markup: HTML's entities are their characters,
           // a tag of any kind is silent, an accent or a grave after a vowel stresses it, every
           // apostrophe is ', "<<" and ">>" are quotes, and only a tag's shape is a tag.
           {u"Он&nbsp;сказал: &laquo;замок&raquo; caf&#233; &hellip;&mdash;&Zeta;&#x416;"_s,
            {text(u"Он\u00A0сказал: «замок» café …—Ζ\u0416"_s)}},
           {uR"(<rate absspeed="2">руки</p><br>дома<p class="x" id='y' hidden>а</rate>)"_s,
            {text(u"руки дома а"_s, {100, 2, 0})}},
           {u"за\u0301мок му\u0300ка у<\u0301же"_s, {text(u"замок мука уже"_s, {}, {1, 7, 11})}},
           {u"д`Артаньян дʼАртаньян д’Артаньян О′Генри"_s,
            {text(u"д'Артаньян д'Артаньян д'Артаньян О'Генри"_s)}},
           {u"Он сказал: <<Мама>> … <<дорога>>"_s, {text(u"Он сказал: «Мама» … «дорога»"_s)}},
           {u"Если x<y, то за<мок; если y>x, а<b>"_s,
            {text(u"Если x<y, то замок; если y>x, а "_s, {}, {14})}}});
    // Text without markup is read as the book is: our tags act in it as little as any other.
    check(parsePlain, {{u"бе<лый <b> &amp;"_s, {text(u"белый  &"_s, {}, {1})}},
                       // A tag after a vowel is no stress mark; a capital and ё take one.
                       {u"Его руки</p> дома<br> Ё>ж"_s, {text(u"Его руки  дома  Ёж"_s, {}, {16})}},
                       {uR"(<volume level="5">)"_s, {}},
                       {u" \r\n"_s, {}}});
    // Unknown tags, our tags with a missing or unreadable value and values in single quotes (a
    // book's own tags) are silent; what has no tag's shape is text.
    check(speech::parseMarkup,
          {{u"<b>жирный</b> <!-- нет --> <emph/>"_s, {text(u"жирный  <!-- нет --> "_s)}},
           {u"<silence msec='600000'/>к<rate absspeed='-10'>т<volume level='0'/>"_s, {text(u"к т "_s)}},
           {uR"(<volume level="громко">раз <volume>два <rate speed="3">три <silence/>четыре)"
            uR"( <pitch absmiddle="1" пять)"_s,
            {text(uR"(раз два три четыре <pitch absmiddle="1" пять)"_s)}}});
    for (const QString &same : {u"5 < 7 && 9 > 2"_s, uR"(<volume level:"40">ноль)"_s, u"<1> < b> <b <б>"_s})
        EXPECT_EQ(speech::parseMarkup(same), QList<Segment>{text(same)});
    EXPECT_TRUE(speech::looksLikeMarkup(uR"( <silence msec="0"/>Текст)"_s) &&
                speech::looksLikeMarkup(u"\r\n<b>"_s));
    EXPECT_FALSE(speech::looksLikeMarkup(uR"(Текст <volume level="5">)"_s) ||
                 speech::looksLikeMarkup(QString()));
}

// The text the engine receives, "+" after each stressed vowel.
QString withMarks(Segment s)
{
    std::sort(s.stresses.rbegin(), s.stresses.rend());
    for (int p : s.stresses)
        s.text.insert(p + 1, u'+');
    return s.text;
}

TEST(ExceptionTable, ReplacesWholeWordsLongestFirstThenInFileOrder)
{
    const speech::ExceptionTable table = speech::ExceptionTable::fromLines(
        u"// cp1251|замок :\t<за<мок> /i|белый кот :\t<бе<лый##ко<т>|белый :\t<бе<лый>|кот :\t<ко<т>|"
        u"кот :\t<кото<>|один два три четыре пять шесть :\t<x<>|не запись"_s.split(u'|'));
    EXPECT_EQ(table.size(), 5);
    const std::pair<QString, QString> cases[] = {
        {u"Старый Замок."_s, u"Старый за+мок."_s},    {u"замки замок-крепость"_s, u"замки замок-крепость"_s},
        {u"белый кот спит"_s, u"бе+лый ко+т спит"_s}, {u"белый  кот"_s, u"бе+лый ко+т"_s},
        {u"белый, кот"_s, u"бе+лый, ко+т"_s},         {u"Белый кот"_s, u"Белый ко+т"_s},
        {u"котёнок кот"_s, u"котёнок ко+т"_s},        {u"за>мок и замо>к"_s, u"за+мок и замо+к"_s},
        {u"белый ко<т"_s, u"бе+лый ко+т"_s},          {u"белы<й кот"_s, u"белы+й ко+т"_s},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(withMarks(table.apply(parsePlain(input).front())), expected) << qPrintable(input);
}

TEST(StressedWords, MarkedWordsBecomePhonemesWithOneStress)
{
    // Phonemes as eSpeak names them for these words, one name per item.
    const QHash<QString, QStringList> phonemes = {
        {u"замок"_s, {"z", "a", "m", "'o", "k"}},
        {u"кружки"_s, {"k", "@-", "r", "'u", "S", "k", ";", "I"}},
        {u"уже"_s, {"'u", "Z", "y"}},
        {u"язык"_s, {"jI", "z", "'y", "k_"}},
        {u"мука"_s, {"m", "'u", "k", "a#"}},
        {u"дверь"_s, {"d", "v", ";", "'e", "r", "I^"}},
    };
    auto phonemize = [&](const QString &word) { return phonemes.value(word.toLower()); };
    const std::pair<QString, QString> cases[] = {
        {u"Старый за<мок."_s, u"Старый [[z'amVk]]."_s},
        {u"замо>к"_s, u"[[zam'ok]]"_s},
        {u"уже<"_s, u"[[uZ'e]]"_s},
        {u"кружки<"_s, u"[[k@-ruSk;'I]]"_s},
        {u"я<зык"_s, u"[['jazyk]]"_s},
        {u"две<рь"_s, u"[[dv;'erI^]]"_s},
        {u"мука<"_s, u"[[muk'a]]"_s},
        {u"Му<ка"_s, u"[[m'uka#]]"_s},
        // Not Russian, or phonemes that do not match the letters: left as text; brackets are no phonemes.
        {u"Ha<llo"_s, u"Ha<llo"_s},
        {u"ко<т"_s, u"кот"_s},
        {u"x[за<мок"_s, u"x[ [[z'amVk]]"_s},
        {u"[[x]] и [[[y"_s, u"[ [x]] и [ [ [y"_s},
        {u"[[x]] за<мок[[y"_s, u"[ [x]] [[z'amVk]][ [y"_s},
    };
    for (const auto &[input, expected] : cases) {
        const speech::EngineText sent = speech::engineText(parsePlain(input).front(), phonemize);
        EXPECT_EQ(sent.text, expected) << qPrintable(input);
        EXPECT_EQ(sent.phonemes, expected.contains(u"[["_s)) << qPrintable(input);
    }
}

auto engine(int volume, int rate, int pitch)
{
    const auto e = speech::engineProsody({volume, rate, pitch});
    return std::tuple(e.volume, e.pitch, e.wordsPerMinute, e.wordGap);
}

TEST(ProsodyMap, EveryRateIsSlowerThanTheNextAndNumbersSpanTheEngineScales)
{
    for (int rate = -10; rate < 10; ++rate) {
        SCOPED_TRACE(rate);
        const auto [v1, p1, slowWpm, slowGap] = engine(100, rate, 0);
        const auto [v2, p2, fastWpm, fastGap] = engine(100, rate + 1, 0);
        EXPECT_TRUE(slowWpm < fastWpm || (slowWpm == fastWpm && slowGap > fastGap));
        EXPECT_GE(slowWpm, 80) << "eSpeak's slowest speed";
        EXPECT_TRUE(fastWpm == 80 || fastGap == 0) << "only the slowest speed stretches the gaps";
        EXPECT_LT(speech::targetCharsPerMinute(rate), speech::targetCharsPerMinute(rate + 1));
    }
    // Volume and pitch fill the engine's 0..100, 50 being the voice's own pitch.
    EXPECT_EQ(std::get<0>(engine(0, 0, 0)), 0);
    EXPECT_EQ(std::get<1>(engine(100, 0, 0)), 50);
    EXPECT_EQ(std::get<1>(engine(100, 0, -10)), 0);
    EXPECT_EQ(std::get<1>(engine(100, 0, 10)), 100);
    // Out-of-range numbers are held at the ends rather than read past the table.
    EXPECT_EQ(engine(-5, -99, -11), engine(0, -10, -10));
    EXPECT_EQ(engine(150, 99, 11), engine(100, 10, 10));
}

} // namespace
