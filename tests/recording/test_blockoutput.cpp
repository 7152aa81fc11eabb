// Block names, framing and selection, and the driver's line rules.
#include "recording/blockoutput.h"
#include "recording/conversion.h"
#include "recording/voicelist.h"
#include "texttools/replacelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace blockoutput;
using namespace Qt::StringLiterals;

TEST(BlockOutput, NamesFramingAndSelection)
{
    // Four digits, repeating from ten thousand.
    const std::pair<int, const char *> names[] = {{1, "0001"},    {10, "0010"},   {999, "0999"},
                                                  {1000, "1000"}, {9999, "9999"}, {10000, "0000"},
                                                  {12345, "2345"}};
    for (const auto &[number, name] : names)
        EXPECT_EQ(blockName(number), QLatin1String(name)) << number;

    const QString text = u"\r\n\r\n Текст ."_s;
    EXPECT_EQ(frame(text, 3, {u"<T>"_s, false, 2, 0}),
              u" <silence msec=\"2000\"/><T>\r\n\r\n Текст . <silence msec=\"0\"/>"_s);
    EXPECT_EQ(
        frame(text, 12, {u"<T>"_s, true, 0, 30}),
        u" <silence msec=\"0\"/><T>Блок  12<T>\r\n\r\n Текст . Конец блока  12 <silence msec=\"30000\"/>"_s);

    // Every step from the start up to the last block; a step below 1 selects nothing instead of looping.
    const std::tuple<int, int, int, QList<int>> selections[] = {
        {1, 1, 5, {1, 2, 3, 4, 5}}, {2, 3, 10, {2, 5, 8}}, {4, 1, 3, {}}, {1, 0, 5, {}}};
    for (const auto &[start, step, upTo, expected] : selections) {
        QList<int> blocks;
        for (int n = 1; n <= upTo; ++n)
            if (isSelected(n, start, step))
                blocks << n;
        EXPECT_EQ(blocks, expected) << start << '/' << step;
    }
    EXPECT_TRUE(isSelected(kMaxBlocks, 1, 1));
    EXPECT_FALSE(isSelected(kMaxBlocks + 1, 1, 1));
    for (const char *bad : {"0", "-1", "x", "1.5", ""})
        EXPECT_FALSE(selectionValue(QString::fromLatin1(bad))) << bad;
    EXPECT_EQ(selectionValue(u" 4 "_s), 4);
}

TEST(BlockOutput, OnlyTheFormatsOwnFileMakesABlockDone)
{
    QTemporaryDir dir;
    const encoders::BlockPaths p = encoders::blockPaths(dir.path(), u"0001"_s, u"К"_s, true);
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
    const std::pair<const char *, bool> lines[] = {
        {"Конец.", true},  {"Конец!", true}, {"Конец?", true},  {"Конец. ", true},   {"Конец?! ", true},
        {"", true},        {" ", true},      {"  ", true},      {"Конец.  ", false}, {"Конец…", false},
        {"Конец,", false}, {"   x", false},  {"Конец .", true}, {"   ", false}};
    for (const auto &[line, ends] : lines)
        EXPECT_EQ(conversion::endsBlock(QString::fromUtf8(line)), ends) << line;

    // A closing guillemet after the full stop becomes a blank, so the line then ends a block.
    EXPECT_EQ(conversion::replaceQuotes(u"«Да», \"нет\" „и“ ”так”.»"_s), u" Да ,  нет   и   так . "_s);
    EXPECT_TRUE(conversion::isChapterMarker(u"xx@@@@@yy"_s));
    EXPECT_FALSE(conversion::isChapterMarker(u"@@@@"_s));
}

// The lists we ship fix what the eSpeak NG voice reads wrong; the words a test book has.
TEST(VoiceList, ShippedListsFixListedWords)
{
    for (const char *file : {"/DIC/Nicolai.dic", "/DIC/Katerina.dic"}) {
        const auto lines = replacelist::read(QStringLiteral(QUENVALE_SHIPPED_DATA) + QLatin1String(file));
        ASSERT_TRUE(lines) << file;
        EXPECT_GE(lines->size(), 30);
        EXPECT_EQ(
            replacelist::apply(u"\r\n Я видел ее вчера . Он пошел домой . Вчера Петр уехал . "_s, *lines),
            u"\r\n Я видел её вчера . Он пошёл домой . Вчера Пётр уехал . "_s)
            << file;
    }
}
