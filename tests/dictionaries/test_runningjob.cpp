// The tool windows' commands and the settings that would change a running job's book,
// voice, dictionary or output wait for it, with the job's message.
#include "app/busy.h"
#include "app/globals.h"
#include "diceditfixture.h"
#include "dictionaries/commands.h"
#include "dictionaries/diccomparewindow.h"
#include "dictionaries/homographwindow.h"
#include "dictionaries/newwords.h"
#include "settings/enginecopy.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"
#include "texttools/doctor.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/library.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

using RunningJob = DicEditFixture;

TEST_F(RunningJob, ToolWindowCommandsWaitForARecording)
{
    fill({u"кот :\t<ко<т>"_s});
    DictionaryEditor &editor = DicEdit();
    editor.ListView1->setCurrentRow(0);
    editor.Text1->setText(u"пёс"_s);
    editor.RichTextBox1->setText(u"пё<с"_s);
    trigger("Toolbar1_4"); // checking the pronunciation on
    NewNames().fill({u"Дом"_s});
    NewNames().ListView1->setCurrentItem(NewNames().ListView1->topLevelItem(0));
    NewNames().RichTextBox1->setText(u"дом :\t<до<м>"_s);
    Homograph().ListView2->addItems({u"первый"_s});
    Homograph().ListView2->setCurrentRow(0);
    CurTextPath = u"/книги/Тишина.txt"_s;
    BookTitle = u"Тишина"_s;
    main->textBox->setText(u"книга"_s);
    fakeVoices().log = {};
    QLineEdit *folder = setup().Text28;
    folder->setText(u"/книги/рабочий"_s);
    const auto settings = [] {
        const ::Setup &s = setup();
        return QList<QVariant>{s.FlatScrollBar3->value(), s.FlatScrollBar1->value(),
                               s.SSTab1->currentIndex(),  s.Text3->text(),
                               s.profil->text(),          s.Toolbar1->actions()[1]->isChecked(),
                               s.Text28->text()};
    };
    const QList<QVariant> before = settings();

    std::optional<busy::JobScope> recording;
    recording.emplace(busy::Job::Recording);
    // A look at a guarded box is no change: it can be clicked into, walked, selected and copied.
    const std::pair<const char *, std::function<void()>> looks[] = {
        {"click",
         [folder] { QTest::mouseClick(folder, Qt::LeftButton, {}, QPoint(4, folder->height() / 2)); }},
        {"end", [folder] { QTest::keyClick(folder, Qt::Key_End); }},
        {"shift home", [folder] { QTest::keyClick(folder, Qt::Key_Home, Qt::ShiftModifier); }},
        {"arrows",
         [folder] {
             QTest::keyClick(folder, Qt::Key_Left);
             QTest::keyClick(folder, Qt::Key_Right);
         }},
        {"select all", [folder] { QTest::keyClick(folder, Qt::Key_A, Qt::ControlModifier); }},
        {"copy", [folder] { QTest::keyClick(folder, Qt::Key_C, Qt::ControlModifier); }},
    };
    for (const auto &[name, look] : looks) {
        SCOPED_TRACE(name);
        look();
        EXPECT_EQ(asked(), QStringList());
    }
    // The dictionary editor shows its entries and finds in them.
    dictionaries::showDicEdit();
    editor.Text1->setText(u"кот"_s);
    editor.ListView1->clearSelection();
    trigger("Toolbar1_6");
    EXPECT_TRUE(editor.isVisible() && editor.currentRecord() == 1 && asked().isEmpty());
    editor.Text1->setText(u"пёс"_s);
    EXPECT_EQ(QApplication::clipboard()->text(), u"/книги/рабочий"_s);
    EXPECT_TRUE(folder->isReadOnly()) << "its context menu offers no paste meanwhile";
    const std::pair<const char *, std::function<void()>> commands[] = {
        {"settings test phrase", [] { setup().Command22->click(); }},
        {"settings stop", [] { setup().Command55->click(); }},
        {"settings voice", [] { setup().lstSapi5->setCurrentRow(1); }},
        {"settings version 2", [] { setup().Option2->click(); }},
        {"settings rate", [] { QTest::keyClick(setup().FlatScrollBar3, Qt::Key_Right); }},
        {"settings block length", [] { QTest::keyClick(setup().FlatScrollBar1, Qt::Key_Right); }},
        {"settings format page", [] { QTest::keyClick(setup().SSTab1->tabBar(), Qt::Key_Right); }},
        {"settings encoder options", [] { QTest::keyClick(setup().Text3, Qt::Key_A); }},
        {"settings folder paste",
         [folder] {
             QApplication::clipboard()->setText(u"/другой"_s);
             QTest::keyClick(folder, Qt::Key_V, Qt::ControlModifier);
         }},
        {"settings folder middle click", [folder] { QTest::mouseClick(folder, Qt::MiddleButton); }},
        {"settings folder backspace", [folder] { QTest::keyClick(folder, Qt::Key_Backspace); }},
        {"settings folder cut", [folder] { QTest::keyClick(folder, Qt::Key_X, Qt::ControlModifier); }},
        {"settings folder input method",
         [folder] {
             QInputMethodEvent typed;
             typed.setCommitString(u"ё"_s);
             QCoreApplication::sendEvent(folder, &typed);
         }},
        {"settings profile 2", [] { triggerAction(setup(), u"Toolbar1_2"_s); }},
        {"settings defaults", [] { triggerAction(setup(), u"Toolbar1_7"_s); }},
        {"doctor save", [] { triggerAction(DoctorTXT(), u"Save"_s); }},
        {"doctor cleaning", [] { triggerAction(DoctorTXT(), u"Clean"_s); }},
        {"dictionary comparison", [] { triggerAction(DicCompare(), u"Toolbar1_4"_s); }},
        {"doctor save as", [] { triggerAction(DoctorTXT(), u"SaveAs"_s); }},
        {"chapter marking", [] { triggerAction(glava(), u"Toolbar1_2"_s); }},
        {"chapter search", [] { glava().check(1)->click(); }},
        {"find replace",
         [] {
             Find().Text1->setText(u"книга"_s);
             triggerAction(Find(), u"Toolbar2_2"_s);
         }},
        {"find replace all", [] { triggerAction(Find(), u"Toolbar2_3"_s); }},
        {"editor homograph check", [] { trigger("menu2_3"); }},
        {"library open", [] { triggerAction(biblioteka(), u"OpenInMainWindow"_s); }},
        {"library add", [] { triggerAction(biblioteka(), u"AddToWorkFolder"_s); }},
        {"editor load", [] { trigger("Toolbar1_2"); }},
        {"editor save", [] { trigger("Toolbar1_3"); }},
        {"editor delete", [] { trigger("Toolbar1_5"); }},
        {"editor add", [] { trigger("Toolbar2_4"); }},
        {"editor pronunciation click", [&editor] { Q_EMIT editor.RichTextBox1->clicked(); }},
        {"editor record click",
         [&editor] { Q_EMIT editor.ListView1->itemClicked(editor.ListView1->item(0)); }},
        {"editor version 1", [&editor] { editor.Option1->click(); }},
        {"editor clear", [] { trigger("Toolbar1_1"); }},
        {"editor sort", [] { trigger("Toolbar1_7"); }},
        {"editor record edit", [&editor] { QTest::keyClick(editor.ListView1, Qt::Key_F2); }},
        {"editor split variants", [] { trigger("menu2_4"); }},
        {"editor import", [] { trigger("menu1_3_2"); }},
        {"new words listening",
         [] { Q_EMIT NewNames().ListView1->itemClicked(NewNames().ListView1->topLevelItem(0), 0); }},
        {"new word check", [] { triggerAction(NewNames(), u"Toolbar2_3"_s); }},
        {"new word to the dictionary", [] { triggerAction(NewNames(), u"Toolbar2_4"_s); }},
        {"homograph listening",
         [] { Q_EMIT Homograph().ListView2->itemClicked(Homograph().ListView2->item(0)); }},
    };
    for (const auto &[name, run] : commands) {
        SCOPED_TRACE(name);
        run();
        EXPECT_TRUE(std::ranges::all_of(scriptedPrompter().asked, &ScriptedPrompter::Asked::notice))
            << "a refusal never waits for an answer";
        EXPECT_EQ(asked(),
                  QStringList{u"Идёт запись аудиокниги. Дождитесь её окончания или прервите запись."_s});
    }
    EXPECT_TRUE(fakeVoices().log.spoken.isEmpty() && fakeVoices().log.selections.isEmpty());
    EXPECT_EQ(fakeVoices().log.purges, 0);
    EXPECT_EQ(QStringList({CurTextPath, BookTitle, main->textBox->Text()}),
              QStringList({u"/книги/Тишина.txt"_s, u"Тишина"_s, u"книга"_s}));
    EXPECT_EQ(settings(), before);
    EXPECT_EQ(list(), QStringList{u"кот :\t<ко<т>"_s});
    EXPECT_TRUE(editor.Option3->isChecked() && setup().Option3->isChecked() &&
                setup().lstSapi5->currentRow() == 0);
    EXPECT_FALSE(QFile::exists(enginecopy::path(3)));
    EXPECT_FALSE(QFile::exists(settingsstore::storePath()));

    recording.reset();
    QTest::keyClick(folder, Qt::Key_End);
    QTest::keyClick(folder, Qt::Key_1);
    EXPECT_EQ(std::pair(folder->text(), asked()), std::pair(u"/книги/рабочий1"_s, QStringList()))
        << "the box takes typing again once the job ended";
}

TEST_F(RunningJob, GuardedTextBoxesAreReadOnlyJustWhileAJobRefusesTheirChange)
{
    QWidget owner;
    auto *editable = new QLineEdit(&owner);
    auto *locked = new QLineEdit(&owner);
    auto *folder = new QLineEdit(&owner);
    locked->setReadOnly(true);
    const auto readOnly = [&] {
        return std::tuple(editable->isReadOnly(), locked->isReadOnly(), folder->isReadOnly());
    };
    busy::guard(&owner, {folder}, busy::Change::Output);
    std::optional<busy::JobScope> reading(std::in_place, busy::Job::Reading);
    busy::guard(&owner, {editable, locked}, busy::Change::Settings);
    EXPECT_EQ(readOnly(), std::tuple(true, true, false))
        << "a guard set up while a job runs holds at once; reading leaves the output alone";
    reading.reset();
    EXPECT_EQ(readOnly(), std::tuple(false, true, false)) << "each box gets its own setting back";
    std::optional<busy::JobScope> recording(std::in_place, busy::Job::Recording);
    EXPECT_EQ(readOnly(), std::tuple(true, true, true));
    recording.reset();
    EXPECT_EQ(readOnly(), std::tuple(false, true, false));
}

} // namespace
