#include "platform/text/cp1251.h"
#include "texttools/findwindow.h"
#include "texttoolstest.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>

#include <utility>

namespace {

const QColor kGreen(0, 255, 0);

class FindTest : public TextToolTest
{
protected:
    void SetUp() override
    {
        TextToolTest::SetUp();
        w = &Find();
    }

    void search(const QString &what, const QString &with = {}, bool matchCase = false)
    {
        w->Text1->setText(what);
        w->Text2->setText(with);
        w->searchButton(5)->setChecked(matchCase);
    }
    void setList(const QStringList &lines)
    {
        w->ListView1->clear();
        w->ListView1->addItems(lines);
    }
    QString writeList(const QString &name, const QString &text)
    {
        const QString path = home() + u'/' + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp1251::encode(text));
        return path;
    }

    FindWindow *w = nullptr;
};

TEST_F(FindTest, StartsWithoutItsListPartAndToggleSixShowsIt)
{
    EXPECT_FALSE(w->Frame1->isVisibleTo(w));
    EXPECT_FALSE(w->Toolbar1->isEnabled());
    EXPECT_FALSE(w->searchButton(6)->isChecked());
    w->searchButton(6)->trigger();
    EXPECT_TRUE(w->Frame1->isVisibleTo(w));
    EXPECT_TRUE(w->Toolbar1->isEnabled());
    EXPECT_GT(w->height(), 400);
}

TEST_F(FindTest, FindNextGoesFromHitToHitThenWrapsToTheStart)
{
    editor().setText(QStringLiteral("0123456789кот"));
    search(QStringLiteral("кот"));
    w->FindNext();
    EXPECT_EQ(editor().SelStart(), 10);
    EXPECT_EQ(editor().SelLength(), 0);
    editor().setSelStart(10);
    editor().setSelLength(3);
    EXPECT_EQ(editor().SelColor(), kGreen);
    editor().setSelStart(10);
    w->FindNext();
    EXPECT_EQ(asked(), QStringList{QStringLiteral("не найдено")});
    EXPECT_EQ(editor().SelStart(), 0);
    EXPECT_TRUE(w->NotFoundFlag);

    editor().setText(QStringLiteral("кот кот"));
    QList<int> carets;
    for (int i = 0; i < 2; ++i) {
        w->FindNext();
        carets.append(editor().SelStart());
    }
    EXPECT_EQ(carets, (QList<int>{0, 4}));
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(FindTest, MatchCaseToggleDecidesWhetherCapitalsMatch)
{
    for (const bool matchCase : {false, true}) {
        editor().setText(QStringLiteral("xx КОТ"));
        search(QStringLiteral("кот"), {}, matchCase);
        w->FindNext();
        EXPECT_EQ(w->NotFoundFlag, matchCase);
        EXPECT_EQ(editor().SelStart(), matchCase ? 0 : 3);
        w->NotFoundFlag = false;
        asked();
    }
}

TEST_F(FindTest, ReplaceOneReplacesOnlyTheSearchTextAtTheCaret)
{
    editor().setText(QStringLiteral("абв кот кот"));
    search(QStringLiteral("кот"), QStringLiteral("пёс"));
    w->ReplaceOne(); // the caret stands on "абв": only finds
    EXPECT_EQ(editor().Text(), QStringLiteral("абв кот кот"));
    EXPECT_EQ(editor().SelStart(), 4);
    w->ReplaceOne();
    EXPECT_EQ(editor().Text(), QStringLiteral("абв пёс кот"));
    EXPECT_EQ(editor().SelStart(), 8);

    w->GoToStart();
    EXPECT_EQ(editor().SelStart(), 0);
}

TEST_F(FindTest, ReplaceAllReplacesEveryHitFromTheCaret)
{
    editor().setText(QStringLiteral("xxxxxxxxxxкот кот..........кот"));
    editor().setSelStart(0);
    search(QStringLiteral("кот"), QStringLiteral("пёс"));
    w->ReplaceAll();
    EXPECT_EQ(editor().Text(), QStringLiteral("xxxxxxxxxxпёс пёс..........пёс"));
    EXPECT_EQ(editor().SelStart(), 0);
    EXPECT_EQ(asked(), QStringList{QStringLiteral("не найдено")});
    EXPECT_FALSE(editor().Locked());
}

TEST_F(FindTest, EmptySearchBoxDoesNothing)
{
    editor().setText(QStringLiteral("кот кот"));
    editor().setSelStart(2);
    search(QString(), QStringLiteral("пёс"));
    w->FindNext();
    w->ReplaceOne();
    w->ReplaceAll();
    EXPECT_EQ(editor().Text(), QStringLiteral("кот кот"));
    EXPECT_EQ(editor().SelStart(), 2);
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(FindTest, ListLoadsEntryLinesAndSavesThemBack)
{
    const QString path =
        writeList(QStringLiteral("a.dic"), QStringLiteral("кот=пёс\r\n\r\nмусор\r\nпёс=волк\r\n"));
    scriptedFileChooser().names.enqueue(path);
    w->listButton(1)->trigger();
    EXPECT_EQ(w->entries(), QStringList({"кот=пёс", "пёс=волк"}));

    const QString saved = home() + QStringLiteral("/b.dic");
    scriptedFileChooser().names.enqueue(saved);
    w->listButton(2)->trigger();
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), cp1251::encode(QStringLiteral("кот=пёс\r\nпёс=волк\r\n")));

    const auto &dialogs = scriptedFileChooser().asked;
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_EQ(dialogs[0].title, QStringLiteral("Открыть файл  со списком замен"));
    EXPECT_EQ(dialogs[1].title, QStringLiteral("Сохранить файл  со списком замен"));
    for (const auto &d : dialogs) {
        EXPECT_EQ(d.filter, QStringLiteral("All Files (*);;Файлы словарей (*.dic)"));
        EXPECT_EQ(d.selectedFilter, QStringLiteral("Файлы словарей (*.dic)"));
    }
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(FindTest, FailedOrCancelledLoadKeepsTheListAndFailuresAreTold)
{
    setList({QStringLiteral("кот=пёс")});
    const QString missing = home() + QStringLiteral("/нет.dic");
    scriptedFileChooser().names.enqueue(missing);
    w->OpenReplaceList();
    w->OpenReplaceList(); // cancelled
    w->AutoLoadScroll();  // no DIC/Nicolai.dic in the program folder
    EXPECT_EQ(w->entries(), QStringList{QStringLiteral("кот=пёс")});
    const QStringList messages = asked();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Не удалось открыть файл\n") + missing + u':'));

    const QString unwritable = readOnlyFolder() + QStringLiteral("/x.dic");
    scriptedFileChooser().names.enqueue(unwritable);
    w->SaveReplaceList();
    const QStringList saveMessages = asked();
    ASSERT_EQ(saveMessages.size(), 1);
    EXPECT_TRUE(saveMessages[0].startsWith(QStringLiteral("Не удалось записать файл\n") + unwritable + u':'));
}

TEST_F(FindTest, AutoLoadScrollReadsTheDefaultList)
{
    QDir().mkpath(home() + QStringLiteral("/DIC"));
    writeList(QStringLiteral("DIC/Nicolai.dic"), QStringLiteral("а=б\r\nв\r\n"));
    w->AutoLoadScroll();
    EXPECT_EQ(w->entries(), QStringList{QStringLiteral("а=б")});
}

TEST_F(FindTest, AddAndRemoveFollowTheSelection)
{
    setList({QStringLiteral("кот=пёс"), QStringLiteral("дом=домъ")});
    w->RemoveEntry(); // nothing selected
    search(QString(), QStringLiteral("x"));
    w->AddEntry(); // no key
    search(QStringLiteral("*"), QStringLiteral("x"));
    w->AddEntry(); // a key of markers only
    EXPECT_EQ(w->entries(), QStringList({"кот=пёс", "дом=домъ"}));
    EXPECT_EQ(w->CurEntry, 0);

    search(QStringLiteral("  лес "), QStringLiteral(" бор  "));
    w->AddEntry();
    EXPECT_EQ(w->entries().last(), QStringLiteral("лес=бор"));
    EXPECT_EQ(w->CurEntry, 3);
    search(QStringLiteral("кот"), QStringLiteral("пёс"));
    w->AddEntry(); // listed already: the earlier entry becomes current
    EXPECT_EQ(w->entries().size(), 4);
    EXPECT_EQ(w->CurEntry, 1);

    w->RemoveEntry();
    EXPECT_EQ(w->entries(), QStringList({"дом=домъ", "лес=бор", "кот=пёс"}));
    EXPECT_EQ(w->CurEntry, 1);
    w->ListView1->setCurrentRow(2);
    EXPECT_EQ(w->CurEntry, 3);
    w->RemoveEntry();
    EXPECT_EQ(w->entries(), QStringList({"дом=домъ", "лес=бор"}));
    EXPECT_EQ(w->CurEntry, 0);
}

TEST_F(FindTest, ListRunAppliesEntriesLastFirstAndLeavesEntryOnesTexts)
{
    const struct
    {
        QStringList lines;
        const char *text;
        const char *expected;
        const char *search;
        const char *replacement;
        bool matchCase;
    } cases[] = {
        {{"кот=пёс"}, "Мой кот спит.", "Мой пёс спит.", " кот ", " пёс ", false},
        {{"$Дом=X"}, "xx дом Дом .", "xx дом X .", " Дом ", " X ", true},
        // The last entry runs first, so entry 1's output is not changed again.
        {{"a=b", "b=c"}, "x a .", "x b .", " a ", " b ", false},
        {{"кот*=пёс"}, " котик", " пёсик", " кот", " пёс", false},
        {{"=x", "*=x"}, "x a .", "x a .", "", "", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        editor().setText(QString::fromUtf8(c.text));
        setList(c.lines);
        search(QString(), QString(), !c.matchCase);
        w->listButton(6)->setChecked(true); // released by the run
        w->ReplaceScroll();
        EXPECT_EQ(editor().Text(), QString::fromUtf8(c.expected));
        EXPECT_EQ(w->Text1->text(), QString::fromUtf8(c.search));
        EXPECT_EQ(w->Text2->text(), QString::fromUtf8(c.replacement));
        if (c.search[0] != '\0') {
            EXPECT_EQ(w->searchButton(5)->isChecked(), c.matchCase);
        }
        EXPECT_EQ(editor().SelStart(), 0);
        EXPECT_FALSE(editor().Locked());
    }
    // The replacements show green.
    editor().setText(QStringLiteral("Мой кот спит."));
    setList({QStringLiteral("кот=пёс")});
    w->ReplaceScroll();
    editor().setSelStart(4);
    editor().setSelLength(3);
    EXPECT_EQ(editor().SelColor(), kGreen);
}

TEST_F(FindTest, StopToggleEndsARunAndOtherCommandsWaitMeanwhile)
{
    editor().setText(QStringLiteral(" a c c c ."));
    setList({QStringLiteral("a=b"), QStringLiteral("c=d")});
    bool lockedDuringRun = false;
    QTimer::singleShot(0, w, [&] {
        lockedDuringRun = editor().Locked() && w->busy();
        search(QStringLiteral("a"), QStringLiteral("z"));
        w->ReplaceAll();
        w->searchButton(1)->trigger();
        w->listButton(6)->trigger();
    });
    w->ReplaceScroll();
    EXPECT_TRUE(lockedDuringRun);
    // The stop came while the last entry ran; entry 1 never ran.
    EXPECT_EQ(editor().Text(), QStringLiteral(" a d d d ."));
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_FALSE(editor().Locked());
    EXPECT_FALSE(w->busy());
}

} // namespace
