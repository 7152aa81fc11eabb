#include "mainwindow/bookmarkfile.h"

#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "support/fixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BookmarkFile, LinesAndParse)
{
    EXPECT_EQ(bookmarkfile::lines({u"/книги/Война и мир.txt"_s, u"Война_и_мир"_s, 1234}),
              QStringList({u"/книги/Война и мир.txt"_s, u"Война_и_мир"_s, u" 1234"_s, u"preformatted"_s}));
    EXPECT_EQ(bookmarkfile::lines({{}, {}, -5}).at(2), u"-5"_s);

    // Third line -> caret, or -1 for no bookmark.
    const std::pair<QString, int> caretLines[] = {
        {u" 1234"_s, 1234},    {u"1234"_s, 1234}, {u"\t1234  "_s, 1234}, {u"-3"_s, -3},
        {u"2147483648"_s, -1}, {u"12a"_s, -1},    {u""_s, -1},
    };
    for (const auto &[line, caret] : caretLines) {
        const auto b = bookmarkfile::parse({u"/b.txt"_s, u""_s, line});
        EXPECT_EQ(b ? b->caret : -1, caret) << qPrintable(line);
        EXPECT_EQ(b ? b->path + u'|' + b->title : u"/b.txt|"_s, u"/b.txt|"_s);
    }
    EXPECT_FALSE(bookmarkfile::parse({u"/b.txt"_s, u"b"_s}));

    // The fourth line says how the book was shown; none, or one this program does not know,
    // stands for a book pre-formatted by every step, as Open showed it when older files were
    // written.
    using S = bookmarkfile::Shown;
    const std::pair<QStringList, S> forms[] = {
        {{u"/b.txt"_s, u"b"_s, u" 1"_s, u"plain"_s}, S::AsFile},
        {{u"/b.txt"_s, u"b"_s, u" 1"_s, u"preformatted"_s}, S::Preformatted},
        {{u"/b.txt"_s, u"b"_s, u" 1"_s}, S::PreformattedEveryStep},
    };
    for (const auto &[lines, shown] : forms) {
        EXPECT_EQ(bookmarkfile::parse(lines).value_or(bookmarkfile::Bookmark{}).shown, shown)
            << qPrintable(lines.join(u'|'));
        EXPECT_EQ(bookmarkfile::lines({u"/b.txt"_s, u"b"_s, 1, shown}), lines);
    }
    for (const QString &other : {u"extra"_s, u" plain "_s})
        EXPECT_EQ(bookmarkfile::parse({u"/b.txt"_s, u"b"_s, u"1"_s, other})->shown,
                  other == u" plain "_s ? S::AsFile : S::PreformattedEveryStep);
}

class BookmarkFiles : public QuenvaleTest
{
};

TEST_F(BookmarkFiles, APathWindows1251CannotHoldReadsBack)
{
    const QString file = bookmarkfile::fileFor(u"Том"_s);
    // Windows-1251 bytes that happen to be valid UTF-8 too ("Рё" is "и") read back as written.
    for (const auto &[path, title] : {std::pair{u"/книги/Том.txt"_s, u"Том"_s},
                                      {u"/Bücher/Café.txt"_s, u"Том"_s},
                                      {u"/books/Рё.txt"_s, u"Рё"_s},
                                      {u"/Р°/С‹.txt"_s, u"x"_s}}) {
        ASSERT_TRUE(bookmarkfile::write({path, title, 7}));
        EXPECT_EQ(bookmarkfile::read(bookmarkfile::fileFor(title)),
                  QStringList({path, title, u" 7"_s, u"preformatted"_s}));
    }
    // A path the code page holds is written in it, as it always was.
    ASSERT_TRUE(bookmarkfile::write({u"/книги/Том.txt"_s, u"Том"_s, 7}));
    EXPECT_EQ(textfile::readBytes(file),
              cp1251::encode(u"/книги/Том.txt\r\nТом\r\n 7\r\npreformatted\r\n"_s));
}
