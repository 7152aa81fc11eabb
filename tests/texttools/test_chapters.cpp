#include "texttools/chapters.h"
#include "texttoolstest.h"

#include <gtest/gtest.h>

TEST(Chapters, SearchSkipsTheStartAndAHundredAfterEachHit)
{
    const QString glava = QStringLiteral("ГЛАВА");
    EXPECT_EQ(chapters::findHeadings(textWith(glava, {99, 199, 398}, 403), glava),
              (QList<qsizetype>{199, 398}));
    EXPECT_TRUE(chapters::findHeadings(QString(400, u'x'), QString()).isEmpty());
}

TEST(Chapters, ListOrderPreviewAndMinutes)
{
    EXPECT_EQ(chapters::rowFor({100, 200, 200, 300}, 200), 3);
    EXPECT_EQ(chapters::rowFor({}, 50), 0);

    EXPECT_EQ(chapters::preview(u"\r\n\r\nГлава 2\r\nОн…", 0), QStringLiteral("Глава 2 Он…"));
    EXPECT_EQ(chapters::preview(u"ab           Часть  ", 2), QStringLiteral("Часть"));
    const QString longText = QString(200, u'я');
    EXPECT_EQ(chapters::preview(longText, 10).size(), 80);
    EXPECT_EQ(chapters::preview(longText, 170).size(), 30);

    const struct
    {
        qsizetype length;
        int rate;
        std::optional<qsizetype> shown;
    } cases[] = {{1600, 2, 100},
                 {1600, -2, -100},
                 {1600, -3, -66},
                 {1600, 0, std::nullopt},
                 // 15.5 rounds to 16, which makes 2; cut off it would make 1.
                 {31, 2, 2},
                 {31, -2, -2},
                 {59, 1, 7},
                 {7, 10, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(chapters::minutes(c.length, c.rate), c.shown) << c.length << " at " << c.rate;

    EXPECT_EQ(chapters::minutesColumn({100, 1700}, 3300, 2), (QList<std::optional<qsizetype>>{100, 100}));
}

TEST(Chapters, MarkingTakesTickedHeadingsStillInPlaceOncePerPlace)
{
    const QString glava = QStringLiteral("ГЛАВА");
    const QString text = textWith(glava, {500, 900, 1200}, 1500);
    const QList<chapters::Candidate> candidates = {
        {500, glava, true},  {800, glava, true}, // edited away
        {900, glava, false}, {1200, glava, true}, {1200, QStringLiteral("ГЛ"), true},
    };
    EXPECT_EQ(chapters::placesToMark(text, candidates), (QList<qsizetype>{1200, 500}));
    EXPECT_EQ(chapters::marker(), QStringLiteral("\r\n\r\n@@@@@\r\n   "));
}
