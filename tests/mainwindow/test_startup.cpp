#include "mainwindowtest.h"

#include "app/globals.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/textfile.h"
#include "recording/monitor.h"
#include "settings/setup.h"
#include "support/fakevoice.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolBar>

#include <sys/stat.h>

namespace {

class StartAndExit : public QuenvaleTest
{
protected:
    // Starts the program as main() does, with an exit that only counts.
    MainWindow &start()
    {
        MainWindow &w = MP3();
        w.endProcess = [this] { ++ended; };
        return w;
    }

    int ended = 0;
    QTemporaryDir dir;
};

} // namespace

TEST_F(StartAndExit, StartWithoutALastTextShowsPlaceholdersAndAnEmptyEditor)
{
    MainWindow &w = start();
    EXPECT_EQ(w.Text7->text(), "полный путь к файлу");
    EXPECT_EQ(w.Text8->text(), "название произведения");
    EXPECT_EQ(CurTextPath, "полный путь к файлу");
    EXPECT_EQ(BookTitle, "название произведения");
    EXPECT_TRUE(w.RichTextBox2->Text().isEmpty());
    EXPECT_EQ(SpeakFlags, 11);
    // The settings and monitor windows exist, hidden; nothing was written to the store.
    EXPECT_FALSE(setup().isVisible() || monitor().isVisible());
    EXPECT_TRUE(store().allKeys().isEmpty());

    // A last text that is gone, a pipe (opening it would wait for a writer) or a folder: the
    // same empty editor, and no message either.
    const QString fifo = dir.filePath(QStringLiteral("канал"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &last : {dir.filePath(QStringLiteral("нет.txt")), fifo, dir.path()}) {
        appwindows::destroyAll();
        store().setValue("MP3User1/text7", last);
        EXPECT_TRUE(start().RichTextBox2->Text().isEmpty()) << last.toStdString();
    }
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty()); // at any start
}

TEST_F(StartAndExit, LastOpenedTextComesBackUnchanged)
{
    // Doubled blanks and a dash that pre-formatting would change: a reopen keeps them.
    const QString path = dir.filePath(QStringLiteral("Книга.txt"));
    ASSERT_TRUE(textfile::writeText(path, QStringLiteral("Глава  1\r\n— Да.")));
    store().setValue("MP3User1/text7", path);
    store().setValue("MP3User1/Text8", "Книга");

    MainWindow &w = start();
    EXPECT_EQ(CurTextPath, path);
    EXPECT_EQ(BookTitle, "Книга");
    EXPECT_EQ(w.RichTextBox2->Text(), QStringLiteral("Глава  1\r\n— Да.\r\n"));
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
}

TEST_F(StartAndExit, OnlyTheExitCommandAsksAndNoKeepsEverything)
{
    MainWindow &w = start();
    w.RichTextBox2->setText(QStringLiteral("несохранённый текст"));
    // A close from code neither asks nor saves.
    w.show();
    w.close();
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    triggerAction(w, QStringLiteral("ExitProgramm"));
    ASSERT_EQ(scriptedPrompter().asked.size(), 1);
    EXPECT_EQ(scriptedPrompter().asked[0].text, "Выйти из программы?");
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Question);
    EXPECT_EQ(scriptedPrompter().asked[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(store().contains("MP3User1/(name)"));
    EXPECT_EQ(w.RichTextBox2->Text(), "несохранённый текст");
    EXPECT_TRUE(w.Voice);

    triggerAction(w, QStringLiteral("ExitProgramm")); // the scripted prompter answers Yes now
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(store().value("MP3User1/(name)").toString(), "Quenvale ");
    EXPECT_EQ(store().value("MP3User1/text7").toString(), "полный путь к файлу");
    EXPECT_FALSE(w.Voice);
    EXPECT_GE(fakeVoices().log.purges, 1);
}

TEST_F(StartAndExit, ExitWithoutConfirmationsSavesWhatTheNextStartRestores)
{
    MainWindow &w = start();
    setup().Check1->setChecked(false);
    w.Text4->setText(QStringLiteral("30"));
    w.Check1->setChecked(true); // toolbar captions hidden
    w.Check2->setChecked(true); // small icons
    triggerAction(w, QStringLiteral("ExitProgramm"));
    EXPECT_TRUE(scriptedPrompter().asked.isEmpty());
    EXPECT_EQ(ended, 1);
    // The settings window is saved only by its own command.
    EXPECT_FALSE(store().contains("setupUser1/Check1"));

    appwindows::destroyAll();
    MainWindow &again = start();
    EXPECT_EQ(again.Text4->text(), "30");
    EXPECT_TRUE(again.Check1->isChecked());
    EXPECT_EQ(again.Toolbar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_EQ(again.Toolbar1->iconSize(), QSize(16, 16));

    // A hand-edited profile cannot push the editor off the window nor blow up its text.
    appwindows::destroyAll();
    store().setValue("MP3User1/Text4", "-500");
    store().setValue("MP3User1/Text2", "100000");
    EXPECT_EQ(QStringList({start().Text4->text(), MP3().Text2->text()}), QStringList({"0", "400"}));
}

