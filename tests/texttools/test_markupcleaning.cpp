#include "markup_reference.h"
#include "texttools/markupcleaning.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using markupcleaning::clean;

TEST(MarkupCleaning, CleansFb2AndHtmlAsTheLiteralPasses)
{
    const std::pair<QString, QString> cases[] = {
        {u"<section><title><p>Глава 1</p></title><p>Текст — да.</p><empty-line/></section>"_qs,
         u" \r\n@@@@@\r\n       Глава 1    Текст - да.\r\n * * * \r\n "_qs},
        {u"x<binary id=\"c\" content-type=\"image/jpeg\">QUJD</binary>"_qs, u"x  "_qs},
        // Whatever stands between "<" and ">" goes, stress marks included.
        {u"a < b > c"_qs, u"a   c"_qs},
        {u"мо<ло>ко и <b>"_qs, u"мо ко и  "_qs},
        // No ">" after the "<": it and the rest stay; the tags before it are gone.
        {u"a<b"_qs, u"a<b"_qs},
        {u"<i>x</i> < y"_qs, u" x  < y"_qs},
        // A block without its closing tag keeps its content; its tag is still a tag.
        {u"<binary>AAA"_qs, u" AAA"_qs},
        {u"<binary a>A</binary><binary b>B"_qs, u"   B"_qs},
        // The en dash stays; upper-case tags are only tags.
        {u"a–b"_qs, u"a–b"_qs},
        {u"<P>x</P>"_qs, u" x "_qs},
        {u"<empty-line/>"_qs, u"\r\n * * * \r\n"_qs},
        {QString(), QString()},
    };
    for (const auto &[input, expected] : cases) {
        const markupcleaning::Result once = clean(input);
        EXPECT_EQ(once.text, expected) << input.toStdString();
        EXPECT_EQ(once.text, reference::clean(input).text) << input.toStdString();
        EXPECT_EQ(once.caret, reference::clean(input).caret) << input.toStdString();
        EXPECT_EQ(clean(once.text).text, once.text)
            << "a second run changes nothing: " << input.toStdString();
    }
}

TEST(MarkupCleaning, GeneratedTagSoupMatchesTheLiteralPasses)
{
    const QString pieces[] = {
        u"<"_qs,      u">"_qs,         u"p"_qs,       u"<p>"_qs,           u"</p>"_qs, u"<binary"_qs,
        u" id=1>"_qs, u"</binary>"_qs, u"<title>"_qs, u"<empty-line/>"_qs, u"—"_qs,    u"–"_qs,
        u"ж"_qs,      u" "_qs,         u"\r\n"_qs,    u"</title>"_qs,      u"/"_qs};
    QRandomGenerator random(19);
    for (int round = 0; round < 3000; ++round) {
        QString soup;
        const int length = random.bounded(40);
        for (int i = 0; i < length; ++i)
            soup += pieces[random.bounded(int(std::size(pieces)))];
        const markupcleaning::Result got = clean(soup);
        const reference::Cleaned want = reference::clean(soup);
        ASSERT_EQ(got.text, want.text) << soup.toStdString();
        ASSERT_EQ(got.caret, want.caret) << soup.toStdString();
    }
}

TEST(MarkupCleaning, LetsEventsThroughBetweenTheFb2Steps)
{
    int calls = 0;
    markupcleaning::clearFb2Tags(u"<p>x</p>", [&] { ++calls; });
    EXPECT_EQ(calls, 4);
}
