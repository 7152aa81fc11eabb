#include "mainwindowtest.h"

#include "app/busy.h"
#include "platform/books/books.h"
#include "platform/text/docnames.h"

#include <QDir>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTabWidget>

namespace {

class Documents : public MainWindowTest
{
protected:
    // Writes the text with a final CR LF and opens it through the dialog.
    QString open(const QString &name, const QString &text,
                 textcodec::Encoding encoding = textcodec::Encoding::Windows1251)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(textfile::writeText(path, text, encoding));
        runWith(QStringLiteral("OpenFile"), path);
        return path;
    }
    // Runs `command` with the file dialog answering `name`.
    void runWith(const QString &command, const QString &name)
    {
        scriptedFileChooser().names.enqueue(name);
        run(command);
    }
    // Current file, its field, book title, its field, editor text.
    QStringList state() const
    {
        return {CurTextPath, w->Text7->text(), BookTitle, w->Text8->text(), w->RichTextBox2->Text()};
    }
    static void confirmations(bool on) { setup().Check1->setChecked(on); }
    static QByteArray cp(const QString &text) { return cp1251::encode(text); }
};

} // namespace

TEST_F(Documents, OpenPreformatSaveGivesTheExactBytes)
{
    const QString path =
        open(QStringLiteral("Том.1.txt"), QStringLiteral("Глава 1\r\n\r\nОн сказал (тихо) — да."));
    const QString preformatted = QStringLiteral("Глава 1\r\n Он сказал ( тихо ) -  да.");
    EXPECT_EQ(state(), QStringList({path, path, "Том_1", "Том_1", preformatted}));
    EXPECT_EQ(std::tuple(w->RichTextBox2->SelStart(), w->Frame1->isHidden(), w->ProgressBar1->value()),
              std::tuple(0, true, 13));
    EXPECT_TRUE(scriptedFileChooser().asked.at(0).filter.contains("(*)")); // names without a dot show too

    confirmations(false);
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(textfile::readBytes(path), cp(preformatted + "\r\n"));
    EXPECT_TRUE(asked().isEmpty());

    // The first save may add the final line end and keeps what pre-formatting did; from then
    // on opening and saving leaves the bytes as they are. A file's bytes, then those of its
    // first save.
    const QByteArray book =
        textfile::readBytes(testdata::path(QStringLiteral("kapitanskaya_dochka.txt"))).value();
    const std::pair<QByteArray, QByteArray> cases[] = {
        {cp(QStringLiteral("Стих:\r\n\r\n    Мысль — (да)")),
         cp(QStringLiteral("Стих:\r\n   Мысль -  ( да ) \r\n"))},
        {cp(QStringLiteral("Стих:\r\n\r\n    Мысль — (да)\r\n")),
         cp(QStringLiteral("Стих:\r\n   Мысль -  ( да ) \r\n"))},
        // An empty last line, lone CR and LF breaks, a line that only pre-formatting made.
        {cp(QStringLiteral("Да —\r\n\r\n")), cp(QStringLiteral("Да - \r\n\r\n"))},
        {"a\rb\n\n", "a\r\nb\r\n\r\n"},
        {cp(QStringLiteral("Нет.\r\n\r\n\r\n")), cp(QStringLiteral("Нет.\r\n \r\n"))},
        {book, {}},
    };
    for (const auto &[bytes, firstSave] : cases) {
        SCOPED_TRACE(bytes.left(40).toStdString());
        ASSERT_TRUE(textfile::writeBytes(path, bytes));
        QList<QByteArray> saved;
        for (int cycle = 0; cycle < 5; ++cycle) {
            runWith(QStringLiteral("OpenFile"), path);
            run(QStringLiteral("SaveFile"));
            saved << textfile::readBytes(path).value();
        }
        if (!firstSave.isEmpty()) {
            EXPECT_EQ(saved[0], firstSave);
        }
        EXPECT_EQ(saved, QList<QByteArray>(5, saved[0]));
    }
}

TEST_F(Documents, Utf8BookOpensAsItsWindows1251TwinAndIsSavedAsItCame)
{
    confirmations(false);
    const QString book = testdata::text(QStringLiteral("hameleon.txt"));
    QStringList opened;
    for (const auto encoding : {textcodec::Encoding::Utf8, textcodec::Encoding::Windows1251}) {
        const QString path = open(QStringLiteral("Хамелеон.txt"), book, encoding);
        opened << w->RichTextBox2->Text();
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(textfile::readBytes(path),
                  textcodec::encode(opened.last() + QStringLiteral("\r\n"), encoding));
    }
    EXPECT_EQ(opened[0], opened[1]);
    EXPECT_TRUE(opened[0].contains(QStringLiteral("Очумелов")));

    // Characters the book's code page lacks are counted before they are lost; Cancel writes nothing.
    const QByteArray before = textfile::readBytes(CurTextPath).value();
    w->RichTextBox2->setText(QStringLiteral("Кафе café 中"));
    const QString question = QStringLiteral("Символов, которых нет в кодировке Windows-1251: 2. В файле они "
                                            "будут заменены знаком «?». Сохранить?");
    for (const auto &[answer, bytes] : {std::pair{Prompter::Answer::Cancel, before},
                                        {Prompter::Answer::Ok, cp(QStringLiteral("Кафе caf? ?\r\n"))}}) {
        scriptedPrompter().answers.enqueue(answer);
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(asked(), QStringList({question}));
        EXPECT_EQ(textfile::readBytes(CurTextPath), bytes);
    }
}

// KOI8-R, cp866 and UTF-16 with either mark read as the Windows-1251 twin does and are saved
// back in their encoding; a character the encoding lacks is asked about first. An encoding
// the program does not read leaves the editor as it was, and says so.
TEST_F(Documents, BooksInOtherEncodingsReadAsTheirTwinAndAreSavedAsTheyCame)
{
    confirmations(false);
    QString book = testdata::text(QStringLiteral("hameleon.txt"));
    book.replace(u'«', u'"').replace(u'»', u'"').replace(u'—', u'-'); // all of KOI8-R and cp866
    const QString twinPath = dir.filePath(QStringLiteral("twin.txt"));
    ASSERT_TRUE(textfile::writeBytes(twinPath, cp(book)));
    runWith(QStringLiteral("OpenFile"), twinPath);
    const QString twin = w->RichTextBox2->Text();
    using Flag = QStringEncoder::Flag;
    const std::pair<const char *, QStringEncoder::Flags> encodings[] = {{"KOI8-R", Flag::Default},
                                                                        {"IBM866", Flag::Default},
                                                                        {"UTF-16LE", Flag::WriteBom},
                                                                        {"UTF-16BE", Flag::WriteBom}};
    for (const auto &[name, flags] : encodings) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QStringLiteral("Хамелеон.txt"));
        ASSERT_TRUE(textfile::writeBytes(path, QStringEncoder(name, flags)(book)));
        runWith(QStringLiteral("OpenFile"), path);
        EXPECT_EQ(w->RichTextBox2->Text(), twin);
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(textfile::readBytes(path),
                  QByteArray(QStringEncoder(name, flags)(twin + QStringLiteral("\r\n"))));
        EXPECT_TRUE(asked().isEmpty());
    }
    runWith(QStringLiteral("OpenFile"), dir.filePath(QStringLiteral("Хамелеон.txt")));
    const QByteArray koi8 = QStringEncoder("KOI8-R")(book);
    ASSERT_TRUE(textfile::writeBytes(CurTextPath, koi8));
    runWith(QStringLiteral("OpenFile"), CurTextPath);
    w->RichTextBox2->setText(QStringLiteral("Кафе — «да»"));
    scriptedPrompter().answers.enqueue(Prompter::Answer::Cancel);
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(asked(),
              QStringList(QStringLiteral("Символов, которых нет в кодировке KOI8-R: 3. В файле они будут "
                                         "заменены знаком «?». Сохранить?")));
    EXPECT_EQ(textfile::readBytes(CurTextPath), koi8);

    // A cleared editor holds a new text, saved as one: Windows-1251, or UTF-8 where that
    // cannot hold it, whatever the book before it came in.
    const QString fresh = dir.filePath(QStringLiteral("новый.txt"));
    for (const QString &text : {QStringLiteral("«Ёлка» №1 — да"), QStringLiteral("Кафе café")}) {
        run(QStringLiteral("ClearText"));
        w->RichTextBox2->setText(text);
        runWith(QStringLiteral("SaveAs"), fresh);
        EXPECT_EQ(asked(), QStringList(QStringLiteral("Очистить текстовое окно?")));
        EXPECT_EQ(textfile::readBytes(fresh), text.endsWith(u'é') ? (text + QStringLiteral("\r\n")).toUtf8()
                                                                  : cp(text + QStringLiteral("\r\n")));
    }

    const QString other = dir.filePath(QStringLiteral("iso.txt"));
    ASSERT_TRUE(textfile::writeBytes(other, QStringEncoder("ISO-8859-5")(book)));
    const QStringList before = state();
    runWith(QStringLiteral("OpenFile"), other);
    EXPECT_EQ(state(), before);
    EXPECT_EQ(asked(),
              QStringList(QStringLiteral("Не удалось открыть файл\n%1: Книга в кодировке ISO-8859-5, а "
                                         "программа читает только Windows-1251, UTF-8, UTF-16, KOI8-R и "
                                         "DOS (cp866). Сохраните книгу в одной из них.")
                              .arg(other)));
}

// A short Windows-1251 text behind a UTF-8 mark is Windows-1251, the mark no text and kept
// by a save; a UTF-8 text the program saved opens as UTF-8 again.
TEST_F(Documents, SavedBooksReadAgainAsTheyWereSaved)
{
    confirmations(false);
    const QString path = dir.filePath(QStringLiteral("short.txt"));
    const QByteArray marked =
        "\xEF\xBB\xBF" + cp(QStringLiteral("Первая строка текста.\r\nВторая строка.\r\n"));
    ASSERT_EQ(marked.size(), 42);
    ASSERT_TRUE(textfile::writeBytes(path, marked));
    runWith(QStringLiteral("OpenFile"), path);
    EXPECT_EQ(w->RichTextBox2->Text(), QStringLiteral("Первая строка текста.\r\nВторая строка."));
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(textfile::readBytes(path), marked);
    EXPECT_TRUE(asked().isEmpty());

    ASSERT_TRUE(textfile::writeBytes(path, QStringLiteral("α———").toUtf8()));
    QStringList opened;
    for (int i = 0; i < 2; ++i) {
        runWith(QStringLiteral("OpenFile"), path);
        opened << w->RichTextBox2->Text();
        run(QStringLiteral("SaveFile"));
    }
    EXPECT_EQ(opened, QStringList({QStringLiteral("α---"), QStringLiteral("α---")}));
}

// A few damaged bytes leave a UTF-8 book UTF-8: they show as U+FFFD, the open says how many,
// and a save asks before the marks replace them. Only the file's first byte order mark is no text.
TEST_F(Documents, DamagedUtf8BookReadsAsUtf8AndItsSaveAsksFirst)
{
    confirmations(false);
    const QByteArray bom = "\xEF\xBB\xBF";
    QByteArray bytes = bom + testdata::text(QStringLiteral("hameleon.txt")).toUtf8();
    bytes.insert(bytes.indexOf("\r\n"), "\xFF");
    bytes.insert(bytes.lastIndexOf("\r\n"), "\xC0");
    const QString path = dir.filePath(QStringLiteral("Хамелеон.txt"));
    ASSERT_TRUE(textfile::writeBytes(path, bytes));
    runWith(QStringLiteral("OpenFile"), path);
    const QString text = w->RichTextBox2->Text();
    EXPECT_EQ(asked(),
              QStringList({QStringLiteral("Книга прочитана как UTF-8, но повреждённых байтов в ней: 2. "
                                          "В тексте они показаны знаком «\uFFFD».")}));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Антон Чехов\uFFFD\r\n")));
    EXPECT_EQ(text.count(QChar::ReplacementCharacter), 2);

    const QString question =
        QStringLiteral("Повреждённых байтов UTF-8 в книге: 2. В файле они будут заменены "
                       "знаком «\uFFFD». Сохранить?");
    for (const auto &[answer, saved] : {std::pair{Prompter::Answer::Cancel, bytes},
                                        {Prompter::Answer::Ok, bom + (text + "\r\n").toUtf8()}}) {
        scriptedPrompter().answers.enqueue(answer);
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(asked(), QStringList({question}));
        EXPECT_EQ(textfile::readBytes(path), saved);
    }
    // What was saved holds no damage to ask about.
    run(QStringLiteral("SaveFile"));
    EXPECT_TRUE(asked().isEmpty());

    // Damaged bytes beside a few words leave a UTF-8 text UTF-8, and the open says so; as many
    // as the characters read right in neither encoding: the open says so and a save keeps the
    // bytes, and so does one whose reading nothing vouches for, until it is changed.
    const QString keptBytes =
        QStringLiteral(" При сохранении её байты останутся прежними, пока текст не изменён.");
    const QString mixed =
        QStringLiteral("Книга не читается правильно ни как UTF-8 (повреждённых байтов в ней: 12), "
                       "ни как Windows-1251. Она показана как Windows-1251.") +
        keptBytes;
    const QString unsure =
        QStringLiteral("Кодировку книги не удалось распознать: она прочитана как Windows-1251.") + keptBytes;
    const QByteArray lines = QStringLiteral("Первая строка\r\nВторая строка\r\n").toUtf8();
    const QByteArray capitals = cp(QStringLiteral("ЦЕРКОВНОСЛАВЯНСКИЙ; СТАРОСЛАВЯНСКИЙ; ОБЩЕСЛАВЯНСКИЙ"));
    for (const auto &[damaged, told] :
         {std::pair{QStringLiteral("Привет, мир!").toUtf8() + "\xFF",
           QStringLiteral("Книга прочитана как UTF-8, но повреждённых байтов в ней: 1. В тексте они показаны "
                          "знаком «\uFFFD».")},
          {capitals, unsure},
          {lines + QByteArray(12, '\xFF') + lines, mixed}}) {
        ASSERT_TRUE(textfile::writeBytes(path, damaged));
        runWith(QStringLiteral("OpenFile"), path);
        EXPECT_EQ(asked(), QStringList(told));
    }
    EXPECT_TRUE(w->RichTextBox2->Text().startsWith(QStringLiteral("РџРµСЂРІР°СЏ")));
    run(QStringLiteral("SaveFile"));
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_EQ(textfile::readBytes(path), lines + QByteArray(12, '\xFF') + lines);

    // A book joined from a UTF-8 and a Windows-1251 part reads each part in its own encoding
    // and says so once. A save keeps its bytes (its lone LF line end too); a save after a
    // change asks first, saying that it is written in UTF-8, and is UTF-8 after that.
    const QString pikovaya = testdata::text(QStringLiteral("pikovaya_dama.txt"));
    const QString hameleon = testdata::text(QStringLiteral("hameleon.txt"));
    const QByteArray joined = pikovaya.toUtf8() + cp(hameleon + QStringLiteral("\n"));
    ASSERT_TRUE(textfile::writeBytes(path, joined));
    runWith(QStringLiteral("OpenFile"), path);
    EXPECT_EQ(asked(), QStringList({QStringLiteral("Книга составлена из частей в разных кодировках (UTF-8, "
                                                   "Windows-1251): каждая часть прочитана в своей.")}));
    const QString read = w->RichTextBox2->Text();
    EXPECT_TRUE(read.contains(QStringLiteral("Пиковая дама")) && read.contains(QStringLiteral("ХАМЕЛЕОН")));
    run(QStringLiteral("SaveFile"));
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_EQ(textfile::readBytes(path), joined);
    w->RichTextBox2->setSelText(QStringLiteral("Пушкин. "));
    const QString changed =
        QStringLiteral("Книга составлена из частей в разных кодировках (UTF-8, Windows-1251): "
                       "каждая часть прочитана в своей. Текст книги изменён: она будет "
                       "сохранена целиком в кодировке UTF-8 с меткой порядка байтов. Сохранить?");
    for (const auto &[answer, saved] :
         {std::pair{Prompter::Answer::Cancel, joined},
          {Prompter::Answer::Ok, bom + (w->RichTextBox2->Text() + QStringLiteral("\r\n")).toUtf8()}}) {
        scriptedPrompter().answers.enqueue(answer);
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(asked(), QStringList({changed}));
        EXPECT_EQ(textfile::readBytes(path), saved);
    }
    run(QStringLiteral("SaveFile"));
    EXPECT_TRUE(asked().isEmpty());
    runWith(QStringLiteral("OpenFile"), path);
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_EQ(w->RichTextBox2->encoding(), textcodec::Encoding::Utf8WithBom);

    const QByteArray twoMarks = bom + bom + QStringLiteral("Жук").toUtf8();
    ASSERT_TRUE(textfile::writeBytes(path, twoMarks));
    runWith(QStringLiteral("OpenFile"), path);
    EXPECT_EQ(w->RichTextBox2->Text(), QStringLiteral("\uFEFFЖук"));
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(textfile::readBytes(path), twoMarks + "\r\n");
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(Documents, CancelledDialogsAndUnopenableFilesChangeNothing)
{
    open(QStringLiteral("kept.txt"), QStringLiteral("abc"));
    const QStringList before = state();
    for (const char *command : {"OpenFile", "SaveAs", "SeveRTF"})
        run(QString::fromLatin1(command));
    EXPECT_EQ(scriptedFileChooser().asked.size(), 4);

    const QString missing = dir.filePath(QStringLiteral("нет такого.txt"));
    runWith(QStringLiteral("OpenFile"), missing);
    EXPECT_EQ(scriptedPrompter().asked.at(0).icon, Prompter::Icon::Critical); // and nothing asked before
    EXPECT_EQ(asked(), QStringList({"Не удалось открыть файл\n" + missing + ": No such file or directory"}));
    EXPECT_EQ(state(), before);
}

TEST_F(Documents, SaveWithoutAFileName)
{
    const QStringList asks = {
        QStringLiteral("Сохранить изменения?"),
        QStringLiteral("Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... ")};
    // The fresh-window placeholder is not a file name: nothing is written next to the program.
    CurTextPath = QStringLiteral("полный путь к файлу");
    confirmations(true);
    run(QStringLiteral("SaveFile")); // answered Yes
    EXPECT_EQ(asked(), asks);
    EXPECT_FALSE(QFile::exists(CurTextPath));
    // Without a name: No asks nothing more; without confirmations only the name is missed.
    CurTextPath.clear();
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    run(QStringLiteral("SaveFile"));
    confirmations(false);
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(asked(), asks);
}

TEST_F(Documents, SaveAsMovesTheCurrentFileOnlyWhenWritten)
{
    const QString opened = open(QStringLiteral("a.txt"), QStringLiteral("x"));
    confirmations(false);
    const QString unwritable = dir.filePath(QStringLiteral("нет/папки/книга.txt"));
    runWith(QStringLiteral("SaveAs"), unwritable);
    EXPECT_EQ(CurTextPath, opened);

    const QString other = dir.filePath(QStringLiteral("b.txt"));
    runWith(QStringLiteral("SaveAs"), other);
    // The field keeps showing the file opened, not the one saved.
    EXPECT_EQ(state().mid(0, 3), QStringList({other, opened, "a"}));
    w->RichTextBox2->setText(QStringLiteral("новое"));
    run(QStringLiteral("SaveFile"));
    EXPECT_EQ(textfile::readBytes(other), cp(QStringLiteral("новое\r\n")));

    // Each failure names the file and, on the second line, the system's reason.
    const auto failed = [](const QString &path, const char *reason) {
        return "Не удалось записать файл\n" + path + ": " + reason;
    };
    CurTextPath = unwritable;
    run(QStringLiteral("SaveFile"));
    const QString locked = readOnlyFolder() + QStringLiteral("/книга.txt");
    CurTextPath = locked;
    run(QStringLiteral("SaveFile"));
    runWith(QStringLiteral("SeveRTF"), locked);
    EXPECT_EQ(asked(),
              QStringList({failed(unwritable, "No such file or directory"),
                           failed(unwritable, "No such file or directory"),
                           failed(locked, "Permission denied"), failed(locked, "Permission denied")}));
    EXPECT_EQ(CurTextPath, locked);
}

TEST_F(Documents, RtfSaveAndReopenKeepCyrillicAndColours)
{
    w->RichTextBox2->setText(QStringLiteral("Красный текст"));
    w->RichTextBox2->setSelStart(0);
    w->RichTextBox2->setSelLength(7);
    w->RichTextBox2->setSelColor(Qt::red);
    const QString rtf = dir.filePath(QStringLiteral("книга.rtf"));
    runWith(QStringLiteral("SeveRTF"), rtf);
    EXPECT_EQ(CurTextPath, rtf);

    RichTextBox reopened;
    ASSERT_TRUE(reopened.LoadFile(rtf));
    EXPECT_EQ(reopened.Text(), "Красный текст");
    for (const auto &[at, red] : {std::pair{2, true}, {10, false}}) {
        reopened.setSelStart(at);
        EXPECT_EQ(reopened.SelColor() == QColor(Qt::red), red) << at;
    }
}

TEST_F(Documents, ClearAlwaysAsksAndKeepsTheTitle)
{
    confirmations(false);
    w->RichTextBox2->setText(QStringLiteral("текст"));
    CurTextPath = QStringLiteral("/x/y.txt");
    BookTitle = QStringLiteral("y");
    const QStringList before = state();
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    run(QStringLiteral("ClearText"));
    EXPECT_EQ(state(), before);
    {
        // A chapter search still pointing into the text keeps it locked.
        const busy::JobScope search(busy::Job::ChapterSearch);
        run(QStringLiteral("ClearText"));
        EXPECT_TRUE(w->RichTextBox2->Locked());
    }
    EXPECT_FALSE(w->RichTextBox2->Locked());
    EXPECT_EQ(state(), QStringList({"", "", "y", "", ""}));
    EXPECT_EQ(scriptedPrompter().asked.at(1).icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(asked(), QStringList(2, "Очистить текстовое окно?"));
}

TEST_F(Documents, AddToBatch)
{
    w->RichTextBox2->setText(QStringLiteral("Книга"));
    BookTitle = QStringLiteral("Моя книга");
    const auto add = [this](const QString &folder) {
        setup().Text28->setText(folder);
        run(QStringLiteral("InsPaket"));
        return asked().join(u'|');
    };
    // No working folder: the settings open on the recording page.
    EXPECT_EQ(add(QString()), "НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!");
    EXPECT_EQ(std::pair(setup().isVisible(), setup().SSTab2->currentIndex()), std::pair(true, 1));

    // Confirmations on, answered No: nothing written; off: written without a question.
    confirmations(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    EXPECT_EQ(add(dir.path()), "Добавить файл на обработку в рабочий каталог?");
    EXPECT_EQ(BookTitle, "Моя_книга");
    const QString written = dir.filePath(QStringLiteral("Моя_книга.txt"));
    EXPECT_FALSE(QFile::exists(written));
    confirmations(false);
    EXPECT_EQ(add(dir.path()), "");
    EXPECT_EQ(textfile::readBytes(written), cp(QStringLiteral("Книга\r\n")));

    // A blank in the folder is warned about and the file still written; a missing folder is reported.
    const QString spaced = dir.filePath(QStringLiteral("Мои книги")),
                  missing = dir.filePath(QStringLiteral("нет"));
    QDir().mkpath(spaced);
    EXPECT_EQ(add(spaced),
              "Пробелы в названиии рабочего каталога и в пути к нему недопустимы! Укажите другой "
              "каталог, с более простым названием. Напимер, C:\\Аудиокниги");
    EXPECT_TRUE(QFile::exists(spaced + QStringLiteral("/Моя_книга.txt")));
    EXPECT_EQ(add(missing), "Рабочий каталог не найден:\n" + missing);

    // A text without a title is refused: no hidden ".txt".
    BookTitle.clear();
    EXPECT_EQ(add(dir.path()), "У текста нет названия: он не добавлен в пакет.");
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral(".txt"))));
}

TEST_F(Documents, DoubleClickInsertsAStressMarkWithoutDeletingText)
{
    w->RichTextBox2->setText(QStringLiteral("замок\r\nзамок"));
    w->RichTextBox2_DblClick(9); // after "за" on the second line
    w->RichTextBox2->setLocked(true);
    w->RichTextBox2_DblClick(1);
    EXPECT_EQ(w->RichTextBox2->Text(), "замок\r\nза>мок");
}

TEST_F(Documents, CancelEndsOnlyTheRunningPreformat)
{
    w->RichTextBox2->setText(QStringLiteral("a(b)"));
    // Pressed while the first pending events are processed: no step runs.
    w->ProgressBar1->setValue(5); // as an earlier run left it
    std::pair<int, bool> shown;
    QTimer::singleShot(0, w->Check4, [this, &shown] {
        shown = {w->ProgressBar1->value(), w->RichTextBox2->Locked()};
        w->Check4->setChecked(true);
    });
    w->PreFormat();
    EXPECT_EQ(shown, std::pair(0, true)) << "a run starts its bar from nought, the text locked";
    EXPECT_EQ(w->RichTextBox2->Text(), "a(b)");
    EXPECT_TRUE(w->Frame1->isHidden() && !w->RichTextBox2->Locked());

    // The box left pressed does not cancel the next run.
    w->PreFormat();
    EXPECT_EQ(w->RichTextBox2->Text(), "a ( b ) ");
}

TEST_F(Documents, ABookOpenedDuringPreformattingLeavesBothFilesAsTheyWere)
{
    const QString small = dir.filePath(QStringLiteral("small.txt"));
    ASSERT_TRUE(textfile::writeText(small, QStringLiteral("маленький")));
    const auto smallBytes = textfile::readBytes(small);
    confirmations(false);
    for (const bool pastTheRule : {false, true}) {
        SCOPED_TRACE(pastTheRule);
        QTimer::singleShot(0, w, [this, small, pastTheRule] {
            if (!pastTheRule)
                return runWith(QStringLiteral("OpenFile"), small);
            w->RichTextBox2->LoadFile(small, RichTextBox::FileType::Text);
            CurTextPath = small;
        });
        const QString big = open(QStringLiteral("big.txt"), QStringLiteral("a(b)"));
        scriptedFileChooser().names.clear();
        // The pre-formatted text lands only in the book it was made from.
        EXPECT_EQ(QStringList({CurTextPath, w->RichTextBox2->Text()}) + asked(),
                  pastTheRule ? QStringList({small, "маленький"})
                              : QStringList({big, "a ( b ) ",
                                             "Идёт предварительное форматирование текста. "
                                             "Дождитесь его окончания или прервите его."}));
        if (pastTheRule)
            continue;
        // The save goes to the book that stayed current, on purpose.
        run(QStringLiteral("SaveFile"));
        EXPECT_EQ(textfile::readBytes(small), smallBytes);
        EXPECT_EQ(textfile::readBytes(big), QByteArray("a ( b ) \r\n"));
    }
}

// An e-book opens as a new text titled after the book; no save reaches its file, which is
// proposed a text beside it.
TEST_F(Documents, EBooksOpenAsNewTextsAndAreNeverWritten)
{
    const QString text = open(QStringLiteral("текст.txt"), QStringLiteral("Прежняя книга"));
    const QString fb2 = dir.filePath(QStringLiteral("tihiy.fb2"));
    ASSERT_TRUE(QFile::copy(testdata::path(QStringLiteral("tihiy_dom.fb2")), fb2));
    const QByteArray bytes = textfile::readBytes(fb2).value();
    runWith(QStringLiteral("OpenFile"), fb2);
    EXPECT_TRUE(
        scriptedFileChooser().asked.last().filter.contains(QStringLiteral("Книги (*.txt *.rtf *.fb2")));
    EXPECT_EQ(state().mid(0, 4), QStringList({"", fb2, "Тихий_дом", "Тихий_дом"}));
    const QString shown = w->RichTextBox2->Text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Глава 1\r\n")) && shown.contains(QStringLiteral("тихо")) &&
                !shown.contains(u'<'))
        << shown.toStdString();
    EXPECT_TRUE(asked().isEmpty());

    // Every save proposes a file named after the book beside it; the e-book itself is refused.
    confirmations(true);
    const QString beside = dir.filePath(QStringLiteral("Тихий_дом"));
    for (const auto &[command, suggested] : {std::pair("SaveFile", beside + ".txt"),
                                             {"SaveAs", beside + ".txt"},
                                             {"SeveRTF", beside + ".rtf"}}) {
        for (const QString &answer : {QString(), fb2}) {
            runWith(QString::fromLatin1(command), answer);
            EXPECT_EQ(scriptedFileChooser().asked.last().start, suggested) << command;
        }
    }
    scriptedFileChooser().names.clear();
    const QString refusal =
        QStringLiteral("Файл %1 — не текстовый файл (электронная книга или другой документ), "
                       "программа не записывает поверх него. Сохраните текст под другим именем.")
            .arg(fb2);
    EXPECT_EQ(asked(), QStringList(3, refusal));
    EXPECT_EQ(textfile::readBytes(fb2), bytes);
    EXPECT_EQ(CurTextPath, "");

    // Saved as a text, the book is that text from then on.
    runWith(QStringLiteral("SaveFile"), beside + ".txt");
    EXPECT_EQ(CurTextPath, beside + ".txt");
    EXPECT_EQ(textfile::readText(beside + ".txt").value_or(QString()), shown + QStringLiteral("\r\n"));
    run(QStringLiteral("SaveFile")); // confirmed, and written to the text
    EXPECT_EQ(asked(), QStringList("Сохранить изменения?"));
    EXPECT_EQ(textfile::readBytes(fb2), bytes);

    EXPECT_EQ(textfile::readBytes(text), cp(QStringLiteral("Прежняя книга\r\n")));
}

// A large e-book (mostly pictures) is read under the progress panel with events let through;
// "Прервать" leaves the editor as it was, without a word.
TEST_F(Documents, ALargeEBookShowsItsProgressAndCanBeCancelled)
{
    open(QStringLiteral("текст.txt"), QStringLiteral("Прежняя книга"));
    const QString fb2 = dir.filePath(QStringLiteral("большая.fb2"));
    const QByteArray picture =
        "<binary id=\"p\" content-type=\"image/png\">" + QByteArray(40 << 20, 'A') + "</binary>";
    ASSERT_TRUE(
        textfile::writeBytes(fb2, "<?xml version=\"1.0\" encoding=\"utf-8\"?><FictionBook><description>"
                                  "<title-info><book-title>Большая</book-title></title-info></description>"
                                  "<body><section><p>Начало.</p></section></body>" +
                                      picture + "</FictionBook>"));
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        const QStringList before = state();
        std::tuple<bool, QString, bool> shown;
        QTimer::singleShot(0, w, [&] {
            shown = {w->Frame1->isVisible(), w->Label1->text(), w->RichTextBox2->Locked()};
            // Another book waits for this one.
            runWith(QStringLiteral("OpenFile"), before[0]);
            scriptedFileChooser().names.clear();
            w->Check4->setChecked(cancel);
        });
        w->show();
        runWith(QStringLiteral("OpenFile"), fb2);
        EXPECT_EQ(shown, std::tuple(true, QStringLiteral("Чтение книги большая.fb2"), true));
        EXPECT_EQ(asked(), QStringList(QStringLiteral(
                               "Идёт чтение книги. Дождитесь его окончания или прервите его.")));
        EXPECT_EQ(state(), cancel ? before : QStringList({"", fb2, "Большая", "Большая", "Начало."}));
        EXPECT_TRUE(w->Frame1->isHidden() && !w->RichTextBox2->Locked());
    }
}

// Every kind of e-book made by other programs opens with its chapters on lines of their own,
// under the book's title; a picture, a ZIP of pictures, a protected EPUB and a scan are refused. No
// save command writes any of them.
TEST_F(Documents, EveryKindOfEBookOpensAndStaysAsItIs)
{
    confirmations(false);
    for (const char *name : {"pikovaya_dama.pandoc.fb2", "pikovaya_dama.fb2.zip", "pikovaya_dama.epub2.epub",
                             "pikovaya_dama.epub3.epub", "pikovaya_dama.cp1251.html", "pikovaya_dama.lo.docx",
                             "pikovaya_dama.pandoc.odt", "pikovaya_dama.lo.pdf", "pikovaya_dama.lo.doc",
                             "picture.png", "pictures.zip", "protected.epub", "scan.pdf"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::copy(testdata::path(QStringLiteral("ebooks/") + QString::fromLatin1(name)), path));
        const QByteArray bytes = textfile::readBytes(path).value();
        const books::Reading reading = books::read(path);
        open(QStringLiteral("текст.txt"), QStringLiteral("Прежняя книга"));
        const QStringList before = state();
        runWith(QStringLiteral("OpenFile"), path);
        if (!reading.ok) {
            EXPECT_EQ(state(), before);
            EXPECT_EQ(asked(), QStringList(reading.message));
        } else {
            const QString text = w->RichTextBox2->Text();
            const QString title = docnames::eBookTitle(reading.title);
            EXPECT_EQ(state().mid(0, 4), QStringList({"", path, title, title}));
            // A chapter heading is a line of its own, indented as pre-formatting indents a paragraph.
            static const QRegularExpression heading(QStringLiteral("\r\n ?III\r\n"));
            EXPECT_TRUE(heading.match(text).hasMatch() && text.contains(QStringLiteral("Германн")) &&
                        !text.contains(u'<'));
            for (const char *command : {"SaveFile", "SaveAs", "SeveRTF"})
                runWith(QString::fromLatin1(command), path);
            EXPECT_EQ(asked().size(), 3);
        }
        EXPECT_EQ(textfile::readBytes(path), bytes);
    }
}
