#include "platform/text/cp1251.h"
#include "platform/text/textcodec.h"
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

TEST(BookEncoding, Utf8OnlyWhenValidAndHoldingALetterOutsideAscii)
{
    using enum textcodec::Encoding;
    const std::pair<QByteArray, textcodec::Encoding> cases[] = {
        {"\xCA\xEE\xF2 \xE8 \xEF\xB8\xF1", Windows1251}, // "Кот и пёс"
        {"\xD0\x9A\xD0\xBE\xD1\x82 \xD0\xB8 \xD0\xBF\xD1\x91\xD1\x81", Utf8},
        {"caf\xC3\xA9", Utf8},
        {"\xF0\x9D\x90\x80", Utf8}, // a letter beyond the BMP
        {"\xEF\xBB\xBFplain", Utf8WithBom},
        {"plain ascii", Windows1251},
        {"\xE2\x80\x94 \xC2\xAB\xC2\xBB", Windows1251}, // no letter: "—«»" as UTF-8 or "вЂ” «»"
        {"\xC3\xA9\xC3", Windows1251},                  // cut off at the end
        {"\xC0\xB0\xD0\x90", Windows1251},              // overlong
        {"\xED\xA0\x80\xD0\x90", Windows1251},          // surrogate
        {"\xF4\x90\x80\x80\xD0\x90", Windows1251},      // past U+10FFFF
        {"\xEF\xBB\xBF\xFF", Windows1251},
    };
    for (const auto &[bytes, expected] : cases) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        EXPECT_EQ(textcodec::detect(bytes), expected);
        textcodec::Detector byBytes;
        for (char b : bytes)
            byBytes.feed(QByteArrayView(&b, 1));
        EXPECT_EQ(byBytes.encoding(), expected);
        // Every kind reads back to the bytes it came from.
        EXPECT_EQ(textcodec::encode(textcodec::decode(bytes, expected), expected), bytes);
    }
    EXPECT_EQ(textcodec::decode("\xEF\xBB\xBF\xD0\x96", Utf8WithBom), QStringLiteral("Ж"));
    const QString mixed = QStringLiteral("Ёж? café 中 😀");
    EXPECT_EQ(textcodec::unencodable(mixed, Windows1251), 3);
    EXPECT_EQ(textcodec::unencodable(mixed, Utf8), 0);
}

TEST(FieldInput, CommasAndLineEndsEndFieldsQuotesHoldCommas)
{
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("a,b,c\r\nd"), {"a", "b", "c", "d"}},
        {QStringLiteral("a\r\n\r\nb\r\n"), {"a", "", "b"}},
        {QStringLiteral(" x , y"), {" x ", " y"}},
        {QStringLiteral("\"a,b\",c"), {"a,b", "c"}},
        {QStringLiteral(" \"a\" tail,c"), {"a", "c"}},
        // An open quote ends with its line and swallows nothing after it.
        {QStringLiteral("\"a,b\r\nc,d"), {"a,b", "c", "d"}},
        {QStringLiteral("a,\r\n"), {"a", ""}},
        // Lists edited elsewhere: LF and a lone CR end lines as well.
        {QStringLiteral("a,b\nc\rd\n"), {"a", "b", "c", "d"}},
        {QString(), {}},
    };
    for (const auto &[text, fields] : cases)
        EXPECT_EQ(textfile::splitFields(text), fields) << qPrintable(text);
}

TEST(LineInput, BooksSplitAtCrAndCrLfListsAtAnyLineEnd)
{
    using textfile::LineEnds;
    const struct
    {
        const char *text;
        QStringList book, list;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}, {"a", "b"}},   {"a\r\nb", {"a", "b"}, {"a", "b"}},
        {"a\rb", {"a", "b"}, {"a", "b"}},         {"a\nb\r\n", {"a\nb"}, {"a", "b"}},
        {"a\nb\n", {"a\nb\n"}, {"a", "b"}},       {"a\r\n\r\n", {"a", ""}, {"a", ""}},
        {"a\n\n", {"a\n\n"}, {"a", ""}},          {"\r\n", {""}, {""}},
        {"a\n\rb", {"a\n", "b"}, {"a", "", "b"}}, {"", {}, {}},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        EXPECT_EQ(textfile::splitLines(text), c.book) << c.text;
        EXPECT_EQ(textfile::splitLines(text, LineEnds::Any), c.list) << c.text;
    }
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
    // In Windows-1251, then in UTF-8 after a byte order mark.
    for (const auto &[bytes, encoding] :
         {std::pair(cp1251::encode(text), textcodec::Encoding::Windows1251),
          std::pair("\xEF\xBB\xBF" + text.toUtf8(), textcodec::Encoding::Utf8WithBom)}) {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        textfile::LineReader reader(big);
        ASSERT_TRUE(reader.isOpen());
        QStringList got;
        while (auto line = reader.next())
            got.append(*line);
        EXPECT_EQ(got, textfile::splitLines(text));
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(reader.encoding(), encoding);
        if (encoding == textcodec::Encoding::Windows1251) // lists: any line end
            EXPECT_EQ(textfile::readLines(big).value(), textfile::splitLines(text, textfile::LineEnds::Any));
    }
    EXPECT_FALSE(textfile::readLines(dir.filePath(QStringLiteral("none.txt"))).has_value());
}
