#include "app/globals.h"
#include "platform/books/books.h"
#include "platform/text/cp1251.h"
#include "settings/setup.h"
#include "support/testdata.h"
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
    // Runs a library command, `answer` ready for its question; the messages it showed.
    static QStringList run(const QString &name, Prompter::Answer answer = Prompter::Answer::Yes)
    {
        scriptedPrompter().answers.clear();
        scriptedPrompter().answers.enqueue(answer);
        triggerAction(biblioteka(), name);
        return asked();
    }
    // The current book: its path, its title and the main text.
    QStringList book() const { return {CurTextPath, BookTitle, main->textBox->Text()}; }
    const QStringList unchanged = {kBook, u"текущая"_qs, u"текущая книга"_qs};

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
    file("g.rtf", "{\\rtf1 " + QByteArray("{\\b x}").repeated(1000) + "}"); // 1000 characters
    file(".hidden", "x");
    EXPECT_EQ(biblioteka().folder(), QDir::currentPath()); // it opens at the current folder
    Library &w = library();
    ASSERT_EQ(w.File1->count(), 7);
    EXPECT_EQ(w.File1->item(0)->text(), u"A.txt"_qs);
    // Row, lines in the preview, its start, the size and the reading time.
    for (const auto &[row, lines, first, size, time] :
         {std::tuple{1, 3, u"l1\r\nl2\r\nl3\r\n"_qs, kb(0, 0), u"00 мин."_qs},
          {0, 1, QString(2048, u'x') + u"\r\n"_qs, kb(2, 0), u"02 мин."_qs},
          {2, 101, u"1000\r\n1001\r\n"_qs, kb(2, 9), u"03 мин."_qs},
          {3, 1, u"aжжж"_qs, kb(19, 5), u"10 мин."_qs}, // UTF-8
          {4, 101, u"1000\r\n1001\r\n"_qs, kb(2, 4), u"03 мин."_qs},
          {5, 1, u"\u0001\u0001"_qs, kb(3072, 0), u"52 час.57 мин."_qs},
          {6, 1, u"{\\rtf1 {\\b x}"_qs, kb(5, 9), u"01 мин."_qs}}) { // the time of the text
        w.File1->setCurrentRow(row);
        const QString preview = w.Text1->Text();
        EXPECT_TRUE(preview.startsWith(first) && preview.size() <= libraryfiles::kPreviewBytes + 2) << row;
        EXPECT_EQ(std::tuple(preview.count(u"\r\n"_qs), w.statusPanels[0]->text(), w.statusPanels[1]->text()),
                  std::tuple(lines, size, time))
            << row;
    }
    // A preview is no opening: the current book, the main window and its figures stay.
    EXPECT_EQ(book(), unchanged);
    EXPECT_EQ(main->estimates, 0);

    // A file that appears in the folder joins the list; the selection stays where it was.
    w.File1->setCurrentRow(1);
    file("B0.txt", "new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.File1->count() == 8; }));
    EXPECT_EQ(w.selectedPath(), books.filePath("b.txt"));
    EXPECT_TRUE(w.Text1->Text().startsWith(u"l1\r\n"_qs));
}

TEST_F(LibraryWindow, SearchFindsTheNextMatchingFileSkipsOnesItCannotReadAndStops)
{
    file("a.txt", cp1251::encode(u"Глава 1\r\nx\r\nОДИН\r\nдва\r\nтри"_qs));
    file("b.txt", cp1251::encode(u"глава один\r\nдва\r\nтри\r\nx"_qs));
    // Any line end ends a line, as in the preview.
    file("c.txt", cp1251::encode(u"глава\nодин\rдва\r\nтри"_qs));
    Library &w = library();
    const QStringList terms = {u"глава"_qs, u"один"_qs, u"два"_qs, u"три"_qs};
    for (int i = 0; i < 4; ++i)
        w.terms[i]->setText(terms[i]);
    EXPECT_TRUE(run(u"SearchInFiles"_qs).isEmpty());
    EXPECT_EQ(w.selectedPath(), books.filePath("a.txt"));
    EXPECT_TRUE(w.Text1->Text().startsWith(u"Глава 1"_qs) && w.Text1->Locked()) << "the preview is read-only";
    QFile::remove(books.filePath("b.txt"));      // gone after the listing: passed over
    QTest::keyClick(w.terms[2], Qt::Key_Return); // Return in a search field searches
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_EQ(w.selectedPath(), books.filePath("c.txt"));
    EXPECT_EQ(run(u"SearchInFiles"_qs), QStringList{u"Не найдено!"_qs});
    EXPECT_FALSE(w.Text1->isHidden());
    EXPECT_EQ(book(), unchanged);

    // Stop pressed while the search lets events through at its start: no file is taken.
    // A file that appears meanwhile joins the list only once the search is over, however
    // long the search waits.
    library();
    int listedDuringSearch = 0;
    QTimer::singleShot(0, &w, [&] {
        file("d.txt", "new");
        QTest::qWait(400);
        listedDuringSearch = w.File1->count();
        w.stopButton->setChecked(true);
    });
    EXPECT_TRUE(run(u"SearchInFiles"_qs).isEmpty() && w.selectedPath().isEmpty() && !w.Text1->isHidden());
    EXPECT_EQ(listedDuringSearch, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.File1->count() == 3; }));
}

TEST_F(LibraryWindow, DeleteRemovesOnlyTheSelectedFileAfterAsking)
{
    const QString sure = u"Удалить файл безвозврано?\n"_qs + books.path() + u"/b.txt"_qs;
    for (const auto &[row, answer, prompt, remaining] :
         {std::tuple{1, Prompter::Answer::Yes, sure, QStringList{"a.txt", "c.txt"}},
          {1, Prompter::Answer::No, sure, {"a.txt", "b.txt", "c.txt"}},
          {-1, Prompter::Answer::Yes, u"Укажите файл!"_qs, {"a.txt", "b.txt", "c.txt"}}}) {
        for (const char *name : {"a.txt", "b.txt", "c.txt"})
            file(QString::fromLatin1(name), name);
        SCOPED_TRACE(testing::Message() << row << int(answer));
        Library &w = library(row);
        EXPECT_EQ(run(u"DeleteTextFile"_qs, answer), QStringList{prompt});
        EXPECT_EQ(QDir(books.path()).entryList(QDir::Files), remaining);
        EXPECT_EQ(w.File1->count(), remaining.size());
        EXPECT_EQ(book(), unchanged);
    }
}

TEST_F(LibraryWindow, OpenMakesTheFileTheCurrentBookOrChangesNothing)
{
    // A UTF-8 book with a damaged byte among its 16 letters.
    const QString lines = u"Жили-были\r\nдед да баба"_qs;
    const QByteArray damaged = u"Жили-были"_qs.toUtf8() + "\xFF" + u"\r\nдед да баба"_qs.toUtf8();
    const QString told = u"Книга прочитана как UTF-8, но повреждённых байтов в ней: 1. В тексте они "
                         u"показаны знаком «\uFFFD»."_qs;
    // Row, whether the file went after it was listed, the book's bytes, the message if any.
    for (const auto &[row, gone, bytes, prompt] :
         {std::tuple{0, false, cp1251::encode(lines), QString()},
          {0, false, damaged, told},
          {-1, false, cp1251::encode(lines), u"Укажите файл!"_qs},
          {0, true, cp1251::encode(lines),
           u"Укажите файл!\n%1/book.vol.txt: No such file or directory"_qs}}) {
        resetBook();
        main->preformats = main->estimates = 0;
        const QString path = file("book.vol.txt", bytes);
        Library &w = library(row);
        w.show();
        if (gone)
            QFile::remove(path);
        const bool opened = !prompt.startsWith(u"Укажите"_qs);
        EXPECT_EQ(run(u"OpenInMainWindow"_qs),
                  (prompt.isEmpty() ? QStringList() : QStringList{prompt.arg(books.path())}));
        const QString shown =
            bytes == damaged ? QString(lines).insert(9, QChar::ReplacementCharacter) : lines;
        EXPECT_EQ(book(), (opened ? QStringList{path, u"book"_qs, shown} : unchanged));
        EXPECT_EQ(std::tuple(main->preformats, main->estimates, w.isHidden()),
                  std::tuple(opened ? 1 : 0, opened ? 1 : 0, opened));
    }
}

TEST_F(LibraryWindow, AddCopiesTheFileIntoTheWorkingFolderAfterItsChecks)
{
    QTemporaryDir work;
    const QString ask = u"Добавить файл на обработку в рабочий каталог?"_qs;
    const QString copy = work.filePath("a_b.txt.txt");
    // A UTF-8 book with a damaged byte among its 16 letters: the copy gets the mark in its place
    // only when the user agrees.
    const QString lossy =
        u"Повреждённых байтов UTF-8 в книге: 1. В файле они будут заменены знаком «\uFFFD». Сохранить?"_qs;
    const QByteArray damaged = u"Текст"_qs.toUtf8() + "\xFF" + u"\r\nкниги автора"_qs.toUtf8();
    // Working folder, confirmations, the answer, the start of the one message if any, whether
    // copied, whether the book is the damaged one.
    for (const auto &[folder, confirmations, answer, prompt, added, broken] :
         {std::tuple{work.path(), false, Prompter::Answer::Yes, QString(), true, false},
          {work.path(), true, Prompter::Answer::Yes, ask, true, false},
          {work.path(), true, Prompter::Answer::No, ask, false, false},
          {QString(), false, Prompter::Answer::Yes, u"НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"_qs, false, false},
          {readOnlyFolder(), false, Prompter::Answer::Yes,
           u"Не удалось записать файл\n"_qs + readOnlyFolder() + u"/a_b.txt.txt: "_qs, false, false},
          {work.path(), false, Prompter::Answer::Ok, lossy, true, true},
          {work.path(), false, Prompter::Answer::Cancel, lossy, false, true}}) {
        SCOPED_TRACE(prompt.toStdString());
        QFile::remove(copy);
        resetBook();
        const QString text = broken ? u"Текст\uFFFD\r\nкниги автора"_qs : u"Текст\r\nкниги"_qs;
        const QString path = file("a b.txt", broken ? damaged : cp1251::encode(text));
        setup().Text28->setText(folder);
        setup().Check1->setChecked(confirmations);
        setup().SSTab2->setCurrentIndex(0);
        library(0);
        const QStringList messages = run(u"AddToWorkFolder"_qs, answer);
        ASSERT_EQ(messages.size(), prompt.isEmpty() ? 0 : 1);
        EXPECT_TRUE(prompt.isEmpty() || messages[0].startsWith(prompt));
        // Without a working folder the settings open on their recording page.
        EXPECT_EQ(setup().SSTab2->currentIndex(), folder.isEmpty() ? 1 : 0);
        EXPECT_TRUE(setup().isVisible() || !folder.isEmpty());
        const QByteArray written = textcodec::encode(
            text + u"\r\n"_qs, broken ? textcodec::Encoding::Utf8 : textcodec::Encoding::Windows1251);
        EXPECT_EQ(textfile::readBytes(copy).value_or("<none>"), added ? written : "<none>");
        // A file that was loaded is the current book, even when its copy was not written.
        const bool loaded = added || broken || folder == readOnlyFolder();
        EXPECT_EQ(book(), (loaded ? QStringList{path, u"a_b.txt"_qs, text} : unchanged));
    }
}

// An e-book shows its title and text, is searched in its text and opens as "Открыть" opens it;
// a file that is no text shows why it is refused.
TEST_F(LibraryWindow, EBooksShowTheirTitleAndTextAndOpenAsOpenDoes)
{
    file("a.txt", cp1251::encode(u"Глава 2\r\nвечер"_qs));
    const QString fb2 = books.filePath("t.fb2");
    ASSERT_TRUE(QFile::copy(testdata::path(u"tihiy_dom.fb2"_qs), fb2));
    const QString png = file("p.png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    Library &w = library(2);
    ASSERT_EQ(w.selectedPath(), fb2);
    const QString preview = w.Text1->Text();
    EXPECT_TRUE(preview.startsWith(u"Тихий дом\r\n\r\nГлава 1\r\n"_qs) && preview.contains(u"Утро"_qs) &&
                !preview.contains(u'<'))
        << preview.toStdString();
    EXPECT_EQ(w.statusPanels[0]->text(), kb(0, 5));
    w.File1->setCurrentRow(1);
    EXPECT_EQ(w.Text1->Text(), books::read(png).message);

    // Found by its text, not its markup; opened through the main window.
    const QStringList terms = {u"глава 1"_qs, u"было тихо"_qs, u"глава 2"_qs, u"утро & вечер"_qs};
    for (int i = 0; i < 4; ++i)
        w.terms[i]->setText(terms[i]);
    w.File1->setCurrentRow(-1);
    EXPECT_EQ(run(u"SearchInFiles"_qs), QStringList());
    EXPECT_EQ(w.selectedPath(), fb2);
    w.show();
    EXPECT_TRUE(run(u"OpenInMainWindow"_qs).isEmpty());
    EXPECT_EQ(std::tuple(main->opened, w.isHidden(), book()), std::tuple(QStringList(fb2), true, unchanged));
}
