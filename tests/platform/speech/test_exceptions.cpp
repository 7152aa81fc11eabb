// The exception dictionary and stressed words as the engine gets them; stand-in phonemes.
#include "platform/speech/exceptions.h"
#include "platform/speech/stress.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using speech::parsePlain;

namespace {

// The text the engine receives, "+" after each stressed vowel.
QString withMarks(const speech::Segment &s)
{
    QString text = s.text;
    QList<int> stresses = s.stresses;
    std::sort(stresses.rbegin(), stresses.rend());
    for (int p : stresses)
        text.insert(p + 1, u'+');
    return text;
}

TEST(ExceptionTable, ReplacesWholeWordsLongestFirstThenInFileOrder)
{
    const speech::ExceptionTable table = speech::ExceptionTable::fromLines({
        u"// cp1251"_s,
        u"замок :\t<за<мок> /i"_s,
        u"белый кот :\t<бе<лый##ко<т>"_s,
        u"белый :\t<бе<лый>"_s,
        u"кот :\t<ко<т>"_s,
        u"кот :\t<кото<>"_s,
        u"один два три четыре пять шесть :\t<x<>"_s,
        u"не запись"_s,
    });
    EXPECT_EQ(table.size(), 5);
    const std::pair<QString, QString> cases[] = {
        {u"Старый Замок."_s, u"Старый за+мок."_s},    {u"замки замок-крепость"_s, u"замки замок-крепость"_s},
        {u"белый кот спит"_s, u"бе+лый ко+т спит"_s}, {u"белый  кот"_s, u"бе+лый ко+т"_s},
        {u"белый, кот"_s, u"бе+лый, ко+т"_s},         {u"Белый кот"_s, u"Белый ко+т"_s},
        {u"котёнок кот"_s, u"котёнок ко+т"_s},        {u"за>мок и замо>к"_s, u"за+мок и замо+к"_s},
        {u"белый ко<т"_s, u"бе+лый ко+т"_s},          {u"белы<й кот"_s, u"белы+й ко+т"_s},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(withMarks(table.apply(parsePlain(text).front())), expected) << qPrintable(text);
}

TEST(StressedWords, MarkedWordsBecomePhonemesWithOneStress)
{
    // Phonemes as eSpeak names them for these words, one name per item.
    const QHash<QString, QStringList> phonemes = {
        {u"замок"_s, {"z", "a", "m", "'o", "k"}},
        {u"уже"_s, {"'u", "Z", "y"}},
        {u"кружки"_s, {"k", "@-", "r", "'u", "S", "k", ";", "I"}},
        {u"язык"_s, {"jI", "z", "'y", "k_"}},
        {u"дверь"_s, {"d", "v", ";", "'e", "r", "I^"}},
        {u"мука"_s, {"m", "'u", "k", "a#"}},
    };
    auto phonemize = [&](const QString &word) { return phonemes.value(word.toLower()); };
    const std::pair<QString, QString> cases[] = {
        {u"Старый за<мок."_s, u"Старый [[z'amVk]]."_s},
        {u"замо>к"_s, u"[[zam'ok]]"_s},
        {u"уже<"_s, u"[[uZ'e]]"_s},
        {u"кружки<"_s, u"[[k@-ruSk;'I]]"_s},
        {u"я<зык"_s, u"[['jazyk]]"_s},
        {u"две<рь"_s, u"[[dv;'erI^]]"_s},
        {u"мука<"_s, u"[[muk'a]]"_s},
        {u"Му<ка"_s, u"[[m'uka#]]"_s},
        // Not Russian, or phonemes that do not match the letters: left as text.
        {u"Ha<llo"_s, u"Ha<llo"_s},
        {u"ко<т"_s, u"кот"_s},
        {u"[[x]] за<мок[[y"_s, u"[ [x]] [[z'amVk]][ [y"_s},
        {u"x[за<мок"_s, u"x[ [[z'amVk]]"_s},
    };
    for (const auto &[text, expected] : cases) {
        const speech::EngineText sent = speech::engineText(parsePlain(text).front(), phonemize);
        EXPECT_EQ(sent.text, expected) << qPrintable(text);
        EXPECT_EQ(sent.phonemes, expected.contains(u"[[z"_s) || expected.startsWith(u"[["_s))
            << qPrintable(text);
    }
}

} // namespace
