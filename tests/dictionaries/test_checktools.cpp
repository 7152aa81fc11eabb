// The dictionary check tools as functions, with exact results. What the editor's commands ask and write (moves,
// the inadequate walk, the overlap message) is pinned in test_checktoolcommands.cpp.
#include "dictionaries/checktools.h"
#include "dictionaries/pattern.h"

#include <QList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace checktools;

namespace {

TEST(Pattern, WildcardsSetsRangesAndCase)
{
    const struct
    {
        const char *text;
        const char *pattern;
        bool match;
    } cases[] = {
        {"кот", "к*т", true},
        {"кт", "к*т", true},
        {"КОТ", "к?т", true},
        {"кот", "к?", false},
        {"к7т", "к#т", true},
        {"кот", "к#т", false},
        {"кот", "*[а-я]т", true},
        {"КОТ", "*[а-я]т", true},
        {"a,b", "a[,]b", true},
        {"a#b", "a[#]b", true},
        {"a(b", "a[(]b", true},
        {"ab", "a[#]b", false},
        {"белый кот", "*[А-я][ ][А-я]*", true},
        {"белый  кот", "*[А-я][ ][А-я]*", false},
        {"ёж ёж", "*[А-я(ё)(Ё)][ ][А-я(ё)(Ё)]*", true},
        {"a##b##", "*[#][#]*[#][#]*", true},
        {"a###", "*[#][#]*[#][#]*", false},
        {"", "*", true},
        {"", "?", false},
        {"abc", "[a-", false},
        {"aXbXc", "*X*X*", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pattern::like(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.text << " like " << c.pattern;
}

TEST(SortAndClean, RepeatsBlanksAndWordCounts)
{
    const Sorted s = sortAndClean(
        {u"кот :\t<ко<т>"_s, u"белый кот :\t<бе<лый ко<т>"_s, u"Кот :\t<ко<т>"_s, u"пёс :\t<пё<с##>"_s});
    EXPECT_EQ(s.records, (QStringList{u"белый кот :\t<бе<лый##ко<т>"_s, u"Кот :\t<ко<т>"_s}));
    EXPECT_EQ(s.report(),
              u"Удалено 1 повторов \r\n1 пробелов заменены на ##\r\nУдалено 1 недопустимых записей"_s);
    EXPECT_EQ(sortAndClean({}).report(),
              u"Удалено 0 повторов \r\n0 пробелов заменены на ##\r\nУдалено 0 недопустимых записей"_s);

    const struct
    {
        const char16_t *record;
        const char16_t *after; // empty: removed
    } single[] = {
        {u"белый пушистый кот :\t<бе<лый##пуши<стый>", u"белый пушистый кот :\t<бе<лый##пуши<стый##>"},
        {u"белый пушистый кот :\t<бе<лый##кот", u""},
        {u"кот :\t<ко<т##>", u""},
        {u"а б в г д е :\t<а##б##в##г##д##е>", u""},
        {u"белый кот :\t<бе<лый##ко<т> /i", u"белый кот :\t<бе<лый##ко<т> /i"},
        {u"белый кот :\t<бе<лый ко<т> /i", u"белый кот :\t<бе<лый##ко<т> /i"},
        {u"кот :\t<ко<т> /i", u"кот :\t<ко<т> /i"},
        // Padding a ">" in front of the colon moves the colon along.
        {u"т ##>:", u""},
    };
    for (const auto &c : single) {
        const QStringList expected =
            QString::fromUtf16(c.after).isEmpty() ? QStringList() : QStringList{QString::fromUtf16(c.after)};
        EXPECT_EQ(sortAndClean({QString::fromUtf16(c.record)}).records, expected)
            << QString::fromUtf16(c.record).toStdString();
    }
    // A record of 201 characters with a word mark goes; one-word records are not examined.
    const QString longRecord = u"а б :\t<а##б>"_s + QString(201 - 11, u'x');
    EXPECT_TRUE(sortAndClean({longRecord}).records.isEmpty());
    const QString longWord = u"а :\t<"_s + QString(300, u'а') + u">"_s;
    EXPECT_EQ(sortAndClean({longWord}).records.size(), 1);

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
    Answers a;
    a.script = {true};
    const QStringList syllables{u"кот :\t<ко<т>"_s, u"кошка :\t<ко<шка>"_s, u"мой :\t<мо<й>"_s,
                                u"дом :\t<до<м>"_s};
    EXPECT_EQ(findOneSyllable(syllables, a.ask()), syllables.mid(1));
    EXPECT_EQ(a.questions, (QStringList{u"кот :\t<ко<т>  - удалить?"_s, u"дом :\t<до<м>  - удалить?"_s}));
    EXPECT_EQ(a.numbers, (QList<int>{1, 3})) << "the walk goes on at the record that took the place";
    EXPECT_TRUE(isOneSyllable(QString())) << "an empty record has no vowels";
    EXPECT_FALSE(isOneSyllable(u"к,о :"_s)) << "a comma counts as a member";

    Answers c;
    c.script = {true};
    const QStringList longOnes{u"а б в :\t<а##б##в>"_s, u"а б :\t<а##б>"_s, u"а б в :\t<а##б##в>"_s};
    QList<int> progress;
    EXPECT_EQ(findLong(longOnes, c.ask(), [&](int n) { progress.append(n); }), longOnes.mid(1));
    EXPECT_EQ(c.questions,
              (QStringList{u"а б в :\t<а##б##в>  -удалить?"_s, u"а б в :\t<а##б##в>  -удалить?"_s}));
    EXPECT_EQ(progress, (QList<int>{1, 1, 2}));

    Answers d;
    d.script = {true, false};
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
    ASSERT_TRUE(found);
    EXPECT_EQ(found->record, 0);
    const auto later = findOverlap({records[1], records[0]}, 0); // the word recurs in the first record
    EXPECT_TRUE(later && later->record == 1 && later->other == 0);
    EXPECT_FALSE(findOverlap({u"к*т :\t<кот>"_s, records[1]}, 0)) << "wildcards are plain characters";
    EXPECT_FALSE(findOverlap(records, 1));
    EXPECT_FALSE(findOverlap({}, 0));
}

} // namespace
