// The real eSpeak NG voice: stress marks and the exception dictionary, as the engine gets them.
#include "platform/speech/exceptions.h"
#include "platform/speech/stress.h"
#include "platform/text/textfile.h"
#include "wavcheck.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The index among the vowel letters of the one before the stress mark.
int markedVowel(const QString &word)
{
    const QString before = word.left(word.indexOf(QRegularExpression(u"[<>]"_s)));
    return int(before.count(QRegularExpression(u"[аеёиоуыэюя]"_s))) - 1;
}

// The index among the vowels of the one primary stress as eSpeak reads a text, or -1 unless there is one.
int stressedVowel(const QString &text)
{
    QStringList vowels;
    for (const QString &name :
         output(u"espeak-ng"_s, {u"-v"_s, u"ru"_s, u"-q"_s, u"-x"_s, u"--sep= "_s, text})
             .split(QRegularExpression(u"\\s+"_s))) {
        if (speech::isVowelPhoneme(name))
            vowels << name;
    }
    const QStringList stressed = vowels.filter(QRegularExpression(u"^'"_s));
    return stressed.size() == 1 ? int(vowels.indexOf(stressed[0])) : -1;
}

class PronunciationTest : public EngineTest<speech::EspeakVoice>
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // The engine's dictionary outlives a test: start each without one.
        useDictionary({});
    }
    void TearDown() override { speech::setExceptionDictionary({}); }

    // The dictionary is read as its voice is selected anew.
    void useDictionary(const QString &path)
    {
        speech::setExceptionDictionary(path);
        ASSERT_TRUE(voice && voice->SelectVoice(u"ru+f3"_s) && voice->SelectVoice(u"ru"_s));
    }
    QString sent(const QString &text, int flags = 0) { return voice->engineTexts(text, flags).join(u'|'); }
};

TEST_F(PronunciationTest, MarkedVowelCarriesTheOnePrimaryStress)
{
    // Words that differ by the stress alone, vowels first, last and in between; either mark.
    const QRegularExpression form(uR"(^Вот (\[\[[^']*'[^']*\]\]) там\.$)"_s);
    for (const QString &word : u"за<мок замо<к му<ка мука< о<рган орга<н кру<жки кружки< у<же уже< во<рона "
                               u"воро<на за>мок замо>к у>же уже>"_s.split(u' ')) {
        const QString text = sent(u"Вот "_s + word + u" там."_s);
        const QRegularExpressionMatch m = form.match(text);
        ASSERT_TRUE(m.hasMatch()) << qPrintable(word) << " sent as " << qPrintable(text);
        // The first vowel after the stress is the marked one, as eSpeak reads it back.
        EXPECT_EQ(stressedVowel(m.captured(1)), markedVowel(word)) << qPrintable(word + u' ' + text);
    }
}

TEST_F(PronunciationTest, TheEngineGetsWhatTheBookMeansNotItsMarkup)
{
    // The marked text, and the text its writer means.
    const std::pair<QString, QString> cases[] = {
        {u"Он&nbsp;сказал: &laquo;замок&raquo; caf&#233; &#1078;ук"_s, u"Он\u00A0сказал: «замок» café жук"_s},
        {u"Его руки</p> <br>дома <p class=\"x\">дорога</p>"_s, u"Его руки дома дорога"_s},
        {u"за\u0301мок и му\u0301ка, за\u0300мок"_s, u"за<мок и му<ка, за<мок"_s},
        {u"д`Артаньян дʼАртаньян д’Артаньян"_s, u"д'Артаньян д'Артаньян д'Артаньян"_s},
        {u"Он сказал: <<Мама>> … <<дорога>>"_s, u"Он сказал: «Мама» … «дорога»"_s},
        {u"Если x<y, то за\u0301мок закрыт; если y>x, то нет."_s,
         u"Если x<y, то за<мок закрыт; если y>x, то нет."_s},
    };
    for (const int flags : {0, int(speech::IsXML)}) {
        for (const auto &[marked, meant] : cases) {
            const QString got = sent(marked, flags).simplified();
            EXPECT_EQ(got, sent(meant, flags).simplified()) << qPrintable(marked);
            EXPECT_FALSE(got.contains(QRegularExpression(u"[&`ʼ’]|nbsp|laquo|<<|>>|</?p|<br"_s)))
                << qPrintable(got);
        }
    }
    EXPECT_EQ(stressedVowel(sent(u"му\u0301ка"_s)), 0);
    EXPECT_EQ(stressedVowel(sent(u"за\u0301мок"_s)), 0);
}

TEST_F(PronunciationTest, StressedWordsAreSpokenInFullIntoTheFile)
{
    const double plain = speak(u"Старый замок стоит на горе, и вороны кружат над ним."_s).seconds();
    const double marked = speak(u"Старый за<мок сто<ит на горе<, и во<роны кру<жат над ним."_s).seconds();
    EXPECT_GT(plain, 2.0);
    EXPECT_NEAR(marked, plain, plain * 0.25);
}

TEST_F(PronunciationTest, EngineCopyIsReadWhenTheDictionaryVoiceIsSelectedAnewOrAnotherVersionIsSet)
{
    const QString copy = dir.filePath(u"exc_rus.txt"_s);
    useDictionary(copy); // reads the still missing file
    ASSERT_TRUE(textfile::writeLines(
        copy, {u"// cp1251"_s, u"замок :\t<за<мок> /i"_s, u"белый кот :\t<бе<лый##ко<т>"_s}));

    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s) << "rewritten file before a reload";
    EXPECT_EQ(stressedVowel(u"Замок"_s), 1) << "which eSpeak stresses zam'ok";
    voice->SelectVoice(u"ru+f3"_s);
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s) << "another voice";
    voice->SelectVoice(u"ru"_s);
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый [[z'amVk]]"_s);
    EXPECT_EQ(sent(u"белый кот спит"_s), u"[[b;'elyj]] [[k'ot]] спит"_s);
    EXPECT_EQ(sent(u"<rate absspeed=\"2\">уже<</rate>"_s), u"[[uZ'e]]"_s);

    // Another engine version's copy is read at once, no voice selected anew.
    speech::setExceptionDictionary(dir.filePath(u"version1.txt"_s));
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s);
}

TEST_F(PronunciationTest, ShippedDictionaryMendsWhatTheEngineStressesWrongly)
{
    const QString copy = QStringLiteral(QUENVALE_DATA_DIR) + u"/ENGINE/3/exc_rus.txt"_s;
    useDictionary(copy);
    const QStringList entries =
        textfile::readLines(copy).value_or(QStringList()).filter(QRegularExpression(u"^(?!//)"_s));
    EXPECT_GE(entries.size(), 24);
    for (const QString &line : entries) {
        const QString word = line.section(u" :"_s, 0, 0);
        const QString pronunciation = line.section(u'<', 1).section(u'>', 0, 0);
        ASSERT_EQ(pronunciation.count(u'<'), 1) << qPrintable(line);
        EXPECT_NE(stressedVowel(word), markedVowel(pronunciation)) << qPrintable(word) << " needs no entry";
        const QString text = sent(word.toUpper());
        ASSERT_TRUE(text.startsWith(u"[["_s) && text.endsWith(u"]]"_s)) << qPrintable(text);
        EXPECT_EQ(stressedVowel(text), markedVowel(pronunciation)) << qPrintable(word);
    }
}

} // namespace
