// Recording a book and a batch from the main window; fake voice and WAV output show each block.
#include "mainwindowtest.h"

#include "app/globals.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/textfile.h"
#include "recording/blockoutput.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "recording/textprep.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "texttools/findwindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

namespace {

class Recording : public MainWindowTest
{
protected:
    void SetUp() override
    {
        qputenv("HOME", home().toUtf8()); // the fall-back working folder lands here
        MainWindowTest::SetUp();
        ::Setup &s = setup();
        folder = home() + QStringLiteral("/книги");
        QDir().mkpath(folder);
        s.Text28->setText(folder);
        s.Check1->setChecked(false);
        s.SSTab1->setCurrentIndex(0); // WAV: no encoder, the fake voice's files are the blocks
    }

    // A book file made current as the open command leaves it.
    QString book(const QString &title, const QStringList &lines)
    {
        CurTextPath = folder + u'/' + title + QStringLiteral(".txt");
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
                out << (texts ? s.text : QFileInfo(s.outputFile).fileName().remove(QStringLiteral(".part")));
        return out;
    }
    static QStringList spokenTexts() { return spokenFiles(true); }

    QString folder;
};

} // namespace

TEST_F(Recording, BlocksEndAtSentenceEndsBlankLinesAndChapterMarkers)
{
    book(QStringLiteral("Книга"), {QStringLiteral("Первая строка без точки"), QStringLiteral("конец фразы."),
                                   QStringLiteral("@@@@@ глава"), QStringLiteral("Вторая часть."),
                                   QStringLiteral("Ещё"), QString(), QStringLiteral("Хвост")});
    BlockLimit = 20;
    const recordingrun::Result result = recordingrun::recordBook();
    EXPECT_EQ(std::pair(result.outcome, result.finished), std::pair(conversion::Outcome::Completed, true));
    const QStringList texts = spokenTexts();
    ASSERT_EQ(texts.size(), 4);
    // What each block holds; the marker line adds nothing.
    EXPECT_TRUE(texts[0].contains(QStringLiteral("Первая")) && texts[0].contains(QStringLiteral("фразы")));
    EXPECT_FALSE(texts[1].contains(QStringLiteral("глава")));
    EXPECT_TRUE(texts[2].contains(QStringLiteral("Вторая")) && texts[2].contains(QStringLiteral("Ещё")));
    EXPECT_TRUE(texts[3].contains(QStringLiteral("Хвост")));
    // The finished book's folder carries its "!".
    EXPECT_EQ(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"!Книга"}));
    EXPECT_EQ(QDir(folder + QStringLiteral("/!Книга")).entryList({QStringLiteral("*.wav")}),
              QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.wav"}));
    EXPECT_EQ(CharsDone, 23 + 12 + 13 + 3 + 5);
    EXPECT_TRUE(monitor().ProgressBar1->value() == monitor().ProgressBar1->maximum() &&
                monitor().windowTitle().startsWith(QStringLiteral("100")));
}

// A paragraph longer than the line limit between CR LFs: recorded once, the book untouched.
TEST_F(Recording, LongParagraphIsOneBlockAndLeavesTheBookAsItIs)
{
    const QString sentence = QStringLiteral("Длинная фраза книги. ");
    const auto paragraph = [&](int chars) { return sentence.repeated(chars / sentence.size()); };
    const QString path =
        book(QStringLiteral("Абзац"), {paragraph(1000), paragraph(1000), paragraph(1000), paragraph(12600)});
    const auto before = textfile::readBytes(path);
    setup().FlatScrollBar1->setValue(1);
    w->SetFragmentSize();
    EXPECT_EQ(recordingrun::recordBook().outcome, conversion::Outcome::Completed);
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.wav", "0005.wav"}));
    EXPECT_EQ(textfile::readBytes(path), before);
}

TEST_F(Recording, TextCopyIsTheSpokenTextWithPausesAndSpokenNumbersWhenAsked)
{
    ::Setup &s = setup();
    s.Check4->setChecked(true);
    s.FlatScrollBar9->setValue(1);
    s.FlatScrollBar10->setValue(2);
    s.FlatScrollBar1->setValue(s.FlatScrollBar1->maximum()); // one block
    book(QStringLiteral("Да"), {QStringLiteral("Да.")});
    for (bool numbers : {false, true}) {
        SCOPED_TRACE(numbers);
        s.Check2->setChecked(numbers);
        QDir(folder + QStringLiteral("/!Да")).removeRecursively();
        triggerAction(*w, QStringLiteral("SaveAudio"));
        EXPECT_TRUE(w->isVisible() && !monitor().isVisible()); // the main window is back
        const QString prepared = QStringLiteral("\r\n  <silence msec=\"500\"/>\r\nДа . ");
        const QString body = numbers ? TembrStart + QStringLiteral("Блок  1") + TembrStart + prepared +
                                           QStringLiteral(" Конец блока  1")
                                     : TembrStart + prepared;
        const QString framed = pauseElement(1000) + body + pauseElement(2000);
        const auto copy = textfile::readText(folder + QStringLiteral("/!Да/0001.txt"));
        ASSERT_TRUE(copy);
        EXPECT_EQ(*copy, framed + QStringLiteral("\r\n"));
        EXPECT_EQ(spokenTexts().last(), framed);
    }
}

TEST_F(Recording, EncodedBlocksAreSkippedAndCopiesShareTheBook)
{
    const QStringList lines = {QStringLiteral("Один."), QStringLiteral("Два."), QStringLiteral("Три."),
                               QStringLiteral("Четыре.")};
    book(QStringLiteral("Счёт"), lines);
    BlockLimit = 7; // one line a block, whether the block before was made or skipped
    QDir().mkpath(folder + QStringLiteral("/Счёт"));
    for (const QString name : {"0002.wav", "0004.mp3"}) // another format's file is no WAV block
        textfile::writeText(folder + QStringLiteral("/Счёт/") + name, QString());

    // This copy takes blocks 2 and 4 of every 2; 2 is done already.
    setup().Text24->setText(QStringLiteral("2"));
    setup().Text21->setText(QStringLiteral("2"));
    ASSERT_TRUE(recordingrun::checkSelection());
    EXPECT_FALSE(recordingrun::recordBook().finished); // blocks 1 and 3 are the other copy's
    EXPECT_EQ(spokenFiles(), QStringList({"0004.wav"}));
    EXPECT_EQ(BlockNo, 5); // four lines and the last block, each with its number

    setup().Text24->setText(QStringLiteral("1"));
    ASSERT_TRUE(recordingrun::checkSelection());
    fakeVoices().log.spoken.clear();
    EXPECT_TRUE(recordingrun::recordBook().finished); // the copy that completes the book renames it
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav", "0003.wav", "0005.wav"}));
    EXPECT_EQ(QDir(folder + QStringLiteral("/!Счёт")).entryList(QDir::Files),
              QStringList({"0001.wav", "0002.wav", "0003.wav", "0004.mp3", "0004.wav", "0005.wav"}));

    for (const char *bad : {"0", "x"}) {
        setup().Text21->setText(QString::fromLatin1(bad));
        fakeVoices().log.spoken.clear();
        triggerAction(*w, QStringLiteral("SaveAudio"));
        EXPECT_TRUE(spokenFiles().isEmpty());
        EXPECT_EQ(asked(), QStringList({"Номер копии программы и число копий должны быть целыми числами не "
                                        "меньше 1!"}));
    }
}

TEST_F(Recording, CommandChecksAndTheFallBackFolder)
{
    ::Setup &s = setup();
    s.Text28->clear();
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_EQ(asked(), QStringList({"НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"}));
    EXPECT_TRUE(s.isVisible());
    EXPECT_EQ(s.SSTab2->currentIndex(), 1);

    // A working folder that is gone is refused by the book and the batch alike, and not made.
    const QString gone = home() + QStringLiteral("/нет");
    s.Text28->setText(gone);
    triggerAction(*w, QStringLiteral("SaveAudio"));
    triggerAction(*w, QStringLiteral("SavePaket"));
    EXPECT_EQ(asked(), QStringList(2, "Рабочий каталог не найден:\n" + gone));
    EXPECT_FALSE(QFileInfo::exists(gone));
    // A book folder that cannot be made is named, not its first block.
    s.Text28->setText(folder);
    book(QStringLiteral("Занято"), {QStringLiteral("Текст.")});
    QFile(folder + QStringLiteral("/Занято")).open(QIODevice::WriteOnly);
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_EQ(asked(),
              QStringList({"Не удалось создать папку книги\n" + folder + "/Занято: Not a directory"}));

    s.Text28->setText(home() + QStringLiteral("/Мои книги"));
    QDir().mkpath(s.Text28->text());
    triggerAction(*w, QStringLiteral("SaveAudio"));
    const QString fallBack = home() + QStringLiteral("/Quenvale_MP3");
    const QStringList twice = asked();
    EXPECT_TRUE(twice.value(0).startsWith(QStringLiteral("Пробелы в названиии рабочего каталога")));
    EXPECT_EQ(twice.mid(1),
              QStringList({"Укажите каталог " + fallBack + " или другой БЕЗ ПРОБЕЛОВ в названии !!!"}));
    EXPECT_TRUE(s.Text28->text() == fallBack && QFileInfo(fallBack).isDir());

    // No saved book: the start-up placeholders are no file to record.
    CurTextPath = QStringLiteral("полный путь к файлу");
    BookTitle = QStringLiteral("название произведения");
    triggerAction(*w, QStringLiteral("SaveAudio"));
    w->RichTextBox2->setText(QStringLiteral("текст"));
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_EQ(
        asked(),
        QStringList(
            {"Не указан текстовый файл для записи аудиокниги! ",
             "Запись аудиокниги осуществляется  из СОХРАНЕННОГО ФАЙЛА, а не из содержимого текстового "
             "окна! Текст должен быть сохранен в файл. Воспользуйтесь кнопкой СОХРАНИТЬ ТЕКСТ КАК... "}));
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
}

TEST_F(Recording, OkToTheQuestionSavesTheEditedBookFirstAndCancelRecordsNothing)
{
    const QString path = book(QStringLiteral("Правка"), {QStringLiteral("Старый текст.")});
    setup().Check1->setChecked(true);
    w->RichTextBox2->setText(QStringLiteral("Новый текст."));
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty());
    EXPECT_EQ(*textfile::readText(path), QStringLiteral("Старый текст.\r\n"));

    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_EQ(*textfile::readText(path), QStringLiteral("Новый текст.\r\n"));
    EXPECT_TRUE(spokenTexts().value(0).contains(QStringLiteral("Новый")));

    // A text pre-formatted as it was opened (from any window) is no edit: its file stays.
    w->RichTextBox2->setText(QStringLiteral("Открытый  текст."));
    w->PreFormat();
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    w->MakeBook();
    EXPECT_EQ(*textfile::readText(path), QStringLiteral("Новый текст.\r\n"));
}

TEST_F(Recording, VoiceListIsLoadedAndAppliedToEveryBlock)
{
    QDir().mkpath(home() + QStringLiteral("/DIC"));
    textfile::writeLines(
        home() + QStringLiteral("/DIC/Nicolai.dic"),
        {QStringLiteral("кот=пёс"), QString(), QStringLiteral("мусор"), QStringLiteral("*ка=КА")});
    // A batch right after start-up and a single book alike.
    for (const char *command : {"SavePaket", "SaveAudio"}) {
        Find().ListView1->clear();
        fakeVoices().log.spoken.clear();
        book(QStringLiteral("Кот"), {QStringLiteral("Мой кот и кошка.")});
        triggerAction(*w, QString::fromLatin1(command));
        EXPECT_EQ(Find().entries(), QStringList({"кот=пёс", "*ка=КА"})) << command;
        const QStringList texts = spokenTexts();
        EXPECT_TRUE(texts.size() == 1 && texts[0].contains(QStringLiteral(" пёс ")) &&
                    texts[0].contains(QStringLiteral("кошКА")))
            << command << texts.join(u'|').toStdString();
        EXPECT_TRUE(asked().isEmpty()) << command;
        QDir(folder + QStringLiteral("/!Кот")).removeRecursively();
    }

    // A voice without a list is told so at every recording; the list stays.
    setup().lstSapi5->setCurrentRow(1);
    w->SetStatusBar();
    w->LoadVoiceDic();
    EXPECT_TRUE(asked().isEmpty()); // Katerina's list is simply missing
    w->setStatusPanel(4, QStringLiteral("Boris (eSpeak NG, русский, мужской, низкий)"));
    w->LoadVoiceDic();
    EXPECT_EQ(asked(), QStringList({"Для данного голосового движка нет пользовательского словаря"}));
    EXPECT_EQ(Find().entries().size(), 2);
}

TEST_F(Recording, BatchFinishesGoodBooksKeepsAFailedOneAndStopsWhenAsked)
{
    setup().Check3->setChecked(true);
    const QString line = QStringLiteral("Ёжик пошёл домой.");
    for (const QString name : {"a", "b", "z"})
        textfile::writeLines(folder + u'/' + name + QStringLiteral(".txt"), {line});
    textfile::writeLines(folder + QStringLiteral("/c.txt"), {line}, textcodec::Encoding::Utf8);
    // A file where b's book folder should be: its blocks cannot be made.
    textfile::writeText(folder + QStringLiteral("/b"), QString());
    // z was finished by an earlier recording: not recorded again, its text put beside its blocks.
    QDir().mkpath(folder + QStringLiteral("/!z"));
    triggerAction(*w, QStringLiteral("SavePaket"));
    for (const QString done : {"/!a/0001.wav", "/!c/0001.wav"})
        EXPECT_TRUE(QFileInfo::exists(folder + done)) << done.toStdString();
    EXPECT_EQ(QDir(folder + QStringLiteral("/!z")).entryList(QDir::Files), QStringList({"z.txt"}));
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.txt")}), QStringList({"b.txt"}));
    EXPECT_EQ(asked(), QStringList({"Не удалось создать папку книги\n" + folder + "/b: Not a directory",
                                    "Книга z не записана: готовая книга " + folder +
                                        "/!z уже есть; её текст перенесён в эту папку."}));
    // The UTF-8 book is spoken as its Windows-1251 twin.
    const QStringList texts = spokenTexts();
    EXPECT_TRUE(texts.size() == 2 && texts[0].contains(QStringLiteral("Ёжик пошёл")) && texts[1] == texts[0]);
    EXPECT_TRUE(scriptedSoundPlayer().played.size() == 1 && w->isVisible());

    // Stopped during the second of three books: the first is finished, the rest stay queued.
    QFile::remove(folder + QStringLiteral("/b"));
    QFile::remove(folder + QStringLiteral("/b.txt"));
    for (const QString name : {"d", "e", "f"})
        textfile::writeLines(folder + u'/' + name + QStringLiteral(".txt"), {line});
    fakeVoices().log.spoken.clear();
    fakeVoices().log.onSpeak = [] {
        if (fakeVoices().log.spoken.size() == 2)
            StopFlag = true;
    };
    triggerAction(*w, QStringLiteral("SavePaket"));
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.txt")}), QStringList({"e.txt", "f.txt"}));
    EXPECT_EQ(scriptedSoundPlayer().played.size(), 1); // no end sound after a stop
}

TEST_F(Recording, EveryMainWindowCommandLeavesARunningRecordingAlone)
{
    book(QStringLiteral("Тишина"), {QStringLiteral("Один.")});
    w->RichTextBox2->setText(QStringLiteral("текст"));
    std::string refused;
    fakeVoices().log.onSpeak = [this, &refused] {
        fakeVoices().log.onSpeak = nullptr;
        refused = chooseEveryCommand(
            QStringLiteral("Идёт запись аудиокниги. Дождитесь её окончания или прервите запись."),
            {QStringLiteral("ExitProgramm")});
    };
    triggerAction(*w, QStringLiteral("SaveAudio"));
    EXPECT_EQ(refused, "ClearText FindNewWords FindOmograf InsPaket OpenFile PastWord Play SaveAs "
                       "SaveAudio SaveFile SavePaket SeveRTF Stop Toolbar1_12 Toolbar1_2 Toolbar1_3 "
                       "Toolbar1_5 Toolbar1_7 Toolbar1_9 User1 User2 User3 User4 menu5_2");
    EXPECT_EQ(spokenFiles(), QStringList({"0001.wav"}));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/!Тишина"))) << "the book was finished";
}
