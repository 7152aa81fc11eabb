// Block names, framing and selection, and the driver's line rules.
#include "recording/blockoutput.h"
#include "recording/conversion.h"
#include "recording/voicelist.h"
#include "texttools/replacelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace blockoutput;

TEST(BlockOutput, NamesAreFourDigitsAndRepeatFromTenThousand)
{
    const std::vector<std::pair<int, const char *>> cases = {{1, "0001"},    {10, "0010"},   {999, "0999"},
                                                             {1000, "1000"}, {9999, "9999"}, {10000, "0000"},
                                                             {12345, "2345"}};
    for (const auto &[number, name] : cases)
        EXPECT_EQ(blockName(number), QString::fromLatin1(name)) << number;
}

TEST(BlockOutput, FramingPutsPrefixNumbersAndPausesAroundTheText)
{
    const QString text = QStringLiteral("\r\n\r\n Текст .");
    EXPECT_EQ(frame(text, 3, {QStringLiteral("<T>"), false, 2, 0}),
              QStringLiteral(" <silence msec=\"2000\"/><T>\r\n\r\n Текст . <silence msec=\"0\"/>"));
    EXPECT_EQ(frame(text, 12, {QStringLiteral("<T>"), true, 0, 30}),
              QStringLiteral(" <silence msec=\"0\"/><T>Блок  12<T>\r\n\r\n Текст . Конец блока  12"
                             " <silence msec=\"30000\"/>"));
}

TEST(BlockOutput, SelectionTakesEveryStepFromTheStartUpToTheLastBlock)
{
    const auto selected = [](int start, int step, int upTo) {
        std::vector<int> blocks;
        for (int n = 1; n <= upTo; ++n)
            if (isSelected(n, start, step))
                blocks.push_back(n);
        return blocks;
    };
    EXPECT_EQ(selected(1, 1, 5), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(selected(2, 3, 10), (std::vector<int>{2, 5, 8}));
    EXPECT_EQ(selected(4, 1, 3), std::vector<int>{});
    EXPECT_TRUE(isSelected(kMaxBlocks, 1, 1));
    EXPECT_FALSE(isSelected(kMaxBlocks + 1, 1, 1));
    EXPECT_FALSE(isSelected(5, 1, 0)); // a step below 1 selects nothing instead of looping

    for (const char *bad : {"0", "-1", "x", "1.5", ""})
        EXPECT_FALSE(selectionValue(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(selectionValue(QStringLiteral(" 4 ")), 4);
}

TEST(BlockOutput, OnlyTheFormatsOwnFileMakesABlockDone)
{
    QTemporaryDir dir;
    const encoders::BlockPaths p = encoders::blockPaths(dir.path(), QStringLiteral("0001"), QStringLiteral("К"), true);
    const QStringList own = {p.wav, p.mp3, p.ogg, p.amr, p.vmo, p.wma}; // in tab order
    const auto touch = [](const QString &path) { QFile(path).open(QIODevice::WriteOnly); };
    for (int format = 0; format < own.size(); ++format) {
        // Every other format's file, the AMR road's MP3 and a temporary name tell nothing.
        for (const QString &file : own + QStringList{p.amrMp3, encoders::temporaryName(own[format])})
            if (file != own[format])
                touch(file);
        EXPECT_FALSE(alreadyEncoded(p, format)) << format;
        touch(own[format]);
        EXPECT_TRUE(alreadyEncoded(p, format)) << format;
        for (const QString &file : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(file));
    }
}

TEST(Conversion, LineRules)
{
    const std::vector<std::pair<const char *, bool>> ends = {
        {"Конец.", true},  {"Конец!", true}, {"Конец?", true},  {"Конец. ", true},   {"Конец?! ", true},
        {"", true},        {" ", true},      {"  ", true},      {"Конец.  ", false}, {"Конец…", false},
        {"Конец,", false}, {"   x", false},  {"Конец .", true}, {"   ", false}};
    for (const auto &[line, expected] : ends)
        EXPECT_EQ(conversion::endsBlock(QString::fromUtf8(line)), expected) << line;

    // A closing guillemet after the full stop becomes a blank, so the line then ends a block.
    EXPECT_EQ(conversion::replaceQuotes(QStringLiteral("«Да», \"нет\" „и“ ”так”.»")),
              QStringLiteral(" Да ,  нет   и   так . "));
    EXPECT_TRUE(conversion::isChapterMarker(QStringLiteral("xx@@@@@yy")));
    EXPECT_FALSE(conversion::isChapterMarker(QStringLiteral("@@@@")));
    EXPECT_EQ(conversion::crLfLineBreaks("a\nb\r\nc\n"), "a\r\nb\r\nc\r\n");
}

// The lists we ship fix what the eSpeak NG voice reads wrong; the words a test book has.
TEST(VoiceList, ShippedListsFixListedWords)
{
    for (const char *file : {"/DIC/Nicolai.dic", "/DIC/Katerina.dic"}) {
        const auto lines =
            replacelist::read(QStringLiteral(QUENVALE_SHIPPED_DATA) + QString::fromLatin1(file));
        ASSERT_TRUE(lines) << file;
        EXPECT_GE(lines->size(), 30);
        EXPECT_EQ(replacelist::apply(
                      QStringLiteral("\r\n Я видел ее вчера . Он пошел домой . Вчера Петр уехал . "), *lines),
                  QStringLiteral("\r\n Я видел её вчера . Он пошёл домой . Вчера Пётр уехал . "))
            << file;
    }
}
