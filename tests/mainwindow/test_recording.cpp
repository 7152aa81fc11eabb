// Recording a book and a batch from the main window; fake voice and WAV output show each block.
#include "mainwindowtest.h"

#include "app/busy.h"
#include "app/globals.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/excdic.h"
#include "platform/books/books.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/estimate.h"
#include "platform/text/textfile.h"
#include "recording/batchreport.h"
#include "recording/blockoutput.h"
#include "recording/encoders.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "recording/textprep.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "support/jobs.h"
#include "texttools/findwindow.h"
#include "texttools/library.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStringEncoder>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

class Recording : public MainWindowTest
{
protected:
    void SetUp() override
    {
        qputenv("HOME", home().toUtf8()); // the fall-back working folder lands here
        MainWindowTest::SetUp();
        ::Setup &s = setup();
        folder = home() + u"/книги"_s;
        QDir().mkpath(folder);
        s.Text28->setText(folder);
        s.Check1->setChecked(false);
        s.SSTab1->setCurrentIndex(0); // WAV: no encoder, the fake voice's files are the blocks
    }

    // A book file made current as the open command leaves it.
    QString book(const QString &title, const QStringList &lines)
    {
        CurTextPath = folder + u'/' + title + u".txt"_s;
        EXPECT_TRUE(textfile::writeLines(CurTextPath, lines));
        BookTitle = title;
        return CurTextPath;
    }
    // The WAV files spoken into, by name (or with `texts`, what was spoken into them), in order.
    static QStringList spokenFiles(bool texts = false)
    {
        QStringList out;
        for (const auto &s : fakeVoices().log.spoken)
            if (!s.outputFile.isEmpty())
                out << (texts ? s.text : QFileInfo(s.outputFile).fileName().remove(u".part"_s));
        return out;
    }
    static QStringList spokenTexts() { return spokenFiles(true); }
    // Records the current book as the commands do, cut as it is now.
    static recordingrun::Result recordBook()
    {
        return waitFor(recordingrun::recordBook(recordingrun::currentCut(), nullptr))->result();
    }
    // Runs a main window command to the end of its job; the messages it showed.
    QStringList run(const QString &command = u"SaveAudio"_s)
    {
        MainWindowTest::run(command);
        return asked();
    }

    // Deletes the working folder's file `name` in the library, as a user does.
    void deleteInLibrary(const QString &name)
    {
        Library &library = biblioteka();
        library.setFolder(folder);
        library.File1->setCurrentItem(library.File1->findItems(name, Qt::MatchExactly).value(0));
        triggerAction(library, u"DeleteTextFile"_s);
    }
    static QString refusedDeletion(const QString &path)
    {
        return u"Файл "_s + path +
               u" нельзя удалить: из него идёт запись аудиокниги или он ждёт своей очереди в пакетной "
               u"записи. "
               u"Дождитесь окончания записи или прервите её."_s;
    }

    QString folder;
};

} // namespace

TEST_F(Recording, BlocksEndAtSentenceEndsBlankLinesAndChapterMarkers)
{
    book(u"Книга"_s, {u"Первая строка без точки"_s, u"конец фразы."_s, u"@@@@@ глава"_s, u"Вторая часть."_s,
                      u"Ещё"_s, QString(), u"Хвост"_s});
    BlockLimit = 20;
    const recordingrun::Result result = recordBook();
    EXPECT_EQ(std::pair(result.outcome, result.finished), std::pair(conversion::Outcome::Completed, true));
    const QStringList texts = spokenTexts();
    ASSERT_EQ(texts.size(), 4);
    // What each block holds; the marker line adds nothing.
    EXPECT_TRUE(texts[0].contains(u"Первая"_s) && texts[0].contains(u"фразы"_s));
    EXPECT_FALSE(texts[1].contains(u"глава"_s));
    EXPECT_TRUE(texts[2].contains(u"Вторая"_s) && texts[2].contains(u"Ещё"_s));
    EXPECT_TRUE(texts[3].contains(u"Хвост"_s));
    // The finished book's folder carries its "!".
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"!Книга"}));
    EXPECT_EQ(QDir(folder + u"/!Книга"_s).entryList({u"*.wav"_s}),
              QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.wav"}));
    EXPECT_EQ(CharsDone, 23 + 12 + 13 + 3 + 5);
    EXPECT_TRUE(monitor().ProgressBar1->value() == monitor().ProgressBar1->maximum() &&
                monitor().windowTitle().startsWith(u"100"_s));
}

// A paragraph longer than the line limit: recorded once. The same book with lone line feeds
// is cut into the same blocks; neither book file is touched.
TEST_F(Recording, LongParagraphIsOneBlockAndLeavesTheBookAsItIs)
{
    const QString sentence = u"Длинная фраза книги. "_s;
    const auto paragraph = [&](int chars) { return sentence.repeated(chars / sentence.size()); };
    const QString path =
        book(u"Абзац"_s, {paragraph(1000), paragraph(1000), paragraph(1000), paragraph(12600)});
    const QByteArray crLf = textfile::readBytes(path).value_or(QByteArray());
    setup().FlatScrollBar1->setValue(1);
    w->SetFragmentSize();
    QList<std::pair<QStringList, std::int32_t>> runs; // what was spoken, and the progress count
    for (const QByteArray &bytes : {crLf, QByteArray(crLf).replace("\r\n", "\n")}) {
        ASSERT_TRUE(textfile::writeBytes(path, bytes));
        QDir(folder + u"/!Абзац"_s).removeRecursively();
        fakeVoices().log.spoken.clear();
        EXPECT_EQ(recordBook().outcome, conversion::Outcome::Completed);
        EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.wav", "0005.wav"}));
        EXPECT_EQ(textfile::readBytes(path), bytes);
        runs << std::pair(spokenTexts(), CharsDone);
    }
    EXPECT_EQ(runs[1], runs[0]);
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(Recording, TextCopyIsTheSpokenTextWithPausesAndSpokenNumbersWhenAsked)
{
    ::Setup &s = setup();
    s.Check4->setChecked(true);
    s.FlatScrollBar9->setValue(1);
    s.FlatScrollBar10->setValue(2);
    s.FlatScrollBar1->setValue(s.FlatScrollBar1->maximum()); // one block
    book(u"Да"_s, {u"Да."_s});
    for (bool numbers : {false, true}) {
        SCOPED_TRACE(numbers);
        s.Check2->setChecked(numbers);
        QDir(folder + u"/!Да"_s).removeRecursively();
        run();
        EXPECT_TRUE(w->isVisible() && !monitor().isVisible()); // the main window is back
        const QString prepared = u"\r\n  <silence msec=\"500\"/>\r\nДа . "_s;
        const QString body = numbers
                                 ? TembrStart + u"Блок  1"_s + TembrStart + prepared + u" Конец блока  1"_s
                                 : TembrStart + prepared;
        const QString framed = pauseElement(1000) + body + pauseElement(2000);
        EXPECT_EQ(textfile::readText(folder + u"/!Да/0001.txt"_s).value_or(QString()), framed + u"\r\n"_s);
        EXPECT_EQ(spokenTexts().last(), framed);
    }
    // A UTF-8 book's copy is UTF-8: no letter outside Windows-1251 becomes "?".
    const QString path = book(u"Кафе"_s, {});
    ASSERT_TRUE(textfile::writeText(path, u"Кафе «Café» и за\u0301мок, Ґанок, ñ, œuvre"_s,
                                    textcodec::Encoding::Utf8));
    run();
    const QString spoken = spokenTexts().last();
    EXPECT_TRUE(spoken.contains(u"Café"_s) && spoken.contains(u"за<мок"_s) &&
                spoken.contains(u"œuvre"_s));
    EXPECT_EQ(textfile::readBytes(folder + u"/!Кафе/0001.txt"_s),
              textcodec::encode(spoken + u"\r\n"_s, textcodec::Encoding::Utf8));
}

TEST_F(Recording, EncodedBlocksAreSkippedAndCopiesShareTheBook)
{
    book(u"Счёт"_s, {u"Один."_s, u"Два."_s, u"Три."_s, u"Четыре."_s});
    BlockLimit = 7; // one line a block, whether the block before was made or skipped
    QDir().mkpath(folder + u"/Счёт"_s);
    for (const QString name : {"0002.wav", "0004.mp3"}) // another format's file is no WAV block
        textfile::writeText(folder + u"/Счёт/"_s + name, QString());

    // This copy takes blocks 2 and 4 of every 2; 2 is done already.
    setup().Text24->setText(u"2"_s);
    setup().Text21->setText(u"2"_s);
    ASSERT_TRUE(recordingrun::checkSelection());
    EXPECT_FALSE(recordBook().finished); // blocks 1 and 3 are the other copy's
    EXPECT_EQ(spokenFiles(), QStringList({"0004.wav"}));
    EXPECT_EQ(BlockNo, 5); // four lines and the last block, each with its number

    // The other copy, set to another block length, takes none of them for its own.
    setup().Text24->setText(u"1"_s);
    ASSERT_TRUE(recordingrun::checkSelection());
    BlockLimit = 9;
    const recordingrun::Result otherCut = recordBook();
    EXPECT_EQ(std::pair(otherCut.outcome, otherCut.otherCut),
              std::pair(conversion::Outcome::Failed, u"длина блока была 7 знаков, теперь 9"_s));
    EXPECT_EQ(spokenFiles(), QStringList({"0004.wav"}));

    BlockLimit = 7;
    fakeVoices().log.spoken.clear();
    EXPECT_TRUE(recordBook().finished); // the copy that completes the book renames it
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0003.wav", "0005.wav"}));
    EXPECT_EQ(QDir(folder + u"/!Счёт"_s).entryList(QDir::Files),
              QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.mp3", "0004.wav", "0005.wav"}));
    // Without the other copy's last block the book is not finished.
    ASSERT_TRUE(QDir().rename(folder + u"/!Счёт"_s, folder + u"/Счёт"_s));
    QFile::remove(folder + u"/Счёт/0005.wav"_s);
    setup().Text24->setText(u"2"_s);
    EXPECT_FALSE(recordBook().finished);

    for (const QString bad : {"0", "x"}) {
        setup().Text21->setText(bad);
        fakeVoices().log.spoken.clear();
        EXPECT_EQ(run(), QStringList({"Номер копии программы и число копий должны быть целыми числами не "
                                      "меньше 1!"}));
        EXPECT_TRUE(spokenFiles().isEmpty());
    }
}

TEST_F(Recording, CommandChecksAndTheFallBackFolder)
{
    ::Setup &s = setup();
    s.Text28->clear();
    EXPECT_EQ(run(), QStringList({"НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"}));
    EXPECT_TRUE(s.isVisible() && s.SSTab2->currentIndex() == 1); // on the recording page

    // A working folder that is gone is refused by the book and the batch alike, and not made.
    const QString gone = home() + u"/нет"_s;
    s.Text28->setText(gone);
    const QStringList byBook = run();
    EXPECT_EQ(byBook + run(u"SavePaket"_s), QStringList(2, "Рабочий каталог не найден:\n" + gone));
    EXPECT_FALSE(QFileInfo::exists(gone));
    // A book folder that cannot be made is named, not its first block.
    s.Text28->setText(folder);
    book(u"Занято"_s, {u"Текст."_s});
    QFile(folder + u"/Занято"_s).open(QIODevice::WriteOnly);
    EXPECT_EQ(run(), QStringList({"Не удалось создать папку книги\n" + folder + "/Занято: Not a directory"}));
    // A book finished before is not recorded again beside it: both folders are named, neither is touched.
    book(u"Готово"_s, {u"Текст."_s});
    QDir().mkpath(folder + u"/!Готово"_s);
    EXPECT_EQ(run(), QStringList({"Аудиокнига уже записана в папку " + folder +
                                  "/!Готово.\nНовая запись осталась "
                                  "бы в папке " +
                                  folder +
                                  "/Готово без «!», рядом с готовой. Переименуйте или "
                                  "перенесите готовую папку и начните запись снова."}));
    EXPECT_FALSE(QFileInfo::exists(folder + u"/Готово"_s));
    // A book in an encoding the program does not read is named, and no folder is made for it.
    const QString iso = book(u"Иная"_s, {});
    textfile::writeBytes(
        iso, QStringEncoder("ISO-8859-5")(u"Через базарную площадь идет полицейский надзиратель."_s));
    EXPECT_TRUE(run().value(0).startsWith(u"Не удалось открыть файл\n"_s + iso +
                                          u": Книга в кодировке ISO-8859-5"_s));
    EXPECT_FALSE(QFileInfo::exists(folder + u"/Иная"_s));

    s.Text28->setText(home() + u"/Мои книги"_s);
    QDir().mkpath(s.Text28->text());
    const QStringList twice = run();
    const QString fallBack = home() + u"/Quenvale_MP3"_s;
    EXPECT_TRUE(twice.value(0).startsWith(u"Пробелы в названиии рабочего каталога"_s));
    EXPECT_EQ(twice.mid(1),
              QStringList({"Укажите каталог " + fallBack + " или другой БЕЗ ПРОБЕЛОВ в названии !!!"}));
    EXPECT_TRUE(s.Text28->text() == fallBack && QFileInfo(fallBack).isDir());

    // No saved book: the start-up placeholders are no file to record.
    CurTextPath = u"полный путь к файлу"_s;
    BookTitle = u"название произведения"_s;
    const QStringList noFile = run();
    w->RichTextBox2->setText(u"текст"_s);
    EXPECT_EQ(
        noFile + run(),
        QStringList(
            {"Не указан текстовый файл для записи аудиокниги! ",
             "Запись аудиокниги осуществляется  из СОХРАНЕННОГО ФАЙЛА, а не из содержимого текстового "
             "окна! Текст должен быть сохранен в файл. Воспользуйтесь кнопкой СОХРАНИТЬ ТЕКСТ КАК... "}));
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
}

TEST_F(Recording, OkToTheQuestionSavesTheEditedBookFirstAndCancelRecordsNothing)
{
    const QString path = book(u"Правка"_s, {u"Старый текст."_s});
    setup().Check1->setChecked(true);
    w->RichTextBox2->setText(u"Новый текст."_s);
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    run();
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
    EXPECT_EQ(*textfile::readText(path), u"Старый текст.\r\n"_s);

    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    run();
    EXPECT_EQ(*textfile::readText(path), u"Новый текст.\r\n"_s);
    EXPECT_TRUE(spokenTexts().value(0).contains(u"Новый"_s));

    // A text pre-formatted as it was opened (from any window) is no edit: its file stays.
    w->RichTextBox2->setText(u"Открытый  текст."_s);
    w->PreFormat();
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    w->MakeBook();
    waitForJobs();
    EXPECT_EQ(*textfile::readText(path), u"Новый текст.\r\n"_s);
}

// Stopped at one block length and started at another: the user chooses between a new start,
// the old blocks kept aside, and nothing. Saving the book with other line ends cuts it no other
// way: it resumes.
TEST_F(Recording, ABookCutOtherwiseBeforeStartsAnewOrNotAtAll)
{
    const QString sentence = u"Фраза из книги, в которой ровно семьдесят знаков вместе с точкой в конце."_s;
    const QStringList lines(40, sentence);
    const QString path = book(u"Нарезка"_s, lines);
    ASSERT_TRUE(
        textfile::writeBytes(path, textcodec::encode(lines.join(u'\n'), textcodec::Encoding::Windows1251)));
    ::Setup &s = setup();
    s.FlatScrollBar1->setValue(1);
    const auto stopAtSecondBlock = [] {
        fakeVoices().log.onSpeak = [] {
            if (fakeVoices().log.spoken.size() == 2)
                StopFlag = true;
        };
    };
    stopAtSecondBlock();
    run();
    const QString plain = folder + u"/Нарезка"_s;
    ASSERT_EQ(QDir(plain).entryList(QDir::Files), QStringList({"0001.wav"}));

    // Its CR LF twin, as the editor saves it, goes on from the next block.
    ASSERT_TRUE(textfile::writeLines(path, lines));
    fakeVoices().log.spoken.clear();
    EXPECT_TRUE(run().isEmpty());
    fakeVoices().log.onSpeak = nullptr;
    EXPECT_EQ(spokenFiles().value(0), u"0002.wav"_s);
    ASSERT_EQ(QDir(plain).entryList(QDir::Files), QStringList({"0001.wav", "0002.wav"}));

    s.FlatScrollBar1->setValue(2);
    fakeVoices().log.spoken.clear();
    const auto question = [&](const QString &aside) {
        return "Блоки в папке " + plain +
               " нарезаны не для этой записи: длина блока была 900 знаков, "
               "теперь 1800.\nНачать книгу заново? Прежние блоки будут перенесены в папку " +
               folder + u'/' + aside + ", ничего не удаляется.\nОтмена — ничего не записывать.";
    };
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    EXPECT_EQ(run(), QStringList({question(u"Нарезка (прежние блоки)"_s)}));
    EXPECT_TRUE(spokenFiles().isEmpty());
    EXPECT_EQ(QDir(plain).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"0001.wav", "0002.wav"}));

    // Another copy records the folder's blocks (it holds their record): they are never moved
    // from under it, and nothing is asked.
    {
        const int record = ::open(QFile::encodeName(plain + u"/.blockcut"_s).constData(), O_RDONLY);
        ASSERT_EQ(::flock(record, LOCK_SH), 0);
        EXPECT_EQ(run(), QStringList({"Блоки в папке " + plain +
                                      " сейчас записывает другая копия программы. Остановите её и начните "
                                      "книгу заново."}));
        ::close(record);
    }
    // Another copy finishes the book while the question is open: nothing moves, and no empty
    // folder is left beside the finished one.
    bool finishedMeanwhile = false;
    scriptedPrompter().onAsk = [&] {
        if (!std::exchange(finishedMeanwhile, true))
            QDir().rename(plain, folder + u"/!Нарезка"_s);
    };
    const QStringList answered = run();
    scriptedPrompter().onAsk = {};
    EXPECT_EQ(answered.value(1).section(u'\n', 0, 0),
              "Аудиокнига уже записана в папку " + folder + "/!Нарезка.");
    EXPECT_EQ(QDir(folder).entryList({u"Нарезка*"_s, u"!Нарезка*"_s}, QDir::Dirs), QStringList({"!Нарезка"}));
    ASSERT_TRUE(QDir().rename(folder + u"/!Нарезка"_s, plain));
    EXPECT_TRUE(spokenFiles().isEmpty());

    // A new start that fails half way leaves the blocks it could not move described as before:
    // the next run asks again instead of taking them for its own.
    const QString aside = folder + u"/Нарезка (прежние блоки)"_s;
    QDir().mkpath(aside + u"/0002.wav"_s);
    EXPECT_FALSE(recordingrun::moveBlocksAside(aside));
    EXPECT_EQ(asked(), QStringList({"Не удалось перенести прежний блок\n" + plain +
                                    "/0002.wav: Destination file exists"}));
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    EXPECT_EQ(run(), QStringList({question(u"Нарезка (прежние блоки 2)"_s)}));
    EXPECT_TRUE(spokenFiles().isEmpty());
    ASSERT_TRUE(QFile::rename(aside + u"/0001.wav"_s, plain + u"/0001.wav"_s));
    ASSERT_TRUE(QDir(aside).removeRecursively());

    // OK: the book is cut anew from its first block; what the recording made waits beside the
    // book folder, where no batch and no finished book takes it. The user's cover stays, so does
    // a file only named like a block, and so does the subfolder an earlier version kept the old
    // blocks in.
    ASSERT_TRUE(textfile::writeBytes(plain + u"/0003.part.wav"_s, "RIFF"));
    // The draft of a record a killed copy left goes.
    ASSERT_TRUE(textfile::writeBytes(plain + u"/.blockcut.x1Y2z3"_s, "BlockLimit=9"));
    ASSERT_TRUE(textfile::writeBytes(plain + u"/cover.jpg"_s, "JFIF"));
    ASSERT_TRUE(textfile::writeBytes(plain + u"/0003_копия.mp3"_s, "ID3"));
    ASSERT_TRUE(QDir().mkpath(plain + u"/прежние_блоки"_s));
    ASSERT_TRUE(QFile::copy(plain + u"/0001.wav"_s, plain + u"/прежние_блоки/0001.wav"_s));
    EXPECT_EQ(run(), QStringList({question(u"Нарезка (прежние блоки)"_s)}));
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0002.wav"}));
    EXPECT_EQ(QDir(aside).entryList(QDir::Files | QDir::Hidden),
              QStringList({".blockcut", "0001.wav", "0002.wav", "0003.part.wav"}));
    EXPECT_EQ(QDir(folder + u"/!Нарезка"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"0001.wav", "0002.wav", "0003_копия.mp3", "cover.jpg", "прежние_блоки"}));
    EXPECT_FALSE(QFileInfo::exists(folder + u"/!Нарезка/.blockcut.x1Y2z3"_s));

    // A copy that finds the folder's cut changed under it (another copy started the book anew
    // with another cut) stops writing there at once, its block's speech with it, and says why.
    s.FlatScrollBar1->setValue(1);
    book(u"Смена"_s, lines);
    const QString changed = folder + u"/Смена"_s;
    fakeVoices().log.spoken.clear();
    fakeVoices().log.onSpeak = [&] {
        if (fakeVoices().log.spoken.size() == 2 &&
            QFile::rename(changed + u"/.blockcut"_s, changed + u"/прежняя_нарезка"_s))
            textfile::writeBytes(changed + u"/.blockcut"_s,
                                 "BlockLimit=1800\r\nTextChars=1\r\nTextSha256=ab\r\n");
    };
    EXPECT_EQ(run(), QStringList({"Запись книги остановлена: в папке " + changed +
                                  " другая нарезка книги — другая копия программы начала книгу заново или "
                                  "с другой длиной блока. В эту папку больше ничего не записано; готовые "
                                  "блоки этой копии остались с прежней нарезкой."}));
    fakeVoices().log.onSpeak = nullptr;
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0002.wav"}));
    EXPECT_EQ(QDir(changed).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({".blockcut", "0001.wav", "прежняя_нарезка"}));
    s.FlatScrollBar1->setValue(2);

    // Two copies starting on one folder together: the one that finds the record taken, even
    // before its text is there, never writes over it but compares against it.
    const QString twice = folder + u"/Двое"_s;
    QDir().mkpath(twice);
    ASSERT_TRUE(QFile::link(u".blockcut.не_дописан"_s, twice + u"/.blockcut"_s));
    book(u"Двое"_s, lines);
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    EXPECT_EQ(run().value(0).section(u'\n', 0, 0),
              "Блоки в папке " + twice +
                  " нарезаны не для этой записи: сведения о прежней нарезке не читаются.");
    EXPECT_TRUE(QFileInfo(twice + u"/.blockcut"_s).isSymLink());
    EXPECT_EQ(QDir(twice).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({".blockcut"}));

    // A run that died between creating its record and writing it left it empty: the folder
    // remembers nothing, and the book is recorded without a question, its record this cut's.
    book(u"Вместе"_s, lines);
    ASSERT_TRUE(run().isEmpty());
    const QString together = folder + u"/Вместе"_s;
    ASSERT_TRUE(QDir().rename(folder + u"/!Вместе"_s, folder + u"/прежде"_s));
    const QByteArray sameCut = textfile::readBytes(folder + u"/прежде/.blockcut"_s).value_or(QByteArray());
    ASSERT_FALSE(sameCut.isEmpty());
    QDir().mkpath(together);
    ASSERT_TRUE(textfile::writeBytes(together + u"/.blockcut"_s, {}));
    // So do drafts of the record a killed copy left; one whose copy still runs stays.
    ASSERT_TRUE(textfile::writeBytes(together + u"/.blockcut.Dead00"_s, {}));
    ASSERT_TRUE(textfile::writeBytes(together + u"/.blockcut.Alive0"_s, {}));
    const int alive = ::open(QFile::encodeName(together + u"/.blockcut.Alive0"_s).constData(), O_RDONLY);
    ASSERT_EQ(::flock(alive, LOCK_EX), 0);
    fakeVoices().log.spoken.clear();
    EXPECT_TRUE(run().isEmpty());
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0002.wav"}));
    EXPECT_EQ(textfile::readBytes(folder + u"/!Вместе/.blockcut"_s), sameCut);
    EXPECT_EQ(QDir(folder + u"/!Вместе"_s).entryList({u".blockcut*"_s}, QDir::Files | QDir::Hidden),
              QStringList({".blockcut", ".blockcut.Alive0"}));
    ::close(alive);
}

TEST_F(Recording, VoiceListIsLoadedAndAppliedToEveryBlock)
{
    QDir().mkpath(home() + u"/DIC"_s);
    textfile::writeLines(home() + u"/DIC/Nicolai.dic"_s, {u"кот=пёс"_s, QString(), u"мусор"_s, u"*ка=КА"_s});
    // A batch right after start-up and a single book alike.
    for (const QString command : {"SavePaket", "SaveAudio"}) {
        Find().ListView1->clear();
        fakeVoices().log.spoken.clear();
        book(u"Кот"_s, {u"Мой кот и кошка."_s});
        SCOPED_TRACE(command.toStdString());
        EXPECT_TRUE(run(command).isEmpty());
        EXPECT_EQ(Find().entries(), QStringList({"кот=пёс", "*ка=КА"}));
        const QStringList texts = spokenTexts();
        EXPECT_TRUE(texts.size() == 1 && texts[0].contains(u" пёс "_s) && texts[0].contains(u"кошКА"_s));
        QDir(folder + u"/!Кот"_s).removeRecursively();
    }

    // A voice without a list is told so at every recording; the list stays.
    setup().lstSapi5->setCurrentRow(1);
    w->SetStatusBar();
    w->LoadVoiceDic();
    EXPECT_TRUE(asked().isEmpty()); // Katerina's list is simply missing
    w->setStatusPanel(4, u"Boris (eSpeak NG, русский, мужской, низкий)"_s);
    w->LoadVoiceDic();
    EXPECT_TRUE(scriptedPrompter().asked.value(0).notice) << "a recording does not wait for it";
    EXPECT_EQ(asked(), QStringList({"Для данного голосового движка нет пользовательского словаря"}));
    EXPECT_EQ(Find().entries().size(), 2);
}

TEST_F(Recording, BatchFinishesGoodBooksKeepsAFailedOneAndStopsWhenAsked)
{
    setup().Check3->setChecked(true);
    triggerAction(monitor(), u"shutdownAfterRecording"_s); // power off at the end
    const QString line = u"Ёжик пошёл домой."_s;
    for (const QString name : {"a", "b", "z"})
        textfile::writeLines(folder + u'/' + name + u".txt"_s, {line});
    textfile::writeLines(folder + u"/c.txt"_s, {line}, textcodec::Encoding::Utf8);
    // A file where b's book folder should be: its blocks cannot be made.
    textfile::writeText(folder + u"/b"_s, QString());
    // z was finished by an earlier recording: not recorded again, its text put beside its blocks.
    QDir().mkpath(folder + u"/!z"_s);
    // What the user finds once the machine is off.
    QString report;
    scriptedShutdown().onPowerOff = [&] {
        report = textfile::readText(batchreport::path(folder)).value_or(QString());
    };
    const QStringList told = run(u"SavePaket"_s);
    for (const QString done : {"/!a/0001.wav", "/!c/0001.wav"})
        EXPECT_TRUE(QFileInfo::exists(folder + done)) << done.toStdString();
    EXPECT_EQ(QDir(folder + u"/!z"_s).entryList(QDir::Files), QStringList({"z.txt"}));
    EXPECT_EQ(QDir(folder).entryList({u"*.txt"_s}), QStringList({"b.txt"}));
    // No box stands before the power-off: the report, written before it, names every book, a
    // failed one with its reason, and what was set aside.
    EXPECT_TRUE(told.isEmpty()) << told.join(u'\n').toStdString();
    const QString books = "Книга a.txt записана в папку " + folder +
                          "/!a.\r\nКнига b.txt не записана: Не удалось "
                          "создать папку книги\r\n" +
                          folder +
                          "/b: Not a directory\r\nКнига c.txt записана в "
                          "папку " +
                          folder + "/!c.\r\nКнига z не записана: готовая книга " + folder +
                          "/!z уже есть; её текст перенесён в эту папку.\r\n";
    EXPECT_TRUE(report.startsWith(u"Пакетная запись окончена "_s)) << report.toStdString();
    EXPECT_EQ(report.section(u"\r\n"_s, 1), books);
    // The UTF-8 book is spoken as its Windows-1251 twin.
    const QStringList texts = spokenTexts();
    EXPECT_TRUE(texts.size() == 2 && texts[0].contains(u"Ёжик пошёл"_s) && texts[1] == texts[0]);
    EXPECT_TRUE(scriptedSoundPlayer().played.size() == 1 && scriptedShutdown().calls == 1 && w->isVisible());
    // The next start tells the report once and keeps it, under a name no batch takes for a book.
    SaveSettings(setup());
    QStringList atStart;
    for (int start = 0; start < 2; ++start) {
        restart().show();
        QCoreApplication::processEvents();
        atStart << asked();
    }
    EXPECT_EQ(atStart, QStringList({"Отчёт пакетной записи, которая выключила компьютер (файл " +
                                    batchreport::toldPath(folder) + "):\n" + report.trimmed()}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              QStringList({"b", "b.txt", u"Отчёт пакетной записи (прочитан).log"_s}));

    // Stopped during the second of three books: the first is finished, the rest stay queued.
    QFile::remove(folder + u"/b"_s);
    QFile::remove(folder + u"/b.txt"_s);
    for (const QString name : {"d", "e", "f"})
        textfile::writeLines(folder + u'/' + name + u".txt"_s, {line});
    fakeVoices().log.spoken.clear();
    fakeVoices().log.onSpeak = [] {
        if (fakeVoices().log.spoken.size() == 2)
            StopFlag = true;
    };
    EXPECT_EQ(run(u"SavePaket"_s), QStringList({"Пакетная запись прервана: книги, которые не записаны, "
                                                "оставлены в рабочем каталоге."}));
    EXPECT_EQ(QDir(folder).entryList({u"*.txt"_s}), QStringList({"e.txt", "f.txt"}));
    // No end sound and no power off after a stop.
    EXPECT_EQ(std::pair(scriptedSoundPlayer().played.size(), scriptedShutdown().calls),
              std::pair(qsizetype(1), 1));

    // No end sound when every book failed.
    fakeVoices().log.onSpeak = nullptr;
    for (const QString name : {"e.txt", "f.txt"})
        QFile::remove(folder + u'/' + name);
    textfile::writeLines(folder + u"/g.txt"_s, {line});
    textfile::writeText(folder + u"/g"_s, QString());
    EXPECT_EQ(run(u"SavePaket"_s).size(), 1);
    EXPECT_EQ(scriptedSoundPlayer().played.size(), 1);
}

// The encoder fails in the first of two books: the second is recorded at once, while the user
// has not answered anything, and the batch's summary says why the first failed. Meanwhile the
// library deletes neither the book being recorded nor one the batch has still to record.
TEST_F(Recording, AFailedBookHoldsNoLaterBookAndTheBatchsBooksStay)
{
    ::Setup &s = setup();
    s.SSTab1->setCurrentIndex(encoders::Mp3);
    s.FlatScrollBar1->setValue(s.FlatScrollBar1->maximum()); // a block a chapter
    // In the program folder: found first. It fails on A's block named in `failing`, once `fail` is there,
    // unless `fail` holds something.
    const QString lame = home() + u"/lame"_s, failing = home() + u"/failing"_s, fail = home() + u"/fail"_s;
    ASSERT_TRUE(textfile::writeBytes(
        lame, u"#!/bin/sh\ncase \"$*\" in */A/$(cat %1)*) touch %2.started; until [ -e %2 ]; do sleep 0.01; "
              u"done; [ -s %2 ] || { echo 'cannot encode' >&2; exit 1; };; esac\nfor a; do out=$a; done\n"
              u"echo mp3 > \"$out\"\n"_s.arg(failing, fail)
                  .toUtf8()));
    QFile::setPermissions(lame, QFile::permissions(lame) | QFileDevice::ExeOwner);
    ASSERT_TRUE(textfile::writeBytes(failing, "0003") && textfile::writeBytes(fail, {}));
    const auto aFailed = [&](const QString &block) {
        return "Книга A.txt не записана: Программа lame не смогла преобразовать блок " + block +
               "; звуковой файл блока сохранён.\n" + folder + "/A/" + block + ".wav: cannot encode";
    };
    const QString a = folder + u"/A.txt"_s, b = folder + u"/B.txt"_s;
    const QStringList aLines = {u"Один."_s, u"@@@@@"_s, u"Два."_s,   u"@@@@@"_s,
                                u"Три."_s,  u"@@@@@"_s, u"Четыре."_s};
    textfile::writeLines(a, aLines);
    textfile::writeLines(b, {u"Один."_s, u"@@@@@"_s, u"Два."_s});
    textfile::writeLines(folder + u"/notes.log"_s, {u"заметки"_s});
    QStringList deleting;
    bool waited = false, secondFinishedUnanswered = false;
    fakeVoices().log.onSpeak = [&] {
        if (fakeVoices().log.spoken.size() != 1)
            return;
        for (const QString name : {"A.txt", "B.txt", "notes.log"})
            deleteInLibrary(name);
        deleting = asked();
        // From here on a user who leaves the first message unanswered: it waits until the
        // second book is finished, or long enough to tell that it never will be.
        scriptedPrompter().onAsk = [&] {
            if (std::exchange(waited, true))
                return;
            secondFinishedUnanswered =
                QTest::qWaitFor([&] { return QFileInfo::exists(folder + u"/!B"_s); }, 10000);
        };
    };
    const QStringList told = run(u"SavePaket"_s);
    EXPECT_TRUE(secondFinishedUnanswered);
    EXPECT_EQ(told, QStringList({aFailed(u"0003"_s)}));
    EXPECT_EQ(QDir(folder + u"/A"_s).entryList(QDir::Files),
              QStringList({"0001.mp3", "0002.mp3", "0003.wav"}));
    EXPECT_EQ(deleting, QStringList({refusedDeletion(a), refusedDeletion(b),
                                     "Удалить файл безвозврано?\n" + folder + "/notes.log"}));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"A.txt"}));
    // Once the batch is over its books are the user's again, unless a recording took one while
    // the question was open.
    std::optional<busy::JobScope> started;
    scriptedPrompter().onAsk = [&] {
        started.emplace(busy::Job::Recording);
        started->holdFiles([&](const QString &path) { return path == QFileInfo(a).canonicalFilePath(); });
    };
    deleteInLibrary(u"A.txt"_s);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"A.txt"}));
    started.reset();
    scriptedPrompter().onAsk = {};
    deleteInLibrary(u"A.txt"_s);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());

    // "Прервать" while lame works on a block it then fails (one in the middle of A, or A's last):
    // the stop holds, B is not begun, and the summary names the failure and the stop. When lame
    // makes A's last block after all and A is the last book, A is finished without a word.
    fakeVoices().log.onSpeak = nullptr;
    asked();
    QDir(folder + u"/!B"_s).removeRecursively();
    const QString stopLine = u"\nПакетная запись прервана: книги, которые не записаны, оставлены в рабочем "
                             u"каталоге."_s;
    const std::tuple<QString, QByteArray, bool, QStringList, QStringList> stops[] = {
        {u"0003"_s, {}, true, {aFailed(u"0003"_s) + stopLine}, {"A", "A.txt", "B.txt"}},
        {u"0004"_s, {}, true, {aFailed(u"0004"_s) + stopLine}, {"A", "A.txt", "B.txt"}},
        {u"0004"_s, "made", false, {}, {"!A"}},
    };
    for (const auto &[block, lameAnswer, withB, toldThen, left] : stops) {
        SCOPED_TRACE(block.toStdString());
        QDir(folder + u"/A"_s).removeRecursively();
        QFile::remove(fail);
        QFile::remove(fail + u".started"_s);
        ASSERT_TRUE(textfile::writeBytes(failing, block.toLatin1()));
        textfile::writeLines(a, aLines);
        if (withB)
            textfile::writeLines(b, {u"Один."_s});
        else
            QFile::remove(b);
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, [&] {
            if (!QFileInfo::exists(fail + u".started"_s))
                return;
            stopper.stop();
            monitor().abortClicked();
            textfile::writeBytes(fail, lameAnswer);
        });
        stopper.start(5);
        EXPECT_EQ(run(u"SavePaket"_s), toldThen);
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), left);
    }
}

// The batch records one book per title and never resumes a folder of another cut or book;
// the editor's book is the current one again after every batch, however it ended.
TEST_F(Recording, BatchLeavesBooksOfATakenTitleOrAnotherCutAloneAndGivesTheEditorsBookBack)
{
    const QString editorBook = home() + u"/Редактор.txt"_s;
    textfile::writeLines(editorBook, QStringList(50, u"Длинная книга редактора."_s));
    CurTextPath = editorBook;
    BookTitle = u"Редактор"_s;
    w->Dlitelnost();
    textfile::writeLines(folder + u"/edited.txt"_s, {u"Было."_s});
    textfile::writeLines(folder + u"/tom.1.txt"_s, {u"Первый том."_s});
    textfile::writeLines(folder + u"/tom.2.txt"_s, {u"Второй том, подлиннее."_s});
    // The monitor shows the figures of the book it records.
    QStringList shown, expected;
    bool stop = true;
    fakeVoices().log.onSpeak = [&] {
        shown << monitor().bookTitle() + u' ' + monitor().statusPanel(3);
        expected << BookTitle + u' ' + estimate::sizeText(QFileInfo(CurTextPath).size(), QLocale());
        StopFlag = stop;
    };
    const auto editorsBook = std::pair(editorBook, u"Редактор"_s);

    // Stopped in the first book, which is then edited.
    EXPECT_EQ(run(u"SavePaket"_s), QStringList({"Пакетная запись прервана: книги, которые не записаны, "
                                                "оставлены в рабочем каталоге."}));
    EXPECT_EQ(std::pair(CurTextPath, BookTitle), editorsBook);
    textfile::writeLines(folder + u"/edited.txt"_s, {u"Было."_s, u"Стало."_s});

    stop = false;
    EXPECT_EQ(run(u"SavePaket"_s),
              QStringList({"Книга edited не записана: блоки в папке " + folder +
                           "/edited нарезаны не для неё (текст книги другой); её текст оставлен в рабочем "
                           "каталоге.\nКнига tom.2.txt не записана: у неё то же название tom, что у книги "
                           "tom.1.txt этого пакета; её текст оставлен в рабочем каталоге."}));
    EXPECT_EQ(std::pair(CurTextPath, BookTitle), editorsBook);
    EXPECT_EQ(QDir(folder).entryList({u"*.txt"_s}), QStringList({"edited.txt", "tom.2.txt"}));
    EXPECT_TRUE(shown.size() == 2 && shown[1].startsWith(u"tom "_s));
    EXPECT_EQ(shown, expected);
}

TEST_F(Recording, EveryMainWindowCommandLeavesARunningRecordingAlone)
{
    const QString path = book(u"Тишина"_s, {u"Один."_s});
    w->RichTextBox2->setText(u"текст"_s);
    setup().Check3->setChecked(true); // the end sound, for a finished book only
    // The dictionary editor open before: the monitor hides it, and it can be looked at again.
    QDir(home()).mkpath(u"DIC"_s);
    ASSERT_TRUE(textfile::writeLines(excdic::programCopy(), excdic::fileLines({u"кот :\t<ко<т>"_s})));
    triggerAction(*w, u"menu5_2"_s);
    std::string refused;
    QStringList deleting;
    bool locked = false, once = false, dictionaryShown = false;
    fakeVoices().log.onSpeak = [this, &refused, &deleting, &locked, &once, &dictionaryShown] {
        if (std::exchange(once, true))
            return;
        deleteInLibrary(u"Тишина.txt"_s);
        deleting = asked();
        // A stray key in the editor adds nothing, as during a reading aloud.
        locked = w->RichTextBox2->Locked();
        QTest::keyClick(w->RichTextBox2->findChild<QTextEdit *>(), Qt::Key_Return);
        const bool hidden = !DicEdit().isVisible();
        refused = chooseEveryCommand(u"Идёт запись аудиокниги. Дождитесь её окончания или прервите запись."_s,
                                     {u"ExitProgramm"_s});
        dictionaryShown = hidden && DicEdit().isVisible() && DicEdit().ListView1->count() == 1;
    };
    run();
    EXPECT_EQ(refused, "ClearText FindNewWords FindOmograf InsPaket OpenFile Play SaveAs SaveAudio SaveFile "
                       "SavePaket SeveRTF Stop Toolbar1_2 Toolbar1_3 Toolbar1_5 Toolbar1_7 Toolbar1_9 User1 "
                       "User2 User3 User4");
    EXPECT_TRUE(dictionaryShown);
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav"}));
    EXPECT_EQ(deleting, QStringList({refusedDeletion(path)}));
    EXPECT_TRUE(QFileInfo::exists(folder + u"/!Тишина"_s) && QFileInfo::exists(path) &&
                scriptedSoundPlayer().played.size() == 1)
        << "the book was finished";
    EXPECT_TRUE(locked && w->RichTextBox2->Text() == u"текст"_s);
    EXPECT_FALSE(w->RichTextBox2->Locked()) << "the end of the recording unlocks the editor";

    // A stopped recording unlocks it as well.
    fakeVoices().log.onSpeak = [] { monitor().abortClicked(); };
    book(u"Стоп"_s, {u"Один."_s});
    run();
    EXPECT_FALSE(QFileInfo::exists(folder + u"/!Стоп"_s) || w->RichTextBox2->Locked());
    // So does the exit, in the middle of a block's speech, which leaves nothing of it.
    fakeVoices().busyPolls = 1000000;
    setup().Voice = fakeVoices().create();
    fakeVoices().log.onSpeak = [this] { QTimer::singleShot(0, w, [this] { w->ExitProgramm_Click(); }); };
    book(u"Выход"_s, {u"Один."_s});
    const qsizetype sounds = scriptedSoundPlayer().played.size();
    run();
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(QDir(folder + u"/Выход"_s).entryList(QDir::Files).isEmpty());
    EXPECT_FALSE(w->RichTextBox2->Locked() || scriptedSoundPlayer().played.size() > sounds);
}

// A book joined from parts in different encodings is opened, recorded with each part read in
// its own, and saved. One whose reading nothing vouches for is recorded only once the user
// confirms it, and a batch, with nobody to ask, leaves it in the working folder.
TEST_F(Recording, AJoinedBookIsRecordedAndAnUnsureOneOnlyWhenConfirmed)
{
    const QString joined = folder + u"/Сборник.txt"_s;
    const QByteArray bytes =
        u"Первая часть книги записана в кодировке UTF-8, как пишут книги сегодня.\r\n"_s.toUtf8() +
        cp1251::encode(u"Вторая часть пришла из старой книги в другой кодировке.\r\n"_s);
    ASSERT_TRUE(textfile::writeBytes(joined, bytes));
    scriptedFileChooser().names.enqueue(joined);
    EXPECT_TRUE(run(u"OpenFile"_s) == QStringList({u"Книга составлена из частей в разных кодировках (UTF-8, "
                                                   u"Windows-1251): каждая часть прочитана в своей."_s}));
    EXPECT_TRUE(run().isEmpty());
    const QStringList texts = spokenTexts();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains(u"Первая часть книги"_s) && texts[0].contains(u"из старой книги"_s));
    EXPECT_TRUE(QFileInfo::exists(folder + u"/!Сборник/0001.wav"_s));
    w->RichTextBox2->setSelText(u"Том первый. "_s);
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    EXPECT_EQ(run(u"SaveFile"_s).size(), 1);
    EXPECT_EQ(textfile::readBytes(joined), "\xEF\xBB\xBF" + (w->RichTextBox2->Text() + u"\r\n"_s).toUtf8());

    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    const QString unsure = folder + u"/Список.txt"_s;
    ASSERT_TRUE(textfile::writeBytes(unsure, cp1251::encode(u"ЦЕРКОВНОСЛАВЯНСКИЙ; СТАРОСЛАВЯНСКИЙ"_s)));
    scriptedFileChooser().names.enqueue(unsure);
    run(u"OpenFile"_s);
    fakeVoices().log.spoken.clear();
    const QString doubt = u"Кодировку книги не удалось распознать: она прочитана как Windows-1251."_s;
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    EXPECT_EQ(run(), QStringList({doubt + u" Записать её так?"_s}));
    EXPECT_TRUE(spokenTexts().isEmpty());
    EXPECT_EQ(run(u"SavePaket"_s), QStringList({u"Книга Список.txt не записана: "_s + doubt +
                                                u" Её текст оставлен в рабочем каталоге."_s}));
    EXPECT_TRUE(spokenTexts().isEmpty());
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    EXPECT_EQ(run(), QStringList({doubt + u" Записать её так?"_s}));
    EXPECT_EQ(spokenTexts().size(), 1);
}

// A keyboard user stops a recording: the focus starts on "Прервать", Space or Return asks the
// question and stops, and no later block is made.
TEST_F(Recording, TheKeyboardAloneStopsARecording)
{
    setup().Check1->setChecked(true);
    BlockLimit = 7; // one line a block
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        SCOPED_TRACE(key);
        fakeVoices().log.spoken.clear();
        book(u"Стоп"_s + QString::number(key), {u"Один."_s, u"Два."_s, u"Три."_s});
        QString focused;
        fakeVoices().log.onSpeak = [&focused, key] {
            fakeVoices().log.onSpeak = nullptr;
            QWidget *focus = monitor().focusWidget();
            ASSERT_TRUE(focus);
            focused = focus->accessibleName();
            scriptedPrompter().answers.enqueue(Prompter::Answer::Yes);
            QTest::keyClick(focus, key);
        };
        EXPECT_EQ(run().value(1), u"Прервать запись аудиокниги?"_s);
        EXPECT_EQ(focused, u"Прервать запись аудиокниги"_s);
        EXPECT_EQ(spokenFiles(), QStringList{u"0001.wav"_s});
    }
}

// The progress is a label a screen reader follows, changed once a block.
TEST_F(Recording, ProgressLabelTellsTheBlockOnceABlock)
{
    book(u"Счёт"_s, {u"Один."_s, u"Два."_s, u"Три."_s, u"Четыре."_s});
    BlockLimit = 7;
    QStringList shown;
    fakeVoices().log.onSpeak = [&shown] { shown << monitor().progressText(); };
    recordBook();
    shown << monitor().progressText();
    // A new recording starts with no block told, not with the last one's end.
    QDir(folder + u"/!Счёт"_s).removeRecursively();
    recordBook();
    // The share counts the lines before a block's last one, as the title does.
    EXPECT_EQ(shown, QStringList({"", "Блок 1 из 4, 0 %", "Блок 2 из 4, 17 %", "Блок 3 из 4, 32 %",
                                  "Блок 4 из 4, 46 %", "Блок 5 из 5, 100 %", "", "Блок 1 из 4, 0 %",
                                  "Блок 2 из 4, 17 %", "Блок 3 из 4, 32 %", "Блок 4 из 4, 46 %"}));
    EXPECT_EQ(monitor().ProgressBar1->accessibleName(), u"Ход записи"_s);
}

// Ctrl+A records an opened e-book from its text, saved first beside the book; the batch records
// an e-book from its text and moves it, never deleted, into its finished folder, and holds it
// meanwhile as it holds a text.
TEST_F(Recording, EBooksAreRecordedFromTheirTextAndNeverWritten)
{
    const QString fb2 = home() + u"/tihiy.fb2"_s;
    ASSERT_TRUE(QFile::copy(testdata::path(u"tihiy_dom.fb2"_s), fb2));
    const QByteArray bytes = textfile::readBytes(fb2).value();
    scriptedFileChooser().names.enqueue(fb2);
    triggerAction(*w, u"OpenFile"_s);
    const QString text = home() + u"/Тихий_дом.txt"_s;
    EXPECT_TRUE(run().isEmpty()); // the save is cancelled: nothing recorded
    EXPECT_EQ(scriptedFileChooser().asked.last().start, text);
    EXPECT_FALSE(QFileInfo::exists(folder + u"/Тихий_дом"_s) || QFileInfo::exists(text));
    scriptedFileChooser().names.enqueue(text);
    EXPECT_TRUE(run().isEmpty());
    EXPECT_EQ(CurTextPath, text);
    EXPECT_TRUE(QFileInfo::exists(folder + u"/!Тихий_дом/0001.wav"_s));
    EXPECT_TRUE(spokenTexts().join(u' ').contains(u"Утро"_s));

    // In the batch, beside a file that only looks like an e-book.
    QDir(folder + u"/!Тихий_дом"_s).removeRecursively();
    const QString queued = folder + u"/tihiy.fb2"_s, broken = folder + u"/broken.fb2"_s;
    ASSERT_TRUE(QFile::copy(fb2, queued));
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    ASSERT_TRUE(textfile::writeBytes(broken, png));
    fakeVoices().log.spoken.clear();
    QStringList deleting;
    fakeVoices().log.onSpeak = [&] {
        if (fakeVoices().log.spoken.size() != 1)
            return;
        deleteInLibrary(u"tihiy.fb2"_s);
        deleting = asked();
    };
    const QStringList told = run(u"SavePaket"_s);
    EXPECT_EQ(deleting, QStringList(refusedDeletion(queued)));
    EXPECT_EQ(told, QStringList(u"Книга broken.fb2 не записана: "_s + books::read(broken).message +
                                u" Её файл оставлен в рабочем каталоге."_s));
    EXPECT_TRUE(spokenTexts().join(u' ').contains(u"Утро"_s) && !spokenTexts().join(u' ').contains(u"<p>"_s));
    EXPECT_EQ(QDir(folder + u"/!Тихий_дом"_s).entryList(QDir::Files), QStringList({"0001.wav", "tihiy.fb2"}));
    EXPECT_EQ(textfile::readBytes(folder + u"/!Тихий_дом/tihiy.fb2"_s), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"broken.fb2"}));
    EXPECT_EQ(textfile::readBytes(broken), png);
    EXPECT_EQ(textfile::readBytes(fb2), bytes);
}
