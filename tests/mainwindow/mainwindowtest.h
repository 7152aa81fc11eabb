#pragma once

#include "app/globals.h"
#include "app/windows.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "settings/setup.h"
#include "support/actions.h"
#include "support/fakevoice.h"
#include "support/fixture.h"
#include "support/jobs.h"
#include "support/scripted.h"
#include "support/testdata.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

// The text of status panel `i`, counted from 1.
inline QString panel(int i)
{
    return MP3().statusPanels[i - 1]->text();
}

// A started main window with an exit that only counts.
class MainWindowTest : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        start();
    }
    MainWindow &start()
    {
        w = &MP3();
        w->endProcess = [this] { ++ended; };
        return *w;
    }
    // Closes every window and starts the program again as main() does.
    MainWindow &restart()
    {
        appwindows::destroyAll();
        return start();
    }

    // Puts a recorder in place of each named command: running one appends its name to `ran`.
    void recordCommands(const QStringList &names)
    {
        for (const QString &name : names)
            w->enableCommand(name, [this, name] { ran.append(name); });
    }
    // Chooses every menu item and toolbar button but those in `skip`, as a user may while a
    // job lets events through, with another book queued for every file dialog; the sorted
    // names of those refused with `message`. Any other leaves the book, the editor and the
    // voice as they were.
    std::string chooseEveryCommand(const QString &message, const QStringList &skip)
    {
        const QString other = CurTextPath + QStringLiteral(".другая.txt");
        EXPECT_TRUE(textfile::writeText(other, QStringLiteral("другая книга")));
        const auto state = [this] {
            const FakeSpeechLog &log = fakeVoices().log;
            return QStringList{CurTextPath, BookTitle, w->RichTextBox2->Text(), log.selections.join(u',')}
                   << QString::number(log.spoken.size()) << QString::number(log.purges);
        };
        QStringList refused;
        for (QAction *action : w->menuBar->findChildren<QAction *>() + w->Toolbar1->actions()) {
            const QString name = action->objectName();
            if (action->isSeparator() || action->menu() || !action->isEnabled() || skip.contains(name))
                continue;
            scriptedFileChooser().names.clear();
            scriptedFileChooser().names.enqueue(other);
            const QStringList before = state();
            action->trigger();
            if (asked() == QStringList{message})
                refused << name;
            else
                EXPECT_EQ(state(), before) << name.toStdString();
        }
        scriptedFileChooser().names.clear();
        refused.sort();
        return refused.join(u' ').toStdString();
    }
    // The texts asked since the last call.
    static QStringList asked() { return scriptedPrompter().takeAsked(); }
    // Triggers the named command as a user does, and lets the job it started run to its end.
    void run(const QString &name)
    {
        triggerAction(*w, name);
        waitForJobs();
    }

    MainWindow *w = nullptr;
    int ended = 0;
    QStringList ran;
    QTemporaryDir dir;
};
