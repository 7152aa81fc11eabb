// The dictionary comparer driven through its toolbar and menus with scripted file dialogs.
#include "diceditfixture.h"
#include "dictionaries/diccomparewindow.h"

#include <QLabel>
#include <QTimer>

namespace {

class DicCompareTest : public DicTest
{
protected:
    // Writes the list to a file and loads it with the command.
    void load(const char *command, const QString &name, const QStringList &lines)
    {
        const QString path = home() + u'/' + name;
        EXPECT_TRUE(textfile::writeLines(path, lines));
        scriptedFileChooser().names.enqueue(path);
        act(command);
    }
    static void act(const char *command) { triggerAction(DicCompare(), QString::fromLatin1(command)); }
    static QAction *action(const char *name)
    {
        return DicCompare().findChild<QAction *>(QString::fromLatin1(name));
    }
    static QStringList result() { return listing::rows(*DicCompare().ListView3); }
    static QString panel(int i) { return DicCompare().panels[i]->text(); }
};

TEST_F(DicCompareTest, LoadsCompareInFiveWaysAndSortAfterTheSum)
{
    load("Toolbar1_1", u"one.txt"_s,
         {u"// Исключение может содержать до пяти слов, необходимо что бы"_s, u"замок :\t<за<мок>"_s,
          u"Атлас"_s});
    load("load2", u"two.txt"_s, {u"ЗАМОК :\t<ЗА<МОК>"_s, u"орган"_s, u"\"a, b\""_s});
    EXPECT_EQ(panel(0) + panel(1), u"43"_s);
    EXPECT_TRUE(scriptedFileChooser().asked.value(0).title.startsWith(u"Файл словаря "_s));

    const QStringList missing{u"// Исключение может содержать до пяти слов"_s, u"необходимо что бы"_s,
                              u"Атлас"_s, u"орган"_s, u"a, b"_s};
    const std::pair<const char *, QStringList> comparisons[] = {{"compare1", {u"замок :\t<за<мок>"_s}},
                                                                {"Toolbar1_5", missing},
                                                                {"compare3", missing.mid(0, 3)},
                                                                {"Toolbar1_7", missing.mid(3)}};
    for (const auto &[command, expected] : comparisons) {
        act(command);
        EXPECT_EQ(result(), expected) << command;
        EXPECT_EQ(panel(2), QString::number(expected.size())) << command;
    }

    // The sum sorts, equal but for case in the order they were added; from then on the results are sorted.
    act("compare5");
    QStringList sorted{missing[0], u"Атлас"_s, u"замок :\t<за<мок>"_s, u"ЗАМОК :\t<ЗА<МОК>"_s, missing[1],
                       u"орган"_s, u"a, b"_s};
    EXPECT_EQ(result(), sorted);
    EXPECT_EQ(panel(2), u"7"_s);
    act("compare2");
    sorted.remove(2, 2);
    EXPECT_EQ(result(), sorted);
}

TEST_F(DicCompareTest, RepeatsMultiplyAndTheResultIsSavedAsLines)
{
    load("load1", u"one.txt"_s, {u"X"_s, u"X"_s});
    load("load2", u"two.txt"_s, {u"x"_s, u"x"_s});
    act("Toolbar1_4");
    EXPECT_EQ(result(), QStringList(4, u"X"_s));

    // Saved as lines; a file that cannot be written says so.
    const QString saved = home() + u"/result.txt"_s;
    scriptedFileChooser().names << saved << readOnlyFolder() + u"/result.txt"_s;
    act("Save1");
    EXPECT_EQ(listing::bytes(saved), QByteArray("X\r\nX\r\nX\r\nX\r\n"));
    act("Toolbar1_10");
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_TRUE(scriptedPrompter().asked[0].text.startsWith(u"Не удалось записать файл\n"_s));

    // Cancelling or an unreadable file keeps the list and its count; the failure is told.
    act("load1");
    scriptedFileChooser().names.enqueue(home() + u"/missing.txt"_s);
    act("load1");
    const QStringList told = asked();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[1].startsWith(u"Не удалось открыть файл\n"_s + home() + u"/missing.txt: "_s));
    EXPECT_EQ(DicCompare().ListView1->count(), 2);
    EXPECT_EQ(panel(0), u"2"_s);
}

TEST_F(DicCompareTest, DuringARunLoadsAreRefusedAndStopEndsIt)
{
    load("load1", u"one.txt"_s, {u"a"_s, u"b"_s, u"c"_s});
    load("load2", u"two.txt"_s, {u"d"_s});
    bool refused = false;
    QTimer::singleShot(0, &DicCompare(), [&] {
        const int dialogs = int(scriptedFileChooser().asked.size());
        refused =
            DicCompare().comparing() && !action("load1")->isEnabled() && !action("Toolbar1_2")->isEnabled();
        DicCompare().LoadFirstDic();
        refused = refused && scriptedFileChooser().asked.size() == dialogs;
        action("Toolbar1_9")->trigger();
    });
    act("compare3");
    EXPECT_TRUE(refused);
    EXPECT_TRUE(result().isEmpty()) << "stopped at the first step";
    EXPECT_TRUE(action("Toolbar1_9")->isChecked() && action("load1")->isEnabled());

    // The next comparison releases the toggle and runs to its end.
    act("compare3");
    EXPECT_EQ(result(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_FALSE(action("Toolbar1_9")->isChecked());
}

} // namespace
