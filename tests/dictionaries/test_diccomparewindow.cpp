// The dictionary comparer driven through its toolbar and menus with scripted file dialogs.
#include "diceditfixture.h"
#include "dictionaries/diccomparewindow.h"

#include <QLabel>
#include <QTimer>

namespace {

class DicCompareTest : public DicTest
{
protected:
    QString write(const QString &name, const QStringList &lines)
    {
        const QString path = home() + u'/' + name;
        EXPECT_TRUE(textfile::writeLines(path, lines));
        return path;
    }
    void load(const char *command, const QString &path)
    {
        scriptedFileChooser().names.enqueue(path);
        triggerAction(DicCompare(), QString::fromLatin1(command));
    }
    static QStringList result() { return listing::rows(*DicCompare().ListView3); }
    static QString panel(int i) { return DicCompare().panels[i]->text(); }
};

TEST_F(DicCompareTest, LoadsCompareInFiveWaysAndSortAfterTheSum)
{
    load("Toolbar1_1",
         write(u"one.txt"_s, {u"// Исключение может содержать до пяти слов, необходимо что бы"_s,
                              u"замок :\t<за<мок>"_s, u"Атлас"_s}));
    load("load2", write(u"two.txt"_s, {u"ЗАМОК :\t<ЗА<МОК>"_s, u"орган"_s, u"\"a, b\""_s}));
    EXPECT_EQ(panel(0), u"4"_s);
    EXPECT_EQ(panel(1), u"3"_s);
    ASSERT_EQ(scriptedFileChooser().asked.size(), 2);
    EXPECT_TRUE(scriptedFileChooser().asked[0].title.startsWith(u"Файл словаря "_s));

    triggerAction(DicCompare(), u"compare1"_s);
    EXPECT_EQ(result(), QStringList{u"замок :\t<за<мок>"_s});
    EXPECT_EQ(panel(2), u"1"_s);

    const QStringList missing{u"// Исключение может содержать до пяти слов"_s, u"необходимо что бы"_s,
                              u"Атлас"_s, u"орган"_s, u"a, b"_s};
    triggerAction(DicCompare(), u"Toolbar1_5"_s);
    EXPECT_EQ(result(), missing);
    EXPECT_EQ(panel(2), u"5"_s);
    triggerAction(DicCompare(), u"compare3"_s);
    EXPECT_EQ(result(), missing.mid(0, 3));
    triggerAction(DicCompare(), u"Toolbar1_7"_s);
    EXPECT_EQ(result(), missing.mid(3));

    triggerAction(DicCompare(), u"compare5"_s);
    const QStringList sum = result();
    EXPECT_EQ(sum.size(), 7);
    EXPECT_EQ(panel(2), u"7"_s);
    EXPECT_LT(sum.indexOf(u"Атлас"_s), sum.indexOf(u"замок :\t<за<мок>"_s));
    EXPECT_LT(sum.indexOf(u"замок :\t<за<мок>"_s), sum.indexOf(u"орган"_s));
    EXPECT_EQ(sum.indexOf(u"ЗАМОК :\t<ЗА<МОК>"_s), sum.indexOf(u"замок :\t<за<мок>"_s) + 1)
        << "equal but for case: in the order they were added";

    // From now on the result list is sorted.
    triggerAction(DicCompare(), u"compare2"_s);
    QStringList sorted = sum;
    sorted.removeAll(u"замок :\t<за<мок>"_s);
    sorted.removeAll(u"ЗАМОК :\t<ЗА<МОК>"_s);
    EXPECT_EQ(result(), sorted);
}

TEST_F(DicCompareTest, RepeatsMultiplyAndTheResultIsSavedAsLines)
{
    load("load1", write(u"one.txt"_s, {u"X"_s, u"X"_s}));
    load("load2", write(u"two.txt"_s, {u"x"_s, u"x"_s}));
    triggerAction(DicCompare(), u"Toolbar1_4"_s);
    EXPECT_EQ(result(), QStringList(4, u"X"_s));

    const QString saved = home() + u"/result.txt"_s;
    scriptedFileChooser().names.enqueue(saved);
    triggerAction(DicCompare(), u"Save1"_s);
    EXPECT_EQ(listing::bytes(saved), QByteArray("X\r\nX\r\nX\r\nX\r\n"));

    // A file that cannot be written says so.
    scriptedFileChooser().names.enqueue(readOnlyFolder() + u"/result.txt"_s);
    triggerAction(DicCompare(), u"Toolbar1_10"_s);
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_TRUE(scriptedPrompter().asked[0].text.startsWith(u"Не удалось записать файл\n"_s));

    // Cancelling or an unreadable file keeps the list and its count; the failure is told.
    triggerAction(DicCompare(), u"load1"_s);
    load("load1", home() + u"/missing.txt"_s);
    const QStringList told = asked();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[1].startsWith(u"Не удалось открыть файл\n"_s + home() + u"/missing.txt: "_s));
    EXPECT_EQ(DicCompare().ListView1->count(), 2);
    EXPECT_EQ(panel(0), u"2"_s);
}

TEST_F(DicCompareTest, DuringARunLoadsAreRefusedAndStopEndsIt)
{
    load("load1", write(u"one.txt"_s, {u"a"_s, u"b"_s, u"c"_s}));
    load("load2", write(u"two.txt"_s, {u"d"_s}));
    bool refused = false;
    QTimer::singleShot(0, &DicCompare(), [&] {
        const int dialogs = int(scriptedFileChooser().asked.size());
        refused = DicCompare().comparing() && !DicCompare().findChild<QAction *>(u"load1"_s)->isEnabled() &&
                  !DicCompare().findChild<QAction *>(u"Toolbar1_2"_s)->isEnabled();
        DicCompare().LoadFirstDic();
        refused = refused && scriptedFileChooser().asked.size() == dialogs;
        DicCompare().findChild<QAction *>(u"Toolbar1_9"_s)->trigger();
    });
    triggerAction(DicCompare(), u"compare3"_s);
    EXPECT_TRUE(refused);
    EXPECT_TRUE(result().isEmpty()) << "stopped at the first step";
    EXPECT_TRUE(DicCompare().findChild<QAction *>(u"Toolbar1_9"_s)->isChecked());
    EXPECT_TRUE(DicCompare().findChild<QAction *>(u"load1"_s)->isEnabled());

    // The next comparison releases the toggle and runs to its end.
    triggerAction(DicCompare(), u"compare3"_s);
    EXPECT_EQ(result(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_FALSE(DicCompare().findChild<QAction *>(u"Toolbar1_9"_s)->isChecked());
}

} // namespace
