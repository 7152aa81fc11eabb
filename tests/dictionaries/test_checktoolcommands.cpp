// The editor's check and import commands, driven through its menus with scripted answers.
#include "diceditfixture.h"

#include <QLineEdit>
#include <QTimer>

namespace {

class CheckToolCommands : public DicEditFixture
{
protected:
    // Replaces the list with these entries, read as the program copy.
    static void refill(const QStringList &entries)
    {
        DicEdit().NewDic();
        fill(entries);
        scriptedPrompter().asked.clear();
    }
    QString file(const QString &name) const { return home() + u'/' + name; }
    QStringList lines(const QString &name) const { return listing::lines(file(name)); }
    static void answer(const QList<Prompter::Answer> &answers)
    {
        for (Prompter::Answer a : answers)
            scriptedPrompter().answers.enqueue(a);
    }
    const QString cat = u"кот :\t<ко<т>"_s;
};

constexpr auto Yes = Prompter::Answer::Yes;
constexpr auto No = Prompter::Answer::No;

TEST_F(CheckToolCommands, SortFromMenuAndToolbarReportsWhatItDid)
{
    for (const char *command : {"menu2_1", "Toolbar1_7"}) {
        refill({cat, u"белый кот :\t<бе<лый ко<т>"_s, u"Кот :\t<ко<т>"_s, u"пёс :\t<пё<с##>"_s});
        trigger(command);
        EXPECT_EQ(list(), (QStringList{u"белый кот :\t<бе<лый##ко<т>"_s, u"Кот :\t<ко<т>"_s})) << command;
        EXPECT_EQ(DicEdit().Text3->text(), u"2"_s);
        EXPECT_EQ(
            asked(),
            QStringList{
                u"Удалено 1 повторов \r\n1 пробелов заменены на ##\r\nУдалено 1 недопустимых записей"_s});
    }
}

TEST_F(CheckToolCommands, OverlapStopsAtTheFirstPairAndLogsIt)
{
    const QString phrase = u"кот учёный :\t<ко<т##учё<ный>"_s;
    refill({u"к*т :\t<кот>"_s, phrase});
    trigger("menu2_2");
    EXPECT_TRUE(asked().isEmpty() && !QFile::exists(file(u"дублирование.txt"_s)));
    EXPECT_EQ(DicEdit().Text4->text(), u"2"_s) << "the last record walked";

    refill({cat, phrase});
    DicEdit().ListView1->setCurrentRow(0);
    trigger("menu2_2");
    EXPECT_EQ(asked(), QStringList{u"кот \r\n"_s + phrase});
    EXPECT_EQ(lines(u"дублирование.txt"_s), (QStringList{u"кот "_s, phrase, QString(), QString()}));
    EXPECT_EQ(std::tuple(DicEdit().Text1->text(), DicEdit().currentRecord(), list().size()),
              std::tuple(u"кот "_s, 1, qsizetype(2)));
}

TEST_F(CheckToolCommands, MovesWriteTheFileFirst)
{
    // Each move appends its records to its file, then takes them out of the list; "словосочетания.txt" is
    // the import's "Словосочетания.txt".
    ASSERT_TRUE(textfile::writeLines(file(u"Словосочетания.txt"_s), {u"было"_s}));
    const QStringList pair{u"замок :\t<за<мок>"_s, u"замок :\t<замо<к>"_s};
    const auto move = [&](const QStringList &records, const char *command) {
        refill(records + QStringList{cat});
        trigger(command);
        EXPECT_EQ(list(), QStringList{cat}) << command;
    };
    move({u"белый кот :\t<бе<лый##ко<т> /i"_s}, "menu2_8");
    EXPECT_EQ(lines(u"Словосочетания.txt"_s), (QStringList{u"было"_s, u"белый кот=бе<лый ко<т "_s}));
    move(pair, "menu2_4");
    EXPECT_EQ(lines(u"DIC/разночтения.txt"_s), pair + QStringList(2));
    EXPECT_EQ(asked(), QStringList{u"Выполнено"_s});
    move({u"пёс :\t<пё<с>"_s}, "Sel_yo");
    EXPECT_EQ(lines(u"Ё.txt"_s), QStringList{u"пёс :\t<пё<с>"_s});

    // A file that cannot be written keeps the records in the list.
    ASSERT_TRUE(QFile::remove(file(u"DIC/разночтения.txt"_s)));
    ASSERT_TRUE(QDir(home()).mkpath(u"DIC/разночтения.txt"_s));
    refill(pair);
    trigger("menu2_4");
    const QStringList said = asked();
    EXPECT_EQ(said.size(), 1);
    EXPECT_TRUE(said.value(0).startsWith(u"Не удалось записать файл\n"_s + file(u"DIC/разночтения.txt"_s)));
    EXPECT_EQ(list(), pair);
}

TEST_F(CheckToolCommands, WalksAskAboutTheRecordsTheyTake)
{
    ASSERT_TRUE(textfile::writeLines(home() + u"/DIC/homograph.txt"_s, {u"замок"_s, u"мука"_s}));
    const auto walk = [&](const QStringList &records, QList<Prompter::Answer> answers, const char *command) {
        refill(records);
        spoken();
        answer(answers);
        trigger(command);
    };
    walk({cat, u"кошка :\t<ко<шка>"_s, u"мой :\t<мо<й>"_s}, {Yes}, "menu2_7");
    EXPECT_EQ(asked(), QStringList{u"кот :\t<ко<т>  - удалить?"_s});
    EXPECT_EQ(list(), (QStringList{u"кошка :\t<ко<шка>"_s, u"мой :\t<мо<й>"_s}));

    const QStringList inadequate{u"кот :\t<к>"_s, cat, u"кот :\t<ко<ттттттт>"_s, u"кот :\t<ко<тттттт>"_s};
    walk(inadequate, {Yes, No}, "menu2_5");
    EXPECT_EQ(asked(),
              (QStringList{u"Стереть запись?\r\nкот :\t<к>"_s, u"Стереть запись?\r\n"_s + inadequate[2]}));
    EXPECT_EQ(list(), QStringList{QString()} + inadequate.mid(1)) << "emptied, the row stays";

    walk({u"а б в :\t<а##б##в>"_s, u"а б :\t<а##б>"_s}, {Yes}, "find2");
    EXPECT_EQ(asked(), QStringList{u"а б в :\t<а##б##в>  -удалить?"_s});
    EXPECT_EQ(list(), QStringList{u"а б :\t<а##б>"_s});

    // Homographs are heard by the dictionary voice, then offered.
    walk({u"замок :\t<за<мок>"_s, cat}, {Yes}, "menu2_3");
    EXPECT_EQ(asked(), QStringList{u"замок :\t<за<мок>  - удалить?"_s});
    EXPECT_EQ(spoken(), QStringList{u"(замок : @ru"_s});
    EXPECT_EQ(list(), (QStringList{QString(), cat}));
}

TEST_F(CheckToolCommands, ListIsLockedWhileALongWalkLetsEventsThrough)
{
    const QStringList records{cat, u"пёс :\t<пё<с>"_s};
    refill(records);
    bool running = false;
    QTimer::singleShot(0, &DicEdit(), [&] {
        running = DicEdit().toolRunning();
        DicEdit().NewDic();
        DicEdit().DelDublDic();
    });
    trigger("find2");
    EXPECT_TRUE(running);
    EXPECT_EQ(list(), records);
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(CheckToolCommands, ImportsFromAutoReplaceAndOldDictionaries)
{
    const QString source = file(u"tom.dic"_s);
    ASSERT_TRUE(
        textfile::writeLines(source, {u"белый кот=бе>лый ко>т"_s, u"$Белый Кот=Бе>лый Ко>т"_s, u"кот=ко>т"_s,
                                      u"серый кот=се>рый ко>т,рыжий кот=ры>жий ко>т"_s}));
    refill({u"пёс :\t<пё<с>"_s});
    scriptedFileChooser().names.enqueue(source);
    trigger("menu1_3_2");
    EXPECT_EQ(asked(), QStringList{u"Импортировано 4 записей из 5"_s});
    EXPECT_EQ(list().size(), 5);
    EXPECT_EQ(list().value(2), u"Белый Кот :\t<Бе<лый Ко<т> "_s);
    EXPECT_EQ(DicEdit().Text3->text(), u"5"_s);

    const QString old = file(u"old.dic"_s);
    ASSERT_TRUE(textfile::writeLines(old, {u"кот=ко>т"_s, u"$Кот=Ко>т"_s, u"белый кот=бе>лый ко>т"_s,
                                           u"кот2=ко>т"_s, u"белый кот*=бе>лый ко>т"_s, u"кот!=ко>т"_s}));
    const QStringList before = list();
    scriptedFileChooser().names.enqueue(old);
    trigger("menu1_3_1");
    EXPECT_EQ(asked(), (QStringList{u"2 записей из 6 записаны в файл Одиночные_слова.txt"_s,
                                    u"1 записей из 6 записаны в файл Словосочетания.txt"_s,
                                    u"1 записей из 6 записаны в файлы Обобщения.txt"_s}));
    EXPECT_EQ(lines(u"Обобщения2.txt"_s), QStringList{u"белый кот*=бе<лый ко<т"_s});
    EXPECT_EQ(lines(u"Одиночные_слова.txt"_s).size(), 2);
    EXPECT_EQ(list(), before);

    // The phrases file holds records now: answering No leaves every file alone.
    ASSERT_TRUE(QFile::remove(file(u"Одиночные_слова.txt"_s)));
    scriptedFileChooser().names.enqueue(old);
    answer({No});
    trigger("menu1_3_1");
    EXPECT_EQ(asked(), QStringList{u"Файл Словосочетания.txt не пуст и будет заменён. Продолжить?"_s});
    EXPECT_EQ(lines(u"Словосочетания.txt"_s), QStringList{u"белый кот :\t<бе<лый ко<т> /i"_s});
    EXPECT_FALSE(QFile::exists(file(u"Одиночные_слова.txt"_s)));

    // A file that cannot be read is named with the reason.
    for (const char *import : {"menu1_3_1", "menu1_3_2"}) {
        scriptedFileChooser().names.enqueue(file(u"нет.dic"_s));
        trigger(import);
        const QStringList told = asked();
        EXPECT_TRUE(told.size() == 1 &&
                    told[0].startsWith(u"Не удалось открыть файл\n"_s + file(u"нет.dic"_s) + u": "_s))
            << import;
    }
}

} // namespace
