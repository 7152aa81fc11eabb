// Reading aloud, its stop and the bookmarks, with the fake voice.
#include "mainwindowtest.h"

#include "app/busy.h"
#include "mainwindow/bookmarkfile.h"
#include "platform/text/estimate.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/library.h"

#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QStringEncoder>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString book = u"Первый.\r\nещё строка.\r\n Второй.\r\n- Реплика.\r\nКонец"_s;
using Highlights = QList<std::pair<int, int>>;

class ReadAloud : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        fakeVoices().busyPolls = 3;
        watchHighlights();
    }
    // Each highlight as (start, length); afterHighlight runs at the reading's next event pass.
    void watchHighlights()
    {
        QObject::connect(w->RichTextBox2, &RichTextBox::readingMarkChanged, w, [this] {
            if (w->RichTextBox2->readingMark().second == 0)
                return;
            // The highlight is no selection, which a screen reader would announce.
            selectedWhileShown |= w->RichTextBox2->SelLength() != 0;
            highlights.append({w->ReadStart, w->ReadEnd - w->ReadStart});
            unlockedWhileShown |= !w->RichTextBox2->Locked();
            QTimer::singleShot(0, w, [this, n = highlights.size()] { afterHighlight(int(n)); });
        });
    }
    static QStringList spoken()
    {
        QStringList texts;
        for (const auto &s : fakeVoices().log.spoken)
            texts << s.text + (s.flags == 11 ? u""_s : u" flags "_s + QString::number(s.flags));
        return texts;
    }
    static QString bookmark(const QString &title)
    {
        const auto bytes = textfile::readBytes(bookmarkfile::fileFor(title));
        return bytes ? cp1251::decode(*bytes) : u"<missing>"_s;
    }
    // Shows the panel, selects `name` and runs `command` on it; the names it listed.
    QStringList onBookmark(const QString &name, void (MainWindow::*command)())
    {
        w->zakladki_Click();
        QStringList names;
        for (int i = 0; i < w->File2->count(); ++i)
            names << w->File2->item(i)->text();
        w->File2->setCurrentRow(int(names.indexOf(name)));
        (w->*command)();
        return names;
    }

    Highlights highlights;
    bool unlockedWhileShown = false;
    bool selectedWhileShown = false;
    std::function<void(int)> afterHighlight = [](int) {};
};

} // namespace

TEST_F(ReadAloud, ParagraphsArePreparedSpokenAndHighlightedInTurn)
{
    // Each block prepared with the dialogue state the block before left; a capital after a
    // line break starts narration.
    const QString T = TembrStart, P = u" <silence msec=\"500\"/>"_s,
                  N = P + u" </pitch> </rate> </volume>"_s + T;
    const QStringList tail = {T + u"\r\n "_s + N + u" Второй . "_s, T + u"\r\n \r\n- Реплика . \r\nКонец"_s};
    const struct
    {
        int caret;
        QStringList spoken;
        Highlights highlights;
    } cases[] = {
        {0, QStringList{T + N + u" Первый . \r\nещё строка . "_s} + tail, {{0, 21}, {21, 10}, {31, 19}}},
        {3, QStringList{T + u"\r\n рвый . \r\nещё строка . "_s} + tail, {{3, 18}, {21, 10}, {31, 19}}},
        {49, {}, {}}, // at the end: nothing
    };
    w->RichTextBox2->setText(book);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caret);
        fakeVoices().log = {};
        highlights.clear();
        InDialog = InComment = false;
        w->RichTextBox2->setSelStart(c.caret);
        w->ReadAloud();
        waitForJobs();
        EXPECT_EQ(spoken(), c.spoken);
        EXPECT_EQ(highlights, c.highlights);
        EXPECT_FALSE(unlockedWhileShown || selectedWhileShown || w->RichTextBox2->Locked() || w->IsReading);
        // The highlight is gone; the caret stays at the paragraph read last (a paragraph
        // after a CR LF begins between the two: the caret goes after them).
        EXPECT_EQ(w->RichTextBox2->readingMark().second, 0);
        EXPECT_EQ(w->RichTextBox2->SelStart(), c.caret == 49 ? 49 : 32);
    }
    EXPECT_EQ(w->RichTextBox2->Text(), book);

    // A selection is spoken as it stands and stays selected.
    fakeVoices().log = {};
    w->RichTextBox2->setSelStart(23);
    w->RichTextBox2->setSelLength(7);
    w->ReadAloud();
    waitForJobs();
    EXPECT_EQ(spoken() << w->RichTextBox2->SelText(), QStringList({TembrStart + u"Второй."_s, u"Второй."_s}));

    // A chapter search is refused during the reading, which goes on; a reading started during
    // a chapter search goes on after it. The editor stays locked until the last of them ends.
    GlavaWindow &chapters = glava();
    QStringList toldDuringReading;
    afterHighlight = [&](int n) {
        if (n == 1) {
            chapters.check(1)->click();
            toldDuringReading = asked();
        }
    };
    highlights.clear();
    w->RichTextBox2->setSelStart(0);
    w->ReadAloud();
    waitForJobs();
    EXPECT_EQ(toldDuringReading,
              QStringList{u"Идёт чтение вслух. Дождитесь его окончания или остановите чтение."_s});
    EXPECT_EQ(highlights.size(), 3);
    afterHighlight = [](int) {};
    QTimer::singleShot(0, w, [this] { w->ReadAloud(); });
    chapters.check(2)->click();
    EXPECT_TRUE(w->IsReading && w->RichTextBox2->Locked()) << "the reading goes on after the search";
    waitForJobs();
    EXPECT_FALSE(w->RichTextBox2->Locked() || w->IsReading);

    // An exit ends the reading.
    fakeVoices().log = {};
    w->RichTextBox2->setSelStart(0);
    afterHighlight = [this](int) { w->ExitProgramm_Click(); };
    w->ReadAloud();
    waitForJobs();
    // One paragraph spoken; the exit silenced the shared voice too.
    EXPECT_EQ(std::pair(spoken().size(), fakeVoices().log.purges), std::pair(qsizetype(1), 1 + 1));
}

// "Пауза" and F11 (the menu's "Чтение/Пауза") during a reading hold it and let it go on where
// it was; F12 stops a paused reading and leaves the voice unpaused.
TEST_F(ReadAloud, PauseAndF11HoldTheReadingAndStopEndsAPausedOne)
{
    EXPECT_EQ(w->menuBar->findChild<QAction *>(u"Play"_s)->shortcut(), QKeySequence(Qt::Key_F11));
    w->RichTextBox2->setText(book);
    w->RichTextBox2->setSelStart(0);
    QList<bool> held;
    afterHighlight = [&](int n) {
        if (n == 1) {
            for (const QString &name : {u"Toolbar1_8"_s, u"Play"_s}) {
                triggerAction(*w, name);
                const qsizetype before = spoken().size();
                QTest::qWait(100); // many polls
                held << (fakeVoices().log.paused && w->IsReading && spoken().size() == before &&
                         asked().isEmpty());
                triggerAction(*w, name);
            }
        } else {
            triggerAction(*w, u"Toolbar1_8"_s);
            triggerAction(*w, u"Stop"_s);
        }
    };
    w->ReadAloud();
    waitForJobs();
    EXPECT_EQ(held, QList<bool>({true, true}));
    EXPECT_EQ(spoken().size(), 2) << "each paragraph once, none after the stop";
    EXPECT_FALSE(fakeVoices().log.paused || w->IsReading || w->RichTextBox2->Locked());
    // Idle, the pause button does nothing.
    triggerAction(*w, u"Toolbar1_8"_s);
    EXPECT_FALSE(fakeVoices().log.paused);
}

TEST_F(ReadAloud, CommandsWaitForTheReadingAndItsStopWritesTheBookmarkThatReopensThere)
{
    // The user's road: a book opened (and so pre-formatted), read from deep inside, stopped
    // and reopened from its bookmark after another book.
    const QString path = dir.filePath(u"Книга.txt"_s);
    ASSERT_TRUE(QFile::copy(testdata::path(u"kapitanskaya_dochka.txt"_s), path));
    scriptedFileChooser().names.enqueue(path);
    w->OpenTextFile();
    const QString opened = w->RichTextBox2->Text();
    w->RichTextBox2->setSelStart(100000);
    std::string refused;
    afterHighlight = [this, &refused](int n) {
        if (n == 1)
            refused =
                chooseEveryCommand(u"Идёт чтение вслух. Дождитесь его окончания или остановите чтение."_s,
                                   {u"ExitProgramm"_s, u"Stop"_s, u"Toolbar1_9"_s, u"SaveFile"_s,
                                    u"Toolbar1_3"_s, u"Play"_s, u"Toolbar1_7"_s, u"Toolbar1_8"_s});
        else
            w->StopReading();
    };
    w->ReadAloud();
    waitForJobs();
    EXPECT_EQ(refused,
              "ClearText FindNewWords FindOmograf InsPaket OpenFile SaveAs SaveAudio SavePaket SeveRTF "
              "Toolbar1_2 Toolbar1_5 User1 User2 User3 User4");
    // Each speak purges first, then the stop.
    ASSERT_EQ(std::pair(spoken().size(), fakeVoices().log.purges), std::pair(qsizetype(2), 2 + 1));
    EXPECT_FALSE(w->IsReading || w->RichTextBox2->Locked() || w->RichTextBox2->SelLength());
    // The bookmark points at the paragraph being spoken, which starts between a CR and its
    // LF: the editor puts the caret on the next line.
    const int spokenAt = highlights[1].first;
    EXPECT_EQ(bookmark(u"Книга"_s),
              path + u"\r\nКнига\r\n "_s + QString::number(spokenAt) + u"\r\npreformatted\r\n"_s);
    const int caret = spokenAt + 1;
    EXPECT_EQ(w->RichTextBox2->SelStart(), caret);

    CurTextPath = dir.filePath(u"Другая.txt"_s);
    BookTitle = u"Другая"_s;
    w->RichTextBox2->setText(u"другой текст"_s);
    w->Dlitelnost();
    onBookmark(u"Книга.zak"_s, &MainWindow::Command2_Click);
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty() && w->Frame5->isHidden());
    EXPECT_EQ(std::tuple(CurTextPath, BookTitle, w->RichTextBox2->Text(), w->RichTextBox2->SelStart()),
              std::tuple(path, u"Книга"_s, opened, caret));
    // The status bar shows the reopened book's size and playing time.
    const estimate::Figures figures = RichTextBox::measure(path, CharsPerMin);
    EXPECT_EQ(QStringList({panel(1), panel(2)}),
              QStringList({figures.size, estimate::durationText(figures.hours.value_or(0))}));

    // A stop during a job that lets it through leaves that job's lock.
    for (const busy::Job job : {busy::Job::Preformatting, busy::Job::ListRun, busy::Job::Search}) {
        const busy::JobScope running(job);
        run(u"Stop"_s);
        EXPECT_TRUE(w->RichTextBox2->Locked()) << int(job);
    }
    EXPECT_FALSE(w->RichTextBox2->Locked());

    // Idle, the stop still writes; after a clear there is no book and the bookmark stays.
    w->StopReading();
    w->ClearText_Click();
    w->StopReading();
    EXPECT_EQ(bookmark(u"Книга"_s),
              path + u"\r\nКнига\r\n "_s + QString::number(caret) + u"\r\npreformatted\r\n"_s);
    CurTextPath = path;
    BookTitle.clear();
    w->StopReading();
    EXPECT_EQ(bookmark({}), path + u"\r\n\r\n 0\r\npreformatted\r\n"_s);
    // A title that names a path, as a bookmark file may hold, stays inside the folder.
    const QString folder = bookmarkfile::folder();
    textfile::writeLines(folder + u"/b.zak"_s, {path, u"../../escaped"_s, u" 5"_s});
    onBookmark(u"b.zak"_s, &MainWindow::Command2_Click);
    w->StopReading();
    EXPECT_EQ(onBookmark({}, &MainWindow::Command10_Click),
              QStringList({u".._.._escaped.zak"_s, u".zak"_s, u"b.zak"_s, u"Книга.zak"_s}));
}

TEST_F(ReadAloud, ABookmarkReopensAtTheTextWhereTheReadingStoppedHoweverTheBookCameBack)
{
    // Opened (and so pre-formatted), the book comes back as its file has it: at the next
    // start, or through the library's add; or it is saved as it is shown. The reading is
    // found, read and stopped; another book is opened, then the bookmark.
    const QString path = dir.filePath(u"Капитанская дочка.txt"_s), other = dir.filePath(u"Хамелеон.txt"_s);
    ASSERT_TRUE(QFile::copy(testdata::path(u"kapitanskaya_dochka.txt"_s), path));
    ASSERT_TRUE(QFile::copy(testdata::path(u"hameleon.txt"_s), other));
    enum Road
    {
        StartUp,
        LibraryAdd,
        Saved
    };
    for (const Road road : {StartUp, LibraryAdd, Saved}) {
        SCOPED_TRACE(road);
        scriptedFileChooser().names.enqueue(path);
        run(u"OpenFile"_s);
        if (road == LibraryAdd) {
            Library &library = biblioteka();
            library.setFolder(dir.path());
            library.File1->setCurrentRow(0);
            ASSERT_EQ(library.selectedPath(), path);
            setup().Text28->setText(dir.path());
            setup().Check1->setChecked(false); // no question before adding
            triggerAction(library, u"AddToWorkFolder"_s);
        } else if (road == StartUp) {
            run(u"ExitProgramm"_s); // answered Yes
            ASSERT_EQ(std::pair(ended, asked()), std::pair(1, QStringList{u"Выйти из программы?"_s}));
            restart();
            watchHighlights();
        } else {
            run(u"SaveFile"_s);
        }
        const QString shown = w->RichTextBox2->Text(), title = BookTitle;
        ASSERT_EQ(shown.contains(u"\u2014"_s), road != Saved) << "pre-formatted or not";

        const QString place = u"отвечала попадья"_s;
        Find().Text1->setText(place);
        Find().FindNext();
        const int found = w->RichTextBox2->SelStart();
        ASSERT_EQ(shown.mid(found, place.size()), place);
        afterHighlight = [this](int) { run(u"Stop"_s); };
        run(u"Play"_s);
        EXPECT_EQ(bookmark(title), path + u"\r\n"_s + title + u"\r\n "_s + QString::number(found) +
                                       u"\r\n"_s + (road == Saved ? u"preformatted\r\n"_s : u"plain\r\n"_s));

        scriptedFileChooser().names.enqueue(other);
        run(u"OpenFile"_s);
        onBookmark(title + u".zak"_s, &MainWindow::Command2_Click);
        EXPECT_EQ(std::tuple(CurTextPath, w->RichTextBox2->Text() == shown, w->RichTextBox2->SelStart()),
                  std::tuple(path, true, found));
        EXPECT_TRUE(asked().isEmpty());
    }

    // A bookmark of an older version, three lines, was taken in the book as Open showed it
    // then: every pre-formatting step run again over the saved, pre-formatted file.
    const QString everyStep = preformat::run(w->RichTextBox2->Text(), {}, preformat::Mode::EveryStep).text;
    ASSERT_NE(everyStep, w->RichTextBox2->Text());
    const int old = int(everyStep.indexOf(u"отвечала попадья"_s));
    textfile::writeLines(bookmarkfile::folder() + u"/old.zak"_s,
                         {path, BookTitle, u' ' + QString::number(old)});
    scriptedFileChooser().names.enqueue(other);
    run(u"OpenFile"_s);
    onBookmark(u"old.zak"_s, &MainWindow::Command2_Click);
    EXPECT_EQ(std::tuple(w->RichTextBox2->Text() == everyStep, w->RichTextBox2->SelStart()),
              std::tuple(true, old));
}

// A reading stopped in an e-book leaves a bookmark of the e-book, which reads it again.
TEST_F(ReadAloud, AnEBookBookmarkReadsTheEBookAgain)
{
    const QString fb2 = dir.filePath(u"tihiy.fb2"_s), other = dir.filePath(u"Хамелеон.txt"_s);
    ASSERT_TRUE(QFile::copy(testdata::path(u"tihiy_dom.fb2"_s), fb2));
    ASSERT_TRUE(QFile::copy(testdata::path(u"hameleon.txt"_s), other));
    scriptedFileChooser().names.enqueue(fb2);
    run(u"OpenFile"_s);
    const QString shown = w->RichTextBox2->Text();
    const int found = int(shown.indexOf(u"Утро"_s));
    ASSERT_GT(found, 0);
    w->RichTextBox2->setSelStart(found);
    afterHighlight = [this](int) { run(u"Stop"_s); };
    run(u"Play"_s);
    EXPECT_EQ(bookmark(u"Тихий_дом"_s),
              fb2 + u"\r\nТихий_дом\r\n "_s + QString::number(found) + u"\r\npreformatted\r\n"_s);

    scriptedFileChooser().names.enqueue(other);
    run(u"OpenFile"_s);
    onBookmark(u"Тихий_дом.zak"_s, &MainWindow::Command2_Click);
    EXPECT_EQ(
        std::tuple(CurTextPath, BookTitle, w->RichTextBox2->Text() == shown, w->RichTextBox2->SelStart()),
        std::tuple(u""_s, u"Тихий_дом"_s, true, found));
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(ReadAloud, BookmarksPanel)
{
    const QString none = u"Закладки создаются автоматически, при нажатии на кнопку остановки чтения."_s;
    const QString moved = u"Этот текстовый файл был удален или перемещен!\n"_s;
    const QString folder = bookmarkfile::folder() + u'/';
    // A fresh install, without the folder or with the shipped empty one, only explains.
    w->zakladki_Click();
    QDir().mkpath(folder);
    w->zakladki_Click();
    ASSERT_EQ(scriptedPrompter().asked.size(), 2);
    for (const auto &a : std::exchange(scriptedPrompter().asked, {}))
        EXPECT_EQ(std::tuple(a.text, a.icon, a.buttons),
                  std::tuple(none, Prompter::Icon::None, Prompter::Buttons::Ok));
    EXPECT_TRUE(w->Frame5->isHidden());

    // Broken bookmarks leave the book and the editor; the message names the failed file.
    const QString path = dir.filePath(u"Книга.txt"_s);
    ASSERT_TRUE(textfile::writeText(path, book));
    CurTextPath = path;
    BookTitle = u"Книга"_s;
    const QString gone = dir.filePath(u"ушла.txt"_s);
    const QString noCaret = u": в третьей строке нет позиции курсора"_s;
    const std::pair<QStringList, QString> failing[] = {
        {{gone, u"ушла"_s, u" 3"_s}, gone + u": "_s},
        {{path, u"Книга"_s}, folder + u"1.zak"_s + noCaret},
        {{path, u"Книга"_s, u"три"_s}, folder + u"2.zak"_s + noCaret},
    };
    w->RichTextBox2->setText(u"правка"_s);
    for (int n = 0; n < 3; ++n) {
        const auto &[lines, failed] = failing[n];
        textfile::writeLines(folder + QString::number(n) + u".zak"_s, lines);
        onBookmark(QString::number(n) + u".zak"_s, &MainWindow::File2_DblClick);
        const auto asked = std::exchange(scriptedPrompter().asked, {});
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked[0].icon, Prompter::Icon::Critical);
        EXPECT_TRUE(asked[0].text.startsWith(moved + failed)) << qPrintable(asked[0].text);
        EXPECT_EQ(QStringList({CurTextPath, BookTitle, w->RichTextBox2->Text()}),
                  QStringList({path, u"Книга"_s, u"правка"_s}));
        EXPECT_TRUE(w->Frame5->isHidden());
    }
    // A caret past the end of its text stops at the end. A book with damaged bytes says how
    // many once it is shown.
    textfile::writeLines(folder + u"far.zak"_s, {path, u"Книга"_s, u" 99999"_s});
    textfile::writeLines(folder + u"notes.txt"_s, {});
    for (const int damaged : {0, 1}) {
        ASSERT_TRUE(textfile::writeBytes(path, book.toUtf8() + QByteArray(damaged, '\xFF')));
        onBookmark(u"far.zak"_s, &MainWindow::Command2_Click);
        EXPECT_EQ(w->RichTextBox2->SelStart(), w->RichTextBox2->Text().size());
        EXPECT_EQ(w->RichTextBox2->Text().count(QChar::ReplacementCharacter), damaged);
        EXPECT_EQ(asked(), damaged
                               ? QStringList{u"Книга прочитана как UTF-8, но повреждённых байтов в ней: 1. В "
                                             u"тексте они показаны знаком «\uFFFD»."_s}
                               : QStringList());
    }

    // Delete keeps the panel; with nothing selected, open and delete change nothing.
    EXPECT_EQ(onBookmark(u"0.zak"_s, &MainWindow::Command1_Click),
              QStringList({"0.zak", "1.zak", "2.zak", "far.zak"}));
    EXPECT_EQ(onBookmark({}, &MainWindow::Command1_Click), QStringList({"1.zak", "2.zak", "far.zak"}));
    w->Command2_Click();
    EXPECT_FALSE(w->Frame5->isHidden());
    w->Command10_Click();
    EXPECT_TRUE(w->Frame5->isHidden());
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());

    // A book that is there but is refused is told of by its reason alone, as Open does.
    const QString iso = dir.filePath(u"iso.txt"_s);
    ASSERT_TRUE(textfile::writeBytes(iso, QStringEncoder("ISO-8859-5")(book.repeated(3))));
    textfile::writeLines(folder + u"iso.zak"_s, {iso, u"iso"_s, u" 3"_s});
    onBookmark(u"iso.zak"_s, &MainWindow::Command2_Click);
    EXPECT_EQ(asked(),
              QStringList(textfile::openFailure(
                  iso, u"Книга в кодировке ISO-8859-5, а программа читает только Windows-1251, UTF-8, "
                       u"UTF-16, KOI8-R и DOS (cp866). Сохраните книгу в одной из них."_s)));
}
