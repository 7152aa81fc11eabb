#include "speech/markup.h"

#include <gtest/gtest.h>

using speech::Prosody;
using speech::Segment;

namespace speech {
// Readable failures.
void PrintTo(const Segment &s, std::ostream *os)
{
    if (s.isSilence()) {
        *os << "silence(" << s.silenceMs << ")";
        return;
    }
    *os << '"' << s.text.toStdString() << "\" {" << s.prosody.volume << ", " << s.prosody.rate << ", "
        << s.prosody.pitch << "}";
    for (int p : s.stresses)
        *os << " stress@" << p;
}
} // namespace speech

namespace {

Segment text(const QString &t, Prosody p = {}, QList<int> stresses = {})
{
    return Segment{t, p, 0, stresses};
}

Segment silence(int ms)
{
    return Segment{QString(), Prosody{}, ms, {}};
}

TEST(Markup, ProsodyTagStringsOfTheSettingsSwitchVoiceForEachRun)
{
    // Narration opened, then closed and replaced by dialogue tags, as the settings build them.
    const QString narration =
        QStringLiteral(R"( <volume level="85"> <rate absspeed="2"> <pitch absmiddle="0">)");
    const QString close = QStringLiteral(" </pitch> </rate> </volume>");
    const QString dialogue =
        QStringLiteral(R"( <volume level="100"> <rate absspeed="3"> <pitch absmiddle="-5">)");
    const auto segments =
        speech::parseMarkup(narration + QStringLiteral("Жили-были дед да баба.") + close + dialogue +
                            QStringLiteral("— Кто там?") + close + QStringLiteral(" Конец"));
    EXPECT_EQ(segments, (QList<Segment>{text(QStringLiteral("Жили-были дед да баба. "), {85, 2, 0}),
                                        text(QStringLiteral("— Кто там? "), {100, 3, -5}),
                                        text(QStringLiteral(" Конец"))}));
}

TEST(Markup, ClosingTagsRestoreWhatWasBeforeAndStrayClosingTagsAreIgnored)
{
    const auto segments = speech::parseMarkup(
        QStringLiteral(R"(</rate>а<volume level="50">б<rate absspeed="-3">в</rate>г</volume>д</pitch>е)"));
    EXPECT_EQ(segments,
              (QList<Segment>{text(QStringLiteral("а")), text(QStringLiteral("б"), {50, 0, 0}),
                              text(QStringLiteral("в"), {50, -3, 0}), text(QStringLiteral("г"), {50, 0, 0}),
                              text(QStringLiteral("д")), text(QStringLiteral("е"))}));
}

TEST(Markup, SilencesStandBetweenTextsAndBlankRunsVanish)
{
    // A block as the recording frames it: pause, text with a question pause, pause.
    const auto segments = speech::parseMarkup(QStringLiteral(
        R"( <silence msec="1000"/>Кто там ?  <silence msec="700"/> Я. <silence msec="0"/> <silence msec="2000"/>)"));
    EXPECT_EQ(segments, (QList<Segment>{silence(1000), text(QStringLiteral("Кто там ?  ")), silence(700),
                                        text(QStringLiteral(" Я. ")), silence(2000)}));
}

TEST(Markup, TagsLeftOpenLastToTheEnd)
{
    EXPECT_EQ(speech::parseMarkup(QStringLiteral(R"(<volume level="30"><pitch absmiddle="4">тихо и высоко)")),
              (QList<Segment>{text(QStringLiteral("тихо и высоко"), {30, 0, 4})}));
    EXPECT_TRUE(speech::parseMarkup(QStringLiteral(R"( <rate absspeed="5"> )")).isEmpty());
    EXPECT_TRUE(speech::parseMarkup(QString()).isEmpty());
}

TEST(Markup, StrayAndUnknownMarkupIsText)
{
    EXPECT_EQ(speech::parseMarkup(QStringLiteral("5 < 7 && 9 > 2")),
              (QList<Segment>{text("5 < 7 && 9 > 2")}));
    EXPECT_EQ(speech::parseMarkup(QStringLiteral("<b>жирный</b> <!-- нет --> <emph/>")),
              (QList<Segment>{text(QStringLiteral("<b>жирный</b> <!-- нет --> <emph/>"))}));
    // Our tags with a missing or unreadable value, or never closed, are text too.
    const QString malformed = QStringLiteral(
        R"(<volume level="громко">раз <volume>два <rate speed="3">три <silence/>четыре <pitch absmiddle="1" пять)");
    EXPECT_EQ(speech::parseMarkup(malformed), (QList<Segment>{text(malformed)}));
}

TEST(Markup, EntitiesAreDecodedAndUnknownOnesKept)
{
    EXPECT_EQ(speech::parseMarkup(
                  QStringLiteral("Том &amp; Джерри &lt;3 &gt; &quot;&apos; &unknown; &#1078;&#x416;&")),
              (QList<Segment>{text(QStringLiteral("Том & Джерри <3 > \"' &unknown; жЖ&"))}));
}

TEST(Markup, AttributeSpellingsNameCaseAndValueLimits)
{
    EXPECT_EQ(speech::parseMarkup(QStringLiteral("<VOLUME LEVEL = '40' >а</Volume>б")),
              (QList<Segment>{text(QStringLiteral("а"), {40, 0, 0}), text(QStringLiteral("б"))}));
    // An empty element sets the value for the rest of the enclosing scope.
    EXPECT_EQ(speech::parseMarkup(QStringLiteral(R"(а<rate absspeed="4"/>б)")),
              (QList<Segment>{text(QStringLiteral("а")), text(QStringLiteral("б"), {100, 4, 0})}));
    EXPECT_EQ(
        speech::parseMarkup(QStringLiteral(
            R"(<volume level="150">а<rate absspeed="-20">б<pitch absmiddle="+11">в<silence msec="-5"/>)")),
        (QList<Segment>{text(QStringLiteral("а"), {100, 0, 0}), text(QStringLiteral("б"), {100, -10, 0}),
                        text(QStringLiteral("в"), {100, -10, 10})}));
}

TEST(Markup, StressMarksAfterVowelsAreNotSpoken)
{
    EXPECT_EQ(speech::parseMarkup(QStringLiteral("за<мок и замо>к, x<y")),
              (QList<Segment>{text(QStringLiteral("замок и замок, x<y"), {}, {1, 11})}));
    // A real tag after a vowel stays a tag; an escaped "<" is a character, not a mark.
    EXPECT_EQ(speech::parseMarkup(QStringLiteral(R"(мука<silence msec="10"/>о&lt;)")),
              (QList<Segment>{text(QStringLiteral("мука")), silence(10), text(QStringLiteral("о<"))}));
    EXPECT_EQ(speech::parsePlain(QStringLiteral("бе<лый <b> &amp;")),
              (QList<Segment>{text(QStringLiteral("белый <b> &amp;"), {}, {1})}));
}

TEST(Markup, PlainTextAndMarkupDetection)
{
    EXPECT_EQ(speech::parsePlain(QStringLiteral(R"(<volume level="5">)")),
              (QList<Segment>{text(QStringLiteral(R"(<volume level="5">)"))}));
    EXPECT_TRUE(speech::parsePlain(QStringLiteral(" \r\n")).isEmpty());

    EXPECT_TRUE(speech::looksLikeMarkup(QStringLiteral(R"( <silence msec="0"/>Текст)")));
    EXPECT_TRUE(speech::looksLikeMarkup(QStringLiteral("\r\n<b>")));
    EXPECT_FALSE(speech::looksLikeMarkup(QStringLiteral(R"(Текст <volume level="5">)")));
    EXPECT_FALSE(speech::looksLikeMarkup(QString()));
}

} // namespace
