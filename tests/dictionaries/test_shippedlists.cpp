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
    for (const QString &name : {u"70000.txt"_s, u"homograph.txt"_s})
        EXPECT_TRUE(textfile::readBytes(dic + name).value_or(QByteArray()).endsWith("\r\n"))
            << name.toStdString();
    for (const QString &w : known + homographs)
        EXPECT_TRUE(!w.isEmpty() && w == w.toLower()) << w.toStdString();
    // Each known word once, "ё" and "е" being one letter to the finder.
    QSet<QString> folded;
    for (const QString &w : known)
        folded.insert(QString(w).replace(u'ё', u'е'));
    EXPECT_EQ(folded.size(), known.size());
    EXPECT_EQ(QSet<QString>(homographs.cbegin(), homographs.cend()).size(), homographs.size());
    for (const QString &w : {u"замок"_s, u"мою"_s, u"броня"_s, u"ношу"_s, u"все"_s})
        EXPECT_TRUE(homographs.contains(w)) << w.toStdString();
    for (const QString &w : {u"свежи"_s, u"правы"_s, u"речи"_s, u"всё"_s})
        EXPECT_FALSE(homographs.contains(w)) << w.toStdString();

    // The finder with the shipped lists offers a book's names and passes over common words,
    // however "ё" is written.
    const auto lists = [&](finder::Pass p) -> std::optional<QStringList> {
        if (p == finder::Pass::Known)
            return known;
        if (p == finder::Pass::Homographs)
            return homographs;
        return std::nullopt;
    };
    struct Case
    {
        QString text;
        QStringList offered;
        QStringList passed;
    };
    const Case cases[] = {
        {textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/kapitanskaya_dochka.txt"))
             .value_or(QString()),
         {u"Гринев"_s, u"Швабрин"_s, u"Пугачев"_s, u"Савельич"_s, u"Зурин"_s},
         {u"сказал"_s, u"батюшка"_s}},
        {u"Лёша ещё спит, а Пётр берёт кошелёк и ведёт сестру. Ты живёшь, а мёртвый лист всё падает."_s,
         {u"Лёша"_s, u"Пётр"_s},
         {u"ещё"_s, u"берёт"_s, u"кошелёк"_s, u"ведёт"_s, u"живёшь"_s, u"мёртвый"_s, u"всё"_s}},
    };
    for (const Case &c : cases) {
        const QStringList found = *finder::newWords(c.text, 1, lists);
        for (const QString &w : c.offered)
            EXPECT_TRUE(found.contains(w)) << w.toStdString();
        for (const QString &w : c.passed)
            EXPECT_FALSE(found.contains(w)) << w.toStdString();
    }
}
