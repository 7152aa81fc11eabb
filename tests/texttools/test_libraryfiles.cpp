#include "platform/text/cp1251.h"
#include "texttools/libraryfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace libraryfiles;

namespace {

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

} // namespace

TEST(LibraryFiles, PreviewHoldsTheFirstLinesEachEndedByCrLf)
{
    QTemporaryDir dir;
    QByteArray many;
    for (int i = 0; i < 500; ++i)
        many += "line " + QByteArray::number(i) + "\r\n";
    const struct
    {
        QByteArray bytes;
        QString preview;
    } cases[] = {
        {"l1\r\nl2\r\nl3", u"l1\r\nl2\r\nl3\r\n"_qs},
        {cp1251::encode(u"Глава\rодин\r\n\r\n"_qs), u"Глава\r\nодин\r\n\r\n"_qs},
        {QByteArray(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(preview(write(dir, "f.txt", c.bytes)), c.preview) << c.bytes.toStdString();

    const QString first = preview(write(dir, "many.txt", many));
    EXPECT_EQ(first.count(u"\r\n"_qs), kPreviewLines);
    EXPECT_TRUE(first.endsWith(u"line 100\r\n"_qs));
    EXPECT_EQ(preview(dir.filePath("missing.txt")), QString());
}

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

TEST(LibraryFiles, FileMatchesReadsTheFileAndTellsAnUnreadableOne)
{
    QTemporaryDir dir;
    const QString path = write(dir, "b.txt", cp1251::encode(u"Глава 1\r\nОдин\r\nдва\r\nтри"_qs));
    EXPECT_EQ(fileMatches(path, {"глава", "один", "два", "три"}), std::optional<bool>(true));
    EXPECT_EQ(fileMatches(path, {"глава", "один", "два", "четыре"}), std::optional<bool>(false));
    EXPECT_EQ(fileMatches(dir.filePath("none.txt"), {"x"}), std::nullopt);
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
