// Reading aloud, its stop and the bookmarks, with the fake voice.
#include "app/globals.h"
#include "mainwindow/bookmarkfile.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "recording/textprep.h"
#include "settings/setup.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

const QString book = u"Первый.\r\nещё строка.\r\n Второй.\r\n- Реплика.\r\nКонец"_s;

class ReadAloud : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        w = &MP3();
        w->endProcess = [] {};
        fakeVoices().busyPolls = 3;
        QObject::connect(w->RichTextBox2, &RichTextBox::selectionChanged, w, [this] { onHighlight(); });
    }
    // Every highlight, as the reading's start and length at the moment it was shown.
    void onHighlight()
    {
        if (w->RichTextBox2->SelLength() == 0)
            return;
        highlights.append({w->ReadStart, w->ReadEnd - w->ReadStart});
        lockedWhileShown &= w->RichTextBox2->Locked();
        if (afterHighlight)
            afterHighlight(int(highlights.size()));
    }
    // Runs `command` from the reading's next pass of event processing, as a key press would.
    void soon(void (MainWindow::*command)())
    {
        QTimer::singleShot(0, w, [this, command] { (w->*command)(); });
    }

    // A book file holding the text, made the current book.
    QString openBook(const QString &title, const QString &text = book)
    {
        const QString path = dir.filePath(title + u".txt"_s);
        EXPECT_TRUE(textfile::writeText(path, text));
        w->RichTextBox2->LoadFile(path, RichTextBox::FileType::Text);
        CurTextPath = path;
        BookTitle = title;
        return path;
    }
    QStringList spoken() const
    {
        QStringList texts;
        for (const auto &s : fakeVoices().log.spoken)
            texts << s.text;
        return texts;
    }
    QStringList asked()
    {
        QStringList texts;
        for (const auto &a : std::exchange(scriptedPrompter().asked, {}))
            texts << a.text;
        return texts;
    }
    // The file decoded byte for byte, so a mismatch prints readably.
    static QString bytes(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? cp1251::decode(f.readAll()) : u"<missing>"_s;
    }
    // The three cases of the editor, the book and the panel a failed open must leave alone.
    QStringList state() const
    {
        return {w->RichTextBox2->Text(), CurTextPath, BookTitle,
                QString::number(w->RichTextBox2->SelStart())};
    }
    void choose(const QString &bookmark)
    {
        const auto found = w->File2->findItems(bookmark, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << qPrintable(bookmark);
        w->File2->setCurrentItem(found.first());
    }
    void writeBookmark(const QString &name, const QStringList &lines)
    {
        QDir().mkpath(bookmarkfile::folder());
        ASSERT_TRUE(textfile::writeLines(bookmarkfile::folder() + u'/' + name, lines));
    }

    MainWindow *w = nullptr;
    QTemporaryDir dir;
    QList<std::pair<int, int>> highlights;
    bool lockedWhileShown = true;
    std::function<void(int)> afterHighlight;
};

} // namespace

TEST_F(ReadAloud, ParagraphsArePreparedSpokenAndHighlightedInTurn)
{
    using Highlights = QList<std::pair<int, int>>;
    const struct
    {
        int caret;
        QStringList blocks;
        Highlights highlights;
    } cases[] = {
        {0,
         {u"Первый.\r\nещё строка."_s, u"\r\n Второй."_s, u"\r\n- Реплика.\r\nКонец"_s},
         {{0, 21}, {21, 10}, {31, 19}}},
        {3,
         {u"рвый.\r\nещё строка."_s, u"\r\n Второй."_s, u"\r\n- Реплика.\r\nКонец"_s},
         {{3, 18}, {21, 10}, {31, 19}}},
        {49, {}, {}},
    };
    w->RichTextBox2->setText(book);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caret);
        fakeVoices().log = {};
        highlights.clear();
        InDialog = InComment = false;
        w->RichTextBox2->setSelStart(c.caret);
        w->ReadAloud();

        // Each block prepared with the dialogue state carried over from the block before.
        setup().Tembrs();
        const PrepSettings settings = PrepSettings::fromGlobals(
            std::int16_t(setup().FlatScrollBar2->value()), std::int16_t(setup().FlatScrollBar11->value()),
            std::int16_t(setup().FlatScrollBar12->value()));
        DialogState dialog;
        QStringList expected;
        for (const QString &block : c.blocks)
            expected << TembrStart + AnalizText(block, settings, dialog);
        EXPECT_EQ(spoken(), expected);
        EXPECT_EQ(highlights, c.highlights);
        for (const auto &s : fakeVoices().log.spoken)
            EXPECT_EQ(s.flags, 11);
        EXPECT_TRUE(lockedWhileShown);
        EXPECT_FALSE(w->RichTextBox2->Locked());
        EXPECT_EQ(w->IsReading, 0);
    }
    EXPECT_EQ(w->RichTextBox2->Text(), book);
}

TEST_F(ReadAloud, SelectionIsSpokenAsItStands)
{
    w->RichTextBox2->setText(book);
    w->RichTextBox2->setSelStart(23);
    w->RichTextBox2->setSelLength(7);
    highlights.clear();
    w->ReadAloud();
    EXPECT_EQ(spoken(), QStringList({TembrStart + u"Второй."_s}));
    EXPECT_EQ(fakeVoices().log.spoken.at(0).flags, 11);
    EXPECT_EQ(fakeVoices().log.purges, 1); // whatever was sounding is cut off
    EXPECT_EQ(w->RichTextBox2->SelText(), u"Второй."_s);
    EXPECT_FALSE(w->RichTextBox2->Locked());
    EXPECT_EQ(w->IsReading, 0);
}

TEST_F(ReadAloud, StopWritesTheBookmarkThatReopensThere)
{
    const QString path = openBook(u"Книга"_s);
    afterHighlight = [this](int shown) {
        if (shown == 2)
            soon(&MainWindow::StopReading);
    };
    w->ReadAloud();
    EXPECT_EQ(spoken().size(), 2);
    EXPECT_EQ(fakeVoices().log.purges, 2 + 1); // each speak purges first, then the stop
    EXPECT_EQ(w->IsReading, 0);
    EXPECT_EQ(BlockText, QString());
    EXPECT_FALSE(w->RichTextBox2->Locked());
    EXPECT_EQ(w->RichTextBox2->SelLength(), 0);
    const QString zak = bookmarkfile::folder() + u"/Книга.zak"_s;
    EXPECT_EQ(bytes(zak), path + u"\r\nКнига\r\n 21\r\n"_s);
    const int caretAtStop = w->RichTextBox2->SelStart();

    // Another book comes in; the bookmark brings the first one back.
    openBook(u"Другая"_s, u"другой текст"_s);
    w->zakladki_Click();
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_TRUE(w->Frame5->isHidden() == false);
    EXPECT_EQ(w->Frame5->title(), u"Что продолжить?"_s);
    choose(u"Книга.zak"_s);
    w->Command2_Click();
    EXPECT_TRUE(w->Frame5->isHidden());
    EXPECT_EQ(CurTextPath, path);
    EXPECT_EQ(BookTitle, u"Книга"_s);
    EXPECT_EQ(w->RichTextBox2->Text(), book + u"\r\n"_s);
    // Offset 21 lies between a CR and its LF; the editor shows it at the paragraph's line.
    EXPECT_EQ(w->RichTextBox2->SelStart(), caretAtStop);
    EXPECT_EQ(caretAtStop, 22);
}

TEST_F(ReadAloud, StopWritesABookmarkOnlyForABook)
{
    const QString path = openBook(u"Книга"_s);
    w->RichTextBox2->setSelStart(9);
    w->StopReading(); // idle: still written, and the voice silenced
    const QString zak = bookmarkfile::folder() + u"/Книга.zak"_s;
    EXPECT_EQ(bytes(zak), path + u"\r\nКнига\r\n 9\r\n"_s);
    EXPECT_EQ(fakeVoices().log.purges, 1);

    // After a clear there is no book: the good bookmark stays as it was.
    w->ClearText_Click();
    EXPECT_TRUE(CurTextPath.isEmpty());
    w->StopReading();
    EXPECT_EQ(bytes(zak), path + u"\r\nКнига\r\n 9\r\n"_s);
    EXPECT_EQ(QDir(bookmarkfile::folder()).entryList(QDir::Files | QDir::Hidden),
              QStringList({u"Книга.zak"_s}));

    // A book without a title: ".zak", listed like any other.
    CurTextPath = path;
    BookTitle.clear();
    w->StopReading();
    EXPECT_EQ(bytes(bookmarkfile::folder() + u"/.zak"_s), path + u"\r\n\r\n 0\r\n"_s);
    w->zakladki_Click();
    EXPECT_EQ(w->File2->count(), 2);
    EXPECT_EQ(w->File2->item(0)->text(), u".zak"_s);
}

TEST_F(ReadAloud, ASecondReadingOrAnExitInsideAReadingEndsNothingTwice)
{
    w->RichTextBox2->setText(book);
    afterHighlight = [this](int shown) {
        if (shown == 1)
            soon(&MainWindow::ReadAloud);
    };
    w->ReadAloud();
    EXPECT_EQ(spoken().size(), 3); // the nested request was ignored
    EXPECT_EQ(highlights.size(), 3);

    fakeVoices().log = {};
    setup().Check1->setChecked(false);
    afterHighlight = [this](int shown) {
        if (shown == 4)
            soon(&MainWindow::ExitProgramm_Click);
    };
    w->RichTextBox2->setSelStart(0);
    w->ReadAloud();
    EXPECT_EQ(spoken().size(), 1); // the exit ended the reading
}

TEST_F(ReadAloud, BookmarksPanel)
{
    const QString empty = u"Закладки создаются автоматически, при нажатии на кнопку остановки чтения."_s;
    // A fresh install: no folder, and the shipped empty folder, both only explain.
    for (bool folder : {false, true}) {
        if (folder)
            QDir().mkpath(bookmarkfile::folder());
        w->zakladki_Click();
        ASSERT_EQ(scriptedPrompter().asked.size(), 1);
        EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::None);
        EXPECT_EQ(scriptedPrompter().asked[0].buttons, Prompter::Buttons::Ok);
        EXPECT_EQ(asked(), QStringList({empty}));
        EXPECT_TRUE(w->Frame5->isHidden());
    }

    writeBookmark(u"b.zak"_s, {u"/x"_s, u"b"_s, u" 1"_s});
    writeBookmark(u"A.zak"_s, {u"/x"_s, u"A"_s, u" 1"_s});
    writeBookmark(u"notes.txt"_s, {});
    w->zakladki_Click();
    ASSERT_TRUE(w->Frame5->isHidden() == false);
    auto names = [this] {
        QStringList n;
        for (int i = 0; i < w->File2->count(); ++i)
            n << w->File2->item(i)->text();
        return n;
    };
    EXPECT_EQ(names(), QStringList({u"A.zak"_s, u"b.zak"_s}));

    // Nothing selected: open and delete change nothing.
    w->File2->setCurrentItem(nullptr);
    w->Command2_Click();
    w->Command1_Click();
    EXPECT_TRUE(w->Frame5->isHidden() == false);
    EXPECT_EQ(names(), QStringList({u"A.zak"_s, u"b.zak"_s}));

    choose(u"A.zak"_s);
    w->Command1_Click();
    EXPECT_EQ(names(), QStringList({u"b.zak"_s}));
    EXPECT_FALSE(QFile::exists(bookmarkfile::folder() + u"/A.zak"_s));
    EXPECT_TRUE(w->Frame5->isHidden() == false);
    w->Command10_Click();
    EXPECT_TRUE(w->Frame5->isHidden());
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(ReadAloud, ABookmarkThatCannotBeFollowedChangesNothing)
{
    const QString moved = u"Этот текстовый файл был удален или перемещен!"_s;
    const QString path = openBook(u"Книга"_s);
    const QString gone = dir.filePath(u"ушла.txt"_s);
    writeBookmark(u"ушла.zak"_s, {gone, u"ушла"_s, u" 3"_s});
    writeBookmark(u"short.zak"_s, {path, u"Книга"_s});
    writeBookmark(u"nonumber.zak"_s, {path, u"Книга"_s, u"три"_s});
    writeBookmark(u"far.zak"_s, {path, u"Книга"_s, u" 99999"_s});
    w->RichTextBox2->setText(u"правка"_s);
    const QStringList before = state();

    // Each message names the file that failed: the book, or the bookmark itself.
    const std::pair<QString, QString> cases[] = {
        {u"ушла.zak"_s, gone},
        {u"short.zak"_s, bookmarkfile::folder() + u"/short.zak"_s},
        {u"nonumber.zak"_s, bookmarkfile::folder() + u"/nonumber.zak"_s},
    };
    for (const auto &[bookmark, failed] : cases) {
        SCOPED_TRACE(qPrintable(bookmark));
        w->zakladki_Click();
        choose(bookmark);
        w->File2_DblClick();
        EXPECT_EQ(scriptedPrompter().asked.at(0).icon, Prompter::Icon::Critical);
        const QStringList messages = asked();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].startsWith(moved + u'\n' + failed + u": "_s)) << qPrintable(messages[0]);
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(w->Frame5->isHidden());
    }

    // A caret past the end of the text it points into stops at the end.
    w->zakladki_Click();
    choose(u"far.zak"_s);
    w->Command2_Click();
    EXPECT_EQ(w->RichTextBox2->SelStart(), book.size() + 2);
    EXPECT_TRUE(asked().isEmpty());
}
