// The exception dictionary file: entry check, copies on disk and the voice walks.
#include "dictionaries/excdic.h"
#include "platform/text/cp1251.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/listing.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using excdic::Source;
using listing::bytes;

namespace {

const QString cat = u"кот :\t<ко<т>"_s;

TEST(EntryCheck, KeepsWellFormedEntriesOnlyAndComposesAsTheEditorWrites)
{
    // Kept from the program copy and from other files, from the program copy only, from neither. The
    // quote and the bare TAB would not read back: the reader takes quotes and trims the separator's TAB.
    const std::pair<QStringList, std::pair<bool, bool>> cases[] = {
        {{cat, u"кот :\t<ко<т> /i"_s, cat + QString(99 - cat.size(), u' ')}, {true, true}},
        {{u"ёж :\t<ё<ж>"_s, u"Ёж :\t<Ё<ж>"_s, u"съел :\t<съ<ел>"_s}, {true, false}},
        {{u"кот. :\t<ко<т>"_s, u"кот :\t<ко<т>,"_s, u"ко`т :\t<ко<т>"_s, u"кот :\t<<ко<т>"_s,
          u"кот :\t<ко<т"_s, u"кот : <ко<т>"_s, u"кот:\t<ко<т>"_s, u"кот :\t<ко\"<т>"_s, u"ко<т> :\t"_s,
          u"// cp1251"_s, QString(), cat + QString(100 - cat.size(), u' ')},
         {false, false}}};
    for (const auto &[lines, kept] : cases)
        for (const QString &line : lines)
            EXPECT_EQ(std::pair(excdic::isEntry(line, Source::ProgramCopy),
                                excdic::isEntry(line, Source::OtherFile)),
                      kept)
                << qPrintable(line);
    EXPECT_EQ(excdic::entries({u"  "_s + cat + u" "_s}, Source::ProgramCopy), QStringList{cat});
    EXPECT_EQ(excdic::compose(u"Кот"_s, u"Ко<т"_s, false), u"Кот :\t<Ко<т>"_s);
    EXPECT_EQ(excdic::compose(u"Кот"_s, u"Ко<т"_s, true), u"кот :\t<ко<т> /i"_s);
}

class Store : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        QDir(home()).mkpath(u"DIC"_s);
    }
};

TEST_F(Store, ProgramCopyIsReadFieldByField)
{
    ASSERT_TRUE(textfile::writeLines(
        excdic::programCopy(),
        excdic::fileLines({u"a :\t<x>, b :\t<y>"_s, u"\"c :\t<z>, d"_s, u"e :\t<w>"_s, u"ёж :\t<ё<ж>"_s})));
    EXPECT_EQ(excdic::readFieldFile(excdic::programCopy(), Source::ProgramCopy),
              (QStringList{u"a :\t<x>"_s, u"b :\t<y>"_s, u"e :\t<w>"_s, u"ёж :\t<ё<ж>"_s}))
        << "the open quote ends with its line";
    EXPECT_EQ(excdic::readFieldFile(excdic::programCopy(), Source::OtherFile)->size(), 3);
    QString reason;
    EXPECT_FALSE(excdic::readFieldFile(home() + u"/DIC/none.txt"_s, Source::OtherFile, &reason) ||
                 reason.isEmpty());
}

TEST_F(Store, SaveWritesHeaderEntriesAndEndWithOneBackup)
{
    ASSERT_TRUE(excdic::writeProgramCopy({cat}));
    const QStringList first = *textfile::readLines(excdic::programCopy());
    ASSERT_EQ(first.size(), 36 + 1 + 1);
    EXPECT_EQ((QStringList{first[0], first[23], first[24], first[37]}),
              (QStringList{u"// cp1251"_s, u"//             quenvale.example.org - ОБЯЗАТЕЛЬНА"_s,
                           QString(65, u'/'), u"// End of file"_s}));
    EXPECT_EQ(bytes(excdic::programCopy()).split('\n')[36].toHex(' '),
              "ea ee f2 20 3a 09 3c ea ee 3c f2 3e 0d");
    EXPECT_FALSE(QFile::exists(excdic::backupCopy()));

    const QStringList second = {cat, u"пёс :\t<пё<с>"_s, u"a :\t<b>"_s};
    ASSERT_TRUE(excdic::writeProgramCopy(second));
    EXPECT_EQ(textfile::readLines(excdic::backupCopy()), first);
    EXPECT_EQ(textfile::readLines(excdic::programCopy())->mid(36),
              (QStringList{second + QStringList{u"// End of file"_s}}));
    EXPECT_EQ(excdic::readFieldFile(excdic::programCopy(), Source::ProgramCopy), second);
}

TEST(ShippedDictionary, CopiesAreWholeFilesOfCheckedIgnoreCaseEntries)
{
    const QString data = QStringLiteral(QUENVALE_DATA_DIR);
    const QByteArray program = bytes(data + u"/DIC/exc_rus.txt"_s);
    const auto entries = excdic::readFieldFile(data + u"/DIC/exc_rus.txt"_s, Source::OtherFile);
    ASSERT_TRUE(entries);
    EXPECT_EQ(program, cp1251::encode(excdic::fileLines(*entries).join(u"\r\n"_s) + u"\r\n"_s));
    for (const QString &e : *entries)
        EXPECT_TRUE(e.endsWith(u"> /i"_s) && e == e.toLower()) << qPrintable(e);
    for (const char *copy :
         {"/DIC/FW.dic", "/ENGINE/1/exc_rus.txt", "/ENGINE/2/exc_rus.txt", "/ENGINE/3/exc_rus.txt"})
        EXPECT_EQ(bytes(data + QLatin1String(copy)), program) << copy;
}

TEST(VoiceWalks, LeaveAndReturnToTheDictionaryVoice)
{
    const QString nicolai = excdic::dictionaryVoice(3);
    const speech::VoiceToken a{u"a"_s, u"A"_s}, n{u"ru"_s, nicolai.toUpper()}, b{u"b"_s, u"B"_s};
    FakeSpeechLog log;
    FakeVoice voice(log, {a, n, b}, 0);
    ASSERT_TRUE(voice.SelectVoice(u"ru"_s));
    log.selections.clear();
    EXPECT_TRUE(excdic::reloadVoice(voice, nicolai));
    EXPECT_EQ(log.selections, (QStringList{u"a"_s, u"b"_s}));
    EXPECT_EQ(log.purges, 2);
    EXPECT_TRUE(excdic::selectDictionaryVoice(voice, nicolai) && voice.CurrentVoice().id == u"ru"_s);

    log.selections.clear();
    FakeVoice without(log, {a, b}, 0);
    EXPECT_TRUE(excdic::selectDictionaryVoice(without, nicolai));
    EXPECT_TRUE(log.selections.isEmpty()) << "nothing selected";
    EXPECT_TRUE(excdic::dictionaryVoice(0).isEmpty());
}

} // namespace
