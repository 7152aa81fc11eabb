#pragma once

#include "mainwindow/mainwindow.h"
#include "settings/settingsstore.h"
#include "support/fixture.h"
#include "support/scripted.h"

#include <QSettings>
#include <QStringList>

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

    static QSettings store() { return QSettings(settingsstore::storePath(), QSettings::IniFormat); }

    // Puts a recorder in place of each named command: running one appends its name to `ran`.
    void recordCommands(const QStringList &names)
    {
        for (const QString &name : names)
            w->enableCommand(name, [this, name] { ran.append(name); });
    }

    MainWindow *w = nullptr;
    int ended = 0;
    QStringList ran;
};
