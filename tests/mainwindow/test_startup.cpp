#include "mainwindowtest.h"

#include "app/mainwindowport.h"
#include "app/windows.h"
#include "recording/monitor.h"

#include <QCoreApplication>
#include <QStringEncoder>

#include <sys/stat.h>

using StartAndExit = MainWindowTest;

TEST_F(StartAndExit, TheLastTextComesBackUnchangedOrTheEditorStartsEmpty)
{
    EXPECT_EQ(
        QStringList({w->Text7->text(), w->Text8->text(), CurTextPath, BookTitle, w->RichTextBox2->Text()}),
        QStringList({"полный путь к файлу", "название произведения", "полный путь к файлу",
                     "название произведения", ""}));
    EXPECT_EQ(SpeakFlags, 11);
    EXPECT_EQ(w->windowIcon().availableSizes(),
              QList<QSize>({QSize(48, 48), QSize(256, 256)})); // the program's own
    // The settings and monitor windows exist, hidden; nothing was written to the store.
    EXPECT_FALSE(setup().isVisible() || monitor().isVisible());
    EXPECT_TRUE(store().allKeys().isEmpty());

    // A last text that is gone, a pipe (opening it would wait for a writer) or a folder: the
    // same empty editor, and no message either.
    const QString fifo = dir.filePath(QStringLiteral("канал"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &last : {dir.filePath(QStringLiteral("нет.txt")), fifo, dir.path()}) {
        store().setValue("MP3User1/text7", last);
        EXPECT_TRUE(restart().RichTextBox2->Text().isEmpty()) << last.toStdString();
    }
    // One that opens comes back unchanged: doubled blanks and a dash that pre-formatting would change.
    const QString path = dir.filePath(QStringLiteral("Книга.txt"));
    ASSERT_TRUE(textfile::writeText(path, QStringLiteral("Глава  1\r\n— Да.")));
    store().setValue("MP3User1/text7", path);
    store().setValue("MP3User1/Text8", "Книга");
    EXPECT_EQ(QStringList({restart().RichTextBox2->Text(), CurTextPath, BookTitle}),
              QStringList({"Глава  1\r\n— Да.", path, "Книга"}));
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty()); // at any start

    // One with damaged bytes says so once the window is up, as Open would, and once only.
    ASSERT_TRUE(textfile::writeBytes(
        path, QStringLiteral("Глава первая. Жили-были дед да баба.\r\n").repeated(4).toUtf8() + "\xff"));
    MainWindow &again = restart();
    EXPECT_TRUE(asked().isEmpty());
    for (int shown = 0; shown < 2; ++shown) {
        again.hide();
        again.show();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(asked(),
              QStringList({"Книга прочитана как UTF-8, но повреждённых байтов в ней: 1. В тексте они "
                           "показаны знаком «\uFFFD»."}));

    // One joined from a UTF-8 and a Windows-1251 part says so. One in
    // an encoding the program does not read is told of as Open does, and the editor holds no
    // book, so no save writes over it.
    ASSERT_TRUE(
        textfile::writeBytes(path, testdata::text(QStringLiteral("pikovaya_dama.txt")).toUtf8() +
                                       cp1251::encode(testdata::text(QStringLiteral("hameleon.txt")))));
    const QByteArray iso = QStringEncoder("ISO-8859-5")(testdata::text(QStringLiteral("hameleon.txt")));
    const QString isoPath = dir.filePath(QStringLiteral("iso.txt"));
    ASSERT_TRUE(textfile::writeBytes(isoPath, iso));
    QStringList told;
    for (const QString &last : {path, isoPath}) {
        store().setValue("MP3User1/text7", last);
        restart().show();
        QCoreApplication::processEvents();
        told << asked();
    }
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("Книга составлена из частей в разных кодировках")));
    EXPECT_EQ(told[1], textfile::openFailure(
                           isoPath, QStringLiteral("Книга в кодировке ISO-8859-5, а программа читает "
                                                   "только Windows-1251, UTF-8, UTF-16, KOI8-R и "
                                                   "DOS (cp866). Сохраните книгу в одной из них.")));
    EXPECT_EQ(QStringList({CurTextPath, w->Text7->text(), w->RichTextBox2->Text()}),
              QStringList({"", "", ""}));
    setup().Check1->setChecked(false);
    triggerAction(*w, QStringLiteral("SaveFile"));
    EXPECT_EQ(asked(),
              QStringList(QStringLiteral("Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ "
                                         "КАК... ")));
    EXPECT_EQ(textfile::readBytes(isoPath), iso);
}

TEST_F(StartAndExit, OnlyTheExitCommandAsksAndNoKeepsEverything)
{
    MainWindow &w = *this->w;
    w.RichTextBox2->setText(QStringLiteral("несохранённый текст"));
    // A close from code neither asks nor saves.
    w.show();
    w.close();
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    triggerAction(w, QStringLiteral("ExitProgramm"));
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    const auto &question = scriptedPrompter().asked[0];
    EXPECT_EQ(std::tuple(question.text, question.icon, question.buttons),
              std::tuple(QStringLiteral("Выйти из программы?"), Prompter::Icon::Question,
                         Prompter::Buttons::YesNo));
    EXPECT_TRUE(ended == 0 && !store().contains("MP3User1/(name)") && w.Voice);
    EXPECT_EQ(w.RichTextBox2->Text(), "несохранённый текст");

    triggerAction(w, QStringLiteral("ExitProgramm")); // the scripted prompter answers Yes now
    EXPECT_EQ(QStringList(
                  {store().value("MP3User1/(name)").toString(), store().value("MP3User1/text7").toString()}),
              QStringList({"Quenvale ", "полный путь к файлу"}));
    EXPECT_TRUE(ended == 1 && !w.Voice && fakeVoices().log.purges >= 1);
}

TEST_F(StartAndExit, ExitWithoutConfirmationsSavesWhatTheNextStartRestores)
{
    MainWindow &w = *this->w;
    setup().Check1->setChecked(false);
    w.Text4->setText(QStringLiteral("30"));
    w.Check1->setChecked(true); // toolbar captions hidden
    w.Check2->setChecked(true); // small icons
    triggerAction(w, QStringLiteral("ExitProgramm"));
    // Nothing asked; the settings window is saved only by its own command.
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty() && ended == 1 && !store().contains("setupUser1/Check1"));

    appwindows::destroyAll();
    EXPECT_EQ(mainwindowport::get(), nullptr); // nothing reaches the closed window any more
    MainWindow &again = restart();
    EXPECT_EQ(std::tuple(again.Text4->text(), again.Check1->isChecked(), again.Toolbar1->toolButtonStyle(),
                         again.Toolbar1->iconSize()),
              std::tuple(QStringLiteral("30"), true, Qt::ToolButtonIconOnly, QSize(16, 16)));

    // A hand-edited profile cannot push the editor off the window nor blow up its text.
    store().setValue("MP3User1/Text4", "-500");
    store().setValue("MP3User1/Text2", "100000");
    EXPECT_EQ(QStringList({restart().Text4->text(), MP3().Text2->text()}), QStringList({"0", "400"}));
}

TEST_F(StartAndExit, ABookOnTheCommandLineOpensAsOpenDoesInPlaceOfTheLast)
{
    const QString last = dir.filePath(QStringLiteral("Последняя.txt"));
    const QString given = dir.filePath(QStringLiteral("Том 1.txt"));
    ASSERT_TRUE(textfile::writeText(last, QStringLiteral("последняя книга")));
    ASSERT_TRUE(textfile::writeText(given, QStringLiteral("Глава 1\r\n\r\nОн сказал (тихо) — да.")));
    store().setValue("MP3User1/text7", last);
    store().setValue("MP3User1/Text8", "Последняя");
    // Open's result for the same book is what the command line must give.
    scriptedFileChooser().names.enqueue(given);
    triggerAction(*w, QStringLiteral("OpenFile"));
    const QString opened = w->RichTextBox2->Text();
    ASSERT_NE(opened, textfile::readText(given).value()); // pre-formatted

    const auto startWith = [this](const QString &book) {
        setStartupBook(book);
        MainWindow &again = restart();
        const QStringList before = {again.RichTextBox2->Text(), CurTextPath, BookTitle};
        again.show();
        QCoreApplication::processEvents();
        return before;
    };
    // Nothing of the last book comes in first: not its text, nor a path a save could write to.
    EXPECT_EQ(startWith(given), QStringList({"", "", ""}));
    EXPECT_EQ(QStringList({w->RichTextBox2->Text(), CurTextPath, BookTitle, w->Text7->text()}),
              QStringList({opened, given, "Том_1", given}));
    EXPECT_TRUE(asked().isEmpty());

    // A book that cannot be opened says why, as Open does; the editor holds no book, the
    // stored last book stays for the next start, and a save writes over nothing.
    const QString gone = dir.filePath(QStringLiteral("нет.txt"));
    store().setValue("MP3User1/text7", last);
    startWith(gone);
    const QStringList told = asked();
    EXPECT_EQ(QStringList({w->RichTextBox2->Text(), CurTextPath, w->Text7->text()}),
              QStringList({"", "", last}));
    scriptedFileChooser().names.enqueue(gone);
    triggerAction(*w, QStringLiteral("OpenFile"));
    EXPECT_EQ(told, asked());
    EXPECT_EQ(told.size(), 1);
    triggerAction(*w, QStringLiteral("SaveFile"));
    EXPECT_EQ(textfile::readText(last).value(), "последняя книга\r\n");
    // Without a book on the command line, the start is as ever: the last book comes back.
    restart();
    EXPECT_EQ(w->RichTextBox2->Text(), "последняя книга");

    // An e-book, on the command line or as the last book, is read again as Open reads it.
    asked();
    const QString fb2 = dir.filePath(QStringLiteral("Тихий дом.fb2"));
    ASSERT_TRUE(QFile::copy(testdata::path(QStringLiteral("tihiy_dom.fb2")), fb2));
    scriptedFileChooser().names.enqueue(fb2);
    triggerAction(*w, QStringLiteral("OpenFile"));
    const QStringList eBook = {w->RichTextBox2->Text(), "", "Тихий_дом", fb2};
    ASSERT_TRUE(eBook[0].contains(QStringLiteral("Глава 2\r\n")));
    startWith(fb2);
    EXPECT_EQ(QStringList({w->RichTextBox2->Text(), CurTextPath, BookTitle, w->Text7->text()}), eBook);
    store().setValue("MP3User1/text7", fb2);
    EXPECT_EQ(startWith(QString()), QStringList({"", "", ""})); // not read as a text meanwhile
    EXPECT_EQ(QStringList({w->RichTextBox2->Text(), CurTextPath, BookTitle, w->Text7->text()}), eBook);
    EXPECT_EQ(asked(), QStringList());
}
