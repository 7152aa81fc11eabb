// Autoreplace and old-version dictionaries turned into entry lines (the messages are pinned
// through the editor's commands), and the comparer's scans.
#include "dictionaries/diccompare.h"
#include "dictionaries/import.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Import, AutoReplaceTakesPhrasesOnly)
{
    // Skipped: a single word, punctuation, brackets, a generalisation, "$" not first; kept: a digit.
    const auto result =
        dicimport::importAutoReplace({u"белый кот=бе>лый ко>т"_s, u"$Белый Кот=Бе>лый Ко>т"_s, u"кот=ко>т"_s,
                                      u"рыжий кот=ры>жий ко>т"_s, u"белый кот.=x y"_s, u"белый (кот)=x y"_s,
                                      u"белый кот*=x y"_s, u"белый $кот=x y"_s, u"кот 2 шт рыжий=x"_s});
    EXPECT_EQ(result.entries,
              (QStringList{u"белый кот :\t<бе<лый ко<т> /i"_s, u"Белый Кот :\t<Бе<лый Ко<т> "_s,
                           u"рыжий кот :\t<ры<жий ко<т> /i"_s, u"кот 2 шт рыжий :\t<x> /i"_s}));
    EXPECT_EQ(dicimport::convert(u"белый кот=бе>лый=ко>т"_s, false), u"белый кот :\t<бе<лый=ко<т> /i"_s)
        << "split at the first \"=\" only";
}

TEST(Import, OldDictionarySplitsIntoFiles)
{
    const auto result = dicimport::importOld({u"кот=ко>т"_s, u"$Кот=Ко>т"_s, u"белый кот=бе>лый ко>т"_s,
                                              u"кот2=ко>т"_s, u"белый кот*=бе>лый ко>т"_s, u"кот!=ко>т"_s});
    EXPECT_EQ(result.single.lines, (QStringList{u"кот :\t<ко<т> /i"_s, u"Кот :\t<Ко<т> "_s}));
    EXPECT_EQ(result.phrases.lines, QStringList{u"белый кот :\t<бе<лый ко<т> /i"_s});
    EXPECT_TRUE(result.general1.lines.isEmpty());
    EXPECT_EQ(result.general2.lines, QStringList{u"белый кот*=бе<лый ко<т"_s});

    // Generalisations by the place of their "=" and the number of "*" (0: neither file).
    const std::pair<QString, int> general[] = {
        {u"*белый кот*=бе>лый"_s, 1}, {u"*бел кот*=бе>лый"_s, 0}, {u"бел кот*=x"_s, 0},
        {u"белый ко*=x"_s, 2},        {u"белыйкот*=x"_s, 0},      {u"белыйкотик=x y*"_s, 0},
        {u"белый ко2*=x"_s, 0},       {u"$белый ко*=x"_s, 0},     {u" белыйко*=x"_s, 2}};
    for (const auto &[line, file] : general) {
        const auto r = dicimport::importOld({line});
        EXPECT_EQ(std::pair(r.general1.lines.size(), r.general2.lines.size()),
                  std::pair(qsizetype(file == 1), qsizetype(file == 2)))
            << line.toStdString();
    }
}

// The five results themselves are pinned through the comparer window.
TEST(Compare, AStopKeepsWhatWasFoundSoFar)
{
    const QStringList a{u"один"_s, u"два"_s, u"Атлас"_s}, b{u"орган"_s, u"a, b"_s};
    EXPECT_EQ(diccompare::missing(a, {}).entries, a);
    QList<int> seen;
    diccompare::matching(a, b, [&](int n) { return seen.append(n), true; });
    EXPECT_EQ(seen, (QList<int>{1, 2, 3})) << "progress counts the entries of the first list";
    int steps = 0;
    const auto stopped = diccompare::nonMatching(a, b, [&](int) { return ++steps < 5; });
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(stopped.entries, (QStringList{a[0], a[1], u"Атлас"_s, u"орган"_s}));
}
