// What the program names after a book, and the figures it shows for one.
#include "platform/text/docnames.h"
#include "platform/text/estimate.h"

#include <gtest/gtest.h>

using namespace docnames;

TEST(DocNames, BookTitles)
{
    const std::pair<QString, QString> cases[] = {
        {u"Война и мир.txt"_qs, u"Война_и_мир"_qs},
        {u"Том.1.txt"_qs, u"Том_1"_qs},
        {u"README"_qs, u"README"_qs},
        {u"Мой файл"_qs, u"Мой_файл"_qs},
        {u".txt"_qs, QString()},
        {u"a. b.c d.txt"_qs, u"a__b_c_d"_qs},
        {u"книга."_qs, u"книга"_qs},
    };
    for (const auto &[name, title] : cases) {
        EXPECT_EQ(bookTitleFromFileName(name), title) << name.toStdString();
        // Blanks and dots in the folder do not count.
        EXPECT_EQ(bookTitleFromPath(u"/home/u/Мои к.1/"_qs + name), title) << name.toStdString();
    }
    // The library and the batch cut the name before its first dot instead.
    const std::pair<QString, QString> firstDot[] = {
        {u"book.vol.txt"_qs, u"book"_qs},
        {u"Моя книга.txt"_qs, u"Моя_книга"_qs},
        {u"README"_qs, u"README"_qs},
        {u".hidden"_qs, QString()},
    };
    for (const auto &[name, title] : firstDot)
        EXPECT_EQ(titleBeforeFirstDot(name), title) << name.toStdString();
    // An e-book's own title names its text: one "_" for a run of blanks, never a folder.
    const std::pair<QString, QString> eBooks[] = {
        {u" Война и  мир\n\tТом 1 "_qs, u"Война_и_мир_Том_1"_qs},
        {u"../../etc/x"_qs, u".._.._etc_x"_qs},
        {u"Том.1"_qs, u"Том.1"_qs},
    };
    for (const auto &[title, expected] : eBooks)
        EXPECT_EQ(eBookTitle(title), expected) << title.toStdString();
    EXPECT_EQ(besideFile(u"/srv/книги/tihiy.fb2.zip"_qs, u"Тихий_Дом"_qs, u".rtf"_qs),
              u"/srv/книги/Тихий_Дом.rtf"_qs);
}

TEST(DocNames, PathsAndTheBatchFile)
{
    EXPECT_EQ(batchFilePath(u"/srv/книги"_qs, u"Война и мир"_qs), u"/srv/книги/Война_и_мир.txt"_qs);
    EXPECT_EQ(batchFilePath(u"/srv/книги/"_qs, u"x"_qs), u"/srv/книги/x.txt"_qs);
    // A title from a bookmark or the settings cannot lead out of the working folder.
    EXPECT_EQ(batchFilePath(u"/srv/q"_qs, u"../../etc/x"_qs), u"/srv/q/.._.._etc_x.txt"_qs);
    EXPECT_EQ(batchFilePath(u"/srv/q"_qs, u"/tmp/x"_qs), u"/srv/q/_tmp_x.txt"_qs);
    EXPECT_EQ(batchFilePath(u"/srv/q"_qs, u":Война и мир"_qs), u"/srv/q/:Война_и_мир.txt"_qs);
    EXPECT_TRUE(hasBlank(u"/home/u/Мои книги"_qs) && !hasBlank(u"/home/u/Аудиокниги"_qs));
    // Only an absolute path names a file.
    EXPECT_TRUE(isFilePath(u"/home/u/книга.txt"_qs));
    for (const QString &path : {u"полный путь к файлу"_qs, QString(), u"книги/a.txt"_qs})
        EXPECT_FALSE(isFilePath(path)) << path.toStdString();
}

TEST(Estimate, NoGroupingInAnyLocaleAndRatesOnlyFromMinusTenToTen)
{
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale::c()), "1953125.0 kb");
    EXPECT_EQ(estimate::sizeText(2000000000, QLocale(QLocale::Russian, QLocale::Russia)), "1953125,0 kb");
    EXPECT_FALSE(estimate::charsPerMinute(11) || estimate::charsPerMinute(-11));
    // An e-book's size is its file's, its time that of its text.
    const estimate::Figures figures = estimate::figures(2048, 66 * 900, 900);
    EXPECT_EQ(std::pair(figures.size, figures.hours), std::pair(u"2.0 kb"_qs, std::optional(1.0)));
    EXPECT_FALSE(estimate::figures(2048, 100, 0).hours);
}
