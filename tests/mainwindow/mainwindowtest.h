#pragma once

#include "mainwindow/mainwindow.h"
#include "support/actions.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QLabel>
#include <QStringList>

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
        w = &MP3();
        w->endProcess = [this] { ++ended; };
    }

    // Puts a recorder in place of each named command: running one appends its name to `ran`.
    void recordCommands(const QStringList &names)
    {
        for (const QString &name : names)
            w->enableCommand(name, [this, name] { ran.append(name); });
    }
    // The texts asked since the last call.
    static QStringList asked() { return scriptedPrompter().takeAsked(); }

    MainWindow *w = nullptr;
    int ended = 0;
    QStringList ran;
};
