// The dictionary editor, driven through its toolbars and menus with a fake voice.
#include "diceditfixture.h"
#include "dictionaries/commands.h"
#include "platform/speech/exceptions.h"
#include "settings/enginecopy.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"

#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>

namespace {

using DicEditTest = DicEditFixture;

TEST_F(DicEditTest, AddComposesStressedIgnoreCaseEntryAndWritesBothCopies)
{
    DictionaryEditor &w = DicEdit();
    EXPECT_EQ(setup().Voice->CurrentVoice().id, u"ru+f3"_s)
        << "the load walks away from the dictionary voice";
    w.Text1->setText(u"Кот"_s);
    EXPECT_EQ(w.RichTextBox1->Text(), u"Кот"_s) << "the word box feeds the pronunciation";
    w.RichTextBox1->setSelStart(2);
    trigger("Toolbar2_2");
    trigger("Toolbar2_1");
    EXPECT_EQ(w.Label3->text(), u"/i"_s);
    spoken();
    trigger("Toolbar2_4");
    EXPECT_EQ(spoken(), QStringList{u"Кот @ru"_s}) << "spoken by the dictionary voice";
    EXPECT_EQ(std::tuple(w.currentRecord(), w.Text4->text(), w.RichTextBox1->Text()),
              std::tuple(1, u"1"_s, QString()));
    EXPECT_TRUE(asked().isEmpty());

    // Refused, nothing written: empty pronunciation, a full stop in the word.
    for (const auto &[word, pronunciation] :
         {std::pair{u"пёс"_s, QString()}, std::pair{u"пёс."_s, u"пё<с"_s}}) {
        w.Text1->setText(word);
        w.RichTextBox1->setText(pronunciation);
        trigger("Toolbar2_4");
        EXPECT_EQ(
            asked(),
            QStringList{u"Запись не добавлена: пустое слово или произношение либо недопустимые знаки"_s});
    }
    const QString entry = u"кот :\t<ко<т> /i"_s;
    EXPECT_EQ(list(), QStringList{entry});
    for (const QString &copy : {excdic::programCopy(), enginecopy::path(3)})
        EXPECT_EQ(lines(copy).mid(36), (QStringList{entry, u"// End of file"_s})) << qPrintable(copy);
    EXPECT_EQ(lines(dic(u"Added_Words_in_exc_rus.txt"_s)), QStringList{entry});
}

TEST_F(DicEditTest, SelectionFromTheMainEditorBecomesWordAndPronunciation)
{
    DictionaryEditor &w = DicEdit();
    // Too long a selection, or none, leaves the editor alone.
    for (const auto &[text, length, word] : {std::tuple(u"Мама , мыла раму!"_s, 17, u"Мама  мыла раму"_s),
                                             std::tuple(QString(60, u'а'), 0, u"Мама  мыла раму"_s),
                                             std::tuple(QString(60, u'а'), 51, u"Мама  мыла раму"_s)}) {
        main->textBox->setText(text);
        main->textBox->setSelStart(0);
        main->textBox->setSelLength(length);
        dictionaries::selectionToDicEdit();
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(w.Text1->text(), word) << length;
    }
    EXPECT_EQ(w.RichTextBox1->Text(), u"Мама####мыла##раму"_s);
}

TEST_F(DicEditTest, FindWalksOnAndStartsAgainAfterNotFound)
{
    fill({u"кот :\t<ко<т>"_s, u"пёс :\t<пё<с>"_s, u"кошка :\t<ко<шка>"_s});
    DicEdit().Text1->setText(u"КО"_s);
    QList<int> found;
    for (int i = 0; i < 4; ++i) {
        trigger("Toolbar1_6");
        found.append(DicEdit().currentRecord());
    }
    EXPECT_EQ(found, (QList<int>{1, 3, 0, 1}));
    EXPECT_EQ(asked(), QStringList{u"Не найдено"_s});
}

TEST_F(DicEditTest, DeleteRemovesAndLogsTheSelectedRecordOnly)
{
    fill({u"кот :\t<ко<т>"_s, u"пёс :\t<пё<с>"_s});
    DictionaryEditor &w = DicEdit();
    trigger("Toolbar1_5");
    EXPECT_EQ(list().size(), 2);
    EXPECT_FALSE(QFile::exists(enginecopy::path(3)) || QFile::exists(dic(u"Deleted_from_exc_rus.txt"_s)))
        << "nothing selected: no rewrite";
    Q_EMIT w.ListView1->itemClicked(w.ListView1->item(1));
    EXPECT_EQ(std::pair(w.Text4->text(), w.Text4->isReadOnly()), std::pair(u"2"_s, true))
        << "a clicked record shows its number";

    w.ListView1->setCurrentRow(0);
    trigger("Toolbar1_5");
    EXPECT_EQ(list(), QStringList{u"пёс :\t<пё<с>"_s});
    EXPECT_EQ(lines(dic(u"Deleted_from_exc_rus.txt"_s)), QStringList{u"кот :\t<ко<т>"_s});
    EXPECT_EQ(lines(enginecopy::path(3)).size(), 38);
    EXPECT_EQ(lines(excdic::programCopy()).size(), 39) << "the program copy waits for a save";
}

TEST_F(DicEditTest, ClickInPronunciationMarksStressWithoutReplacingASelection)
{
    DictionaryEditor &w = DicEdit();
    w.RichTextBox1->setText(u"замок"_s);
    w.RichTextBox1->setSelStart(1);
    w.RichTextBox1->setSelLength(1);
    Q_EMIT w.RichTextBox1->clicked();
    EXPECT_EQ(w.RichTextBox1->Text(), u"за<мок"_s);

    // Checking on: the mark and the say button speak with "##" as a blank, by the dictionary voice.
    trigger("Toolbar1_4");
    w.RichTextBox1->setText(u"белый##ко"_s);
    w.RichTextBox1->setSelStart(9);
    spoken();
    trigger("Toolbar2_2");
    trigger("Toolbar2_3");
    EXPECT_EQ(spoken(), QStringList(2, u"белый ко< @ru"_s));
    fill({u"кот :\t<ко<т>"_s});
    Q_EMIT w.ListView1->itemClicked(w.ListView1->item(0));
    EXPECT_EQ(std::pair(spoken(), asked()), std::pair(QStringList{u"кот : @ru"_s}, QStringList()));
}

TEST_F(DicEditTest, EngineVersionGoesToSettingsProfileAndEngine)
{
    triggerAction(setup(), u"SaveSet"_s);
    const QByteArray stored = listing::bytes(settingsstore::storePath());
    const int rate = setup().FlatScrollBar3->value();
    setup().FlatScrollBar3->setValue(rate + 2); // not saved
    DictionaryEditor &w = DicEdit();
    EXPECT_EQ(w.engineVersion(), 3) << "copied from the settings window";
    EXPECT_EQ(listing::bytes(settingsstore::storePath()), stored) << "only shown, nothing saved";
    for (int version : {1, 3}) {
        w.findChild<QRadioButton *>(u"Option%1"_s.arg(version))->click();
        EXPECT_TRUE((version == 1 ? setup().Option1 : setup().Option3)->isChecked() && w.Frame2->isHidden());
        QSettings store(settingsstore::storePath(), QSettings::IniFormat);
        EXPECT_EQ(store.value(u"setupUser1/Option%1"_s.arg(version)).toString(), u"True"_s);
        EXPECT_EQ(store.value(u"setupUser1/Option2"_s).toString(), u"False"_s);
        EXPECT_EQ(
            std::pair(store.value(u"setupUser1/FlatScrollBar3"_s).toInt(), setup().FlatScrollBar3->value()),
            std::pair(rate, rate + 2))
            << "the version alone is stored; the rate stays unsaved";
        EXPECT_EQ(speech::exceptionDictionary(), home() + u"/ENGINE/%1/exc_rus.txt"_s.arg(version));
    }
    // The settings window's choice, and the profile's, show in the open editor at once.
    setup().Option2->click();
    EXPECT_TRUE(w.engineVersion() == 2 && w.Option2->isChecked());
    triggerAction(setup(), u"User1"_s);
    EXPECT_EQ(setup().FlatScrollBar3->value(), rate) << "the profile's stored rate comes back";
    EXPECT_TRUE(w.engineVersion() == 3 && setup().Option3->isChecked());
}

TEST_F(DicEditTest, LoadingFallsBackToTheBaseDictionary)
{
    ASSERT_TRUE(textfile::writeLines(dic(u"FW.dic"_s), {u"ёж :\t<ё<ж>"_s, u"кот :\t<ко<т>"_s}));
    // "Yes" first loads an engine's dictionary, line by line, from a file the user picks.
    const QString engine = home() + u"/exc_rus.txt"_s;
    ASSERT_TRUE(textfile::writeLines(engine, {u"// cp1251"_s, u"кошка :\t<ко<шка>"_s, u"ёж :\t<ё<ж>"_s}));
    scriptedPrompter().answers.enqueue(Prompter::Answer::Yes);
    scriptedFileChooser().names.enqueue(engine);
    DictionaryEditor &w = DicEdit();
    w.Autoload_DIC();
    EXPECT_EQ(list(), (QStringList{u"кошка :\t<ко<шка>"_s, u"кот :\t<ко<т>"_s}));
    EXPECT_EQ(w.Text3->text(), u"2"_s);
    EXPECT_EQ(asked().size(), 1);
    w.Autoload_DIC();
    EXPECT_TRUE(asked().isEmpty()) << "a list that holds entries is left as it is";

    // No base dictionary either: told so, the list stays empty.
    trigger("menu1_1");
    QFile::remove(dic(u"FW.dic"_s));
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    w.Autoload_DIC();
    EXPECT_TRUE(asked().value(1).startsWith(u"Не удалось открыть файл\n"_s + dic(u"FW.dic"_s)));
    EXPECT_TRUE(list().isEmpty());

    // A dictionary to load that cannot be read is named with the reason.
    scriptedFileChooser().names.enqueue(dic(u"нет.txt"_s));
    trigger("menu1_2");
    EXPECT_EQ(asked(), QStringList{u"Не удалось открыть файл\n"_s + dic(u"нет.txt"_s) +
                                   u": No such file or directory"_s});
}

TEST_F(DicEditTest, SaveWritesBothCopiesAndTellsEachFailure)
{
    fill({u"кот :\t<ко<т>"_s});
    DictionaryEditor &w = DicEdit();
    const QString engine = enginecopy::path(3);
    trigger("menu1_4");
    EXPECT_EQ((QList<qsizetype>{lines(engine).size(), lines(excdic::backupCopy()).size()}),
              (QList<qsizetype>{38, 38}));

    ASSERT_TRUE(excdic::write(engine, {}));
    ASSERT_TRUE(QFile::setPermissions(engine, QFileDevice::ReadOwner));
    trigger("menu1_4");
    const QStringList messages = asked();
    EXPECT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.value(0).startsWith(u"Не удалось записать файл\n"_s + engine + u": "_s));
    EXPECT_EQ(lines(engine).size(), 37) << "the old engine copy is whole";
    EXPECT_EQ(lines(excdic::programCopy()).size(), 38);

    // No engine: a voice failure is reported, the copy still written.
    fakeVoices().voices.clear();
    setup().Voice = fakeVoices().create();
    w.Voice = nullptr;
    QFile::remove(excdic::programCopy());
    QAction *checking = w.findChild<QAction *>(u"Toolbar1_4"_s);
    checking->setChecked(true);
    trigger("menu1_4");
    EXPECT_EQ(asked().size(), 2) << "the engine copy and the voice";
    EXPECT_FALSE(checking->isChecked()) << "no checking without a voice";
    EXPECT_EQ(lines(excdic::programCopy()).size(), 38);

    // No version set: the engine copy cannot be named.
    for (QRadioButton *option : {setup().Option3, w.Option3}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    ASSERT_EQ(w.engineVersion(), 0);
    QFile::remove(excdic::backupCopy());
    trigger("menu1_4");
    EXPECT_EQ(asked().size(), 2) << "no engine copy to name, and still no voice";
    EXPECT_EQ(lines(excdic::backupCopy()).size(), 38) << "saved again";

    trigger("help2");
    EXPECT_EQ(main->help, QStringList{u"Help4.rtf"_s});
}

TEST_F(DicEditTest, InPlaceEditLogsTheFormerText)
{
    fill({u"кот :\t<ко<т>"_s});
    DictionaryEditor &w = DicEdit();
    w.show();
    w.ListView1->setCurrentRow(0);
    w.ListView1->editItem(w.ListView1->item(0));
    auto *editor = w.ListView1->findChild<QLineEdit *>();
    ASSERT_TRUE(editor);
    editor->setText(u"кот :\t<кот<>"_s);
    Q_EMIT w.ListView1->itemDelegate()->commitData(editor);
    Q_EMIT w.ListView1->itemDelegate()->closeEditor(editor);
    EXPECT_EQ(list(), QStringList{u"кот :\t<кот<>"_s});
    EXPECT_EQ(lines(dic(u"Changed_in_exc_rus.txt"_s)), QStringList{u"кот :\t<ко<т>"_s});
}

} // namespace
