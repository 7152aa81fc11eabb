#include "cp1251.h"
#include "textfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Cp1251, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1251::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(cp1251::encode(text), all);
    // No two bytes share a character.
    QSet<QChar> seen(text.begin(), text.end());
    EXPECT_EQ(seen.size(), 256);
}

TEST(Cp1251, KnownCharacters)
{
    EXPECT_EQ(cp1251::chr(0xC0), QChar(u'А'));
    EXPECT_EQ(cp1251::chr(0xFF), QChar(u'я'));
    EXPECT_EQ(cp1251::chr(0xA8), QChar(u'Ё'));
    EXPECT_EQ(cp1251::chr(0xB8), QChar(u'ё'));
    EXPECT_EQ(cp1251::chr(0x97), QChar(u'—'));
    EXPECT_EQ(cp1251::chr(0x96), QChar(u'–'));
    EXPECT_EQ(cp1251::chr(0xAB), QChar(u'«'));
    EXPECT_EQ(cp1251::chr(0xB9), QChar(u'№'));
    EXPECT_EQ(cp1251::chr(0xA0), QChar(0x00A0));
    EXPECT_EQ(cp1251::chr(0x98), QChar(0x0098));
    EXPECT_EQ(cp1251::chr(0x88), QChar(0x20AC));
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(cp1251::encode(QStringLiteral("a\u00E9b\u4E2D")), QByteArray("a?b?"));
    EXPECT_EQ(cp1251::encode(QStringLiteral("Ёлка")), QByteArray("\xA8\xEB\xEA\xE0"));
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

class TextFiles : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QByteArray bytes(const QString &p) const
    {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

TEST_F(TextFiles, WriterAddsOneCrLfInCp1251)
{
    ASSERT_TRUE(textfile::writeText(path("a.txt"), QStringLiteral("Глава 1\r\nТекст")));
    EXPECT_EQ(bytes(path("a.txt")), QByteArray("\xC3\xEB\xE0\xE2\xE0 1\r\n\xD2\xE5\xEA\xF1\xF2\r\n"));
    EXPECT_FALSE(textfile::writeText(path("missing/dir/a.txt"), QStringLiteral("x")));
}

TEST_F(TextFiles, LineReaderMatchesSplitLinesAcrossChunkBoundaries)
{
    // Lines of every length around the reader's chunk size, with a CR LF split across chunks.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QString(i % 97, QChar(u'ж')) + (i % 5 == 0 ? QStringLiteral("\r") : QStringLiteral("\r\n"));
    text += QStringLiteral("tail\nwith lf");
    QFile f(path("big.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cp1251::encode(text));
    f.close();

    textfile::LineReader reader(path("big.txt"));
    ASSERT_TRUE(reader.isOpen());
    QStringList got;
    while (auto line = reader.next())
        got.append(*line);
    EXPECT_EQ(got, textfile::splitLines(text));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(textfile::readLines(path("big.txt")).value(), got);
    EXPECT_FALSE(textfile::readLines(path("none.txt")).has_value());
}
