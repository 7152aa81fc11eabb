#include "texttools/libraryfiles.h"

#include <gtest/gtest.h>

using namespace libraryfiles;

TEST(LibraryFiles, TermsMatchOnLaterLinesInOrderIgnoringCase)
{
    const QStringList four = {"глава", "один", "два", "три"};
    const struct
    {
        QStringList terms, lines;
        bool found;
    } cases[] = {
        {four, {"Глава 1", "x", "ОДИН", "два", "три"}, true},
        {four, {"глава", "один", "два", "три"}, true},
        // один only beside глава: a term never matches the line of the term before it.
        {four, {"глава один", "два", "три", "x"}, false},
        {four, {"три", "два", "один", "глава"}, false},
        {{"кот", "", "", ""}, {"КОТ", "a", "", "b", "c"}, true},
        {{"кот", "", "", ""}, {"кот", "a", "", "b"}, false},
        {{"", "", "", ""}, {"", "a", "b", "c", "d"}, true},
        {{"мир"}, {"Война и МИР"}, true},
    };
    for (const auto &c : cases) {
        TermMatcher matcher(c.terms);
        bool found = false;
        for (const QString &line : c.lines)
            found = matcher.feed(line);
        EXPECT_EQ(found, c.found) << c.lines.join(u'|').toStdString();
        EXPECT_EQ(matcher.found(), c.found);
    }
}

TEST(LibraryFiles, OpenedTitleIsCutBeforeTheFirstDot)
{
    const std::pair<QString, QString> cases[] = {
        {u"book.vol.txt"_qs, u"book"_qs},
        {u"Война и мир.txt"_qs, u"Война_и_мир"_qs},
        {u"README"_qs, u"README"_qs},
        {u".hidden"_qs, QString()},
    };
    for (const auto &[name, title] : cases)
        EXPECT_EQ(openedTitle(name), title) << name.toStdString();
}
