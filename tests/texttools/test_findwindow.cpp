#include "platform/text/cp1251.h"
#include "texttools/findwindow.h"
#include "texttoolstest.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolBar>

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
    QString writeFile(const QString &name, const QString &text)
    {
        EXPECT_TRUE(textfile::writeBytes(home() + u'/' + name, cp1251::encode(text)));
        return home() + u'/' + name;
    }
    QColor colourAt(int start, int length)
    {
        editor().setSelStart(start);
        editor().setSelLength(length);
        return editor().SelColor();
    }

    FindWindow *w = nullptr;
};

TEST_F(FindTest, SearchBarFindsAndReplaces)
{
    // Operations: F find, R replace one, A replace all, S go to the start, L load the book
    // "кот и пёс, кот.", E Return in the search field; the caret after each.
    const struct
    {
        const char *text;
        int caret;
        const char *what;
        const char *with;
        bool matchCase;
        const char *ops;
        const char *after;
        QList<int> carets;
        int notFound;
    } cases[] = {
        {"0123456789кот", 0, "кот", "", false, "FF", "0123456789кот", {10, 0}, 1},
        {"кот кот", 0, "кот", "", false, "FF", "кот кот", {0, 4}, 0},
        {"кот кот", 0, "кот", "", false, "EE", "кот кот", {0, 4}, 0},
        {"xx КОТ", 0, "кот", "", false, "F", "xx КОТ", {3}, 0},
        {"xx КОТ", 0, "кот", "", true, "F", "xx КОТ", {0}, 1},
        // At a mismatch replace-one only finds.
        {"абв кот кот", 0, "кот", "пёс", false, "RR", "абв пёс кот", {4, 8}, 0},
        {"xxxxxxxxxxкот кот.....кот", 0, "кот", "пёс", false, "A", "xxxxxxxxxxпёс пёс.....пёс", {0}, 1},
        // Replace-all goes from the caret on and never searches what it put in; a deletion
        // leaves no adjacent hit behind, one by one or all at once.
        {"кот кот кот", 4, "кот", "кот-кот", false, "A", "кот кот-кот кот-кот", {0}, 1},
        {"aaaa", 0, "a", "", false, "FRR", "aa", {0, 0, 0}, 0},
        {"aaaa", 0, "a", "", false, "A", "", {0}, 1},
        {"xx--yy--zz", 0, "-", "", false, "A", "xxyyzz", {0}, 1},
        {"abababab", 0, "ab", "", false, "A", "", {0}, 1},
        {" да да ", 0, " да ", " нет ", false, "A", " нет да ", {0}, 1},
        // Loading a book starts the search from its beginning.
        {"кот кот кот", 0, "кот", "", false, "FLFF", "кот и пёс, кот.", {0, 0, 0, 11}, 0},
        {"кот кот", 2, "", "пёс", false, "FRA", "кот кот", {2, 2, 2}, 0},
        {"кот кот", 5, "кот", "", false, "SF", "кот кот", {0, 0}, 0},
        // Going to the start forgets the last hit: a hit at the start is found again.
        {"кот кот", 0, "кот", "", false, "SFSF", "кот кот", {0, 0, 0, 0}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + c.ops);
        editor().setText(QString::fromUtf8(c.text));
        editor().setSelStart(c.caret);
        search(QString::fromUtf8(c.what), QString::fromUtf8(c.with), c.matchCase);
        QList<int> carets;
        for (const char *op = c.ops; *op != '\0'; ++op) {
            if (*op == 'E') {
                QTest::keyClick(w->Text1, Qt::Key_Return);
                carets.append(editor().SelStart());
                continue;
            }
            if (*op == 'L') {
                ASSERT_TRUE(editor().LoadFile(
                    writeFile(QStringLiteral("book.txt"), QStringLiteral("кот и пёс, кот."))));
                carets.append(editor().SelStart());
                continue;
            }
            const int button = *op == 'F' ? 1 : *op == 'R' ? 2 : *op == 'A' ? 3 : 4;
            triggerAction(*w, QStringLiteral("Toolbar2_%1").arg(button));
            carets.append(editor().SelStart());
        }
        EXPECT_EQ(editor().Text(), QString::fromUtf8(c.after));
        EXPECT_EQ(carets, c.carets);
        EXPECT_FALSE(w->searchButton(1)->isChecked()) << "the find button does not stay down";
        EXPECT_EQ(asked(), QStringList(c.notFound, QStringLiteral("не найдено")));
        EXPECT_FALSE(editor().Locked());
    }
    editor().setText(QStringLiteral("0123456789кот"));
    w->FindNext();
    EXPECT_EQ(colourAt(10, 3), kGreen);
}

TEST_F(FindTest, ListLoadsEntryLinesSavesThemAndKeepsThemOnFailure)
{
    const QString path =
        writeFile(QStringLiteral("a.dic"), QStringLiteral("кот=пёс\r\n\r\nмусор\r\nпёс=волк\r\n"));
    const QString saved = home() + QStringLiteral("/b.dic");
    scriptedFileChooser().names << path << saved;
    // The list part and its bar show once toggle 6 is down.
    EXPECT_FALSE(w->Frame1->isVisibleTo(w));
    triggerAction(*w, QStringLiteral("Toolbar2_6"));
    EXPECT_TRUE(w->Frame1->isVisibleTo(w));
    triggerAction(*w, QStringLiteral("Toolbar1_1"));
    triggerAction(*w, QStringLiteral("Toolbar1_2"));
    EXPECT_EQ(w->entries(), QStringList({"кот=пёс", "пёс=волк"}));
    EXPECT_EQ(listing::bytes(saved), cp1251::encode(QStringLiteral("кот=пёс\r\nпёс=волк\r\n")));

    // A missing file, a cancel and a missing default list leave the list; failures are told.
    const QString missing = home() + QStringLiteral("/нет.dic");
    const QString unwritable = readOnlyFolder() + QStringLiteral("/x.dic");
    scriptedFileChooser().names << missing << QString() << unwritable;
    w->OpenReplaceList();
    w->OpenReplaceList();
    w->AutoLoadScroll();
    w->SaveReplaceList();
    EXPECT_EQ(w->entries(), QStringList({"кот=пёс", "пёс=волк"}));
    const QStringList messages = asked();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Не удалось открыть файл\n") + missing + u':'));
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("Не удалось записать файл\n") + unwritable + u':'));

    QDir().mkpath(home() + QStringLiteral("/DIC"));
    writeFile(QStringLiteral("DIC/Nicolai.dic"), QStringLiteral("а=б\r\nв\r\n"));
    w->AutoLoadScroll();
    EXPECT_EQ(w->entries(), QStringList{QStringLiteral("а=б")});
}

TEST_F(FindTest, AddAndRemoveFollowTheSelection)
{
    setList({QStringLiteral("кот=пёс"), QStringLiteral("дом=домъ")});
    w->RemoveEntry(); // nothing selected
    for (const char *key : {"", "*", " $ "}) {
        search(QString::fromUtf8(key), QStringLiteral("x"));
        w->AddEntry(); // no usable key
    }
    EXPECT_EQ(w->entries(), QStringList({"кот=пёс", "дом=домъ"}));
    EXPECT_EQ(w->CurEntry, 0);

    search(QStringLiteral("  лес "), QStringLiteral(" бор  "));
    w->AddEntry();
    EXPECT_EQ(w->entries().last(), QStringLiteral("лес=бор"));
    EXPECT_EQ(w->CurEntry, 3);
    search(QStringLiteral("кот"), QStringLiteral("пёс"));
    w->AddEntry(); // listed already: the earlier entry becomes current
    EXPECT_EQ(w->CurEntry, 1);

    w->RemoveEntry();
    EXPECT_EQ(w->entries(), QStringList({"дом=домъ", "лес=бор", "кот=пёс"}));
    EXPECT_EQ(w->CurEntry, 1);
    w->ListView1->setCurrentRow(2);
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
        {{"=x", "*=x"}, "x a .", "x a .", "", "", true},
        {{"кот*=пёс"}, " котик", " пёсик", " кот", " пёс", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        editor().setText(QString::fromUtf8(c.text));
        setList(c.lines);
        search(QString(), QString(), c.matchCase);
        w->listButton(6)->setChecked(true); // released by the run
        w->ReplaceScroll();
        EXPECT_EQ(editor().Text(), QString::fromUtf8(c.expected));
        EXPECT_EQ(QStringList({w->Text1->text(), w->Text2->text()}),
                  QStringList({QString::fromUtf8(c.search), QString::fromUtf8(c.replacement)}));
        EXPECT_EQ(w->searchButton(5)->isChecked(), c.matchCase);
        EXPECT_EQ(editor().SelStart(), 0);
    }
    EXPECT_EQ(colourAt(1, 3), kGreen);
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
        triggerAction(*w, QStringLiteral("Toolbar2_1"));
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
