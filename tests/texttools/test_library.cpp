#include "app/globals.h"
#include "platform/text/cp1251.h"
#include "settings/setup.h"
#include "texttools/library.h"
#include "texttools/libraryfiles.h"
#include "texttoolstest.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString kBook = u"/книги/текущая.txt"_qs;

class LibraryWindow : public TextToolTest
{
protected:
    void SetUp() override
    {
        TextToolTest::SetUp();
        resetBook();
        CharsPerMin = 900;
    }
    void resetBook()
    {
        main->textBox->setText(u"текущая книга"_qs);
        CurTextPath = kBook;
        BookTitle = u"текущая"_qs;
    }

    QString file(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(textfile::writeBytes(books.filePath(name), bytes));
        return books.filePath(name);
    }

    // The library pointed at the test's folder, with `row` selected (-1: none).
    Library &library(int row = -1)
    {
        Library &w = biblioteka();
        w.setFolder(books.path());
        w.File1->setCurrentRow(row);
        return w;
    }

    static void trigger(const QString &name) { triggerAction(biblioteka(), name); }

    // The current book and main text are what they were before the command.
    void expectBookUnchanged(const char *context)
    {
        EXPECT_EQ(CurTextPath, kBook) << context;
        EXPECT_EQ(BookTitle, u"текущая"_qs) << context;
        EXPECT_EQ(main->textBox->Text(), u"текущая книга"_qs) << context;
    }

    QTemporaryDir books;
};

// Kilobytes with the locale's decimal separator.
QString kb(int whole, int tenth)
{
    return QString::number(whole) + QLocale().decimalPoint() + QString::number(tenth) + u" kb"_qs;
}

} // namespace

TEST_F(LibraryWindow, ListsFilesByNameAndPreviewsTheSelectedOneWithItsFigures)
{
    QByteArray many;
    for (int i = 0; i < 500; ++i)
        many += QByteArray::number(1000 + i) + "\r\n";
    file("b.txt", "l1\r\nl2\r\nl3");
    file("A.txt", QByteArray(2048, 'x'));
    file("c.txt", many);
    file("d.txt", (u"a"_qs + QString(10000, u'ж')).toUtf8()); // cut inside a character
    file("e.txt", QByteArray(many).replace("\r\n", "\n"));
    file("f.bin", QByteArray(3 << 20, '\1'));
    file(".hidden", "x");
    EXPECT_EQ(biblioteka().folder(), QDir::currentPath()); // it opens at the current folder
    Library &w = library();
    ASSERT_EQ(w.File1->count(), 6);
    EXPECT_EQ(w.File1->item(0)->text(), u"A.txt"_qs);

    const struct
    {
        int row;
        int lines;
        QString first, size, time;
    } cases[] = {
        {1, 3, u"l1\r\nl2\r\nl3\r\n"_qs, kb(0, 0), u"00 мин."_qs},
        {0, 1, QString(2048, u'x') + u"\r\n"_qs, kb(2, 0), u"02 мин."_qs},
        {2, 101, u"1000\r\n1001\r\n"_qs, kb(2, 9), u"03 мин."_qs},
        {3, 1, u"aжжж"_qs, kb(19, 5), u"10 мин."_qs}, // UTF-8
        {4, 101, u"1000\r\n1001\r\n"_qs, kb(2, 4), u"03 мин."_qs},
        {5, 1, u"\u0001\u0001"_qs, kb(3072, 0), u"52 час.57 мин."_qs},
    };
    for (const auto &c : cases) {
        w.File1->setCurrentRow(c.row);
        const QString preview = w.Text1->Text();
        EXPECT_TRUE(preview.startsWith(c.first)) << c.row;
        EXPECT_EQ(preview.count(u"\r\n"_qs), c.lines) << c.row;
        EXPECT_LE(preview.size(), libraryfiles::kPreviewBytes + 2) << c.row;
        EXPECT_EQ(w.statusPanels[0]->text(), c.size) << c.row;
        EXPECT_EQ(w.statusPanels[1]->text(), c.time) << c.row;
    }
    // A preview is no opening: the current book, the main window and its figures stay.
    expectBookUnchanged("preview");
    EXPECT_EQ(main->estimates, 0);

    // A file that appears in the folder joins the list; the selection stays where it was.
    w.File1->setCurrentRow(1);
    file("B0.txt", "new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.File1->count() == 7; }));
    EXPECT_EQ(w.selectedPath(), books.filePath("b.txt"));
    EXPECT_TRUE(w.Text1->Text().startsWith(u"l1\r\n"_qs));
}

TEST_F(LibraryWindow, SearchFindsTheNextMatchingFileAndSkipsOnesItCannotRead)
{
    file("a.txt", cp1251::encode(u"Глава 1\r\nx\r\nОДИН\r\nдва\r\nтри"_qs));
    file("b.txt", cp1251::encode(u"глава один\r\nдва\r\nтри\r\nx"_qs));
    file("c.txt", cp1251::encode(u"глава\r\nодин\r\nдва\r\nтри"_qs));
    Library &w = library();
    const QStringList terms = {u"глава"_qs, u"один"_qs, u"два"_qs, u"три"_qs};
    for (int i = 0; i < 4; ++i)
        w.terms[i]->setText(terms[i]);

    trigger(u"SearchInFiles"_qs);
    EXPECT_EQ(w.selectedPath(), books.filePath("a.txt"));
    EXPECT_TRUE(w.Text1->Text().startsWith(u"Глава 1"_qs));
    EXPECT_FALSE(w.Text1->isHidden());

    // b went after the listing: the search passes over it.
    QFile::remove(books.filePath("b.txt"));
    trigger(u"SearchInFiles"_qs);
    EXPECT_EQ(w.selectedPath(), books.filePath("c.txt"));
    EXPECT_TRUE(asked().isEmpty());

    trigger(u"SearchInFiles"_qs);
    EXPECT_EQ(asked(), QStringList{u"Не найдено!"_qs});
    EXPECT_FALSE(w.Text1->isHidden());
    expectBookUnchanged("search");
}

TEST_F(LibraryWindow, StopEndsASearchBeforeTheNextFile)
{
    file("a.txt", "x");
    Library &w = library();
    // Pressed while the search lets events through at its start.
    QTimer::singleShot(0, &w, [&w] { w.stopButton->setChecked(true); });
    trigger(u"SearchInFiles"_qs);
    EXPECT_TRUE(w.selectedPath().isEmpty());
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_FALSE(w.Text1->isHidden());
}

TEST_F(LibraryWindow, DeleteRemovesOnlyTheSelectedFileAfterAsking)
{
    const struct
    {
        const char *name;
        int row;
        Prompter::Answer answer;
        QStringList prompts, remaining;
    } cases[] = {
        {"yes", 1, Prompter::Answer::Yes, {"Удалить файл безвозврано?\n%1/b.txt"}, {"a.txt", "c.txt"}},
        {"no", 1, Prompter::Answer::No, {"Удалить файл безвозврано?\n%1/b.txt"}, {"a.txt", "b.txt", "c.txt"}},
        {"nothing selected", -1, Prompter::Answer::Yes, {"Укажите файл!"}, {"a.txt", "b.txt", "c.txt"}},
    };
    for (const auto &c : cases) {
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            file(QString::fromLatin1(name), name);
        Library &w = library(c.row);
        scriptedPrompter().answers.clear();
        scriptedPrompter().answers.enqueue(c.answer);
        trigger(u"DeleteTextFile"_qs);
        QStringList expected;
        for (const QString &p : c.prompts)
            expected << QString(p).replace(u"%1"_qs, books.path());
        EXPECT_EQ(asked(), expected) << c.name;
        EXPECT_EQ(QDir(books.path()).entryList(QDir::Files), c.remaining) << c.name;
        EXPECT_EQ(w.File1->count(), c.remaining.size()) << c.name;
        expectBookUnchanged(c.name);
    }
    EXPECT_EQ(scriptedPrompter().answers.size(), 0);
}

TEST_F(LibraryWindow, OpenMakesTheFileTheCurrentBookOrChangesNothing)
{
    const struct
    {
        const char *name;
        int row;
        bool gone; // removed after it was listed
        QString prompt;
    } cases[] = {
        {"opened", 0, false, QString()},
        {"nothing selected", -1, false, u"Укажите файл!"_qs},
        {"unreadable", 0, true, u"Укажите файл!\n%1/book.vol.txt: "_qs},
    };
    for (const auto &c : cases) {
        const QString path = file("book.vol.txt", cp1251::encode(u"Жили-были"_qs));
        Library &w = library(c.row);
        w.show();
        if (c.gone)
            QFile::remove(path);
        trigger(u"OpenInMainWindow"_qs);
        const QStringList messages = asked();
        if (!c.prompt.isEmpty()) {
            ASSERT_EQ(messages.size(), 1) << c.name;
            EXPECT_TRUE(messages[0].startsWith(QString(c.prompt).replace(u"%1"_qs, books.path()))) << c.name;
            expectBookUnchanged(c.name);
            EXPECT_EQ(main->preformats, 0);
            EXPECT_FALSE(w.isHidden());
            continue;
        }
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(CurTextPath, path);
        EXPECT_EQ(BookTitle, u"book"_qs);
        EXPECT_EQ(main->textBox->Text(), u"Жили-были"_qs);
        EXPECT_EQ(main->preformats, 1);
        EXPECT_EQ(main->estimates, 1);
        EXPECT_TRUE(w.isHidden());
        main->preformats = 0;
        resetBook();
    }
}

TEST_F(LibraryWindow, AddCopiesTheFileIntoTheWorkingFolderAfterItsChecks)
{
    QTemporaryDir work;
    const QString ask = u"Добавить файл на обработку в рабочий каталог?"_qs;
    const struct
    {
        const char *name;
        QString folder;
        bool confirmations;
        Prompter::Answer answer;
        QString prompt; // the start of the one message, if any
        bool added;
    } cases[] = {
        {"confirmations off", work.path(), false, Prompter::Answer::Yes, QString(), true},
        {"answered yes", work.path(), true, Prompter::Answer::Yes, ask, true},
        {"answered no", work.path(), true, Prompter::Answer::No, ask, false},
        {"no working folder", QString(), false, Prompter::Answer::Yes, u"НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"_qs,
         false},
        {"unwritable", readOnlyFolder(), false, Prompter::Answer::Yes,
         u"Не удалось записать файл\n"_qs + readOnlyFolder() + u"/a_b.txt.txt: "_qs, false},
    };
    const QString copy = work.filePath("a_b.txt.txt");
    for (const auto &c : cases) {
        QFile::remove(copy);
        resetBook();
        const QString path = file("a b.txt", cp1251::encode(u"Текст\r\nкниги"_qs));
        setup().Text28->setText(c.folder);
        setup().Check1->setChecked(c.confirmations);
        setup().SSTab2->setCurrentIndex(0);
        library(0);
        scriptedPrompter().answers.clear();
        scriptedPrompter().answers.enqueue(c.answer);
        trigger(u"AddToWorkFolder"_qs);

        const QStringList messages = asked();
        ASSERT_EQ(messages.size(), c.prompt.isEmpty() ? 0 : 1) << c.name;
        if (!c.prompt.isEmpty()) {
            EXPECT_TRUE(messages[0].startsWith(c.prompt)) << c.name;
        }
        // Without a working folder the settings open on their recording page.
        EXPECT_EQ(setup().SSTab2->currentIndex(), c.folder.isEmpty() ? 1 : 0) << c.name;
        EXPECT_TRUE(setup().isVisible() || !c.folder.isEmpty()) << c.name;
        EXPECT_EQ(textfile::readText(copy).value_or(u"<none>"_qs),
                  c.added ? u"Текст\r\nкниги\r\n"_qs : u"<none>"_qs)
            << c.name;
        // A file that was loaded is the current book, even when its copy could not be written.
        if (c.added || c.folder == readOnlyFolder()) {
            EXPECT_EQ(main->textBox->Text(), u"Текст\r\nкниги"_qs) << c.name;
            EXPECT_EQ(BookTitle, u"a_b.txt"_qs) << c.name;
            EXPECT_EQ(CurTextPath, path) << c.name;
        } else {
            expectBookUnchanged(c.name);
        }
    }
}
