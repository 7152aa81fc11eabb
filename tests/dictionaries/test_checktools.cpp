// The dictionary check tools as functions, with exact results. What the editor's commands ask and write
// (moves, the inadequate walk, the overlap message) is pinned in test_checktoolcommands.cpp.
#include "dictionaries/checktools.h"
#include "dictionaries/pattern.h"

#include <QList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace checktools;

namespace {

TEST(Pattern, WildcardsSetsRangesAndCase)
{
    // "text|pattern" pairs that match, then those that do not.
    const std::pair<QStringList, bool> cases[] = {
        {{u"кот|к*т"_s, u"кт|к*т"_s, u"КОТ|к?т"_s, u"к7т|к#т"_s, u"кот|*[а-я]т"_s, u"КОТ|*[а-я]т"_s,
          u"a,b|a[,]b"_s, u"a#b|a[#]b"_s, u"a(b|a[(]b"_s, u"белый кот|*[А-я][ ][А-я]*"_s,
          u"ёж ёж|*[А-я(ё)(Ё)][ ][А-я(ё)(Ё)]*"_s, u"a##b##|*[#][#]*[#][#]*"_s, u"|*"_s, u"aXbXc|*X*X*"_s},
         true},
        {{u"кот|к?"_s, u"кот|к#т"_s, u"ab|a[#]b"_s, u"белый  кот|*[А-я][ ][А-я]*"_s,
          u"a###|*[#][#]*[#][#]*"_s, u"|?"_s, u"abc|[a-"_s},
         false}};
    for (const auto &[pairs, match] : cases)
        for (const QString &pair : pairs)
            EXPECT_EQ(pattern::like(pair.section(u'|', 0, 0), pair.section(u'|', 1)), match)
                << pair.toStdString();
}

TEST(SortAndClean, RepeatsBlanksAndWordCounts)
{
    EXPECT_EQ(sortAndClean({}).report(),
              u"Удалено 0 повторов \r\n0 пробелов заменены на ##\r\nУдалено 0 недопустимых записей"_s);

    // Each record alone, and what is left of it (nothing: removed). A record of 201 characters with a
    // word mark goes; one-word records are not examined; padding a ">" in front of the colon moves it.
    const std::pair<QString, QString> single[] = {
        {u"белый пушистый кот :\t<бе<лый##пуши<стый>"_s, u"белый пушистый кот :\t<бе<лый##пуши<стый##>"_s},
        {u"белый пушистый кот :\t<бе<лый##кот"_s, {}},
        {u"кот :\t<ко<т##>"_s, {}},
        {u"а б в г д е :\t<а##б##в##г##д##е>"_s, {}},
        {u"белый кот :\t<бе<лый##ко<т> /i"_s, u"белый кот :\t<бе<лый##ко<т> /i"_s},
        {u"белый кот :\t<бе<лый ко<т> /i"_s, u"белый кот :\t<бе<лый##ко<т> /i"_s},
        {u"кот :\t<ко<т> /i"_s, u"кот :\t<ко<т> /i"_s},
        {u"т ##>:"_s, {}},
        {u"а б :\t<а##б>"_s + QString(201 - 11, u'x'), {}},
        {u"а :\t<"_s + QString(300, u'а') + u">"_s, u"а :\t<"_s + QString(300, u'а') + u">"_s}};
    for (const auto &[record, after] : single)
        EXPECT_EQ(sortAndClean({record}).records, after.isEmpty() ? QStringList() : QStringList{after})
            << record.toStdString();

    const Sorted twins = sortAndClean({u"белый кот :\t<бе<лый ко<т>"_s, u"белый кот :\t<бе<лый##ко<т>"_s});
    EXPECT_EQ(twins.records, QStringList{u"белый кот :\t<бе<лый##ко<т>"_s});
    EXPECT_EQ(twins.repeats, 1);
}

// Offers every record it is shown and answers from a script.
struct Answers
{
    QList<bool> script;
    QStringList questions;
    QList<int> numbers;
    Ask ask()
    {
        return [this](const Offer &o) {
            questions.append(o.question);
            numbers.append(o.number);
            return script.isEmpty() ? false : script.takeFirst();
        };
    }
};

TEST(Walks, QuestionsAndAnswers)
{
    Answers a{{true}}, c{{true}}, d{{true, false}};
    const QStringList syllables{u"кот :\t<ко<т>"_s, u"кошка :\t<ко<шка>"_s, u"мой :\t<мо<й>"_s,
                                u"дом :\t<до<м>"_s};
    EXPECT_EQ(findOneSyllable(syllables, a.ask()), syllables.mid(1));
    EXPECT_EQ(a.questions, (QStringList{u"кот :\t<ко<т>  - удалить?"_s, u"дом :\t<до<м>  - удалить?"_s}));
    EXPECT_EQ(a.numbers, (QList<int>{1, 3})) << "the walk goes on at the record that took the place";
    EXPECT_TRUE(isOneSyllable(QString())) << "an empty record has no vowels";
    EXPECT_FALSE(isOneSyllable(u"к,о :"_s)) << "a comma counts as a member";

    const QStringList longOnes{u"а б в :\t<а##б##в>"_s, u"а б :\t<а##б>"_s, u"а б в :\t<а##б##в>"_s};
    QList<int> progress;
    EXPECT_EQ(findLong(longOnes, c.ask(), [&](int n) { progress.append(n); }), longOnes.mid(1));
    EXPECT_EQ(c.questions, QStringList(2, u"а б в :\t<а##б##в>  -удалить?"_s));
    EXPECT_EQ(progress, (QList<int>{1, 1, 2}));

    const QStringList homographs{u" замок "_s, u" ЗАМОК "_s, u" кот "_s};
    const QStringList records{u"Замок :\t<за<мок>"_s, u"пёс :\t<пё<с>"_s, u"без двоеточия"_s};
    EXPECT_EQ(findHomographs(records, homographs, d.ask()), (QStringList{QString(), records[1], records[2]}));
    EXPECT_EQ(d.questions, (QStringList{u"Замок :\t<за<мок>  - удалить?"_s, u"  - удалить?"_s}))
        << "each equal row asks once";
}

TEST(Moves, YoAndVariants)
{
    const Moved yo = moveYo({u"пёс :\t<пё<с>"_s, u"ПЁС :\t<ПЁС>"_s, u"лес :\t<лё<с>"_s, u"кот :\t<ко<т>"_s});
    EXPECT_EQ(yo.moved, 3) << "a record with ё only in its pronunciation is moved too";
    EXPECT_EQ(yo.records, QStringList{u"кот :\t<ко<т>"_s});
    EXPECT_EQ(moveVariants({QString(), QString()}).moved, 0) << "emptied rows have no word part";
    EXPECT_EQ(moveVariants({u"а :1"_s, u"а :2"_s, u"А :3"_s}).records, QStringList{u"А :3"_s});
}

TEST(Overlap, FirstRecordWhoseWordRecursElsewhere)
{
    const QStringList records{u"кот :\t<ко<т>"_s, u"кот учёный :\t<ко<т##учё<ный>"_s};
    const auto found = findOverlap(records, 0);
    EXPECT_TRUE(found && found->record == 0);
    const auto later = findOverlap({records[1], records[0]}, 0); // the word recurs in the first record
    EXPECT_TRUE(later && later->record == 1 && later->other == 0);
    EXPECT_FALSE(findOverlap({u"к*т :\t<кот>"_s, records[1]}, 0)) << "wildcards are plain characters";
    EXPECT_FALSE(findOverlap(records, 1) || findOverlap({}, 0));
}

} // namespace
