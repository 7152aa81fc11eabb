#include "texttools/chapters.h"
#include "texttoolstest.h"

#include <gtest/gtest.h>

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
    } cases[] = {// The book's reckoning: 900 characters a minute at rate 2, 66 minutes to the hour.
                 {59400, 2, 60}, {59400, 0, 75}, {59400, -10, 300},
                 {1600, 2, 2},   {400, 2, 0},    {1600, -11, std::nullopt}};
    for (const auto &c : cases)
        EXPECT_EQ(chapters::minutes(c.length, c.rate), c.shown) << c.length << " at " << c.rate;

    EXPECT_EQ(chapters::minutesColumn({100, 59500}, 61100, 2), (QList<std::optional<qsizetype>>{60, 2}));
}

TEST(Chapters, HeadingsAreFoundPastTheStartAndMarkedOncePerPlaceWhereStillTicked)
{
    const QString glava = QStringLiteral("ГЛАВА");
    EXPECT_EQ(chapters::findHeadings(textWith(glava, {99, 199, 398}, 403), glava),
              (QList<qsizetype>{199, 398}));
    EXPECT_TRUE(chapters::findHeadings(QString(400, u'x'), QString()).isEmpty());
    // Marked: the ticked headings still in place, each place once.
    const QString text = textWith(glava, {500, 900, 1200}, 1500);
    const QList<chapters::Candidate> candidates = {
        {500, glava, true},  {800, glava, true}, // edited away
        {900, glava, false}, {1200, glava, true}, {1200, QStringLiteral("ГЛ"), true},
    };
    EXPECT_EQ(chapters::placesToMark(text, candidates), (QList<qsizetype>{1200, 500}));
    // Boxes in search order; box 7 is two blank lines, boxes 12 and 13 their own texts.
    const QList<chapters::Kind> kinds = chapters::kinds(QStringLiteral("9"), QStringLiteral("12"), {});
    QList<int> boxes;
    for (const chapters::Kind &kind : kinds)
        boxes.append(kind.box);
    EXPECT_EQ(boxes, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(kinds.value(6).patterns, QStringList{QStringLiteral("\r\n\r\n")});
    EXPECT_EQ(kinds.value(11).patterns, QStringList{QStringLiteral("12")});
    EXPECT_TRUE(kinds.value(12).patterns.isEmpty());
    EXPECT_EQ(chapters::marker(), QStringLiteral("\r\n\r\n@@@@@\r\n   "));
}
