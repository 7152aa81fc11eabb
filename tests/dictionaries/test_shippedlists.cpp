// The word lists the program ships for the new-word finder and the homograph tools.
#include "dictionaries/homographs.h"
#include "platform/text/textfile.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ShippedLists, KnownWordsAndHomographsAreCleanLowerCaseLists)
{
    const QString dic = QStringLiteral(QUENVALE_DATA_DIR) + u"/DIC/"_s;
    const QStringList known = textfile::readLines(dic + u"70000.txt"_s).value_or(QStringList{});
    const QSet<QString> unique(known.cbegin(), known.cend());
    EXPECT_GE(unique.size(), 70000);
    EXPECT_EQ(unique.size(), known.size());
    EXPECT_TRUE(unique.contains(u"и"_s) && unique.contains(u"сказал"_s));

    const QByteArray bytes = textfile::readBytes(dic + u"homograph.txt"_s).value_or(QByteArray());
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    const QStringList rows =
        homographs::rows(textfile::readText(dic + u"homograph.txt"_s).value_or(QString()));
    EXPECT_GE(rows.size(), 300);
    EXPECT_EQ(QSet<QString>(rows.cbegin(), rows.cend()).size(), rows.size());
    for (const QString &row : rows)
        EXPECT_TRUE(!row.isEmpty() && row == row.toLower() && !row.contains(u'ё')) << row.toStdString();
    for (const char *word : {"замок", "мука", "атлас", "орган", "кружки", "стрелки", "дорогой", "плачу",
                             "стоит", "уже", "все", "осел", "небо"})
        EXPECT_TRUE(rows.contains(QString::fromUtf8(word))) << word;
}
