#include "texttools/markupcleaning.h"

#include <gtest/gtest.h>

using markupcleaning::clean;

TEST(MarkupCleaning, CleansFb2AndHtml)
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
        EXPECT_EQ(clean(once.text).text, once.text)
            << "a second run changes nothing: " << input.toStdString();
    }
}
