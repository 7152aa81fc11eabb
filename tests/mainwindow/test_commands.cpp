#include "mainwindowtest.h"

#include "dictionaries/dicedit.h"
#include "mainwindow/helpwindow.h"
#include "texttools/doctor.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/library.h"

#include <QApplication>
#include <QMenu>
#include <QTest>

#include <gtest/gtest-spi.h>

using Commands = MainWindowTest;

TEST_F(Commands, ShortcutsWinOverTheEditor)
{
    w->show();
    QApplication::setActiveWindow(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    w->RichTextBox2->setText(QStringLiteral("текст книги"));
    w->RichTextBox2->setFocus();
    const std::pair<QKeyCombination, QString> keys[] = {
        {Qt::CTRL | Qt::Key_A, "SaveAudio"}, // not "select all"
        {Qt::CTRL | Qt::Key_O, "OpenFile"},           {Qt::CTRL | Qt::Key_Q, "ExitProgramm"},
        {Qt::CTRL | Qt::Key_F, "FindReplace"},        {QKeyCombination(Qt::Key_F3), "FindNewWords"},
        {QKeyCombination(Qt::Key_F4), "FindOmograf"}, {QKeyCombination(Qt::Key_F5), "FindGlava"},
        {QKeyCombination(Qt::Key_F11), "Play"},       {QKeyCombination(Qt::Key_F12), "Stop"},
    };
    for (const auto &[key, command] : keys)
        recordCommands({command});
    for (const auto &[key, command] : keys) {
        ran.clear();
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        EXPECT_EQ(ran, QStringList({command}));
    }
    EXPECT_EQ(w->RichTextBox2->SelLength(), 0);
    // The toolbar's tooltips name the same keys: reading and pausing F11, stopping F12.
    for (const auto &[index, key] : {std::pair{7, "(F11)"}, {8, "(F11)"}, {9, "(F12)"}})
        EXPECT_TRUE(w->Toolbar1->findChild<QAction *>(QStringLiteral("Toolbar1_%1").arg(index))
                        ->toolTip()
                        .contains(QLatin1String(key)))
            << index;
}

TEST_F(Commands, SelectionGoesToTheDictionaryEditorOnlyWhenShort)
{
    w->RichTextBox2->setText(QString(60, QChar(u'ж')));
    for (const auto &[length, passes] : {std::pair{0, false}, {1, true}, {50, true}, {51, false}}) {
        DicEdit().hide();
        w->RichTextBox2->setSelLength(length);
        run(QStringLiteral("PastWord"));
        EXPECT_EQ(DicEdit().isVisible(), passes) << length;
    }
}

TEST_F(Commands, EveryCommandIsConnected)
{
    // What each command opens first: a message, a dialog, or a (missing) help page's notice.
    const std::pair<const char *, QString> cases[] = {
        {"SaveFile", "Сохранить изменения?"},     {"ClearText", "Очистить текстовое окно?"},
        {"InsPaket", "НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"}, {"ExitProgramm", "Выйти из программы?"},
        {"SetFont", "Выберите шрифт"},            {"FonColor", "Выберите цвет фона"},
        {"menu_6_3_1", "Help3.rtf"},              {"menu_6_3_2", "Help1.rtf"},
        {"menu633", "Help4.rtf"},                 {"menu634", "Help2.rtf"},
        {"OpenFile", "Открыть текстовый файл"},   {"menu6_1", "eSpeak NG"},
    };
    for (auto answer : {Prompter::Answer::No, Prompter::Answer::No, Prompter::Answer::Ok, Prompter::Answer::No})
        scriptedPrompter().answers.enqueue(answer);
    for (const auto &[name, asked] : cases) {
        SCOPED_TRACE(name);
        scriptedStyleChooser().asked.clear();
        scriptedFileChooser().asked.clear();
        run(QString::fromLatin1(name));
        QStringList seen = scriptedStyleChooser().asked + MainWindowTest::asked();
        for (const auto &a : scriptedFileChooser().asked)
            seen << a.title;
        if (helpWindowExists() && Help1().RichTextBox1->Text().contains(asked))
            seen << asked;
        ASSERT_EQ(seen.size(), 1);
        EXPECT_TRUE(seen[0].contains(asked)) << seen[0].toStdString();
    }
    EXPECT_EQ(ended, 0);
    // The tool windows: the library from button 1, the doctor with the main text.
    w->RichTextBox2->setText(QStringLiteral("Текст\r\nдоктору"));
    const std::pair<const char *, QWidget *> windows[] = {{"Menu4_2", &setup()},     {"Toolbar1_1", &biblioteka()},
                                                          {"Toolbar1_13", &DoctorTXT()}, {"FindReplace", &Find()},
                                                          {"FindGlava", &glava()}};
    for (const auto &[name, window] : windows) {
        run(QString::fromLatin1(name));
        EXPECT_TRUE(window->isVisible()) << name;
    }
    EXPECT_EQ(DoctorTXT().RichTextBox1->Text(), "Текст\r\nдоктору");

    // Every command is built: no menu item or toolbar button waits disabled.
    for (const QAction *action : w->findChildren<QAction *>())
        EXPECT_TRUE(action->isSeparator() || action->isEnabled()) << action->objectName().toStdString();
    EXPECT_NONFATAL_FAILURE(run(QStringLiteral("NoSuchItem")), "expected one");
    EXPECT_EQ(w->findChild<QMenu *>(QStringLiteral("Users"))->title(), "Профили");
}
