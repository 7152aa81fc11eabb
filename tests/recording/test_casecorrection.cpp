#include "app/globals.h"
#include "recording/casecorrection.h"

#include <gtest/gtest.h>

TEST(CorrectCase, OnlyLinesInCapitalsGetProperCase)
{
    const std::pair<QString, QString> cases[] = {
        {u"ГЛАВА ПЕРВАЯ"_qs, u"Глава Первая"_qs},
        {u"   ГЛАВА  ПЕРВАЯ"_qs, u"   Глава  Первая"_qs},
        // Only the listed separators start a word; punctuation and dashes do not.
        {u"ГЛАВА\tпервая-ВТОРАЯ,ТРЕТЬЯ\vЁЖ\fюг"_qs, u"Глава\tПервая-вторая,третья\vЁж\fЮг"_qs},
        {u"ГЛАВА"_qs + QChar(0) + u"ДВА"_qs, u"Глава"_qs + QChar(0) + u"Два"_qs},
        // The whole line changes, Latin letters included.
        {u"КНИГА ONE, mcDONALD"_qs, u"Книга One, Mcdonald"_qs},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(CorrectCase(in), out) << in.toStdString();
    // Latin capitals and Ё are not among the capitals counted.
    for (const QString &line :
         {u"ТАСС сообщает"_qs, u"HELLO WORLD"_qs, u"ЁЁЁЁЁ ЁЖИКИ"_qs, u"ГЛАВ А"_qs, QString()})
        EXPECT_EQ(CorrectCase(line), line);
    CurLine = u"ЧАСТЬ ВТОРАЯ"_qs;
    CorrectCase();
    EXPECT_EQ(CurLine, u"Часть Вторая"_qs);
    CurLine.clear();
}
