#include "corr_Text.h"
#include "globals.h"

#include <gtest/gtest.h>

namespace {

TEST(CorrectCase, LinesInCapitalsGetProperCase)
{
    EXPECT_EQ(CorrectCase(u"ГЛАВА ПЕРВАЯ"_qs), u"Глава Первая"_qs);
    EXPECT_EQ(CorrectCase(u"   ГЛАВА  ПЕРВАЯ"_qs), u"   Глава  Первая"_qs);
    // Only the listed separators start a word; punctuation and dashes do not.
    EXPECT_EQ(CorrectCase(u"ГЛАВА\tпервая-ВТОРАЯ,ТРЕТЬЯ\vЁЖ\fюг"_qs),
              u"Глава\tПервая-вторая,третья\vЁж\fЮг"_qs);
    EXPECT_EQ(CorrectCase(u"ГЛАВА"_qs + QChar(0) + u"ДВА"_qs), u"Глава"_qs + QChar(0) + u"Два"_qs);
    // The whole line changes, Latin letters included.
    EXPECT_EQ(CorrectCase(u"КНИГА ONE, mcDONALD"_qs), u"Книга One, Mcdonald"_qs);
}

TEST(CorrectCase, OtherLinesStayAsTheyAre)
{
    EXPECT_EQ(CorrectCase(u"ТАСС сообщает"_qs), u"ТАСС сообщает"_qs);
    EXPECT_EQ(CorrectCase(u"HELLO WORLD"_qs), u"HELLO WORLD"_qs);
    // Ё is not one of the capitals counted.
    EXPECT_EQ(CorrectCase(u"ЁЁЁЁЁ ЁЖИКИ"_qs), u"ЁЁЁЁЁ ЁЖИКИ"_qs);
    EXPECT_EQ(CorrectCase(u"ГЛАВ А"_qs), u"ГЛАВ А"_qs);
    EXPECT_EQ(CorrectCase(QString()), QString());
}

TEST(CorrectCase, RewritesCurLine)
{
    CurLine = u"ЧАСТЬ ВТОРАЯ"_qs;
    CorrectCase();
    EXPECT_EQ(CurLine, u"Часть Вторая"_qs);
    CurLine.clear();
}

} // namespace
