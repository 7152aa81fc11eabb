#include "mainwindowtest.h"

#include "mainwindow/helpwindow.h"
#include "platform/richtext/richtextbox.h"
#include "settings/setup.h"
#include "support/actions.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include <utility>

namespace {

// Every command of the menu bar, by its item's objectName.
const QStringList kCommands = {
    "OpenFile", "zakladki",  "SaveFile",       "SaveAs",       "SeveRTF",     "ClearText",  "SaveAudio",
    "InsPaket", "SavePaket", "ExitProgramm",   "FindNewWords", "FindOmograf", "FindGlava",  "FindReplace",
    "SetFont",  "FonColor",  "podpisipokazat", "podpisiubrat", "znachki2",    "znachki1",   "onstup0",
    "otstup1",  "otstup2",   "Menu4_2",        "menu5_1",      "menu5_2",     "menu5_3",    "Dic_Compare",
    "Menu2_5",  "Play",      "Stop",           "PastWord",     "menu_6_3_1",  "menu_6_3_2", "menu633",
    "menu634",  "menu6_1",
};

using Commands = MainWindowTest;

QAction *action(MainWindow &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

TEST_F(Commands, EveryMenuItemRunsItsOwnCommand)
{
    recordCommands(kCommands);
    w->RichTextBox2->setText(QStringLiteral("слово"));
    w->RichTextBox2->setSelLength(5); // the dictionary editor takes a selection only
    for (const QString &name : kCommands) {
        SCOPED_TRACE(name.toStdString());
        ran.clear();
        triggerAction(*w, name);
        EXPECT_EQ(ran, QStringList({name}));
    }
}

TEST_F(Commands, ToolbarDispatchesOnTheButtonIndex)
{
    recordCommands(kCommands);
    const std::pair<int, const char *> buttons[] = {
        {1, "menu5_1"},  {2, "OpenFile"}, {3, "SaveFile"}, {4, nullptr},  {5, "SaveAudio"},
        {6, nullptr},    {7, "Play"},     {8, nullptr},    {9, "Stop"},   {10, nullptr},
        {11, "Menu4_2"}, {12, "menu5_2"}, {13, "Menu2_5"}, {14, nullptr}, {15, nullptr},
    };
    for (const auto &[index, command] : buttons) {
        SCOPED_TRACE(index);
        const QStringList expected = command ? QStringList({command}) : QStringList();
        ran.clear();
        w->Toolbar1_ButtonClick(index);
        EXPECT_EQ(ran, expected);
        // The same through the button a user clicks; separators have none.
        ran.clear();
        if (QAction *button = w->Toolbar1->findChild<QAction *>(QStringLiteral("Toolbar1_%1").arg(index));
            button && !button->isSeparator()) {
            triggerAction(*w, button->objectName());
            EXPECT_EQ(ran, expected);
        }
    }
    EXPECT_EQ(w->Toolbar1->actions().size(), 14);
}

TEST_F(Commands, ShortcutsWinOverTheEditor)
{
    recordCommands(kCommands);
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->RichTextBox2->setText(QStringLiteral("текст книги"));
    QWidget *editor = w->RichTextBox2->focusProxy() ? w->RichTextBox2->focusProxy() : w->RichTextBox2;
    editor->setFocus();
    const std::pair<QKeyCombination, const char *> keys[] = {
        {Qt::CTRL | Qt::Key_A, "SaveAudio"}, // not "select all"
        {Qt::CTRL | Qt::Key_O, "OpenFile"},           {Qt::CTRL | Qt::Key_Q, "ExitProgramm"},
        {Qt::CTRL | Qt::Key_F, "FindReplace"},        {QKeyCombination(Qt::Key_F3), "FindNewWords"},
        {QKeyCombination(Qt::Key_F4), "FindOmograf"}, {QKeyCombination(Qt::Key_F5), "FindGlava"},
        {QKeyCombination(Qt::Key_F11), "Play"},       {QKeyCombination(Qt::Key_F12), "Stop"},
    };
    for (const auto &[key, command] : keys) {
        SCOPED_TRACE(command);
        ran.clear();
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(ran, QStringList({command}));
    }
    EXPECT_EQ(w->RichTextBox2->SelLength(), 0);
    EXPECT_EQ(w->RichTextBox2->Text(), "текст книги");
}

TEST_F(Commands, SelectionGoesToTheDictionaryEditorOnlyWhenShort)
{
    recordCommands({"PastWord"});
    w->RichTextBox2->setText(QString(60, QChar(u'ж')));
    const std::pair<int, bool> selections[] = {{0, false}, {1, true}, {50, true}, {51, false}};
    for (const auto &[length, passed] : selections) {
        SCOPED_TRACE(length);
        w->RichTextBox2->setSelStart(0);
        w->RichTextBox2->setSelLength(length);
        ran.clear();
        triggerAction(*w, QStringLiteral("PastWord"));
        EXPECT_EQ(ran.size(), passed ? 1 : 0);
    }
}

TEST_F(Commands, BuiltCommandsAreConnected)
{
    // What each command does first, seen from the services it uses.
    struct Case
    {
        const char *name;
        QString asked; // the message box, dialog or help page it opens
    };
    const Case cases[] = {
        {"SaveFile", "Сохранить изменения?"},
        {"ClearText", "Очистить текстовое окно?"},
        {"InsPaket", "НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"},
        {"ExitProgramm", "Выйти из программы?"},
        {"SetFont", "Выберите шрифт"},
        {"FonColor", "Выберите цвет фона"},
        {"menu_6_3_1", "Help3.rtf"},
        {"menu_6_3_2", "Help1.rtf"},
        {"menu633", "Help4.rtf"},
        {"menu634", "Help2.rtf"},
        {"OpenFile", "Открыть текстовый файл"},
    };
    scriptedPrompter().answers.enqueue(Prompter::Answer::No); // keep the text, stay running
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    scriptedPrompter().answers.enqueue(Prompter::Answer::Ok);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        scriptedPrompter().asked.clear();
        scriptedStyleChooser().asked.clear();
        scriptedFileChooser().asked.clear();
        triggerAction(*w, QString::fromLatin1(c.name));
        QStringList seen = scriptedStyleChooser().asked;
        for (const auto &a : scriptedPrompter().asked)
            seen << a.text;
        for (const auto &a : scriptedFileChooser().asked)
            seen << a.title;
        if (helpWindowExists() && Help1().RichTextBox1->Text().contains(c.asked))
            seen << c.asked; // the page is missing here: the notice names it
        ASSERT_EQ(seen.size(), 1);
        EXPECT_TRUE(seen[0].contains(c.asked)) << seen[0].toStdString();
    }
    EXPECT_EQ(ended, 0);

    triggerAction(*w, QStringLiteral("Menu4_2"));
    EXPECT_TRUE(setup().isVisible());
    scriptedPrompter().asked.clear();
    triggerAction(*w, QStringLiteral("menu6_1"));
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Information);
    for (const char *named : {"Quenvale 0.", "eSpeak NG", "lame", "oggenc", "sox", "ffmpeg"})
        EXPECT_TRUE(scriptedPrompter().asked[0].text.contains(QLatin1String(named))) << named;
}

TEST_F(Commands, CommandsOfLaterWindowsWaitDisabled)
{
    // Present with caption and shortcut, but nothing to run yet.
    QAction *record = action(*w, "SaveAudio");
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->isEnabled());
    EXPECT_EQ(record->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    EXPECT_FALSE(w->findChild<QAction *>(QStringLiteral("Toolbar1_5"))->isEnabled());
    EXPECT_TRUE(
        w->findChild<QAction *>(QStringLiteral("Toolbar1_8"))->isEnabled()); // pause: no command at all

    w->enableCommand(QStringLiteral("SaveAudio"), [this] { ran << "recorded"; });
    EXPECT_TRUE(record->isEnabled());
    triggerAction(*w, QStringLiteral("Toolbar1_5"));
    EXPECT_EQ(ran, QStringList({"recorded"}));

    // Captions kept verbatim, blanks and quotes included.
    EXPECT_EQ(action(*w, "SeveRTF")->text(), "Сохранить  RTF как...");
    EXPECT_EQ(action(*w, "menu634")->text(), "Работа с \"Библиотекарем\"");
    EXPECT_EQ(w->findChild<QAction *>(QStringLiteral("Toolbar1_7"))->toolTip(), "Читать текст  (F12) ");
    EXPECT_EQ(w->findChild<QMenu *>(QStringLiteral("Users"))->title(), "Профили");
}
