#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"

#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Cp1251, EveryByteAsTheSystemCodePageAndUnmappableCharactersBecomeQuestionMarks)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1251::decode(all);
    QStringDecoder system("windows-1251");
    ASSERT_TRUE(system.isValid());
    EXPECT_EQ(text, system(all));
    EXPECT_EQ(cp1251::encode(text), all);
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(cp1251::chr(b), text[b]) << b;
    EXPECT_EQ(cp1251::encode(QStringLiteral("a\u00E9b\u4E2D")), QByteArray("a?b?"));
}

TEST(FieldInput, CommasAndLineEndsEndFieldsQuotesHoldCommas)
{
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("a,b\r\nc"), {"a", "b", "c"}},
        {QStringLiteral("a\r\n\r\nb\r\n"), {"a", "", "b"}},
        {QStringLiteral(" x , y"), {" x ", " y"}},
        {QStringLiteral("\"a,b\",c"), {"a,b", "c"}},
        {QStringLiteral(" \"a\" tail,c"), {"a", "c"}},
        // An open quote ends with its line and swallows nothing after it.
        {QStringLiteral("\"a,b\r\nc,d"), {"a,b", "c", "d"}},
        {QStringLiteral("a,\r\n"), {"a", ""}},
        {QString(), {}},
    };
    for (const auto &[text, fields] : cases)
        EXPECT_EQ(textfile::splitFields(text), fields) << qPrintable(text);
}

TEST(LineInput, SplitsAtCrAndCrLfOnly)
{
    using textfile::splitLines;
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\r\n")), QStringList({"a", "b"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb")), QStringList({"a", "b"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\rb")), QStringList({"a", "b"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\nb\r\n")), QStringList({"a\nb"}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
    EXPECT_EQ(splitLines(QStringLiteral("\r\n")), QStringList({""}));
    EXPECT_EQ(splitLines(QStringLiteral("a\n\rb")), QStringList({"a\n", "b"}));
    EXPECT_TRUE(splitLines(QString()).isEmpty());
}

TEST(TextFiles, WriterAddsOneCrLfAndReaderMatchesSplitLinesAcrossChunkBoundaries)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(QStringLiteral("a.txt")),
                  big = dir.filePath(QStringLiteral("big.txt"));
    ASSERT_TRUE(textfile::writeText(small, QStringLiteral("Глава 1\r\nТекст")));
    EXPECT_EQ(textfile::readBytes(small), QByteArray("\xC3\xEB\xE0\xE2\xE0 1\r\n\xD2\xE5\xEA\xF1\xF2\r\n"));
    EXPECT_FALSE(textfile::writeText(dir.filePath(QStringLiteral("missing/dir/a.txt")), QStringLiteral("x")));

    // Lines of every length around the reader's chunk size, with a CR LF split across chunks.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QString(i % 97, QChar(u'ж')) + (i % 5 == 0 ? QStringLiteral("\r") : QStringLiteral("\r\n"));
    text += QStringLiteral("tail\nwith lf");
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cp1251::encode(text));
    f.close();

    textfile::LineReader reader(big);
    ASSERT_TRUE(reader.isOpen());
    QStringList got;
    while (auto line = reader.next())
        got.append(*line);
    EXPECT_EQ(got, textfile::splitLines(text));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(textfile::readLines(big).value(), got);
    EXPECT_FALSE(textfile::readLines(dir.filePath(QStringLiteral("none.txt"))).has_value());
}
