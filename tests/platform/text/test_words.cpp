// The one reading of a book's text that speech, the new-word finder and the homograph marking
// share, and where its words stand in the book.
#include "platform/text/words.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Words, ABookIsReadAsItIsHeardAndItsWordsKeepTheirPlaces)
{
    // The text as heard, then each word as read with its place in the book.
    const std::tuple<QString, QString, QStringList> cases[] = {
        {u"Он&nbsp;сказал: &laquo;caf&#233;&raquo; &#X416;&#0; &amp &unknown; &#xD800;"_s,
         u"Он\u00A0сказал: «café» \u0416&#0; &amp &unknown; &#xD800;"_s,
         {u"Он 0-2"_s, u"сказал 8-14"_s, u"café 23-32"_s, u"Ж 40-47"_s, u"0 49-50"_s, u"amp 53-56"_s,
          u"unknown 58-65"_s, u"xD800 69-74"_s}},
        {u"руки</p><br/>дома <p class=\"x\" id='y' hidden data-n=5>вот</p>"_s,
         u"руки дома вот "_s,
         {u"руки 0-4"_s, u"дома 13-17"_s, u"вот 54-57"_s}},
        // Stress marks: the program's own, an accent or a grave after a vowel, one per vowel.
        {u"за<мок замо>к за\u0301мок му\u0300ка у<\u0301же x\u0301"_s,
         u"за\u0301мок замо\u0301к за\u0301мок му\u0301ка у\u0301же x\u0301"_s,
         {u"за<мок 0-6"_s, u"замо<к 7-13"_s, u"за<мок 14-20"_s, u"му<ка 21-26"_s, u"у<же 27-32"_s,
          u"x\u0301 33-35"_s}},
        {u"д`Артаньян дʼАртаньян О′Генри ‘да’"_s,
         u"д'Артаньян д'Артаньян О'Генри 'да'"_s,
         {u"д'Артаньян 0-10"_s, u"д'Артаньян 11-21"_s, u"О'Генри 22-29"_s, u"да 31-33"_s}},
        // Doubled "<<" and ">>" quote; only a tag's shape is a tag.
        {u"<<дорога>> x<y, то y>x <1> <b <б> a<b"_s,
         u"«дорога» x<y, то y>x <1> <b <б> a<b"_s,
         {u"дорога 2-8"_s, u"x 11-12"_s, u"y 13-14"_s, u"то 16-18"_s, u"y 19-20"_s, u"x 21-22"_s,
          u"1 24-25"_s, u"b 28-29"_s, u"б 31-32"_s, u"a 34-35"_s, u"b 36-37"_s}},
    };
    for (const auto &[book, heard, found] : cases) {
        EXPECT_EQ(words::Reading(book).text(), heard) << book.toStdString();
        QStringList got;
        words::forEach(book, [&](QStringView word, qsizetype start, qsizetype end) {
            got << u"%1 %2-%3"_s.arg(words::spelling(word.toString())).arg(start).arg(end);
        });
        EXPECT_EQ(got, found) << book.toStdString();
    }
    // A book with nothing to change is read as it stands, shared; its words are spelled alike.
    const QString plain = QString::fromUtf16(u"Старый замок.");
    EXPECT_TRUE(words::Reading(plain).text().isSharedWith(plain));
    EXPECT_EQ(words::spelling(u"за\u0301мок"_s), u"за<мок"_s);
    EXPECT_EQ(words::spelling(u"О’Генри"_s), u"О'Генри"_s);
}
