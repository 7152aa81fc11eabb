// The new-word finder run from the main window's panels into the new-words window, and that
// window's commands, with scripted prompts and a fake voice.
#include "app/globals.h"
#include "diceditfixture.h"
#include "dictionaries/findercommands.h"
#include "dictionaries/homographwindow.h"
#include "dictionaries/newwords.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>

namespace {

class NewWordsTest : public DicTest
{
protected:
    void SetUp() override
    {
        DicTest::SetUp();
        ASSERT_TRUE(textfile::writeLines(dic(u"exc_rus.txt"_s), excdic::fileLines({u"дом :\t<до<м>"_s})));
        ASSERT_TRUE(textfile::writeLines(dic(u"homograph.txt"_s), {u"замок"_s}));
        ASSERT_TRUE(textfile::writeLines(dic(u"70000.txt"_s), {u"старый"_s, u"и"_s, u"в"_s, u"саду"_s}));
        main->textBox->setText(u"Старый замок и Дом, в саду флигель-пристройка."_s);
    }

    QByteArray bytes(const QString &name) const { return listing::bytes(dic(name)); }

    // F3 with the option panel answered as a user would: an option, then "go on".
    void find(QRadioButton *MainPanels::*option, bool stop = false)
    {
        const MainPanels panels = main->mainPanels();
        QTimer::singleShot(0, main.get(), [=] {
            (panels.*option)->setChecked(true);
            if (stop)
                QTimer::singleShot(0, panels.Check4, [=] {
                    EXPECT_FALSE(panels.Frame1->isHidden()) << "the progress shows while searching";
                    panels.Check4->setChecked(true);
                });
            panels.Check5->setChecked(true);
        });
        dictionaries::FindNewWords_Click();
        EXPECT_TRUE(panels.Frame1->isHidden());
    }

    static QStringList listed() { return listing::column(*NewNames().ListView1); }

    void click(int row)
    {
        QTreeWidget *list = NewNames().ListView1;
        list->setCurrentItem(list->topLevelItem(row));
        Q_EMIT list->itemClicked(list->topLevelItem(row), 0);
    }
};

} // namespace

TEST_F(NewWordsTest, FindsTheWordsNoListKnowsAndRecordsTheListenedOnes)
{
    find(&MainPanels::Option1);
    EXPECT_EQ(listed(), (QStringList{u"Дом"_s, u"флигель-пристройка"_s}));
    EXPECT_EQ(NewNames().statusPanels[1]->text(), u"2"_s);
    EXPECT_TRUE(NewNames().isVisible() && NewNames().Frame1->isVisible());
    EXPECT_EQ(DicEdit().ListView1->count(), 1) << "the dictionary is loaded for the entries to come";

    Homograph().ListView2->addItems({u"а"_s, u"б"_s}); // its last-spoken row is its own
    Homograph().ListView2->setCurrentRow(1);
    Q_EMIT Homograph().ListView2->itemClicked(Homograph().ListView2->item(1));

    spoken();
    click(1);
    EXPECT_EQ(bytes(u"already_listened .txt"_s),
              "\xF4\xEB\xE8\xE3\xE5\xEB\xFC-\xEF\xF0\xE8\xF1\xF2\xF0\xEE\xE9\xEA\xE0\r\n");
    EXPECT_EQ(NewNames().ListView1->topLevelItem(1)->checkState(0), Qt::Checked);
    EXPECT_EQ(NewNames().RichTextBox1->Text(), u"флигель-пристройка :\t<флигель-пристройка>"_s);
    EXPECT_EQ(fakeVoices().log.spoken.value(0).flags, 1);
    EXPECT_EQ(spoken(), QStringList{u"флигель-пристройка @ru"_s});

    // Listening follows the selection; the row spoken last is not spoken again, and a ticked
    // row is not recorded twice.
    NewNames().ListView1->setCurrentItem(NewNames().ListView1->topLevelItem(0));
    NewNames().ListView1->setCurrentItem(NewNames().ListView1->topLevelItem(1));
    click(1);
    EXPECT_EQ(spoken().size(), 2);
    EXPECT_EQ(listing::lines(dic(u"already_listened .txt"_s)),
              (QStringList{u"флигель-пристройка"_s, u"Дом"_s}));

    // A toolbar command ends listening mode.
    triggerAction(NewNames(), u"Toolbar2_3"_s);
    EXPECT_FALSE(ListenLoop);

    ASSERT_TRUE(textfile::writeLines(dic(u"already_listened .txt"_s), {u"флигель-пристройка"_s}));
    find(&MainPanels::Option1);
    EXPECT_EQ(listed(), QStringList{u"Дом"_s});

    // A word the code page cannot hold is recorded so that it reads back whole.
    main->textBox->setText(u"Дом Жизéль"_s);
    find(&MainPanels::Option1);
    click(1);
    EXPECT_EQ(listing::lines(dic(u"already_listened .txt"_s)),
              (QStringList{u"флигель-пристройка"_s, u"Жизéль"_s}));
}

TEST_F(NewWordsTest, TheThresholdPanelHasNoCancelAndTheProgressPanelCanStop)
{
    main->textBox->setText(u"кот Кот КОТ пёс пёс"_s);
    find(&MainPanels::Option2);
    EXPECT_EQ(listed(), (QStringList{u"кот"_s, u"пёс"_s}));
    // The list is put in order again after the last pass.
    EXPECT_EQ(main->mainPanels().Label1->text(), u"Удаление повторов и пустых строк"_s);
    find(&MainPanels::Option3);
    EXPECT_EQ(listed(), QStringList{u"кот"_s});

    // The threshold panel offers no way back: the options, "go on" and the help.
    QStringList buttons;
    for (const QAbstractButton *b : main->mainPanels().Frame2->findChildren<QAbstractButton *>())
        buttons << b->objectName();
    EXPECT_EQ(buttons.join(u' ').toStdString(), "Option1 Option2 Option3 Check5 Command3");

    main->textBox->setText(u"лев"_s);
    find(&MainPanels::Option1, /*stop=*/true);
    EXPECT_TRUE(main->mainPanels().Frame2->isHidden());
    EXPECT_EQ(listed(), QStringList{u"кот"_s}) << "a stopped search changes nothing";

    main->textBox->setText(u"лев волк"_s);
    main->textBox->setSelStart(4);
    main->textBox->setSelLength(4);
    find(&MainPanels::Option1);
    EXPECT_EQ(listed(), QStringList{u"волк"_s}) << "a selection is searched alone";

    main->textBox->setText(u"Юг ад Ять самолёт самолечением"_s);
    find(&MainPanels::Option1);
    const QStringList sorted{u"ад"_s, u"самолёт"_s, u"самолечением"_s, u"Юг"_s, u"Ять"_s};
    EXPECT_EQ(listed(), sorted) << "ё sorts with е whatever the locale";
    NewNames().fill({u"Ять"_s, u"самолечением"_s, u"Юг"_s, u"самолёт"_s, u"ад"_s});
    Q_EMIT NewNames().ListView1->header()->sectionClicked(0);
    EXPECT_EQ(listed(), sorted) << "the header sorts as the finder, case ignored";

    // The main window closed while the option panel waits ends the wait.
    QTimer::singleShot(0, [this] { main.reset(); });
    dictionaries::FindNewWords_Click();
    EXPECT_EQ(listed(), sorted);
}

TEST_F(NewWordsTest, TheEntryLineGoesToTheDictionaryWhenItIsAnEntry)
{
    // Refused, nothing written: a line break, a line that is no entry, a dictionary that
    // failed to load.
    ASSERT_TRUE(QFile::remove(dic(u"exc_rus.txt"_s)));
    DicEdit().Autoload_DIC();
    scriptedPrompter().asked.clear();
    for (const QString &line : {u"дом :\t<до<м>\r\nкот :\t<ко<т>"_s, u"дом"_s, u"Дом :\t<до<м>"_s}) {
        NewNames().RichTextBox1->setText(line);
        triggerAction(NewNames(), u"Toolbar2_4"_s);
    }
    const QString invalid = u"Запись не добавлена: пустое слово или произношение либо недопустимые знаки"_s;
    EXPECT_EQ(asked(),
              (QStringList{invalid, invalid, u"Словарь исключений не загружен! Запись не добавлена."_s}));
    EXPECT_EQ(bytes(u"exc_rus.txt"_s), "<missing>");
    EXPECT_EQ(bytes(u"Added_Words_in_exc_rus.txt"_s), "<missing>");

    // An empty dictionary that loaded takes its first word.
    ASSERT_TRUE(textfile::writeLines(dic(u"exc_rus.txt"_s), {}));
    DicEdit().Autoload_DIC();
    triggerAction(NewNames(), u"Toolbar2_1"_s);
    triggerAction(NewNames(), u"Toolbar2_4"_s);
    const QString entry = u"дом :\t<до<м> /i"_s;
    EXPECT_EQ(listing::lines(dic(u"Added_Words_in_exc_rus.txt"_s)), QStringList{entry});
    const QStringList lines = listing::lines(dic(u"exc_rus.txt"_s));
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{entry, u"// End of file"_s}));
}

TEST_F(NewWordsTest, SpeaksTheStressedPronunciationAndRecordsTheWord)
{
    find(&MainPanels::Option1);
    NewWordsWindow &w = NewNames();
    spoken();
    for (const QString &line : {u"замок :\t<за<мок>"_s, u"без двоеточия"_s}) {
        w.RichTextBox1->setText(line);
        w.SpeakNewWord();
    }
    EXPECT_EQ(spoken(), QStringList{u":\t за<мок  @ru"_s});

    // Homograph and typing error, each asked first; a "No" writes nothing.
    w.ListView1->setCurrentItem(w.ListView1->topLevelItem(0));
    scriptedPrompter().answers << Prompter::Answer::Yes << Prompter::Answer::No;
    triggerAction(w, u"Toolbar2_5"_s);
    triggerAction(w, u"Toolbar2_7"_s);
    EXPECT_EQ(listing::lines(dic(u"homograph.txt"_s)), (QStringList{u"замок"_s, u"дом"_s}));
    EXPECT_EQ(bytes(u"err.txt"_s), "<missing>");

    // Found in the main text case counting, else "не найдено" and the caret at the start.
    main->textBox->setText(u"Дом"_s);
    triggerAction(w, u"Toolbar2_6"_s);
    EXPECT_EQ(std::pair(main->textBox->SelStart(), main->textBox->SelText()), std::pair(0, u"Дом"_s));
    main->textBox->setText(u"дом"_s);
    triggerAction(w, u"Toolbar2_6"_s);
    EXPECT_EQ(scriptedPrompter().asked.last().text, u"не найдено"_s);
    EXPECT_EQ(main->textBox->SelLength(), 0);

    // Saving appends the list to the chosen file.
    const QString saved = home() + u"/list.txt"_s;
    scriptedFileChooser().names << saved << saved;
    triggerAction(w, u"file_1"_s);
    triggerAction(w, u"file_1"_s);
    EXPECT_EQ(listing::lines(saved),
              (QStringList{u"Дом"_s, u"флигель-пристройка"_s, u"Дом"_s, u"флигель-пристройка"_s}));
}

TEST_F(NewWordsTest, FilesThatFailAreNamedWithTheReason)
{
    // The listened words are missing until a first word is listened to, which is no fault.
    ASSERT_TRUE(QFile::remove(dic(u"70000.txt"_s)) && QFile::remove(dic(u"homograph.txt"_s)));
    find(&MainPanels::Option1);
    const QString told = asked().join(u'\n');
    for (const QString &list : {u"70000.txt"_s, u"homograph.txt"_s})
        EXPECT_TRUE(told.contains(QDir::toNativeSeparators(dic(list)) + u": "_s)) << list.toStdString();
    EXPECT_FALSE(told.contains(u"already_listened"_s));

    NewWordsWindow &w = NewNames();
    const QString nowhere = home() + u"/nowhere/list.txt"_s;
    const auto save = [&](QWidget &window, const QString &action) {
        scriptedFileChooser().names << nowhere;
        triggerAction(window, action);
    };
    const std::pair<QString, std::function<void()>> cases[] = {
        {dic(u"err.txt"_s), [&] { triggerAction(w, u"Toolbar2_7"_s); }},
        {nowhere, [&] { save(w, u"file_1"_s); }},
        {nowhere, [&] { save(Homograph(), u"Toolbar1_4"_s); }},
    };
    w.ListView1->setCurrentItem(w.ListView1->topLevelItem(0));
    for (const auto &[path, act] : cases) {
        QDir().mkpath(path); // a folder in the way
        act();
        EXPECT_TRUE(asked().join(u'\n').contains(u"Не удалось записать файл\n"_s +
                                                 QDir::toNativeSeparators(path) + u": "_s))
            << path.toStdString();
    }
}
