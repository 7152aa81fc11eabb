// Text in and out: code pages, fields and lines, files, and the program folder.
#include "platform/text/cp1251.h"
#include "platform/text/programfolder.h"
#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"

#include <QDir>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

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
    EXPECT_EQ(cp1251::encode(u"a\u00E9b\u4E2D"_s), QByteArray("a?b?"));
}

TEST(BookEncoding, Utf8OnlyWhenValidAndHoldingALetterOutsideAscii)
{
    using enum textcodec::Encoding;
    const std::pair<QByteArray, textcodec::Encoding> cases[] = {
        {"\xCA\xEE\xF2 \xE8 \xEF\xB8\xF1", Windows1251}, // "Кот и пёс"
        {"\xD0\x9A\xD0\xBE\xD1\x82 \xD0\xB8 \xD0\xBF\xD1\x91\xD1\x81", Utf8},
        {"caf\xC3\xA9", Utf8},
        {"\xF0\x9D\x90\x80", Utf8}, // a letter beyond the BMP
        {"\xE0\xA4\x95", Utf8},     // "क": a three-byte form led by E0
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
    EXPECT_EQ(textcodec::decode("\xEF\xBB\xBF\xD0\x96", Utf8WithBom), u"Ж"_s);
    const QString mixed = u"Ёж? café 中 😀"_s;
    EXPECT_EQ(std::pair(textcodec::unencodable(mixed, Windows1251), textcodec::unencodable(mixed, Utf8)),
              std::pair(qsizetype(3), qsizetype(0)));
}

// Fields: an open quote ends with its line and swallows nothing after it. Lines: a book ends them
// with CR LF or a lone CR; a list edited elsewhere with LF as well, which its fields follow.
TEST(TextInput, FieldsAndLinesOfBooksAndLists)
{
    const std::pair<QString, QStringList> fields[] = {
        {u"a,b,c\r\nd"_s, {"a", "b", "c", "d"}},
        {u"a\r\n\r\nb\r\n"_s, {"a", "", "b"}},
        {u" x , y"_s, {" x ", " y"}},
        {u"\"a,b\",c"_s, {"a,b", "c"}},
        {u" \"a\" tail,c"_s, {"a", "c"}},
        {u"\"a,b\r\nc,d"_s, {"a,b", "c", "d"}},
        {u"a,\r\n"_s, {"a", ""}},
        {u"a,b\nc\rd\n"_s, {"a", "b", "c", "d"}},
        {QString(), {}},
    };
    for (const auto &[text, expected] : fields)
        EXPECT_EQ(textfile::splitFields(text), expected) << qPrintable(text);
    const std::tuple<QString, QStringList, QStringList> lines[] = {
        {u"a\r\nb\r\n"_s, {"a", "b"}, {"a", "b"}},   {u"a\r\nb"_s, {"a", "b"}, {"a", "b"}},
        {u"a\rb"_s, {"a", "b"}, {"a", "b"}},         {u"a\nb\r\n"_s, {"a\nb"}, {"a", "b"}},
        {u"a\nb\n"_s, {"a\nb\n"}, {"a", "b"}},       {u"a\r\n\r\n"_s, {"a", ""}, {"a", ""}},
        {u"a\n\n"_s, {"a\n\n"}, {"a", ""}},          {u"\r\n"_s, {""}, {""}},
        {u"a\n\rb"_s, {"a\n", "b"}, {"a", "", "b"}}, {QString(), {}, {}},
    };
    for (const auto &[text, book, list] : lines) {
        EXPECT_EQ(textfile::splitLines(text), book) << qPrintable(text);
        EXPECT_EQ(textfile::splitLines(text, textfile::LineEnds::Any), list) << qPrintable(text);
    }
}

TEST(TextFiles, WriterAddsOneCrLfAndReaderMatchesSplitLinesAcrossChunkBoundaries)
{
    QTemporaryDir dir;
    const QString small = dir.filePath(u"a.txt"_s), big = dir.filePath(u"big.txt"_s);
    ASSERT_TRUE(textfile::writeText(small, u"Глава 1\r\nТекст"_s));
    EXPECT_EQ(textfile::readBytes(small), QByteArray("\xC3\xEB\xE0\xE2\xE0 1\r\n\xD2\xE5\xEA\xF1\xF2\r\n"));
    EXPECT_FALSE(textfile::writeText(dir.filePath(u"missing/dir/a.txt"_s), u"x"_s));
    EXPECT_FALSE(textfile::readLines(dir.filePath(u"none.txt"_s)).has_value());
    // A UTF-8 head cut inside a character leaves that character out.
    ASSERT_TRUE(textfile::writeText(small, u"Ж…Ж"_s, textcodec::Encoding::Utf8));
    EXPECT_EQ(textfile::readHead(small, 6), u"Ж…"_s);

    // Lines of every length around the reader's chunk size, with a CR LF split across chunks.
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += QString(i % 97, u'ж') + (i % 5 == 0 ? u"\r"_s : i % 7 == 0 ? u"\n"_s : u"\r\n"_s);
    text += u"tail\nwith lf"_s;
    // In Windows-1251, then in UTF-8 after a byte order mark.
    for (const auto &[bytes, encoding] :
         {std::pair(cp1251::encode(text), textcodec::Encoding::Windows1251),
          std::pair("\xEF\xBB\xBF" + text.toUtf8(), textcodec::Encoding::Utf8WithBom)}) {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        // A recording reads a lone LF as a line end too.
        for (const auto ends : {textfile::LineEnds::CarriageReturn, textfile::LineEnds::Any}) {
            textfile::LineReader reader(big, ends);
            QStringList got;
            while (auto line = reader.next())
                got.append(*line);
            EXPECT_EQ(got, textfile::splitLines(text, ends));
            EXPECT_TRUE(reader.isOpen() && reader.atEnd());
            EXPECT_EQ(reader.encoding(), encoding);
        }
        if (encoding == textcodec::Encoding::Windows1251) { // lists: any line end
            EXPECT_EQ(textfile::readLines(big), textfile::splitLines(text, textfile::LineEnds::Any));
        }
    }
}

TEST(ProgramFolder, HomeVariableWinsAndNamesAreMatchedIgnoringCase)
{
    const QByteArray saved = qgetenv("QUENVALE_HOME");
    QTemporaryDir home;
    qputenv("QUENVALE_HOME", home.path().toUtf8());
    programfolder::reset();

    EXPECT_EQ(programfolder::path(), QDir(home.path()).absolutePath());
    ASSERT_TRUE(QDir(home.path()).mkpath(u"dic"_s) &&
                textfile::writeText(home.filePath(u"dic/Exc_Rus.TXT"_s), {}));
    // A name that does not exist yet comes back as given, for creating it.
    EXPECT_EQ(QStringList({programfolder::file(u"DIC/exc_rus.txt"_s), programfolder::file(u"DIC/new.txt"_s),
                           programfolder::file(u"BOOKMARK"_s)}),
              QStringList({home.filePath(u"dic/Exc_Rus.TXT"_s), home.filePath(u"dic/new.txt"_s),
                           home.filePath(u"BOOKMARK"_s)}));
    qputenv("QUENVALE_HOME", saved);
    programfolder::reset();
}

// The first-start copy keeps the user's files and names each file it could not copy.
TEST(ProgramFolder, FirstStartCopyKeepsUserFilesAndReportsFailures)
{
    QTemporaryDir from, to;
    ASSERT_TRUE(QDir(from.path()).mkpath(u"DIC"_s) && QDir(from.path()).mkpath(u"HELP"_s) &&
                QDir(to.path()).mkpath(u"DIC"_s));
    for (const QString &name : {u"DIC/a.txt"_s, u"DIC/b.txt"_s, u"HELP/Help1.rtf"_s})
        ASSERT_TRUE(textfile::writeText(from.filePath(name), u"shipped"_s));
    ASSERT_TRUE(textfile::writeText(to.filePath(u"DIC/a.txt"_s), u"mine"_s));
    // A file where the HELP folder should be: that folder cannot be made.
    ASSERT_TRUE(textfile::writeText(to.filePath(u"HELP"_s), {}));

    EXPECT_EQ(programfolder::copyMissing(from.path(), to.path()),
              QStringList(to.filePath(u"HELP"_s) + u": не удалось создать папку"_s));
    EXPECT_EQ(textfile::readText(to.filePath(u"DIC/a.txt"_s)), u"mine\r\n"_s);
    EXPECT_TRUE(QFile::exists(to.filePath(u"DIC/b.txt"_s)));
}
