// The main window's profiles menu: it does what the settings window's own profile menu
// does, so a profile can be switched without opening the settings window.
#include "mainwindow/mainwindow.h"

#include "settings/profiles.h"
#include "settings/setup.h"

#include <QAction>
#include <QMenu>

#include <array>

void MainWindow::User1_Click()
{
    setup().User_Click(1);
}

void MainWindow::User2_Click()
{
    setup().User_Click(2);
}

void MainWindow::User3_Click()
{
    setup().User_Click(3);
}

void MainWindow::User4_Click()
{
    setup().User_Click(4);
}

void MainWindow::addProfileActions(QMenu &menu)
{
    const std::array commands = {&MainWindow::User1_Click, &MainWindow::User2_Click, &MainWindow::User3_Click,
                                 &MainWindow::User4_Click};
    static_assert(commands.size() == profiles::kCount);
    for (int n = 1; n <= profiles::kCount; ++n) {
        QAction *item = menu.addAction(profiles::name(n));
        item->setObjectName(profiles::name(n));
        item->setShortcut(profiles::shortcut(n));
        connect(item, &QAction::triggered, this, commands[n - 1]);
    }
}
