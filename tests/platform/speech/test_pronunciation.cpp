// The real eSpeak NG voice: stress marks and the exception dictionary, as the engine gets them.
#include "platform/speech/exceptions.h"
#include "platform/speech/stress.h"
#include "platform/text/textfile.h"
#include "wavcheck.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString vowelLetters = u"аеёиоуыэюя"_s;

// The eSpeak phoneme names of a text, stress marks attached.
QStringList phonemeNames(const QString &text)
{
    QProcess p;
    p.start(u"espeak-ng"_s, {u"-v"_s, u"ru"_s, u"-q"_s, u"-x"_s, u"--sep= "_s, text});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput())
        .split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
}

// The index among the vowel letters of the one before `mark`.
int markedVowel(const QString &word, QChar mark = u'<')
{
    return int(std::count_if(word.cbegin(), word.cbegin() + word.indexOf(mark),
                             [](QChar c) { return vowelLetters.contains(c); })) -
           1;
}

// The index among the vowels of the one primary stress, or -1 unless there is exactly one.
int stressedVowel(const QStringList &names)
{
    int vowel = -1;
    int vowels = 0;
    int stresses = 0;
    for (const QString &n : names) {
        if (!speech::isVowelPhoneme(n))
            continue;
        if (n.startsWith(u'\'')) {
            ++stresses;
            vowel = vowels;
        }
        ++vowels;
    }
    return stresses == 1 ? vowel : -1;
}

class PronunciationTest : public EngineTest<speech::EspeakVoice>
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (HasFatalFailure())
            return;
        // The engine's dictionary outlives a test: start each without one.
        speech::setExceptionDictionary({});
        ASSERT_TRUE(voice->SelectVoice(u"ru+f3"_s));
        ASSERT_TRUE(voice->SelectVoice(u"ru"_s));
    }
    void TearDown() override { speech::setExceptionDictionary({}); }

    QString sent(const QString &text) { return voice->engineTexts(text, 0).join(u'|'); }
};

TEST_F(PronunciationTest, MarkedVowelCarriesTheOnePrimaryStress)
{
    // Pairs that differ by the stress alone, vowels first, last and in between.
    const QStringList pairs = {u"за<мок/замо<к"_s, u"му<ка/мука<"_s,   u"о<рган/орга<н"_s,
                               u"кру<жки/кружки<"_s, u"у<же/уже<"_s, u"во<рона/воро<на"_s};
    for (const QString &pair : pairs) {
        for (QString word : pair.split(u'/')) {
            for (const QChar mark : {u'<', u'>'}) {
                word.replace(u'<', mark).replace(u'>', mark);
                const int marked = markedVowel(word, mark);
                const QString text = sent(u"Вот "_s + word + u" там."_s);
                const QRegularExpressionMatch m = QRegularExpression(u"\\[\\[(.*)\\]\\]"_s).match(text);
                ASSERT_TRUE(m.hasMatch()) << qPrintable(word) << " sent as " << qPrintable(text);
                EXPECT_TRUE(text.startsWith(u"Вот [["_s) && text.endsWith(u"]] там."_s)) << qPrintable(text);
                const QString phonemes = m.captured(1);
                EXPECT_EQ(phonemes.count(u'\''), 1) << qPrintable(phonemes);
                // The first vowel after the stress is the marked one, as eSpeak reads it back.
                EXPECT_EQ(stressedVowel(phonemeNames(u"[["_s + phonemes + u"]]"_s)), marked)
                    << qPrintable(word) << " " << qPrintable(phonemes);
            }
        }
    }
}

TEST_F(PronunciationTest, StressedWordsAreSpokenInFullIntoTheFile)
{
    QTemporaryDir dir;
    auto seconds = [&](const QString &text) {
        return speakToWav(*voice, dir.filePath(u"out.wav"_s), text).seconds();
    };
    const double plain = seconds(u"Старый замок стоит на горе, и вороны кружат над ним."_s);
    const double marked = seconds(u"Старый за<мок сто<ит на горе<, и во<роны кру<жат над ним."_s);
    EXPECT_GT(plain, 2.0);
    EXPECT_NEAR(marked, plain, plain * 0.25);
}

TEST_F(PronunciationTest, EngineCopyIsReadWhenTheDictionaryVoiceIsSelectedAnewOrAnotherVersionIsSet)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(u"exc_rus.txt"_s);
    speech::setExceptionDictionary(copy);
    ASSERT_TRUE(voice->SelectVoice(u"ru+f3"_s));
    ASSERT_TRUE(voice->SelectVoice(u"ru"_s)); // reads the still missing file
    ASSERT_TRUE(textfile::writeLines(
        copy, {u"// cp1251"_s, u"замок :\t<за<мок> /i"_s, u"белый кот :\t<бе<лый##ко<т>"_s}));

    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s) << "rewritten file before a reload";
    EXPECT_EQ(stressedVowel(phonemeNames(u"Замок"_s)), 1) << "which eSpeak stresses zam'ok";
    voice->SelectVoice(u"ru+f3"_s);
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s) << "another voice";
    voice->SelectVoice(u"ru"_s);
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый [[z'amVk]]"_s);
    EXPECT_EQ(sent(u"Старый замо>к"_s), u"Старый [[zam'ok]]"_s) << "a mark in the text wins";
    EXPECT_EQ(sent(u"Белый кот спит"_s), u"Белый кот спит"_s) << "case kept without /i";
    EXPECT_EQ(sent(u"белый кот спит"_s), u"[[b;'elyj]] [[k'ot]] спит"_s);
    EXPECT_EQ(sent(u"[[x]] и [[[y"_s), u"[ [x]] и [ [ [y"_s) << "brackets are no phonemes";
    EXPECT_EQ(sent(u"<rate absspeed=\"2\">уже<</rate>"_s), u"[[uZ'e]]"_s);

    // Another engine version's copy is read at once, no voice selected anew.
    speech::setExceptionDictionary(dir.filePath(u"version1.txt"_s));
    EXPECT_EQ(sent(u"Старый Замок"_s), u"Старый Замок"_s);
}

TEST_F(PronunciationTest, ShippedDictionaryMendsWhatTheEngineStressesWrongly)
{
    const QString copy = QStringLiteral(QUENVALE_DATA_DIR) + u"/ENGINE/3/exc_rus.txt"_s;
    speech::setExceptionDictionary(copy);
    voice->SelectVoice(u"ru+f3"_s);
    voice->SelectVoice(u"ru"_s);
    const QStringList lines = textfile::readLines(copy).value_or(QStringList());
    int entries = 0;
    for (const QString &line : lines) {
        if (line.startsWith(u"//"_s))
            continue;
        ++entries;
        const QString word = line.section(u" :"_s, 0, 0);
        const QString pronunciation = line.section(u'<', 1).section(u'>', 0, 0);
        ASSERT_EQ(pronunciation.count(u'<'), 1) << qPrintable(line);
        const int marked = markedVowel(pronunciation);
        EXPECT_NE(stressedVowel(phonemeNames(word)), marked) << qPrintable(word) << " needs no entry";
        const QString text = sent(word.toUpper());
        ASSERT_TRUE(text.startsWith(u"[["_s) && text.endsWith(u"]]"_s)) << qPrintable(text);
        EXPECT_EQ(stressedVowel(phonemeNames(text)), marked) << qPrintable(word);
    }
    EXPECT_GE(entries, 24);
}

} // namespace
