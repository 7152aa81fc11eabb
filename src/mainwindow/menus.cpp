// The main window's menu bar and the command dispatch shared by menus and toolbar.
#include "mainwindow/commands.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/reader.h"

#include "app/windows.h"
#include "dictionaries/commands.h"
#include "dictionaries/findercommands.h"
#include "platform/richtext/richtextbox.h"
#include "settings/setup.h"
#include "texttools/doctor.h"
#include "texttools/findwindow.h"
#include "texttools/glavawindow.h"
#include "texttools/library.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

// The editor takes some of the menu shortcuts for itself (Ctrl+A selects all); this
// hands every key that an enabled menu item owns back to the menu, including items
// added to the bar later.
class MenuKeysFirst : public QObject
{
public:
    MenuKeysFirst(QMenuBar *bar, QObject *parent) : QObject(parent), m_bar(bar) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
            // Left unaccepted, the override lets the shortcut run instead of the editor.
            for (const QAction *action : m_bar->findChildren<QAction *>())
                if (action->isEnabled() && action->shortcut() == pressed)
                    return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QMenuBar *m_bar;
};

void addItems(MainWindow &window, QMenu &menu, std::span<const commands::MenuItem> items)
{
    for (const commands::MenuItem &item : items) {
        const QString name = QString::fromLatin1(item.name);
        if (!*item.caption) {
            menu.addSeparator()->setObjectName(name);
            continue;
        }
        const QString caption = QString::fromUtf8(item.caption);
        // The profile submenu starts empty: the profiles' own code fills it.
        if (!item.submenu.empty() || name == QLatin1String("Users")) {
            QMenu *sub = menu.addMenu(caption);
            sub->setObjectName(name);
            sub->menuAction()->setObjectName(name);
            addItems(window, *sub, item.submenu);
            continue;
        }
        QAction *action = menu.addAction(caption);
        action->setObjectName(name);
        action->setShortcut(item.shortcut);
        // Nothing runs until the command exists.
        action->setEnabled(false);
        QObject::connect(action, &QAction::triggered, &window, [&window, name] { window.runCommand(name); });
    }
}

} // namespace

void MainWindow::createMenus()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    for (const commands::Menu &m : commands::menuBar()) {
        QMenu *menu = menuBar->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(m.name));
        addItems(*this, *menu, m.items);
    }
    auto *guard = new MenuKeysFirst(menuBar, RichTextBox2);
    RichTextBox2->installEventFilter(guard);
    for (QWidget *inner : RichTextBox2->findChildren<QWidget *>())
        inner->installEventFilter(guard);
}

void MainWindow::connectCommands()
{
    const std::pair<const char *, void (MainWindow::*)()> members[] = {
        {"OpenFile", &MainWindow::OpenTextFile},
        {"SaveFile", &MainWindow::SaveText},
        {"SaveAs", &MainWindow::SaveTextAs},
        {"SeveRTF", &MainWindow::SaveRtfAs},
        {"ClearText", &MainWindow::ClearText_Click},
        {"InsPaket", &MainWindow::AddToPaket},
        {"ExitProgramm", &MainWindow::ExitProgramm_Click},
        {"SetFont", &MainWindow::SelFont},
        {"FonColor", &MainWindow::FonColor_Click},
        {"podpisipokazat", &MainWindow::ShowButtonCaptions},
        {"podpisiubrat", &MainWindow::HideButtonCaptions},
        {"znachki2", &MainWindow::znachki2_Click},
        {"znachki1", &MainWindow::znachki1_Click},
        {"onstup0", &MainWindow::onstup0_Click},
        {"otstup1", &MainWindow::otstup1_Click},
        {"otstup2", &MainWindow::otstup2_Click},
        {"menu6_1", &MainWindow::menu6_1_Click},
        {"zakladki", &MainWindow::zakladki_Click},
        {"Play", &MainWindow::ReadAloud},
        {"Stop", &MainWindow::StopReading},
        {"Pause", &MainWindow::PauseReading},
        {"SaveAudio", &MainWindow::MakeBook},
        {"SavePaket", &MainWindow::MakePaket},
    };
    for (const auto &[name, member] : members)
        enableCommand(QString::fromLatin1(name), [this, member] { (this->*member)(); });

    enableCommand(QStringLiteral("Menu4_2"), [] { appwindows::show(setup()); });
    enableCommand(QStringLiteral("menu5_1"), [] { appwindows::show(biblioteka()); });
    enableCommand(QStringLiteral("FindReplace"), [] { appwindows::show(Find()); });
    enableCommand(QStringLiteral("FindGlava"), [] { appwindows::show(glava()); });
    enableCommand(QStringLiteral("Menu2_5"), [] { DoctorTXT().showWithMainText(); });
    enableCommand(QStringLiteral("menu5_2"), &dictionaries::showDicEdit);
    enableCommand(QStringLiteral("PastWord"), &dictionaries::selectionToDicEdit);
    enableCommand(QStringLiteral("Dic_Compare"), &dictionaries::showDicCompare);
    enableCommand(QStringLiteral("FindNewWords"), &dictionaries::FindNewWords_Click);
    enableCommand(QStringLiteral("FindOmograf"), &dictionaries::markHomographs);
    enableCommand(QStringLiteral("menu5_3"), &dictionaries::showHomographs);
    if (auto *users = menuBar->findChild<QMenu *>(QStringLiteral("Users")))
        addProfileActions(*users);
    const std::pair<const char *, const char *> helpPages[] = {
        {"menu_6_3_1", "Help3.rtf"},
        {"menu_6_3_2", "Help1.rtf"},
        {"menu633", "Help4.rtf"},
        {"menu634", "Help2.rtf"},
    };
    for (const auto &[name, page] : helpPages)
        enableCommand(QString::fromLatin1(name), [this, page] { showHelp(QString::fromLatin1(page)); });
}

void MainWindow::enableCommand(const QString &name, std::function<void()> run)
{
    m_commands.insert(name, std::move(run));
    if (auto *item = menuBar->findChild<QAction *>(name))
        item->setEnabled(true);
    for (const commands::ToolbarButton &b : commands::toolbar())
        if (name == QLatin1String(b.command))
            if (auto *button = Toolbar1->findChild<QAction *>(commands::toolbarButtonName(b.index)))
                button->setEnabled(true);
}

void MainWindow::runCommand(const QString &name)
{
    const auto it = m_commands.constFind(name);
    if (it == m_commands.constEnd())
        return;
    // F11 during a reading pauses or resumes it, as its menu entry "Чтение/Пауза" says.
    if (name == QLatin1String("Play") && m_reader->running()) {
        PauseReading();
        return;
    }
    if (const auto change = commands::changes(name); change && busy::refuse(*change))
        return;
    (*it)();
}

void MainWindow::Toolbar1_ButtonClick(int index)
{
    const QString command = commands::toolbarCommand(index);
    if (!command.isEmpty())
        runCommand(command);
}
