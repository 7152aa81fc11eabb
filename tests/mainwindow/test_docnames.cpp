#include "docnames.h"

#include <gtest/gtest.h>

using namespace docnames;

TEST(DocNames, BookTitleFromFileName)
{
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("Война и мир.txt")), QStringLiteral("Война_и_мир"));
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("Том.1.txt")), QStringLiteral("Том_1"));
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("README")), QStringLiteral("README"));
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("Мой файл")), QStringLiteral("Мой_файл"));
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral(".txt")), QString());
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("a. b.c d.txt")), QStringLiteral("a__b_c_d"));
    EXPECT_EQ(bookTitleFromFileName(QStringLiteral("книга.")), QStringLiteral("книга"));
    EXPECT_EQ(bookTitleFromPath(QStringLiteral("/home/u/Мои книги/Капитанская дочка.txt")),
              QStringLiteral("Капитанская_дочка"));
    EXPECT_EQ(bookTitleFromPath(QStringLiteral("/home/u/v.1/README")), QStringLiteral("README"));
}

TEST(DocNames, BatchFile)
{
    EXPECT_EQ(blanksToUnderscores(QStringLiteral("Война и мир")), QStringLiteral("Война_и_мир"));
    EXPECT_EQ(batchFilePath(QStringLiteral("/srv/книги"), QStringLiteral("Война и мир")),
              QStringLiteral("/srv/книги/Война_и_мир.txt"));
    EXPECT_EQ(batchFilePath(QStringLiteral("/srv/книги/"), QStringLiteral("x")),
              QStringLiteral("/srv/книги/x.txt"));
    // A title from a bookmark or the settings cannot lead out of the working folder.
    EXPECT_EQ(batchFilePath(QStringLiteral("/srv/q"), QStringLiteral("../../etc/x")),
              QStringLiteral("/srv/q/.._.._etc_x.txt"));
    EXPECT_EQ(batchFilePath(QStringLiteral("/srv/q"), QStringLiteral("/tmp/x")),
              QStringLiteral("/srv/q/_tmp_x.txt"));
    EXPECT_TRUE(hasBlank(QStringLiteral("/home/u/Мои книги")));
    EXPECT_FALSE(hasBlank(QStringLiteral("/home/u/Аудиокниги")));
}

TEST(DocNames, OnlyAbsolutePathsNameFiles)
{
    EXPECT_TRUE(isFilePath(QStringLiteral("/home/u/книга.txt")));
    EXPECT_FALSE(isFilePath(QStringLiteral("полный путь к файлу")));
    EXPECT_FALSE(isFilePath(QString()));
    EXPECT_FALSE(isFilePath(QStringLiteral("книги/a.txt")));
}

TEST(DocNames, FileDialogs)
{
    const FileDialogSpec open = openTextDialog();
    EXPECT_EQ(open.title, QStringLiteral("Открыть текстовый файл"));
    EXPECT_EQ(open.filter, QStringLiteral("All Files (*);;Текстовые файлы (*.txt)"));
    EXPECT_EQ(open.selectedFilter, QStringLiteral("Текстовые файлы (*.txt)"));

    const FileDialogSpec saveText = saveTextDialog();
    EXPECT_EQ(saveText.title, QStringLiteral("Сохранить файл как..."));
    EXPECT_EQ(saveText.filter, open.filter);
    EXPECT_EQ(saveText.selectedFilter, open.selectedFilter);

    const FileDialogSpec saveRtf = saveRtfDialog();
    EXPECT_EQ(saveRtf.title, QStringLiteral("Сохранить файл как..."));
    EXPECT_EQ(saveRtf.filter, QStringLiteral("All Files (*);;Текстовые файлы (*.rtf)"));
    EXPECT_EQ(saveRtf.selectedFilter, QStringLiteral("Текстовые файлы (*.rtf)"));
}
