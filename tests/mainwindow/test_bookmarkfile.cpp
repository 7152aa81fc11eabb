#include "mainwindow/bookmarkfile.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using bookmarkfile::Bookmark;

namespace {
QStringList fields(const std::optional<Bookmark> &b)
{
    return b ? QStringList{b->path, b->title, QString::number(b->caret)} : QStringList{u"<none>"_s};
}
} // namespace

TEST(BookmarkFile, CaretLineHasTheSignPosition)
{
    EXPECT_EQ(bookmarkfile::lines({u"/книги/Война и мир.txt"_s, u"Война_и_мир"_s, 1234}),
              QStringList({u"/книги/Война и мир.txt"_s, u"Война_и_мир"_s, u" 1234"_s}));
    EXPECT_EQ(bookmarkfile::lines({{}, {}, 0}).last(), u" 0"_s);
    EXPECT_EQ(bookmarkfile::lines({{}, {}, -5}).last(), u"-5"_s);
}

TEST(BookmarkFile, Parse)
{
    const struct
    {
        QStringList lines;
        QStringList expected;
    } cases[] = {
        {{u"/b.txt"_s, u"b"_s, u" 1234"_s}, {u"/b.txt"_s, u"b"_s, u"1234"_s}},
        {{u"/b.txt"_s, u"b"_s, u"1234"_s}, {u"/b.txt"_s, u"b"_s, u"1234"_s}},
        {{u"/b.txt"_s, u""_s, u"\t1234  "_s, u"extra"_s}, {u"/b.txt"_s, u""_s, u"1234"_s}},
        {{u"/b.txt"_s, u"b"_s, u"-3"_s}, {u"/b.txt"_s, u"b"_s, u"-3"_s}},
        {{u"/b.txt"_s, u"b"_s, u"2147483647"_s}, {u"/b.txt"_s, u"b"_s, u"2147483647"_s}},
        {{u"/b.txt"_s, u"b"_s, u"2147483648"_s}, {u"<none>"_s}},
        {{u"/b.txt"_s, u"b"_s, u"12a"_s}, {u"<none>"_s}},
        {{u"/b.txt"_s, u"b"_s, u""_s}, {u"<none>"_s}},
        {{u"/b.txt"_s, u"b"_s}, {u"<none>"_s}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.lines.join(u'|')));
        EXPECT_EQ(fields(bookmarkfile::parse(c.lines)), c.expected);
    }
}
