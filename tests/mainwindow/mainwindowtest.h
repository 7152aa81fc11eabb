#pragma once

#include "mainwindow/mainwindow.h"
#include "support/scripted.h"

#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

// A started main window with scripted services, a fresh settings store and an exit that
// only counts.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installScriptedServices();
        store().clear();
        w = &MP3();
        w->endProcess = [this] { ++ended; };
    }
    void TearDown() override { destroyWindows(); }

    static QSettings store()
    {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"),
                         QStringLiteral("Quenvale"));
    }

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
