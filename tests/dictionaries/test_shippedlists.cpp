// The word lists the program ships for the new-word finder and the homograph tools.
#include "dictionaries/finder.h"
#include "dictionaries/homographs.h"
#include "platform/text/textfile.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ShippedLists, AreLowerCaseWordsThatLeaveNamesToTheUser)
{
    const QString dic = QStringLiteral(QUENVALE_DATA_DIR) + u"/DIC/"_s;
    const QStringList known = textfile::readLines(dic + u"70000.txt"_s).value_or(QStringList{});
    const QStringList homographs =
        homographs::rows(textfile::readText(dic + u"homograph.txt"_s).value_or(QString()));
    EXPECT_EQ(known.size(), 70000);
    EXPECT_GE(homographs.size(), 250);
    // Lower case, and each known word once, "ё" and "е" being one letter to the finder.
    for (const QString &w : known + homographs)
        EXPECT_TRUE(!w.isEmpty() && w == w.toLower()) << w.toStdString();
    QSet<QString> folded;
    for (const QString &w : known)
        folded.insert(QString(w).replace(u'ё', u'е'));
    EXPECT_EQ(folded.size(), known.size());
    for (const QString &w : {u"замок"_s, u"мою"_s, u"броня"_s, u"ношу"_s})
        EXPECT_TRUE(homographs.contains(w)) << w.toStdString();
    for (const QString &w : {u"свежи"_s, u"правы"_s, u"речи"_s})
        EXPECT_FALSE(homographs.contains(w)) << w.toStdString();

    // The finder with the shipped lists offers a book's names and passes over common words,
    // however "ё" is written.
    const auto lists = [&](finder::Pass p) {
        return p == finder::Pass::Known        ? std::optional(known)
               : p == finder::Pass::Homographs ? std::optional(homographs)
                                               : std::nullopt;
    };
    const QString book = textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"))
                             .value_or(QString());
    const QString modern =
        u"Лёша ещё спит, а Пётр берёт кошелёк и ведёт сестру. Ты живёшь, а мёртвый лист всё падает."_s;
    const QStringList found = *finder::newWords(book + modern, 1, lists);
    for (const QString &w :
         {u"Гринев"_s, u"Швабрин"_s, u"Пугачев"_s, u"Савельич"_s, u"Зурин"_s, u"Лёша"_s, u"Пётр"_s})
        EXPECT_TRUE(found.contains(w)) << w.toStdString();
    for (const QString &w :
         {u"ещё"_s, u"берёт"_s, u"кошелёк"_s, u"ведёт"_s, u"живёшь"_s, u"мёртвый"_s, u"всё"_s, u"сказал"_s})
        EXPECT_FALSE(found.contains(w)) << w.toStdString();
}
